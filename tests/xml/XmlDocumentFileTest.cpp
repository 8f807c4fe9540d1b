// Loading and saving files: byte-order marks, declared and detected encodings, the file records.

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

std::string U8(std::u16string_view text) {
    return ToUtf8(text);
}

TEST(XmlDocumentFile, Utf8MarkIsRemovedOnLoadAndWrittenAgainOnSave) {
    TempDir dir;
    const std::string bytes = "\xEF\xBB\xBF<a v=\"\xC3\xA9\"/>\r\n";
    XmlDocument document;
    ASSERT_TRUE(document.LoadFile(dir.Write("in.xml", bytes)));
    EXPECT_EQ(document.Text(), u"<a v=\"\u00E9\"/>\r\n");
    EXPECT_EQ(document.DocumentFlags(), XmlDocument::kBomUtf8);
    EXPECT_EQ(U8(document.ResultLog()),
              "<bom/><read encoding=\"UTF-8\" length=\"13\"/>"
              "<converted_to encoding=\"UTF-16\" length=\"12\"/>");

    ASSERT_TRUE(document.SaveFile(dir.File16("out.xml")));
    EXPECT_EQ(dir.Read("out.xml"), bytes);
    EXPECT_EQ(U8(document.ResultLog()),
              "<bom/><converted_from encoding=\"UTF-16\" length=\"12\"/>"
              "<write encoding=\"UTF-8\" length=\"13\"/>");
}

TEST(XmlDocumentFile, EncodingComesFromMarkDeclarationOrDetection) {
    struct Case {
        const char* what;
        std::string bytes;
        std::u16string text;  // what the document holds after loading
        const char* log;
    };
    const Case cases[] = {
        {"starts with < : UTF-8 whatever follows", "<a v=\"\xE9\"/>", u"<a v=\"\uFFFD\"/>",
         "<read encoding=\"UTF-8\" length=\"10\"/><converted_to encoding=\"UTF-16\" "
         "length=\"10\"/>"},
        {"no <, not UTF-8: system ANSI", " <a v=\"\xE9\x80\"/>", u" <a v=\"\u00E9\u20AC\"/>",
         "<read encoding=\"\" length=\"12\"/><utf8_detection/>"
         "<converted_to encoding=\"UTF-16\" length=\"12\"/>"},
        {"no <, valid UTF-8: detected", " <a v=\"\xC3\xA9\"/>", u" <a v=\"\u00E9\"/>",
         "<read encoding=\"UTF-8\" length=\"12\"/><utf8_detection/>"
         "<converted_to encoding=\"UTF-16\" length=\"11\"/>"},
        {"declared windows-1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80\xE9\"/>",
         u"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\u20AC\u00E9\"/>", nullptr},
        {"declared in single quotes, any case",
         "<?xml version='1.0' encoding='ISO-8859-1'?><a v=\"\xE9\"/>",
         u"<?xml version='1.0' encoding='ISO-8859-1'?><a v=\"\u00E9\"/>", nullptr},
        {"declared shift_jis",
         "<?xml version=\"1.0\" encoding=\"shift_jis\"?><a v=\"\x93\xFA\x96\x7B\"/>",
         u"<?xml version=\"1.0\" encoding=\"shift_jis\"?><a v=\"\u65E5\u672C\"/>", nullptr},
        {"declared gb2312",
         "<?xml version=\"1.0\" encoding=\"gb2312\"?><a v=\"\xD6\xD0\xCE\xC4\"/>",
         u"<?xml version=\"1.0\" encoding=\"gb2312\"?><a v=\"\u4E2D\u6587\"/>", nullptr},
        {"declared big5", "<?xml version=\"1.0\" encoding=\"big5\"?><a v=\"\xA4\xA4\xA4\xE5\"/>",
         u"<?xml version=\"1.0\" encoding=\"big5\"?><a v=\"\u4E2D\u6587\"/>", nullptr},
        {"declared but unknown: system ANSI",
         "<?xml version=\"1.0\" encoding=\"x-nonsense\"?><a v=\"\xE9\"/>",
         u"<?xml version=\"1.0\" encoding=\"x-nonsense\"?><a v=\"\u00E9\"/>", nullptr},
        {"declared UTF-16 in an 8-bit file: read as the UTF-8 it is",
         "<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\xC3\xA9\"/>",
         u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\u00E9\"/>", nullptr},
        {"html meta charset",
         "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
         "charset=windows-1251\">"
         "</meta></head><body a=\"\xC4\xE0\"/></html>",
         u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
         u"charset=windows-1251\">"
         u"</meta></head><body a=\"\u0414\u0430\"/></html>",
         nullptr},
        {"meta after the head is not looked at",
         "<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\"></meta>"
         "<b a=\"\xC3\xA9\"/></html>",
         u"<html><head></head><meta http-equiv=\"Content-Type\" content=\"charset=koi8-r\"></meta>"
         u"<b a=\"\u00E9\"/></html>",
         nullptr},
        {"zero bytes are dropped", std::string("<a\0 v=\"1\"\0/>", 12), u"<a v=\"1\"/>",
         "<nulls_removed count=\"2\"/><read encoding=\"UTF-8\" length=\"12\"/>"
         "<converted_to encoding=\"UTF-16\" length=\"10\"/>"},
        {"UTF-16LE with mark", std::string("\xFF\xFE<\0a\0/\0>\0", 10), u"<a/>",
         "<bom/><read encoding=\"UTF-16LE\" length=\"4\"/>"},
        {"UTF-16BE with mark", std::string("\xFE\xFF\0<\0a\0/\0>\x4E\x2D", 12), u"<a/>\u4E2D",
         "<bom/><endian_swap/><read encoding=\"UTF-16BE\" length=\"5\"/>"},
        {"UTF-16 with an odd byte and zero units", std::string("\xFF\xFE<\0\0\0a\0/\0>\0X", 13),
         u"<a/>", "<bom/><nulls_removed count=\"1\"/><read encoding=\"UTF-16LE\" length=\"5\"/>"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        XmlDocument document;
        document.LoadFile(dir.Write("in.xml", c.bytes));
        EXPECT_EQ(U8(document.Text()), U8(c.text));
        if (c.log != nullptr) {
            EXPECT_EQ(U8(document.ResultLog()), c.log);
        }
    }
}

TEST(XmlDocumentFile, SavingWritesTheFileInItsOwnEncoding) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    // Each file loads and saves back to the very same bytes.
    const Case cases[] = {
        {"UTF-8 without mark",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a v=\"\xE4\xB8\xAD\"/>\r\n"},
        {"UTF-8 with mark", "\xEF\xBB\xBF<a v=\"\xF0\x9F\x98\x80\"/>"},
        {"UTF-16LE", std::string("\xFF\xFE<\0a\0 \0v\0=\0\"\0\x2D\x4E\"\0/\0>\0", 22)},
        {"UTF-16BE", std::string("\xFE\xFF\0<\0a\0 \0v\0=\0\"\x4E\x2D\0\"\0/\0>", 22)},
        {"windows-1252",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\x80\xE9\x9F\"/>"},
        {"shift_jis", "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?><a v=\"\x93\xFA\x96\x7B\"/>"},
        {"koi8-r", "<?xml version=\"1.0\" encoding=\"koi8-r\"?><a v=\"\xE4\xC1\"/>"},
        {"euc-kr", "<?xml version=\"1.0\" encoding=\"euc-kr\"?><a v=\"\xC7\xD1\"/>"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        XmlDocument document;
        ASSERT_TRUE(document.LoadFile(dir.Write("in.xml", c.bytes))) << U8(document.ResultLog());
        ASSERT_TRUE(document.SaveFile(dir.File16("out.xml")));
        EXPECT_EQ(dir.Read("out.xml"), c.bytes);
    }
}

TEST(XmlDocumentFile, TheWritersDocumentIsUtf8WithoutMark) {
    XmlDocument document;
    document.SetText(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n");
    document.AddElement(u"macro");
    document.SetAttribute(u"name", u"\u5B8F \U0001F600");
    TempDir dir;
    ASSERT_TRUE(document.SaveFile(dir.File16("macro.xml")));
    EXPECT_EQ(dir.Read("macro.xml"), ToUtf8(document.Text()));

    XmlDocument reader;
    ASSERT_TRUE(reader.LoadFile(dir.File16("macro.xml")));
    EXPECT_EQ(reader.DocumentFlags(), 0u);
    ASSERT_TRUE(reader.FindElement(u"macro"));
    EXPECT_EQ(reader.GetAttribute(u"name"), u"\u5B8F \U0001F600");
}

TEST(XmlDocumentFile, CharactersTheEncodingLacksAreRecordedAsLoss) {
    struct Case {
        const char16_t* text;
        std::string bytes;
        bool loss;
    };
    const Case cases[] = {
        {u"<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a v=\"\u00E9\u4E2D\"/>",
         "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?><a v=\"\xE9?\"/>", true},
        {u"<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"\U0001F600\"/>",
         "<?xml version=\"1.0\" encoding=\"windows-1252\"?><a v=\"?\"/>", true},
        {u"<?xml version=\"1.0\" encoding=\"us-ascii\"?><a v=\"caf\u00E9\"/>",
         "<?xml version=\"1.0\" encoding=\"us-ascii\"?><a v=\"caf?\"/>", true},
        // GB18030 represents every character, and its converter could not say otherwise.
        {u"<?xml version=\"1.0\" encoding=\"gb18030\"?><a v=\"\u00E9\"/>",
         "<?xml version=\"1.0\" encoding=\"gb18030\"?><a v=\"\xA8\xA6\"/>", false},
    };
    TempDir dir;
    for (const Case& c : cases) {
        XmlDocument document;
        document.SetText(c.text);
        ASSERT_TRUE(document.SaveFile(dir.File16("out.xml")));
        EXPECT_EQ(dir.Read("out.xml"), c.bytes) << U8(c.text);
        EXPECT_EQ(document.ResultLog().find(u"<conversion_loss/>") != std::u16string::npos, c.loss)
            << U8(c.text);
    }
}

TEST(XmlDocumentFile, Utf16DeclaredWithoutMarkIsWrittenWithOne) {
    XmlDocument document;
    document.SetText(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><a v=\"\u4E2D\"/>");
    TempDir dir;
    ASSERT_TRUE(document.SaveFile(dir.File16("out.xml")));
    EXPECT_EQ(dir.Read("out.xml").substr(0, 4), std::string("\xFF\xFE<\0", 4));
    XmlDocument reader;
    ASSERT_TRUE(reader.LoadFile(dir.File16("out.xml")));
    EXPECT_EQ(reader.Text(), document.Text());
}

TEST(XmlDocumentFile, OwnUtf32WritesFourBytesPerCharacter) {
    XmlDocument document;
    document.SetText(u"<?xml version=\"1.0\" encoding=\"UTF-32\"?><a v=\"\U0001F600\"/>");
    TempDir dir;
    ASSERT_TRUE(document.SaveFile(dir.File16("out.xml")));
    const std::string bytes = dir.Read("out.xml");
    ASSERT_EQ(bytes.size(), (document.Text().size() - 1) * 4);  // the pair is one character
    EXPECT_EQ(bytes.substr(0, 8), std::string("<\0\0\0?\0\0\0", 8));
    EXPECT_NE(bytes.find(std::string("\x00\xF6\x01\x00", 4)), std::string::npos);
}

TEST(XmlDocumentFile, EmptyOrRootlessFilesAreNotWellFormed) {
    TempDir dir;
    XmlDocument document;
    EXPECT_FALSE(document.LoadFile(dir.Write("empty.xml", "")));
    EXPECT_EQ(document.Text(), u"");
    EXPECT_EQ(U8(document.ResultLog()),
              "<read encoding=\"UTF-8\" length=\"0\"/><utf8_detection/>"
              "<converted_to encoding=\"UTF-16\" length=\"0\"/>");

    EXPECT_FALSE(document.LoadFile(dir.Write("decl.xml", "<?xml version=\"1.0\"?>\r\n")));
    EXPECT_NE(document.ResultLog().find(u"<no_root_element/>"), std::u16string::npos);

    // Saving an empty document writes an empty file.
    document.SetText(nullptr);
    ASSERT_TRUE(document.SaveFile(dir.File16("out.xml")));
    EXPECT_EQ(dir.Read("out.xml"), "");
    EXPECT_EQ(U8(document.ResultLog()), "<write encoding=\"UTF-8\" length=\"0\"/>");
}

TEST(XmlDocumentFile, FileErrorsAreReportedNotThrown) {
    TempDir dir;
    XmlDocument document;
    document.SetText(u"<kept/>");
    EXPECT_FALSE(document.LoadFile(dir.File16("missing.xml")));
    EXPECT_EQ(U8(document.ResultLog()), "<file_error msg=\"No such file or directory\" n=\"2\"/>");
    EXPECT_EQ(document.Text(), u"");
    EXPECT_EQ(document.CurrentIndex(), 0);

    EXPECT_FALSE(document.LoadFile(FromUtf8(dir.Path().string())));
    EXPECT_EQ(U8(document.ResultLog()), "<file_error msg=\"Is a directory\" n=\"21\"/>");

    document.SetText(u"<a/>");
    EXPECT_FALSE(document.SaveFile(dir.File16("no/such/folder/out.xml")));
    EXPECT_EQ(U8(document.ResultLog()), "<file_error msg=\"No such file or directory\" n=\"2\"/>");

    // A full device fails on the flush at close: the save is not reported as done.
    if (std::filesystem::exists("/dev/full")) {
        std::u16string big(100000, u'x');
        document.SetText((u"<a v=\"" + big + u"\"/>").c_str());
        EXPECT_FALSE(document.SaveFile(u"/dev/full"));
        EXPECT_NE(document.ResultLog().find(u"n=\"28\""), std::u16string::npos);
    }
}

TEST(XmlDocumentFile, FilesThatAreNotTextNeverBreakTheReader) {
    std::string noise;
    std::uint32_t state = 12345;
    for (int i = 0; i < 200000; ++i) {
        state = state * 1103515245 + 12345;
        noise.push_back(static_cast<char>(state >> 24));
    }
    TempDir dir;
    for (const std::string& bytes :
         {noise, "\xFF\xFE" + noise, "\xFE\xFF" + noise, "\xEF\xBB\xBF" + noise, "<" + noise,
          std::string(100000, '\0'), std::string("\xFF\xFE\0", 3)}) {
        XmlDocument document;
        EXPECT_FALSE(document.LoadFile(dir.Write("noise.bin", bytes)));
        // Records are appended only while the log is under 1,000 characters (values are
        // encoded, so "<" starts a record).
        EXPECT_LT(document.ResultLog().rfind(u'<'), 1000u);
        while (document.FindElement()) {
            document.GetAttributes();
        }
    }
}

}  // namespace
