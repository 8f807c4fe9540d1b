// Macro files: writing one macro or every macro as XML, and storing the macros such a file holds.

#include "keys/MacroFiles.h"

#include <utility>

#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"
#include "xml/XmlFileAccess.h"

namespace fs = std::filesystem;

namespace {

constexpr char16_t kDeclaration[] = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// The five attributes of "macroinfo" and "macro_item"; "macro_type" carries the play mode.
bool WriteMacroAttributes(XmlDocument& document, const std::u16string& name,
                          const MacroRecord& macro) {
    return document.SetAttribute(u"macro_name", name) &&
           document.SetAttribute(u"macro_type", macro.play_type) &&
           document.SetAttribute(u"play_times", macro.play_times) &&
           document.SetAttribute(u"delay_type", macro.delay_type) &&
           document.SetAttribute(u"delay_time", macro.delay_time);
}

// One "item" per event, inside the element entered last.
bool WriteEvents(XmlDocument& document, const std::vector<MacroEventRecord>& events) {
    for (const MacroEventRecord& event : events) {
        if (!document.AddElement(u"item") || !document.SetAttribute(u"desc", event.desc) ||
            !document.SetAttribute(u"index", event.record_index) ||
            !document.SetAttribute(u"type", event.type) ||
            !document.SetAttribute(u"value", event.value) ||
            !document.SetAttribute(u"timestamp", event.delay_time)) {
            return false;
        }
    }
    return true;
}

constexpr char kTooLarge[] = "the macros do not fit in one file";

// Loads `file` and enters its top-level "macro" element.
bool OpenMacroFile(XmlDocument& document, const fs::path& file, std::string& error) {
    if (!LoadXmlFile(document, file, kMaxMacroFileSize, error)) {
        return false;
    }
    if (!document.FindElement(u"macro") || !document.EnterElement()) {
        error = "not a macro file (no \"macro\" element)";
        return false;
    }
    return true;
}

// The macro the current element describes; missing or malformed numbers read as 0, and with no
// current element everything is empty.
MacroRecord ReadMacro(const XmlDocument& document) {
    MacroRecord macro;
    macro.name = document.GetAttribute(u"macro_name");
    macro.play_type = DecimalToInt(document.GetAttribute(u"macro_type"));
    macro.play_times = DecimalToInt(document.GetAttribute(u"play_times"));
    macro.delay_type = DecimalToInt(document.GetAttribute(u"delay_type"));
    macro.delay_time = DecimalToInt(document.GetAttribute(u"delay_time"));
    return macro;
}

// Stores the "item" elements of the element just found as events of `macroId`, in one
// transaction, each with the index the file gives it.
void StoreEvents(SettingsStore& store, XmlDocument& document, int macroId) {
    if (!document.EnterElement()) {
        return;
    }
    std::vector<MacroEventRecord> events;
    while (document.FindElement(u"item")) {
        MacroEventRecord event;
        event.macro_id = macroId;
        event.record_index = DecimalToInt(document.GetAttribute(u"index"));
        event.type = DecimalToInt(document.GetAttribute(u"type"));
        event.value = DecimalToInt(document.GetAttribute(u"value"));
        event.delay_time = DecimalToInt(document.GetAttribute(u"timestamp"));
        event.desc = document.GetAttribute(u"desc");
        events.push_back(std::move(event));
    }
    document.LeaveElement();
    if (!events.empty()) {
        store.AddMacroEvents(std::move(events));
    }
}

// Stores `macro`; on success appends it to `added`. Its events are the caller's.
int StoreMacro(SettingsStore& store, const MacroRecord& macro, std::vector<ImportedMacro>& added) {
    const int id = store.AddMacro(macro);
    if (id > 0) {
        added.push_back({id, macro.name});
    }
    return id;
}

}  // namespace

bool ExportMacro(SettingsStore& store, int macroId, const std::u16string& listName,
                 const fs::path& file, std::string& error) {
    MacroRecord macro;
    if (!store.GetMacro(macroId, macro)) {
        error = "the macro is not stored";
        return false;
    }
    std::vector<MacroEventRecord> events;
    store.ListMacroEvents(macroId, events);

    XmlDocument document;
    document.SetText(kDeclaration);
    // "macroitems" is written even when it stays empty.
    if (!document.AddElement(u"macro") || !document.EnterElement() ||
        !document.AddElement(u"macroinfo") || !WriteMacroAttributes(document, listName, macro) ||
        !document.AddElement(u"macroitems") || !document.EnterElement() ||
        !WriteEvents(document, events)) {
        error = kTooLarge;
        return false;
    }
    return SaveXmlFile(document, file, error);
}

bool ExportAllMacros(SettingsStore& store, const fs::path& file, std::string& error) {
    std::vector<MacroRecord> macros;
    store.ListMacros(macros);

    XmlDocument document;
    document.SetText(kDeclaration);
    if (!document.AddElement(u"macro") || !document.EnterElement()) {
        error = kTooLarge;
        return false;
    }
    std::vector<MacroEventRecord> events;
    for (const MacroRecord& macro : macros) {
        if (!document.AddElement(u"macro_item") ||
            !WriteMacroAttributes(document, macro.name, macro)) {
            error = kTooLarge;
            return false;
        }
        store.ListMacroEvents(macro.macro_id, events);
        // A macro without events has no "record_item" at all.
        if (events.empty()) {
            continue;
        }
        if (!document.EnterElement() || !document.AddElement(u"record_item") ||
            !document.EnterElement() || !WriteEvents(document, events)) {
            error = kTooLarge;
            return false;
        }
        document.LeaveElement();
        document.LeaveElement();
    }
    document.LeaveElement();
    return SaveXmlFile(document, file, error);
}

bool ImportMacro(SettingsStore& store, const fs::path& file, std::vector<ImportedMacro>& added,
                 std::string& error) {
    XmlDocument document;
    if (!OpenMacroFile(document, file, error)) {
        return false;
    }
    // Without "macroinfo" nothing is current and the macro is stored with empty values.
    document.FindElement(u"macroinfo");
    const int id = StoreMacro(store, ReadMacro(document), added);
    if (id <= 0) {
        error = "the macro could not be stored";
        return false;
    }
    if (document.FindElement(u"macroitems")) {
        StoreEvents(store, document, id);
    }
    return true;
}

bool ImportMacros(SettingsStore& store, const fs::path& file, std::vector<ImportedMacro>& added,
                  std::string& error) {
    XmlDocument document;
    if (!OpenMacroFile(document, file, error)) {
        return false;
    }
    int failed = 0;
    while (document.FindElement(u"macro_item")) {
        const int id = StoreMacro(store, ReadMacro(document), added);
        if (id <= 0) {
            ++failed;  // its events are not read
            continue;
        }
        if (document.EnterElement()) {
            if (document.FindElement(u"record_item")) {
                StoreEvents(store, document, id);
            }
            document.LeaveElement();
        }
    }
    document.LeaveElement();
    if (failed > 0) {
        error = ToUtf8(Format(u"%d of the macros could not be stored", failed));
        return false;
    }
    return true;
}
