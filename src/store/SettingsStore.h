#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "store/SQLiteDB.h"
#include "store/StoreQuery.h"
#include "store/StoreRecords.h"

// The settings database of the loaded mouse model: one SQLite file per model,
// "<data folder>/db/<device_attr>_data.db", with configuration keys, profiles, button assignments,
// lighting modes and macros.
//
// Instance() is the program's one store, shared by the user-interface thread and the device
// worker; tests may make their own. Every operation runs whole under the store's lock, so its
// statements never interleave with another operation's, and a model switch (Close, Open) never
// replaces the connection under a running operation. The connection keeps its statements
// prepared between operations; the same lock makes each one used by one thread at a time.
//
// Nothing here throws or reports to the user. With no open file every operation fails quietly:
// reads give false, empty text, 0 or an empty list; writes give false or 0. Text is UTF-16 here
// and UTF-8 in the file.
class SettingsStore {
public:
    static SettingsStore& Instance();

    SettingsStore();
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // Opens "<folder>/db/<deviceAttr>_data.db", creating it with the schema when it does not
    // exist; an existing file is used as it is. Opening the file that is already open keeps the
    // connection; opening another one closes the old connection first. The db folder itself must
    // exist. The result is also what IsOpen() reports afterwards.
    bool Open(const std::u16string& folder, const std::u16string& deviceAttr);
    void Close();
    // Waits until no operation runs and keeps every later one waiting for good: the process is
    // about to end at once, and must not end in the middle of a write.
    void HoldForExit();
    bool IsOpen() const;
    // Whether the open file can be read as a settings database (an existing file is opened as it
    // is, so a damaged or foreign one shows only when it is read). False with SQLite's reason in
    // `reason`, also when nothing is open.
    bool CheckReadable(std::string& reason);
    // SQLite's reason ("database is locked") for the first write that failed since the last call,
    // which is then forgotten; false when every write went through. The writes still give their
    // own results: this is for a caller that must not report success after an action that made
    // many writes, some of them on another thread. A store opened without a busy timeout, as this
    // one is, fails a write at once while another program holds the file's write lock.
    bool TakeWriteFailure(std::string& reason);
    // The UTF-8 path of the last Open (empty before the first).
    std::string Path() const;
    // The device type of the model whose file is open (0 until recorded).
    void SetDeviceType(int deviceType);
    int DeviceType() const;
    // How many statements the open connection keeps prepared: one per SQL text used since it was
    // opened, so repeating an operation leaves it alone (0 when closed).
    std::size_t CachedStatementCount() const;

    // Configuration keys (t_configdata). A missing key reads as false with empty text; updating
    // a missing key writes nothing and still succeeds: keys come only with AddProfile.
    bool GetConfigValue(int profile, const std::u16string& key, std::u16string& value);
    bool SetConfigValue(int profile, const std::u16string& key, const std::u16string& value);

    // Profiles (t_profile_data). AddProfile stores the record's name and app (status and type 0)
    // and gives the new profile every configuration key with its default; the new id, or 0.
    int AddProfile(const ProfileRecord& record);
    bool RenameProfile(int profile, const std::u16string& name);
    bool GetProfileName(int profile, std::u16string& name);
    int ListProfiles(std::vector<ProfileRecord>& list);
    // Makes `profile` the only active one (no profile is active when it does not exist).
    bool SetActiveProfile(int profile);
    int GetActiveProfile();  // 0 when none is active

    // Button assignments (t_key_macro_data). Layer arguments are accepted and ignored: rows are
    // read and updated on layer 0 only. SaveKeyAssignment replaces the key's row; a record with
    // macro_value and macro_value2 both 0 only removes it (the key falls back to its default).
    int SaveKeyAssignment(const KeyAssignmentRecord& record);
    bool GetKeyAssignment(int profile, int layer, int keyCode, KeyAssignmentRecord& record);
    bool SetKeyDescription(int profile, int layer, int keyCode, const std::u16string& description);
    int ListKeyAssignments(int profile, int layer, std::vector<KeyAssignmentRecord>& list);
    bool DeleteKeyAssignments(int profile);

    // Lighting modes (t_light_data), at most one row per profile and mode.
    int CountLightModes(int profile);
    int AddLightMode(const LightModeRecord& record);
    // Updates brightness to reserved of the row of record.profile and `mode`; name, mode and
    // status stay.
    bool UpdateLightMode(int mode, const LightModeRecord& record);
    bool SetActiveLightMode(int profile, int mode);
    int GetActiveLightMode(int profile);  // 0 when none is active
    bool GetLightMode(int profile, int mode, LightModeRecord& record);
    int ListLightModes(int profile, std::vector<LightModeRecord>& list);

    // Macros (t_macro_data), one pool for all profiles. CreateMacro makes a macro that plays its
    // count (once) and records measured delays.
    int CreateMacro(const std::u16string& name);
    int AddMacro(const MacroRecord& record);
    bool RenameMacro(int macroId, const std::u16string& name);
    // Writes the record's name and playback fields to macro `macroId` (record.macro_id unused).
    bool UpdateMacro(int macroId, const MacroRecord& record);
    // Deletes the macro and then its events; the events stay when the macro's row could not be
    // deleted. Assignments naming the macro are left alone.
    bool DeleteMacro(int macroId);
    bool GetMacro(int macroId, MacroRecord& record);
    int ListMacros(std::vector<MacroRecord>& list);

    // Macro events (t_macrorecord), listed by record_index.
    int AddMacroEvent(const MacroEventRecord& record);
    // Inserts all events in one transaction; failed inserts are skipped, the rest committed.
    void AddMacroEvents(std::vector<MacroEventRecord> events);
    int ListMacroEvents(int macroId, std::vector<MacroEventRecord>& list);
    bool DeleteMacroEvents(int macroId);

private:
    using Args = StoreQuery::Args;

    // Each helper below expects mutex_ to be held.
    // Whether a write's step (or SQLite result) went through; a failure is remembered for
    // TakeWriteFailure. Called straight after the step, while SQLite's message is still its own.
    bool Wrote(int result);
    // Creates the file at path_ with the schema; a file left half-made is removed again.
    bool CreateDatabase(const std::filesystem::path& file);
    void SeedDefaultConfig(StoreQuery& query, int profile);
    int InsertRow(StoreQuery& query, const char* sql, Args args);
    int InsertMacroEvent(StoreQuery& query, const MacroEventRecord& record);

    // One-statement operations; each takes the lock.
    bool Write(const char* sql, Args args);
    int Insert(const char* sql, Args args);
    // Fills `out` from the first row; false (and `out` reset) when there is none.
    template <typename Value>
    bool ReadOne(const char* sql, Args args, Value& out);
    // Replaces `list` with one record per row; the number of records.
    template <typename Record>
    int ReadList(const char* sql, Args args, std::vector<Record>& list);

    mutable std::mutex mutex_;
    SQLiteDB db_;               // guarded by mutex_, with the statements it keeps
    std::string path_;          // guarded by mutex_
    int deviceType_ = 0;        // guarded by mutex_
    bool open_ = false;         // guarded by mutex_
    bool writeFailed_ = false;  // guarded by mutex_
    std::string writeFailure_;  // guarded by mutex_; the reason of the first failed write
};
