#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "store/SQLiteDB.h"
#include "store/SQLiteStatement.h"
#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Utf.h"

// Column 0 of every row of `sql`, read through a connection of its own, so a test sees what the
// file holds rather than what the store says.
inline std::vector<std::string> QueryTexts(const std::string& path, const char* sql) {
    std::vector<std::string> rows;
    SQLiteDB db;
    if (!db.Open(path.c_str(), SQLiteDB::kOpenExisting)) {
        return rows;
    }
    SQLiteStatement statement;
    db.Prepare(statement, sql);
    while (statement.Step() == SQLITE_ROW) {
        const char* text = statement.ColumnText(0);
        rows.push_back(text != nullptr ? text : "");
    }
    return rows;
}

inline int QueryInt(const std::string& path, const char* sql) {
    const std::vector<std::string> rows = QueryTexts(path, sql);
    return rows.empty() ? -1 : std::stoi(rows.front());
}

// A data folder with its db folder, and a store of the test's own opened on model "m1".
class StoreTest : public testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "db");
        ASSERT_TRUE(store.Open(Folder(), u"m1"));
    }

    std::u16string Folder() const { return FromUtf8(dir.Path().string()); }
    std::string DbPath(const char* model) const {
        return (dir.Path() / "db" / (std::string(model) + "_data.db")).string();
    }

    TempDir dir;
    SettingsStore store;
};
