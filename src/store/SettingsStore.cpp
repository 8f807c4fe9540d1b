#include "store/SettingsStore.h"

#include <filesystem>
#include <system_error>

#include "store/DefaultConfig.h"
#include "store/SQLiteAutoTransaction.h"
#include "store/StoreSchema.h"

namespace {

using Lock = std::lock_guard<std::mutex>;

constexpr char kInsertMacro[] =
    "INSERT INTO t_macro_data(name, play_type, play_times, delay_type, delay_time) VALUES (?, ?, "
    "?, ?, ?);";
constexpr char kInsertMacroEvent[] =
    "INSERT INTO t_macrorecord(macro_id, type, record_index, desc, value, delay_time) "
    "\t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?);";
constexpr char kDeleteMacroEvents[] = "DELETE FROM t_macrorecord WHERE macro_id = ?";

// Rows in column order.
ColumnReader& operator>>(ColumnReader& row, ProfileRecord& r) {
    return row >> r.profile >> r.name >> r.status >> r.app >> r.type;
}
ColumnReader& operator>>(ColumnReader& row, KeyAssignmentRecord& r) {
    return row >> r.key_id >> r.profile >> r.fn_layer >> r.key_code >> r.layout_value >>
           r.layout_desc >> r.macro_type >> r.macro_value >> r.macro_value2 >> r.macro_value3 >>
           r.macro_desc;
}
ColumnReader& operator>>(ColumnReader& row, LightModeRecord& r) {
    return row >> r.light_id >> r.profile >> r.name >> r.mode >> r.brightness >> r.speed >>
           r.direction >> r.colorful >> r.colorindex >> r.color_value1 >> r.color_value2 >>
           r.color_value3 >> r.color_value4 >> r.color_value5 >> r.color_value6 >> r.color_value7 >>
           r.config_func >> r.reserved >> r.status;
}
ColumnReader& operator>>(ColumnReader& row, MacroRecord& r) {
    return row >> r.macro_id >> r.name >> r.play_type >> r.play_times >> r.delay_type >>
           r.delay_time;
}
ColumnReader& operator>>(ColumnReader& row, MacroEventRecord& r) {
    return row >> r.record_id >> r.macro_id >> r.type >> r.record_index >> r.desc >> r.value >>
           r.delay_time;
}

// The file's path as UTF-8, the form SQLite takes.
std::string Utf8Path(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

}  // namespace

SettingsStore& SettingsStore::Instance() {
    static SettingsStore store;
    return store;
}

SettingsStore::SettingsStore() = default;

SettingsStore::~SettingsStore() {
    Close();
}

// Opening and creating

bool SettingsStore::Open(const std::u16string& folder, const std::u16string& deviceAttr) {
    Lock lock(mutex_);
    const std::filesystem::path file =
        std::filesystem::path(folder) / u"db" / (deviceAttr + u"_data.db");
    std::string path = Utf8Path(file);
    if (db_.IsOpen() && path == path_) {
        open_ = true;
        return true;
    }
    // SQLiteDB::Open closes the connection to another model's file first.
    path_ = std::move(path);
    std::error_code error;
    if (std::filesystem::exists(file, error)) {
        open_ = db_.Open(path_.c_str(), SQLiteDB::kOpenExisting);
    } else {
        open_ = CreateDatabase(file);
    }
    return open_;
}

bool SettingsStore::CreateDatabase(const std::filesystem::path& file) {
    if (!db_.Open(path_.c_str(), SQLiteDB::kOpenOrCreate)) {
        return false;
    }
    bool complete = true;
    for (const char* statement : SchemaStatements()) {
        complete = db_.Exec(statement) == SQLITE_OK && complete;
    }
    if (!complete) {
        // An existing file never gets the schema again, so a half-made one must not stay.
        db_.Close();
        std::error_code error;
        std::filesystem::remove(file, error);
    }
    return complete;
}

void SettingsStore::HoldForExit() {
    // Never released: nothing may touch the file after this.
    mutex_.lock();
}

void SettingsStore::Close() {
    Lock lock(mutex_);
    db_.Close();
    open_ = false;
}

std::size_t SettingsStore::CachedStatementCount() const {
    Lock lock(mutex_);
    return db_.CachedStatementCount();
}

bool SettingsStore::IsOpen() const {
    Lock lock(mutex_);
    return open_;
}

bool SettingsStore::CheckReadable(std::string& reason) {
    Lock lock(mutex_);
    if (!open_) {
        reason = "not open";
        return false;
    }
    if (db_.Exec("SELECT count(*) FROM t_profile_data") != SQLITE_OK) {
        reason = db_.ErrorMessage();
        return false;
    }
    return true;
}

bool SettingsStore::TakeWriteFailure(std::string& reason) {
    Lock lock(mutex_);
    if (!writeFailed_) {
        return false;
    }
    reason = writeFailure_;
    writeFailed_ = false;
    writeFailure_.clear();
    return true;
}

bool SettingsStore::Wrote(int result) {
    if (StoreQuery::Succeeded(result)) {
        return true;
    }
    if (!writeFailed_) {
        writeFailed_ = true;
        writeFailure_ = db_.IsOpen() ? db_.ErrorMessage() : "not open";
    }
    return false;
}

std::string SettingsStore::Path() const {
    Lock lock(mutex_);
    return path_;
}

void SettingsStore::SetDeviceType(int deviceType) {
    Lock lock(mutex_);
    deviceType_ = deviceType;
}

int SettingsStore::DeviceType() const {
    Lock lock(mutex_);
    return deviceType_;
}

// The shape of an operation: lock, take the kept statement, bind, step, interpret; the query
// resets its statement on every path, so no read outlives the operation.

bool SettingsStore::Write(const char* sql, Args args) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    return Wrote(query.Run(sql, args));
}

int SettingsStore::InsertRow(StoreQuery& query, const char* sql, Args args) {
    if (!Wrote(query.Run(sql, args))) {
        return 0;
    }
    return static_cast<int>(db_.LastInsertRowId());
}

int SettingsStore::Insert(const char* sql, Args args) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    return InsertRow(query, sql, args);
}

template <typename Value>
bool SettingsStore::ReadOne(const char* sql, Args args, Value& out) {
    Lock lock(mutex_);
    out = Value();
    StoreQuery query(db_);
    if (query.Run(sql, args) != SQLITE_ROW) {
        return false;
    }
    ColumnReader row = query.Row();
    row >> out;
    return true;
}

template <typename Record>
int SettingsStore::ReadList(const char* sql, Args args, std::vector<Record>& list) {
    Lock lock(mutex_);
    list.clear();
    StoreQuery query(db_);
    for (int result = query.Run(sql, args); result == SQLITE_ROW; result = query.Step()) {
        ColumnReader row = query.Row();
        row >> list.emplace_back();
    }
    return static_cast<int>(list.size());
}

// Configuration keys

bool SettingsStore::GetConfigValue(int profile, const std::u16string& key, std::u16string& value) {
    return ReadOne("SELECT value FROM t_configdata WHERE profile = ? and key = ?", {profile, key},
                   value);
}

bool SettingsStore::SetConfigValue(int profile, const std::u16string& key,
                                   const std::u16string& value) {
    return Write("UPDATE t_configdata SET value = ? WHERE profile = ? and key = ?",
                 {value, profile, key});
}

void SettingsStore::SeedDefaultConfig(StoreQuery& query, int profile) {
    for (const ConfigKeyDefault& entry : DefaultConfigKeys()) {
        Wrote(query.Run("INSERT INTO t_configdata(profile, key, value) VALUES (?, ?, ?);",
                        {profile, entry.key, entry.value}));
    }
}

// Profiles

int SettingsStore::AddProfile(const ProfileRecord& record) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    const int profile =
        InsertRow(query, "INSERT INTO t_profile_data(name, status, app, type) VALUES (?, ?, ?, ?);",
                  {record.name, 0, record.app, 0});
    if (profile != 0) {
        SeedDefaultConfig(query, profile);
    }
    return profile;
}

bool SettingsStore::RenameProfile(int profile, const std::u16string& name) {
    return Write("UPDATE t_profile_data SET name = ? WHERE profile = ?", {name, profile});
}

bool SettingsStore::GetProfileName(int profile, std::u16string& name) {
    return ReadOne("SELECT name FROM t_profile_data WHERE profile = ?", {profile}, name);
}

int SettingsStore::ListProfiles(std::vector<ProfileRecord>& list) {
    return ReadList("SELECT * FROM t_profile_data", {}, list);
}

bool SettingsStore::SetActiveProfile(int profile) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    Wrote(query.Run("UPDATE t_profile_data SET status = ?", {0}));
    return Wrote(query.Run("UPDATE t_profile_data SET status = ? WHERE profile = ?", {1, profile}));
}

int SettingsStore::GetActiveProfile() {
    int profile = 0;
    ReadOne("SELECT profile FROM t_profile_data WHERE status = ?", {1}, profile);
    return profile;
}

// Button assignments

int SettingsStore::SaveKeyAssignment(const KeyAssignmentRecord& r) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    Wrote(query.Run(
        "DELETE FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        {r.profile, r.fn_layer, r.key_code}));
    if (r.macro_value == 0 && r.macro_value2 == 0) {
        return 0;
    }
    return InsertRow(query,
                     "INSERT INTO t_key_macro_data(profile, fn_layer, key_code, layout_value, "
                     "layout_desc,                     macro_type, macro_value, macro_value2, "
                     "macro_value3, macro_desc) \t\t\t\t\t VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
                     {r.profile, r.fn_layer, r.key_code, r.layout_value, r.layout_desc,
                      r.macro_type, r.macro_value, r.macro_value2, r.macro_value3, r.macro_desc});
}

bool SettingsStore::GetKeyAssignment(int profile, int /*layer*/, int keyCode,
                                     KeyAssignmentRecord& record) {
    return ReadOne(
        "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ? and key_code = ?",
        {profile, 0, keyCode}, record);
}

bool SettingsStore::SetKeyDescription(int profile, int /*layer*/, int keyCode,
                                      const std::u16string& description) {
    return Write(
        "UPDATE t_key_macro_data SET macro_desc = ? WHERE profile = ? and fn_layer = ? and "
        "key_code = ?",
        {description, profile, 0, keyCode});
}

int SettingsStore::ListKeyAssignments(int profile, int /*layer*/,
                                      std::vector<KeyAssignmentRecord>& list) {
    return ReadList("SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?",
                    {profile, 0}, list);
}

bool SettingsStore::DeleteKeyAssignments(int profile) {
    return Write("DELETE FROM t_key_macro_data WHERE profile = ?", {profile});
}

// Lighting modes

int SettingsStore::CountLightModes(int profile) {
    int count = 0;
    ReadOne("select count(*) FROM t_light_data WHERE profile = ?", {profile}, count);
    return count;
}

int SettingsStore::AddLightMode(const LightModeRecord& r) {
    return Insert(
        "INSERT INTO t_light_data(profile, name, mode, brightness, speed, direction, colorful, "
        "colorindex,\t\t\t\t\tcolor_value1, color_value2, color_value3, color_value4, "
        "color_value5, color_value6, color_value7, config_func, reserved, status)\t\t\t\t\t "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?);",
        {r.profile, r.name, r.mode, r.brightness, r.speed, r.direction, r.colorful, r.colorindex,
         r.color_value1, r.color_value2, r.color_value3, r.color_value4, r.color_value5,
         r.color_value6, r.color_value7, r.config_func, r.reserved, r.status});
}

bool SettingsStore::UpdateLightMode(int mode, const LightModeRecord& r) {
    return Write(
        "UPDATE t_light_data SET brightness = ?, speed = ?, direction = ?, colorful = ?, "
        "colorindex = ?,\t\t\t color_value1 = ?, color_value2 = ?, color_value3 = ?, "
        "color_value4 = ?, color_value5 = ?, color_value6 = ?, color_value7 = "
        "?,\t\t\t\tconfig_func "
        "= ?, reserved = ? WHERE profile = ? AND mode = ?",
        {r.brightness, r.speed, r.direction, r.colorful, r.colorindex, r.color_value1,
         r.color_value2, r.color_value3, r.color_value4, r.color_value5, r.color_value6,
         r.color_value7, r.config_func, r.reserved, r.profile, mode});
}

bool SettingsStore::SetActiveLightMode(int profile, int mode) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    Wrote(query.Run("UPDATE t_light_data SET status = ? WHERE profile = ?", {0, profile}));
    return Wrote(query.Run("UPDATE t_light_data SET status = ? WHERE profile = ? and mode = ?",
                           {1, profile, mode}));
}

int SettingsStore::GetActiveLightMode(int profile) {
    int mode = 0;
    ReadOne("SELECT mode FROM t_light_data WHERE profile = ? and status = ?", {profile, 1}, mode);
    return mode;
}

bool SettingsStore::GetLightMode(int profile, int mode, LightModeRecord& record) {
    return ReadOne("SELECT * FROM t_light_data WHERE profile = ? AND mode = ?", {profile, mode},
                   record);
}

int SettingsStore::ListLightModes(int profile, std::vector<LightModeRecord>& list) {
    return ReadList("SELECT * FROM t_light_data WHERE profile = ?", {profile}, list);
}

// Macros

int SettingsStore::CreateMacro(const std::u16string& name) {
    return Insert(kInsertMacro, {name, 0, 1, 1, 0});
}

int SettingsStore::AddMacro(const MacroRecord& r) {
    return Insert(kInsertMacro, {r.name, r.play_type, r.play_times, r.delay_type, r.delay_time});
}

bool SettingsStore::RenameMacro(int macroId, const std::u16string& name) {
    return Write("UPDATE t_macro_data SET name = ? WHERE macro_id = ?", {name, macroId});
}

bool SettingsStore::UpdateMacro(int macroId, const MacroRecord& r) {
    return Write(
        "UPDATE t_macro_data SET name = ?, play_type = ?, play_times = ?, delay_type = "
        "?,delay_time = ? WHERE macro_id = ?",
        {r.name, r.play_type, r.play_times, r.delay_type, r.delay_time, macroId});
}

bool SettingsStore::DeleteMacro(int macroId) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    return Wrote(query.Run("DELETE FROM t_macro_data WHERE macro_id = ?", {macroId})) &&
           Wrote(query.Run(kDeleteMacroEvents, {macroId}));
}

bool SettingsStore::GetMacro(int macroId, MacroRecord& record) {
    return ReadOne("SELECT * FROM t_macro_data WHERE macro_id = ?", {macroId}, record);
}

int SettingsStore::ListMacros(std::vector<MacroRecord>& list) {
    return ReadList("SELECT * FROM t_macro_data", {}, list);
}

// Macro events

int SettingsStore::InsertMacroEvent(StoreQuery& query, const MacroEventRecord& r) {
    return InsertRow(query, kInsertMacroEvent,
                     {r.macro_id, r.type, r.record_index, r.desc, r.value, r.delay_time});
}

int SettingsStore::AddMacroEvent(const MacroEventRecord& record) {
    Lock lock(mutex_);
    StoreQuery query(db_);
    return InsertMacroEvent(query, record);
}

void SettingsStore::AddMacroEvents(std::vector<MacroEventRecord> events) {
    Lock lock(mutex_);
    SQLiteAutoTransaction transaction(&db_);
    {
        StoreQuery query(db_);
        for (const MacroEventRecord& event : events) {
            InsertMacroEvent(query, event);
        }
    }  // the last insert is reset before "END"
    Wrote(transaction.Commit() ? SQLITE_OK : SQLITE_ERROR);
}

int SettingsStore::ListMacroEvents(int macroId, std::vector<MacroEventRecord>& list) {
    return ReadList("SELECT * FROM t_macrorecord WHERE macro_id = ? ORDER BY record_index ASC",
                    {macroId}, list);
}

bool SettingsStore::DeleteMacroEvents(int macroId) {
    return Write(kDeleteMacroEvents, {macroId});
}
