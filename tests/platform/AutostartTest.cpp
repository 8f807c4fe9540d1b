// The autostart entry: its exact text, the quoting of the program's path on the Exec line, and the
// file coming and going under a temporary config folder.

#include "platform/Autostart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "platform/ScopedEnv.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;

TEST(Autostart, EntryTextForAPathWithSpaces) {
    EXPECT_EQ(platform::AutostartEntryText(u"Kestrel", "/opt/My Apps/kestrel", "-autorun"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Kestrel\n"
              "Exec=\"/opt/My Apps/kestrel\" -autorun\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(platform::AutostartEntryText(u"Kestrel", "/usr/bin/kestrel", ""),
              "[Desktop Entry]\nType=Application\nName=Kestrel\nExec=\"/usr/bin/kestrel\"\n"
              "X-GNOME-Autostart-enabled=true\n");
}

TEST(Autostart, ExecArgumentsAreQuotedThenStringEscaped) {
    struct Case {
        const char* argument;
        const char* quoted;
    };
    // Each reserved character gets the quoting backslash, and every backslash is then doubled.
    const Case cases[] = {
        {"/opt/kestrel", R"("/opt/kestrel")"},
        {"/a\"b", R"("/a\\"b")"},
        {"/a$HOME", R"("/a\\$HOME")"},
        {"/a`id`", R"("/a\\`id\\`")"},
        {"/a\\b", R"("/a\\\\b")"},
        {"/100%/k", R"("/100%%/k")"},
        {"/odd \"$`\\%\" dir/k", R"("/odd \\"\\$\\`\\\\%%\\" dir/k")"},
        {"/bad\nline\t/k", R"("/bad line /k")"},
        {"/caf\xc3\xa9/k", "\"/caf\xc3\xa9/k\""},
        {"", R"("")"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(platform::QuoteExecArgument(c.argument), c.quoted);
    }
}

TEST(Autostart, EntryTextWithSpecialCharactersStaysFiveLines) {
    const std::string text =
        platform::AutostartEntryText(u"Kes\ntrel\\", "/opt/a\"$\\%`/kestrel", "-autorun");
    EXPECT_EQ(text,
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Kes trel\\\\\n"
              "Exec=\"/opt/a\\\\\"\\\\$\\\\\\\\%%\\\\`/kestrel\" -autorun\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 5);
}

class AutostartFiles : public ::testing::Test {
protected:
    AutostartFiles() { env_.Set("XDG_CONFIG_HOME", config_.Path().string()); }

    TempDir config_;
    ScopedEnv env_;
};

TEST_F(AutostartFiles, WriteExistsRemoveRoundTrip) {
    const fs::path path = config_.Path() / "autostart" / "Kestrel.desktop";
    EXPECT_EQ(platform::AutostartEntryPath(u"Kestrel"), path);
    EXPECT_FALSE(platform::AutostartEntryExists(u"Kestrel"));
    EXPECT_TRUE(platform::RemoveAutostartEntry(u"Kestrel")) << "nothing to remove is success";

    ASSERT_TRUE(platform::WriteAutostartEntry(u"Kestrel", "/opt/My Apps/kestrel", "-autorun"));
    EXPECT_TRUE(platform::AutostartEntryExists(u"Kestrel"));
    EXPECT_EQ(config_.Read("autostart/Kestrel.desktop"),
              platform::AutostartEntryText(u"Kestrel", "/opt/My Apps/kestrel", "-autorun"));

    // Writing again replaces the entry.
    ASSERT_TRUE(platform::WriteAutostartEntry(u"Kestrel", "/usr/bin/kestrel", "-autorun"));
    EXPECT_EQ(config_.Read("autostart/Kestrel.desktop"),
              platform::AutostartEntryText(u"Kestrel", "/usr/bin/kestrel", "-autorun"));

    EXPECT_TRUE(platform::RemoveAutostartEntry(u"Kestrel"));
    EXPECT_FALSE(platform::AutostartEntryExists(u"Kestrel"));
    EXPECT_FALSE(fs::exists(path));
}

TEST_F(AutostartFiles, SlashAndControlCharactersInTheNameStayInOneFileName) {
    EXPECT_EQ(platform::AutostartEntryPath(u"Kestrel/Beta\n"),
              config_.Path() / "autostart" / "Kestrel_Beta_.desktop");
    ASSERT_TRUE(platform::WriteAutostartEntry(u"Kestrel/Beta\n", "/usr/bin/kestrel", "-autorun"));
    EXPECT_TRUE(fs::is_regular_file(config_.Path() / "autostart" / "Kestrel_Beta_.desktop"));
    EXPECT_TRUE(platform::AutostartEntryExists(u"Kestrel/Beta\n"));
    EXPECT_FALSE(platform::AutostartEntryExists(u"Kestrel"));
    EXPECT_TRUE(platform::RemoveAutostartEntry(u"Kestrel/Beta\n"));
    EXPECT_FALSE(platform::AutostartEntryExists(u"Kestrel/Beta\n"));
}

TEST_F(AutostartFiles, EntriesThatCannotBeRightAreNotWritten) {
    EXPECT_FALSE(platform::WriteAutostartEntry(u"Kestrel", "/opt/bad\nname/kestrel", "-autorun"));
    EXPECT_FALSE(platform::WriteAutostartEntry(u"Kestrel", "/usr/bin/kestrel", "-a\n-b"));
    EXPECT_FALSE(platform::WriteAutostartEntry(u"Kestrel", "", "-autorun"));
    EXPECT_FALSE(platform::AutostartEntryExists(u"Kestrel"));

    EXPECT_TRUE(platform::AutostartEntryPath(u"").empty());
    EXPECT_FALSE(platform::WriteAutostartEntry(u"", "/usr/bin/kestrel", "-autorun"));

    // A file where the autostart folder belongs.
    config_.Write("autostart", "not a folder");
    EXPECT_FALSE(platform::WriteAutostartEntry(u"Kestrel", "/usr/bin/kestrel", "-autorun"));
}

}  // namespace
