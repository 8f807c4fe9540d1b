// kestrelctl --json run as a child process against virtual mice: each listing command prints one
// JSON document that says what its plain records say, names of any text survive the trip, and
// the other commands print as they do without --json.

#include <gtest/gtest.h>

#include <filesystem>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "store/SettingsStore.h"
#include "store/StoreRecords.h"
#include "support/PrivateFolders.h"
#include "support/ProgramRunner.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

// Keeps the keys in the order of the document, which is the order of the plain records.
using json = nlohmann::ordered_json;

// Quotes, a backslash, a tab, Japanese and a character beyond the Basic Multilingual Plane.
const std::u16string kAwkwardName = u"say \"hi\" \\ 設定\t\U0001F5B1";

class KestrelctlJsonTest : public testing::Test {
protected:
    KestrelctlJsonTest() { UsePrivateFolders(runner, dir.Path()); }

    // kestrelctl `sim` [--json] --data <temp>/data `arguments`...
    ProgramResult Run(const std::string& sim, bool asJson, std::vector<std::string> arguments) {
        std::vector<std::string> all{sim};
        if (asJson) {
            all.push_back("--json");
        }
        all.insert(all.end(), {"--data", (dir.Path() / "data").string()});
        all.insert(all.end(), arguments.begin(), arguments.end());
        return runner.Run(all);
    }

    // One document per line of standard output; a line that is no JSON fails the test.
    static std::vector<json> Documents(const ProgramResult& result) {
        std::vector<json> documents;
        for (const std::string& line : result.OutLines()) {
            json document = json::parse(line, nullptr, false);
            EXPECT_FALSE(document.is_discarded()) << line;
            documents.push_back(std::move(document));
        }
        return documents;
    }

    // The settings of model `attr` as the program left them.
    bool OpenStore(SettingsStore& store, const std::u16string& attr) {
        return store.Open(FromUtf8((dir.Path() / "data").string()), attr);
    }

    TempDir dir;
    ProgramRunner runner{KESTRELCTL_PATH, dir.Path()};
};

// A JSON value as the plain records write it: "-" for null.
std::string Plain(const json& value) {
    if (value.is_null()) {
        return "-";
    }
    return value.is_string() ? value.get<std::string>() : value.dump();
}

std::string ModelLine(const json& model) {
    return "model " + Plain(model.at("device_type")) + " " + Plain(model.at("device_attr")) + " " +
           Plain(model.at("name"));
}

std::string Battery(const json& object) {
    return object.at("battery_level").is_null()
               ? "-"
               : Plain(object.at("battery_level")) + ":" + Plain(object.at("battery_state"));
}

// The plain records of each command rebuilt from its document, so that the two outputs can be
// compared whole.
std::vector<std::string> ListLines(const json& document) {
    std::vector<std::string> lines;
    for (const json& model : document.at("models")) {
        lines.push_back(ModelLine(model));
    }
    for (const json& mouse : document.at("mice")) {
        lines.push_back("mouse " + Plain(mouse.at("device_type")) +
                        " mode=" + Plain(mouse.at("mode")) + " id=" + Plain(mouse.at("device_id")) +
                        " firmware=" + Plain(mouse.at("firmware")) +
                        " link=" + Plain(mouse.at("link")) + " battery=" + Battery(mouse));
    }
    return lines;
}

std::vector<std::string> InfoLines(const json& info) {
    EXPECT_EQ(info.size(), 12u) << info;
    std::vector<std::string> lines;
    if (!info.at("model").is_null()) {
        lines.push_back(ModelLine(info.at("model")));
    }
    for (const char* key : {"mode", "device_id", "sensor"}) {
        lines.push_back(std::string(key) + " " + Plain(info.at(key)));
    }
    lines.push_back("dpi " + Plain(info.at("dpi_min")) + " " + Plain(info.at("dpi_max")));
    lines.push_back("report_rate_capability " + Plain(info.at("report_rate_capability")));
    lines.push_back("battery " + Battery(info));
    for (const char* key : {"firmware", "mouse_firmware", "profile"}) {
        lines.push_back(std::string(key) + " " + Plain(info.at(key)));
    }
    return lines;
}

std::vector<std::string> ProfileLines(const json& document) {
    std::vector<std::string> lines;
    for (const json& profile : document.at("profiles")) {
        lines.push_back(Plain(profile.at("profile")) +
                        (profile.at("active").get<bool>() ? " * " : " - ") +
                        Plain(profile.at("name")));
    }
    return lines;
}

std::vector<std::string> GetLines(const json& document) {
    std::vector<std::string> lines;
    for (const auto& [key, value] : document.items()) {
        // Every key but the profile's version text holds a number.
        EXPECT_EQ(value.is_number_integer(), key != "version") << key << " " << value;
        lines.push_back(key + " " + Plain(value));
    }
    return lines;
}

std::vector<std::string> MacroLines(const json& document) {
    std::vector<std::string> lines;
    for (const json& macro : document.at("macros")) {
        lines.push_back(Plain(macro.at("id")) + " " + Plain(macro.at("event_count")) + " " +
                        Plain(macro.at("name")));
    }
    return lines;
}

TEST_F(KestrelctlJsonTest, EachDocumentSaysWhatThePlainRecordsSay) {
    const struct {
        std::string sim;
        std::u16string attr;
    } cases[] = {{"--sim", u"kestrel_k1"}, {"--sim=1002:1:17", u"kestrel_k2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sim);
        ASSERT_EQ(Run(c.sim, false, {"list"}).status, 0);  // creates the model's settings
        {
            SettingsStore store;
            ASSERT_TRUE(OpenStore(store, c.attr));
            ASSERT_TRUE(store.RenameProfile(2, kAwkwardName));
            const int id = store.AddMacro(MacroRecord{0, kAwkwardName, 0, 1, 1, 0});
            ASSERT_GT(id, 0);
            store.AddMacroEvents({MacroEventRecord{0, id, 2, 0, 0x41, 10, u""},
                                  MacroEventRecord{0, id, 3, 1, 0x41, 10, u""}});
            ASSERT_GT(store.AddMacro(MacroRecord{0, u"plain", 0, 1, 1, 0}), 0);
        }
        const std::vector<std::string> chain{"list", "+",   "info", "+",     "profiles",
                                             "+",    "get", "+",    "macros"};

        const ProgramResult plain = Run(c.sim, false, chain);
        const ProgramResult result = Run(c.sim, true, chain);

        ASSERT_EQ(plain.status, 0) << plain.err;
        ASSERT_EQ(result.status, 0) << result.err;
        const std::vector<json> documents = Documents(result);
        ASSERT_EQ(documents.size(), 5u) << result.out;
        std::vector<std::string> rebuilt;
        for (const auto& lines :
             {ListLines(documents[0]), InfoLines(documents[1]), ProfileLines(documents[2]),
              GetLines(documents[3]), MacroLines(documents[4])}) {
            rebuilt.insert(rebuilt.end(), lines.begin(), lines.end());
        }
        EXPECT_EQ(rebuilt, plain.OutLines()) << result.out;

        // The names as they are stored, character for character.
        EXPECT_EQ(FromUtf8(documents[2].at("profiles").at(1).at("name").get<std::string>()),
                  kAwkwardName);
        EXPECT_EQ(FromUtf8(documents[4].at("macros").at(0).at("name").get<std::string>()),
                  kAwkwardName);
        EXPECT_EQ(documents[4].at("macros").at(0).at("event_count"), 2);
        // The mouse connected, with its values as numbers.
        const json& info = documents[1];
        EXPECT_EQ(info.at("model").at("device_attr"), ToUtf8(c.attr));
        EXPECT_EQ(info.at("sensor"), 17);
        EXPECT_EQ(info.at("profile"), 1);
        EXPECT_LT(info.at("dpi_min").get<int>(), info.at("dpi_max").get<int>());
        ASSERT_EQ(documents[0].at("mice").size(), 1u);
        EXPECT_EQ(documents[0].at("mice").at(0).at("link"), 1);
    }
}

TEST_F(KestrelctlJsonTest, GetOfOneKeyAndWhatASendLeftOnTheMouse) {
    ASSERT_EQ(Run("--sim", false, {"set", "report_rate", "4", "+", "send", "11"}).status, 0);

    const ProgramResult result =
        Run("--sim", true, {"get", "report_rate", "+", "get", "version", "+", "profiles"});

    ASSERT_EQ(result.status, 0) << result.err;
    const std::vector<json> documents = Documents(result);
    ASSERT_EQ(documents.size(), 3u) << result.out;
    EXPECT_EQ(documents[0], json::parse(R"({"report_rate":4})"));
    ASSERT_EQ(documents[1].size(), 1u);
    EXPECT_TRUE(documents[1].at("version").is_string()) << documents[1];
    EXPECT_EQ(documents[2].at("profiles").size(), 4u);
}

TEST_F(KestrelctlJsonTest, OtherCommandsPrintAsWithoutIt) {
    ASSERT_EQ(Run("--sim", false, {"list"}).status, 0);
    {
        SettingsStore store;
        ASSERT_TRUE(OpenStore(store, u"kestrel_k1"));
        const int id = store.AddMacro(MacroRecord{0, kAwkwardName, 0, 1, 1, 0});
        ASSERT_GT(id, 0);
        store.AddMacroEvents({MacroEventRecord{0, id, 2, 0, 0x41, 10, u""}});
    }
    const std::string file = dir.File("macros.xml").string();

    const ProgramResult result = Run("--sim", true,
                                     {"export-macros", file, "+", "set", "report_rate", "2", "+",
                                      "import-macros", file, "+", "macros"});

    ASSERT_EQ(result.status, 0) << result.err;
    const auto lines = result.OutLines();
    ASSERT_EQ(lines.size(), 2u) << result.out;
    // The import's plain line, then the document of macros.
    EXPECT_EQ(lines[0], "2 " + ToUtf8(kAwkwardName));
    const json macros = json::parse(lines[1], nullptr, false);
    ASSERT_FALSE(macros.is_discarded()) << lines[1];
    ASSERT_EQ(macros.at("macros").size(), 2u);
    EXPECT_EQ(macros.at("macros").at(1), json::parse(R"({"id":2,"event_count":1,"name":)" +
                                                     json(ToUtf8(kAwkwardName)).dump() + "}"));
}

TEST_F(KestrelctlJsonTest, UsageErrorsPrintNoDocument) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"get", "no_such_key"}, {"info", "more"}, {"list", "+"}}) {
        const ProgramResult result = Run("--sim", true, arguments);
        EXPECT_EQ(result.status, 2) << arguments.front();
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
    const ProgramResult help = runner.Run({"--help"});
    EXPECT_NE(help.out.find("--json"), std::string::npos);
    EXPECT_NE(help.out.find("\"event_count\""), std::string::npos) << help.out;
}

}  // namespace
