#include "app/AppConfig.h"

#include <map>

#include "app/Folders.h"
#include "app/Languages.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "ui/toolkit/Manager.h"
#include "xml/XmlDocument.h"

bool ReadAppConfig(const std::filesystem::path& exeFolder) {
    ClearAvailableLanguages();

    XmlDocument document;
    if (!document.LoadFile(FromUtf8((exeFolder / "config.xml").string())) ||
        !document.IsWellFormed() || !document.FindElement(u"config")) {
        return false;
    }
    document.EnterElement();

    if (document.FindElement(u"language.info")) {
        SetCurrentLanguage(DecimalToInt(document.GetAttribute(u"default_lan")));
        std::map<int, int> languages;
        document.EnterElement();
        while (document.FindElement(u"lan")) {
            const int lcid = DecimalToInt(document.GetAttribute(u"value"));
            if (lcid > 0) {
                languages[lcid] = 1;
            }
        }
        document.LeaveElement();
        SetAvailableLanguages(std::move(languages));
    }

    if (document.FindElement(u"software")) {
        Manager::SetDeviceName(document.GetAttribute(u"caption"));
    }
    return true;
}

bool ReadAppConfig() {
    return ReadAppConfig(ExeFolder());
}
