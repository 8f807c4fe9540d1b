// The udev rule written from config.xml: which nodes it opens, to whom, and that the copy the
// build writes beside the programs is the one the shipped config.xml gives.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "device/catalogue/DeviceCatalog.h"
#include "device/catalogue/UdevRule.h"
#include "support/ProgramRunner.h"
#include "support/TempDir.h"
#include "text/Utf.h"

namespace {

const std::filesystem::path kData = KESTREL_SOURCE_DATA_DIR;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Hex4(std::uint32_t id) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", static_cast<unsigned>(id));
    return text;
}

// The lines that are neither comments nor empty: the ones udev acts on.
std::vector<std::string> RuleLines(const std::string& text) {
    std::vector<std::string> rules;
    for (const std::string& line : ProgramResult::Lines(text)) {
        if (!line.empty() && line[0] != '#') {
            rules.push_back(line);
        }
    }
    return rules;
}

// The rule line for one pair of ids, or an empty string.
std::string LineFor(const std::string& text, std::uint32_t vendorId, std::uint32_t productId) {
    const std::string vendor = "ATTRS{idVendor}==\"" + Hex4(vendorId) + "\"";
    const std::string product = "ATTRS{idProduct}==\"" + Hex4(productId) + "\"";
    for (const std::string& line : RuleLines(text)) {
        if (line.find(vendor) != std::string::npos && line.find(product) != std::string::npos) {
            return line;
        }
    }
    return {};
}

// Every line udev acts on matches hidraw nodes of one USB device and only adds the seat tag: no
// MODE, GROUP or OWNER that would hand the node to anyone but the user at the seat, no RUN.
void ExpectOnlySeatAccessToHidraw(const std::string& text) {
    static const std::regex kLine(
        R"re(SUBSYSTEM=="hidraw", KERNEL=="hidraw\*", ATTRS\{idVendor\}=="[0-9a-f]{4}", )re"
        R"re(ATTRS\{idProduct\}=="[0-9a-f]{4}", TAG\+="uaccess")re");
    const std::vector<std::string> rules = RuleLines(text);
    ASSERT_FALSE(rules.empty());
    for (const std::string& line : rules) {
        EXPECT_TRUE(std::regex_match(line, kLine)) << line;
        for (const char* word : {"MODE", "GROUP", "OWNER", "RUN", "0666", "0777"}) {
            EXPECT_EQ(line.find(word), std::string::npos) << word << " in " << line;
        }
    }
}

// A copy of the shipped config.xml with `models` added at the end of its device list.
std::filesystem::path ConfigWith(const TempDir& dir, const std::string& models) {
    std::string config = ReadFile(kData / "config.xml");
    const std::size_t end = config.find("</device>");
    if (end == std::string::npos) {
        return {};
    }
    config.insert(end, models);
    dir.Write("config.xml", config);
    return dir.Path();
}

TEST(UdevRule, ShippedConfigGivesOneSeatRuleForEachPairOfIds) {
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(kData, u""));
    ASSERT_FALSE(catalog.Connections().empty());
    const std::string text = UdevRuleText(catalog);

    ExpectOnlySeatAccessToHidraw(text);
    std::vector<std::string> expected;
    for (const DeviceEntry& connection : catalog.Connections()) {
        SCOPED_TRACE(ToUtf8(connection.name) + " " + ToUtf8(connection.description));
        const std::string line = LineFor(text, connection.vendorId, connection.productId);
        EXPECT_FALSE(line.empty());
        if (std::find(expected.begin(), expected.end(), line) == expected.end()) {
            expected.push_back(line);
        }
    }
    // The K2 Wireless and the K2 Pro share their ids: each pair has one line, no more.
    EXPECT_EQ(RuleLines(text), expected);
    EXPECT_LT(expected.size(), catalog.Connections().size());
    EXPECT_NE(text.find("# Kestrel K2 Wireless (receiver), Kestrel K2 Pro (receiver)\n"),
              std::string::npos)
        << text;
}

TEST(UdevRule, ModelsAddedToConfigGetTheirIdsAndOnlyUsbIdsBecomeRules) {
    TempDir dir;
    const std::filesystem::path folder = ConfigWith(
        dir,
        "<mouse name=\"Falcon F9\" device_type=\"1009\" device_attr=\"falcon_f9\" image=\"f9.png\">"
        "<mode value=\"0\" desc=\"cable\" vid=\"0x1D57\" pid=\"0xFA60\" dev_id=\"F9A1\"/>"
        "<mode value=\"1\" desc=\"receiver\" vid=\"0x1d57\" pid=\"0xfa61\" dev_id=\"F9A1\"/>"
        "</mouse>"
        // A name with a line break must not start a rule line of its own.
        "<mouse name=\"Odd&#10;KERNEL==&quot;sd*&quot;, MODE=&quot;0666&quot;\" "
        "device_type=\"1010\" device_attr=\"odd\" image=\"odd.png\">"
        "<mode value=\"0\" desc=\"cable\" vid=\"0x1D57\" pid=\"0x0001\" dev_id=\"ODD1\"/>"
        "</mouse>"
        // Ids that no USB device reports give no rule line, only a comment naming them.
        "<mouse name=\"Broken\" device_type=\"1011\" device_attr=\"broken\" image=\"b.png\">"
        "<mode value=\"0\" desc=\"no vid\" pid=\"0x0002\" dev_id=\"BRK1\"/>"
        "<mode value=\"1\" desc=\"wide pid\" vid=\"0x1D57\" pid=\"0x10002\" dev_id=\"BRK1\"/>"
        "</mouse>");
    ASSERT_FALSE(folder.empty());
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(folder, u""));
    const std::string text = UdevRuleText(catalog);

    struct Ids {
        std::uint32_t vendor;
        std::uint32_t product;
    };
    for (const Ids ids : {Ids{0x3E7A, 0x0C01}, Ids{0x3E7A, 0x0C02}, Ids{0x3E7A, 0x0C03},
                          Ids{0x1D57, 0xFA60}, Ids{0x1D57, 0xFA61}, Ids{0x1D57, 0x0001}}) {
        EXPECT_FALSE(LineFor(text, ids.vendor, ids.product).empty())
            << Hex4(ids.vendor) << ":" << Hex4(ids.product) << "\n"
            << text;
    }
    EXPECT_EQ(RuleLines(text).size(), 6u) << text;
    ExpectOnlySeatAccessToHidraw(text);
    EXPECT_NE(text.find("# Odd KERNEL==\"sd*\""), std::string::npos) << text;
    EXPECT_NE(text.find("# Skipped, no USB vendor and product id: Broken (no vid)\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("# Skipped, no USB vendor and product id: Broken (wide pid)\n"),
              std::string::npos)
        << text;
}

TEST(UdevRule, TheBuildWritesTheShippedConfigsRuleBesideThePrograms) {
    DeviceCatalog catalog;
    ASSERT_TRUE(catalog.LoadDeviceList(kData, u""));
    const std::filesystem::path written = KESTREL_UDEV_RULE_FILE;
    EXPECT_EQ(written.parent_path(), std::filesystem::path(KESTREL_RUNTIME_DIR));
    EXPECT_EQ(ReadFile(written), UdevRuleText(catalog)) << written;
}

// The generator stops the build rather than write a rule that reaches no mouse.
TEST(UdevRule, GeneratorFailsWithoutAConfigThatListsAConnection) {
    TempDir dir;
    ProgramRunner runner(KESTREL_UDEV_RULE_TOOL, dir.Path());
    const std::filesystem::path out = dir.File("70-kestrel.rules");

    struct Case {
        const char* name;
        const char* config;  // nullptr: no config.xml at all
    };
    for (const Case& c :
         {Case{"missing", nullptr}, Case{"not xml", "rules"},
          Case{"no models", "<config><device/></config>"},
          Case{"a model without modes", "<config><device><mouse name=\"M\"/></device></config>"}}) {
        SCOPED_TRACE(c.name);
        const std::filesystem::path folder = dir.File(c.name);
        std::filesystem::create_directories(folder);
        if (c.config != nullptr) {
            std::ofstream(folder / "config.xml") << c.config;
        }
        const ProgramResult result = runner.Run({folder.string(), out.string()});
        EXPECT_EQ(result.status, 1) << result.err;
        EXPECT_NE(result.err.find("config.xml"), std::string::npos) << result.err;
        EXPECT_FALSE(std::filesystem::exists(out));
    }

    const ProgramResult written = runner.Run({kData.string(), out.string()});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_FALSE(RuleLines(ReadFile(out)).empty());
    // An output path that is a folder cannot be written: an error, not a silent success.
    const std::filesystem::path folder = dir.File("a folder");
    std::filesystem::create_directories(folder);
    const ProgramResult folderOut = runner.Run({kData.string(), folder.string()});
    EXPECT_EQ(folderOut.status, 1);
    EXPECT_NE(folderOut.err.find("cannot write"), std::string::npos) << folderOut.err;
}

}  // namespace
