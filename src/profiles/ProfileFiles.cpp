#include "profiles/ProfileFiles.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "store/ConfigKeys.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"
#include "xml/XmlFileAccess.h"

namespace {

constexpr char16_t kDeclaration[] = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

// A profile file of a real mouse is a few kilobytes; one of kMaxProfileFileSize is not one, and
// reading it would cost several times its size in memory (the document is held as UTF-16 with an
// index). Key items past kMaxImportedKeys distinct key codes are ignored; items for key codes
// already seen still count.

constexpr const char16_t* kDpiAttributes[] = {u"dpi_flag", u"dpi_index", u"dpi_count"};

// The performance settings, each an element named after its configuration key.
constexpr const char16_t* kMouseKeys[] = {
    u"button_respondtime", u"report_rate", u"sensor_flag", u"liftoff_height",  u"scroll_flag",
    u"e-sports_flag",      u"sleep_light", u"move_wakeup", u"move_closelight",
};

// The numeric attributes of a key item and of a lighting item, in the order they are written.
struct KeyField {
    const char16_t* attribute;
    int KeyAssignmentRecord::*field;
};
constexpr KeyField kKeyFields[] = {
    {u"key_code", &KeyAssignmentRecord::key_code},
    {u"macro_type", &KeyAssignmentRecord::macro_type},
    {u"macro_value", &KeyAssignmentRecord::macro_value},
    {u"macro_value2", &KeyAssignmentRecord::macro_value2},
    {u"macro_value3", &KeyAssignmentRecord::macro_value3},
};

struct LightField {
    const char16_t* attribute;
    int LightModeRecord::*field;
};
// The mode first (written as "light_mode"), then the parameters an import replaces.
constexpr LightField kLightMode = {u"light_mode", &LightModeRecord::mode};
constexpr LightField kLightParameters[] = {
    {u"brightness", &LightModeRecord::brightness},
    {u"speed", &LightModeRecord::speed},
    {u"direction", &LightModeRecord::direction},
    {u"colorful", &LightModeRecord::colorful},
    {u"colorindex", &LightModeRecord::colorindex},
    {u"color_value1", &LightModeRecord::color_value1},
    {u"color_value2", &LightModeRecord::color_value2},
    {u"color_value3", &LightModeRecord::color_value3},
    {u"color_value4", &LightModeRecord::color_value4},
    {u"color_value5", &LightModeRecord::color_value5},
    {u"color_value6", &LightModeRecord::color_value6},
    {u"color_value7", &LightModeRecord::color_value7},
};

// Building the document

// Every step of the writing below must succeed; XmlDocument refuses only a document that would
// outgrow its 32-bit offsets, and then the file would lack a part of the profile.
class DocumentWriter {
public:
    explicit DocumentWriter(XmlDocument& document) : document_(document) {}

    void Add(const std::u16string& name) { ok_ = document_.AddElement(name) && ok_; }
    void Enter() { ok_ = document_.EnterElement() && ok_; }
    void Leave() { ok_ = document_.LeaveElement() && ok_; }
    void Set(const std::u16string& name, const std::u16string& value) {
        ok_ = document_.SetAttribute(name, value) && ok_;
    }
    void Set(const std::u16string& name, int value) {
        ok_ = document_.SetAttribute(name, value) && ok_;
    }
    bool Ok() const { return ok_; }

private:
    XmlDocument& document_;
    bool ok_ = true;
};

std::u16string ConfigValue(SettingsStore& store, int profile, const std::u16string& key) {
    std::u16string value;
    store.GetConfigValue(profile, key, value);
    return value;
}

void WriteKeyItems(SettingsStore& store, int profile, DocumentWriter& out) {
    std::vector<KeyAssignmentRecord> assignments;
    store.ListKeyAssignments(profile, 0, assignments);
    out.Add(u"keyitems");
    out.Enter();
    for (const KeyAssignmentRecord& assignment : assignments) {
        out.Add(u"item");
        for (const KeyField& field : kKeyFields) {
            out.Set(field.attribute, assignment.*field.field);
        }
        out.Set(u"macro_desc", assignment.macro_desc);
    }
    out.Leave();
}

void WriteLightItems(SettingsStore& store, int profile, DocumentWriter& out) {
    std::vector<LightModeRecord> modes;
    store.ListLightModes(profile, modes);
    out.Add(u"Lightitems");
    out.Set(u"lightmode", store.GetActiveLightMode(profile));
    out.Enter();
    for (const LightModeRecord& mode : modes) {
        out.Add(u"item");
        out.Set(kLightMode.attribute, mode.*kLightMode.field);
        for (const LightField& field : kLightParameters) {
            out.Set(field.attribute, mode.*field.field);
        }
    }
    out.Leave();
}

void WriteDpi(SettingsStore& store, int profile, DocumentWriter& out) {
    out.Add(u"Mouse_DPI");
    for (const char16_t* key : kDpiAttributes) {
        out.Set(key, ConfigValue(store, profile, key));
    }
    out.Enter();
    for (int stage = 0; stage < kDpiStagesInFiles; ++stage) {
        out.Add(Format(u"DPI%d", stage + 1));
        out.Set(u"value", ConfigValue(store, profile, DpiValueKey(stage)));
        out.Set(u"color", ConfigValue(store, profile, DpiColorKey(stage)));
    }
    out.Leave();
}

void WriteMouse(SettingsStore& store, int profile, DocumentWriter& out) {
    out.Add(u"Mouse");
    out.Enter();
    for (const char16_t* key : kMouseKeys) {
        out.Add(key);
        out.Set(u"value", ConfigValue(store, profile, key));
    }
    out.Leave();
}

// Reading the document

int NumberAttribute(const XmlDocument& document, const char16_t* name) {
    return DecimalToInt(document.GetAttribute(name));
}

// The new name of the profile: the file's name without its folder and its last four characters
// (normally ".xml"). A cut through a surrogate pair takes the whole pair.
std::u16string FileTitle(const std::filesystem::path& file) {
    std::u16string title = FromUtf8(file.filename().native());
    title.resize(title.size() > 4 ? title.size() - 4 : 0);
    if (!title.empty() && title.back() >= 0xD800 && title.back() <= 0xDBFF) {
        title.pop_back();
    }
    return title;
}

// Each item replaces the key's assignment, so what an import leaves is, for every key code, the
// last item naming it, stored in the order of those last items; an item without a target (both
// values 0) leaves the key at its default. Working that out first stores each key once.
void ReadKeyItems(SettingsStore& store, int profile, XmlDocument& document) {
    std::map<int, std::size_t> lastItem;  // key code -> index into `items`
    std::vector<KeyAssignmentRecord> items;
    document.EnterElement();
    while (document.FindElement(u"item")) {
        KeyAssignmentRecord record;
        record.profile = profile;
        for (const KeyField& field : kKeyFields) {
            record.*field.field = NumberAttribute(document, field.attribute);
        }
        auto found = lastItem.find(record.key_code);
        if (found == lastItem.end() && lastItem.size() >= kMaxImportedKeys) {
            continue;
        }
        record.macro_desc = document.GetAttribute(u"macro_desc");
        if (found != lastItem.end()) {
            items[found->second] = KeyAssignmentRecord{};  // superseded; frees its description
            found->second = items.size();
        } else {
            lastItem.emplace(record.key_code, items.size());
        }
        items.push_back(std::move(record));
    }
    document.LeaveElement();

    std::vector<std::size_t> order;
    order.reserve(lastItem.size());
    for (const auto& entry : lastItem) {
        order.push_back(entry.second);
    }
    std::sort(order.begin(), order.end());
    for (std::size_t index : order) {
        store.SaveKeyAssignment(items[index]);
    }
}

// Each item replaces all parameters of its mode, so the last item for a mode decides; modes the
// profile does not have are skipped.
void ReadLightItems(SettingsStore& store, int profile, XmlDocument& document) {
    store.SetActiveLightMode(profile, NumberAttribute(document, u"lightmode"));
    std::vector<LightModeRecord> rows;
    store.ListLightModes(profile, rows);
    std::map<int, LightModeRecord> updates;  // mode -> the row with the file's parameters
    for (const LightModeRecord& row : rows) {
        updates.emplace(row.mode, row);
    }
    std::set<int> changed;
    document.EnterElement();
    while (document.FindElement(u"item")) {
        auto found = updates.find(NumberAttribute(document, kLightMode.attribute));
        if (found == updates.end()) {
            continue;
        }
        for (const LightField& field : kLightParameters) {
            found->second.*field.field = NumberAttribute(document, field.attribute);
        }
        changed.insert(found->first);
    }
    document.LeaveElement();
    for (int mode : changed) {
        store.UpdateLightMode(mode, updates[mode]);
    }
}

void ReadDpi(SettingsStore& store, int profile, XmlDocument& document) {
    for (const char16_t* key : kDpiAttributes) {
        store.SetConfigValue(profile, key, document.GetAttribute(key));
    }
    document.EnterElement();
    for (int stage = 0; stage < kDpiStagesInFiles; ++stage) {
        if (document.FindElement(Format(u"DPI%d", stage + 1))) {
            store.SetConfigValue(profile, DpiValueKey(stage), document.GetAttribute(u"value"));
            store.SetConfigValue(profile, DpiColorKey(stage), document.GetAttribute(u"color"));
        }
    }
    document.LeaveElement();
}

void ReadMouse(SettingsStore& store, int profile, XmlDocument& document) {
    document.EnterElement();
    // Each search goes on after the last element found, so a key placed too early is missed.
    for (const char16_t* key : kMouseKeys) {
        if (document.FindElement(key)) {
            store.SetConfigValue(profile, key, document.GetAttribute(u"value"));
        }
    }
    document.LeaveElement();
}

}  // namespace

bool ExportProfile(SettingsStore& store, const ProfileExport& what,
                   const std::filesystem::path& file, std::string& error) {
    XmlDocument document;
    document.SetText(kDeclaration);
    DocumentWriter out(document);
    out.Add(u"profile");
    out.Enter();
    out.Add(u"profileinfo");
    out.Set(u"name", what.shownName);
    out.Enter();
    WriteKeyItems(store, what.keyProfile, out);
    if (what.hasLighting) {
        WriteLightItems(store, what.currentProfile, out);
    }
    WriteDpi(store, what.currentProfile, out);
    WriteMouse(store, what.currentProfile, out);
    if (!out.Ok()) {
        error = "cannot write: the profile is too large for an XML file";
        return false;
    }
    return SaveXmlFile(document, file, error);
}

bool ImportProfile(SettingsStore& store, int currentProfile, bool hasLighting,
                   const std::filesystem::path& file, std::u16string& newName, std::string& error) {
    XmlDocument document;
    if (!LoadXmlFile(document, file, kMaxProfileFileSize, error)) {
        return false;
    }
    if (!document.FindElement(u"profile")) {
        error = "not a profile file";
        return false;
    }

    // From here on the file is a profile file and the profile changes, even when the file holds
    // nothing else: the assignments go first, whatever follows.
    // A file called just ".xml" has no title; the profile keeps its name rather than losing it,
    // as a name emptied in the profile list is ignored too.
    std::u16string title = FileTitle(file);
    if (title.empty()) {
        store.GetProfileName(currentProfile, title);
    }
    if (!store.RenameProfile(currentProfile, title)) {
        error = "cannot store the profile";
        return false;
    }
    newName = title;
    document.EnterElement();
    // Without "profileinfo" the sections are looked for right under "profile".
    if (document.FindElement(u"profileinfo")) {
        document.EnterElement();
    }
    store.DeleteKeyAssignments(currentProfile);

    if (document.FindElement(u"keyitems")) {
        ReadKeyItems(store, currentProfile, document);
    }
    if (hasLighting && document.FindElement(u"Lightitems")) {
        ReadLightItems(store, currentProfile, document);
    }
    if (document.FindElement(u"Mouse_DPI")) {
        ReadDpi(store, currentProfile, document);
    }
    if (document.FindElement(u"Mouse")) {
        ReadMouse(store, currentProfile, document);
    }
    return true;
}
