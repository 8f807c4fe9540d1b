// The trace facility: sinks, the formatted convenience and the file named by KESTREL_TRACE.

#include "device/transport/Trace.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "support/TempDir.h"

namespace {

TEST(Trace, GoesToTheSinkOnlyWhileOneIsSet) {
    std::vector<std::u16string> lines;
    SetTraceSink([&lines](std::u16string_view text) { lines.emplace_back(text); });
    EXPECT_TRUE(TraceEnabled());
    Trace(u"plain");
    TraceFormat(u"mouse notify data: %02X %02X %02X", 0xC2, 0x26, 5);
    SetTraceSink(nullptr);
    EXPECT_FALSE(TraceEnabled());
    Trace(u"dropped");
    TraceFormat(u"dropped %d", 1);
    const std::vector<std::u16string> expected{u"plain", u"mouse notify data: C2 26 05"};
    EXPECT_EQ(lines, expected);
}

std::vector<std::string> Lines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(Trace, EnvironmentNamesAFileThatGetsOneTimestampedUtf8LinePerTrace) {
    TempDir dir;
    const std::filesystem::path file = dir.File("trace.log");
    dir.Write("trace.log", "earlier line\n");

    ::unsetenv("KESTREL_TRACE");
    EXPECT_FALSE(TraceSinkFromEnvironment());
    ::setenv("KESTREL_TRACE", "", 1);
    EXPECT_FALSE(TraceSinkFromEnvironment());
    ::setenv("KESTREL_TRACE", (dir.Path() / "missing" / "trace.log").c_str(), 1);
    EXPECT_FALSE(TraceSinkFromEnvironment()) << "a file that cannot be opened gives no sink";

    ::setenv("KESTREL_TRACE", file.c_str(), 1);
    TraceSink sink = TraceSinkFromEnvironment();
    ::unsetenv("KESTREL_TRACE");
    ASSERT_TRUE(sink);
    sink(u"EnumerateDevice!");
    sink(u"\u83b7\u53d6\u9f20\u6807\u6570\u636e\u5f02\u5e38, \u5f53\u524d\u6a21\u5f0f: 1");

    const auto lines = Lines(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "earlier line") << "the file is appended to";
    const std::regex stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} (.*))");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[1], match, stamp)) << lines[1];
    EXPECT_EQ(match[1].str(), "EnumerateDevice!");
    ASSERT_TRUE(std::regex_match(lines[2], match, stamp)) << lines[2];
    EXPECT_EQ(match[1].str(), "获取鼠标数据异常, 当前模式: 1");
}

TEST(Trace, LinesFromSeveralThreadsStayWhole) {
    TempDir dir;
    const std::filesystem::path file = dir.File("trace.log");
    ::setenv("KESTREL_TRACE", file.c_str(), 1);
    SetTraceSink(TraceSinkFromEnvironment());
    ::unsetenv("KESTREL_TRACE");

    const std::u16string text(200, u'x');
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&text] {
            for (int i = 0; i < 250; ++i) {
                Trace(text);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    SetTraceSink(nullptr);

    const auto lines = Lines(file);
    ASSERT_EQ(lines.size(), 1000u);
    for (const std::string& line : lines) {
        ASSERT_EQ(line.size(), 24u + 200u);
    }
}

}  // namespace
