// The settings store on the paths that matter for speed:
// - the reads of one profile switch (every key the send commands read, the active lighting
//   record, the key assignments), through SettingsStore against bare SQLite with its statements
//   prepared once; the ratio of the two is printed at the end (goal: within 1.2x);
// - creating a model's database with its four profiles.

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "store/ProfileDefaults.h"
#include "store/SettingsStore.h"
#include "text/Utf.h"

namespace {

// What the send commands read on a profile switch.
const std::array<std::u16string, 21> kSwitchKeys = {
    u"report_rate",       u"dpi_count",        u"dpi_index",        u"dpi_group0_value",
    u"dpi_group1_value",  u"dpi_group2_value", u"dpi_group3_value", u"dpi_group4_value",
    u"dpi_group5_value",  u"dpi_group0_rgb",   u"dpi_group1_rgb",   u"dpi_group2_rgb",
    u"dpi_group3_rgb",    u"dpi_group4_rgb",   u"dpi_group5_rgb",   u"liftoff_height",
    u"sensor_flag",       u"sleep_light",      u"move_wakeup",      u"move_closelight",
    u"button_respondtime"};
constexpr int kProfile = 1;
constexpr int kAssignments = 8;

// A folder of its own for the benchmark's files, removed at the end.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrel-bench-XXXXXX");
        if (::mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
            std::filesystem::create_directory(path_ / "db");
        }
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    bool Valid() const { return !path_.empty(); }
    std::u16string Text() const { return FromUtf8(path_.string()); }
    std::string DbPath(const std::string& model) const {
        return (path_ / "db" / (model + "_data.db")).string();
    }

private:
    std::filesystem::path path_;
};

const BenchFolder* g_folder = nullptr;

// A model file with four profiles, eight assignments and the lighting rows of profile 1.
bool PrepareModel(SettingsStore& store) {
    if (!store.Open(g_folder->Text(), u"switch")) {
        return false;
    }
    for (int i = 0; i < 4; ++i) {
        store.AddProfile(ProfileRecord{0, u"Profile", u"", 0, 0});
    }
    for (int key = 1; key <= kAssignments; ++key) {
        store.SaveKeyAssignment(
            KeyAssignmentRecord{0, kProfile, 0, key, 0, u"", 2, key, 0, 0, u"Left button"});
    }
    SeedDefaultLightModes(store, kProfile, {true, true, true, true, true, true});
    return store.SetActiveLightMode(kProfile, 3);
}

void StoreProfileSwitch(benchmark::State& state) {
    SettingsStore store;
    if (!store.Open(g_folder->Text(), u"switch")) {
        state.SkipWithError("open failed");
        return;
    }
    std::u16string value;
    LightModeRecord light;
    std::vector<KeyAssignmentRecord> keys;
    for (auto _ : state) {
        for (const std::u16string& key : kSwitchKeys) {
            store.GetConfigValue(kProfile, key, value);
            benchmark::DoNotOptimize(value);
        }
        store.GetLightMode(kProfile, store.GetActiveLightMode(kProfile), light);
        benchmark::DoNotOptimize(light);
        if (store.ListKeyAssignments(kProfile, 0, keys) != kAssignments) {
            state.SkipWithError("assignments missing");
            break;
        }
    }
}

// Bare SQLite: the same queries on statements prepared once, rebound and reset each time, with
// the results converted to the same UTF-16 values and records.
class BareStatement {
public:
    BareStatement(sqlite3* db, const char* sql) {
        sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr);
    }
    ~BareStatement() { sqlite3_finalize(statement_); }
    BareStatement(const BareStatement&) = delete;
    BareStatement& operator=(const BareStatement&) = delete;

    sqlite3_stmt* operator*() const { return statement_; }
    bool Valid() const { return statement_ != nullptr; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

std::u16string Text(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text != nullptr ? FromUtf8(text) : std::u16string();
}

void BareProfileSwitch(benchmark::State& state) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(g_folder->DbPath("switch").c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        state.SkipWithError("open failed");
        return;
    }
    sqlite3_exec(db, "PRAGMA synchronous = OFF; ", nullptr, nullptr, nullptr);
    {
        BareStatement config(db, "SELECT value FROM t_configdata WHERE profile = ? and key = ?");
        BareStatement active(db, "SELECT mode FROM t_light_data WHERE profile = ? and status = ?");
        BareStatement lightRow(db, "SELECT * FROM t_light_data WHERE profile = ? AND mode = ?");
        BareStatement keyRows(db,
                              "SELECT * FROM t_key_macro_data WHERE profile = ? and fn_layer = ?");
        std::vector<std::string> utf8Keys;
        for (const std::u16string& key : kSwitchKeys) {
            utf8Keys.push_back(ToUtf8(key));
        }
        std::u16string value;
        LightModeRecord light;
        std::vector<KeyAssignmentRecord> keys;
        for (auto _ : state) {
            for (const std::string& key : utf8Keys) {
                sqlite3_bind_int(*config, 1, kProfile);
                sqlite3_bind_text(*config, 2, key.c_str(), static_cast<int>(key.size()),
                                  SQLITE_STATIC);
                value = sqlite3_step(*config) == SQLITE_ROW ? Text(*config, 0) : u"";
                sqlite3_reset(*config);
                benchmark::DoNotOptimize(value);
            }
            sqlite3_bind_int(*active, 1, kProfile);
            sqlite3_bind_int(*active, 2, 1);
            const int mode =
                sqlite3_step(*active) == SQLITE_ROW ? sqlite3_column_int(*active, 0) : 0;
            sqlite3_reset(*active);
            sqlite3_bind_int(*lightRow, 1, kProfile);
            sqlite3_bind_int(*lightRow, 2, mode);
            if (sqlite3_step(*lightRow) == SQLITE_ROW) {
                int* fields[] = {&light.light_id,     &light.profile,      &light.mode,
                                 &light.brightness,   &light.speed,        &light.direction,
                                 &light.colorful,     &light.colorindex,   &light.color_value1,
                                 &light.color_value2, &light.color_value3, &light.color_value4,
                                 &light.color_value5, &light.color_value6, &light.color_value7,
                                 &light.config_func,  &light.reserved,     &light.status};
                const int columns[] = {0,  1,  3,  4,  5,  6,  7,  8,  9,
                                       10, 11, 12, 13, 14, 15, 16, 17, 18};
                for (std::size_t i = 0; i < std::size(fields); ++i) {
                    *fields[i] = sqlite3_column_int(*lightRow, columns[i]);
                }
                light.name = Text(*lightRow, 2);
            }
            sqlite3_reset(*lightRow);
            benchmark::DoNotOptimize(light);

            keys.clear();
            sqlite3_bind_int(*keyRows, 1, kProfile);
            sqlite3_bind_int(*keyRows, 2, 0);
            while (sqlite3_step(*keyRows) == SQLITE_ROW) {
                KeyAssignmentRecord& r = keys.emplace_back();
                int* fields[] = {&r.key_id,      &r.profile,      &r.fn_layer,
                                 &r.key_code,    &r.layout_value, &r.macro_type,
                                 &r.macro_value, &r.macro_value2, &r.macro_value3};
                const int columns[] = {0, 1, 2, 3, 4, 6, 7, 8, 9};
                for (std::size_t i = 0; i < std::size(fields); ++i) {
                    *fields[i] = sqlite3_column_int(*keyRows, columns[i]);
                }
                r.layout_desc = Text(*keyRows, 5);
                r.macro_desc = Text(*keyRows, 10);
            }
            sqlite3_reset(*keyRows);
            if (keys.size() != kAssignments) {
                state.SkipWithError("assignments missing");
                break;
            }
        }
    }
    sqlite3_close(db);
}

void CreateModelDatabase(benchmark::State& state) {
    SettingsStore store;
    int model = 0;
    for (auto _ : state) {
        const std::u16string name = u"new" + FromUtf8(std::to_string(model++));
        if (!store.Open(g_folder->Text(), name)) {
            state.SkipWithError("open failed");
            break;
        }
        for (int i = 0; i < 4; ++i) {
            store.AddProfile(ProfileRecord{0, u"Profile", u"", 0, 0});
        }
        state.PauseTiming();
        store.Close();
        std::filesystem::remove(g_folder->DbPath(ToUtf8(name)));
        state.ResumeTiming();
    }
}

// The console report, followed by the store-to-bare ratio of the profile switch.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // With repetitions the mean, reported after the single runs, is the one kept.
            const bool single = run.run_type == Run::RT_Iteration;
            const bool mean = run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean";
            if ((single || mean) && !run.error_occurred) {
                times_[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto store = times_.find("SettingsStore/ProfileSwitch");
        const auto bare = times_.find("BareSQLite/ProfileSwitch");
        if (store != times_.end() && bare != times_.end() && bare->second > 0) {
            std::printf("Profile switch reads: SettingsStore / bare SQLite = %.2f (goal <= 1.2)\n",
                        store->second / bare->second);
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const BenchFolder folder;
    g_folder = &folder;
    {
        SettingsStore store;
        if (!folder.Valid() || !PrepareModel(store)) {
            std::fprintf(stderr, "could not prepare the benchmark database\n");
            return 1;
        }
    }
    benchmark::RegisterBenchmark("SettingsStore/ProfileSwitch", &StoreProfileSwitch)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("BareSQLite/ProfileSwitch", &BareProfileSwitch)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark("SettingsStore/CreateModelDatabase", &CreateModelDatabase)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
