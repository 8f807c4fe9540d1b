// Loading and saving user-picked files: the size limit and what a save may replace. The reasons
// in full and the atomic replacement are covered through the profile and macro files.

#include "xml/XmlFileAccess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <filesystem>
#include <iterator>
#include <string>

#include "support/TempDir.h"
#include "xml/XmlDocument.h"

namespace fs = std::filesystem;

namespace {

TEST(XmlFileAccess, FileOfExactlyTheLimitLoadsOneByteMoreDoesNot) {
    TempDir dir;
    const std::string bytes = "<a v=\"1\"/>";
    dir.Write("a.xml", bytes);
    struct Case {
        std::uintmax_t limit;
        std::string error;  // empty: loads
    } cases[] = {
        {bytes.size() + 1, ""},
        {bytes.size(), ""},
        {bytes.size() - 1, "cannot read: the file is larger than 9 bytes"},
        {0, "cannot read: the file is larger than 0 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.limit);
        XmlDocument document;
        std::string error;
        EXPECT_EQ(LoadXmlFile(document, dir.File("a.xml"), c.limit, error), c.error.empty());
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(document.FindElement(u"a"), c.error.empty());
    }
}

TEST(XmlFileAccess, SaveReplacesOnlyARegularFile) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe.xml").c_str(), 0600), 0);
    XmlDocument document;
    ASSERT_TRUE(document.SetText(u"<a/>"));

    std::string error;
    EXPECT_FALSE(SaveXmlFile(document, dir.File("pipe.xml"), error));
    EXPECT_EQ(error, "cannot write: not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir.File("pipe.xml")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

    // A link is written through, so a link to the pipe leaves both as they are.
    fs::create_symlink("pipe.xml", dir.File("link.xml"));
    error.clear();
    EXPECT_FALSE(SaveXmlFile(document, dir.File("link.xml"), error));
    EXPECT_EQ(error, "cannot write: not a regular file");
    EXPECT_TRUE(fs::is_fifo(dir.File("pipe.xml")));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.xml")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

}  // namespace
