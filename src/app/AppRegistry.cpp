#include "app/AppRegistry.h"

#include "app/Languages.h"
#include "platform/Registry.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "ui/toolkit/Manager.h"

using platform::Registry;

namespace {

constexpr std::u16string_view kLanguageValue = u"LCID";
constexpr std::u16string_view kDeviceTypeValue = u"DeviceType";

int ReadNumber(const Registry& key, std::u16string_view name) {
    return DecimalToInt(key.ReadValue(name).value_or(u""));
}

}  // namespace

std::u16string AppKeyName() {
    return Format(u"SOFTWARE\\%s", Manager::GetDeviceName());
}

int ReadAppRegValue(std::u16string_view name) {
    const Registry key = Registry::Open(AppKeyName(), Registry::Disposition::kCreateIfMissing);
    return key.GetStatus() == Registry::Status::kOpened ? ReadNumber(key, name) : 0;
}

bool WriteAppRegValue(std::u16string_view name, std::u16string_view text) {
    Registry key = Registry::Open(AppKeyName(), Registry::Disposition::kOpenExisting);
    return key.IsOpen() && key.WriteValue(name, text);
}

int ReadLanguageSetting() {
    const Registry key = Registry::Open(AppKeyName(), Registry::Disposition::kCreateIfMissing);
    switch (key.GetStatus()) {
        case Registry::Status::kOpened:
            return ReadNumber(key, kLanguageValue);
        case Registry::Status::kCreated:
            return 0;
        case Registry::Status::kMissing:
        case Registry::Status::kFailed:
            break;
    }
    return kInitialLanguage;
}

bool WriteLanguageSetting(int lcid) {
    return WriteAppRegValue(kLanguageValue, Format(u"%d", lcid));
}

int ReadDeviceTypeSetting() {
    const Registry key = Registry::Open(AppKeyName(), Registry::Disposition::kOpenExisting);
    return key.IsOpen() ? ReadNumber(key, kDeviceTypeValue) : 0;
}

bool WriteDeviceTypeSetting(int type) {
    return WriteAppRegValue(kDeviceTypeValue, Format(u"%d", type));
}
