// Writing a document: the layout AddElement produces, SetAttribute, and the index kept in step.

#include <gtest/gtest.h>

#include <random>

#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

constexpr const char16_t* kDeclaration = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string U8(std::u16string_view text) {
    return ToUtf8(text);
}

// The index of `document` must equal the index built afresh from its text.
void ExpectIndexMatchesText(const XmlDocument& document) {
    XmlDocument fresh;
    fresh.SetText(document.Text().c_str());
    ASSERT_EQ(fresh.NextFreeIndex(), document.NextFreeIndex());
    // Added elements get the next free index wherever they land, so compare by document order.
    std::vector<int> byStart(document.NextFreeIndex() - 1);
    for (int i = 1; i < document.NextFreeIndex(); ++i) {
        byStart[i - 1] = i;
    }
    std::sort(byStart.begin(), byStart.end(),
              [&](int a, int b) { return document.Element(a).start < document.Element(b).start; });
    std::vector<int> freshOf(document.NextFreeIndex(), 0);  // edited index -> fresh index
    for (std::size_t k = 0; k < byStart.size(); ++k) {
        freshOf[byStart[k]] = static_cast<int>(k + 1);
    }
    EXPECT_EQ(document.Element(0).length, fresh.Element(0).length);
    EXPECT_EQ(freshOf[document.Element(0).firstChild], fresh.Element(0).firstChild);
    for (int i = 1; i < document.NextFreeIndex(); ++i) {
        const ElementRecord& edited = document.Element(i);
        const ElementRecord& built = fresh.Element(freshOf[i]);
        SCOPED_TRACE(U8(document.TagName(i)) + " at " + std::to_string(edited.start));
        EXPECT_EQ(edited.start, built.start);
        EXPECT_EQ(edited.length, built.length);
        EXPECT_EQ(edited.tagLengths, built.tagLengths);
        EXPECT_EQ(edited.flagsAndLevel, built.flagsAndLevel);
        EXPECT_EQ(freshOf[edited.parent], built.parent);
        EXPECT_EQ(freshOf[edited.firstChild], built.firstChild);
        EXPECT_EQ(freshOf[edited.next], built.next);
        EXPECT_EQ(freshOf[edited.prev], built.prev);
    }
}

TEST(XmlDocumentEdit, ANestedElementGivesFourLines) {
    XmlDocument document;
    document.SetText(kDeclaration);
    EXPECT_TRUE(document.AddElement(u"macro"));
    EXPECT_TRUE(document.EnterElement());
    EXPECT_TRUE(document.AddElement(u"macroinfo"));
    EXPECT_EQ(document.Text(),
              std::u16string(kDeclaration) + u"<macro>\r\n<macroinfo/>\r\n</macro>\r\n");
    ExpectIndexMatchesText(document);
}

TEST(XmlDocumentEdit, WritersPatternGivesOneLinePerTag) {
    XmlDocument document;
    document.SetText(kDeclaration);
    document.AddElement(u"root");
    document.SetAttribute(u"version", 2);
    document.EnterElement();
    for (int m = 0; m < 2; ++m) {
        document.AddElement(u"macro");
        document.SetAttribute(u"name", m == 0 ? u"Copy & paste" : u"<Quote \"it's\">");
        document.EnterElement();
        for (int e = 0; e < 2; ++e) {
            document.AddElement(u"event");
            document.SetAttribute(u"key_code", 65 + e);
            document.SetAttribute(u"delay", -1);
        }
        document.LeaveElement();
    }
    document.AddElement(u"empty");
    document.LeaveElement();
    EXPECT_EQ(U8(document.Text()), U8(kDeclaration) +
                                       "<root version=\"2\">\r\n"
                                       "<macro name=\"Copy &amp; paste\">\r\n"
                                       "<event key_code=\"65\" delay=\"-1\"/>\r\n"
                                       "<event key_code=\"66\" delay=\"-1\"/>\r\n"
                                       "</macro>\r\n"
                                       "<macro name=\"&lt;Quote &quot;it&apos;s&quot;&gt;\">\r\n"
                                       "<event key_code=\"65\" delay=\"-1\"/>\r\n"
                                       "<event key_code=\"66\" delay=\"-1\"/>\r\n"
                                       "</macro>\r\n"
                                       "<empty/>\r\n"
                                       "</root>\r\n");
    ExpectIndexMatchesText(document);

    // And it reads back as written.
    XmlDocument reader;
    ASSERT_TRUE(reader.SetText(document.Text().c_str()));
    ASSERT_TRUE(reader.FindElement(u"root"));
    reader.EnterElement();
    ASSERT_TRUE(reader.FindElement(u"macro"));
    ASSERT_TRUE(reader.FindElement(u"macro"));
    EXPECT_EQ(reader.GetAttribute(u"name"), u"<Quote \"it's\">");
}

TEST(XmlDocumentEdit, AddsAtEachInsertionPoint) {
    struct Case {
        const char* what;
        const char16_t* text;
        std::vector<std::u16string> enter;  // FindElement + EnterElement for each name
        std::u16string after;               // FindElement of this name at the last level first
        const char16_t* expected;
    };
    const Case cases[] = {
        {"document level", u"", {}, u"", u"<n/>\r\n"},
        {"after the root", u"<r/>\r\n", {}, u"r", u"<r/>\r\n<n/>\r\n"},
        {"into an empty tag", u"<r a=\"1\"/>\r\n", {u"r"}, u"", u"<r a=\"1\">\r\n<n/>\r\n</r>\r\n"},
        {"into an empty tag with a blank", u"<r />", {u"r"}, u"", u"<r >\r\n<n/>\r\n</r>"},
        {"between start and end tag", u"<r></r>", {u"r"}, u"", u"<r>\r\n<n/>\r\n</r>"},
        {"as the last child", u"<r>\r\n<a/>\r\n</r>", {u"r"}, u"", u"<r>\r\n<a/>\r\n<n/>\r\n</r>"},
        {"after the current child",
         u"<r>\r\n<a/>\r\n<b/>\r\n</r>",
         {u"r"},
         u"a",
         u"<r>\r\n<a/>\r\n<n/>\r\n<b/>\r\n</r>"},
        {"after a child with text behind it",
         u"<r><a/>text</r>",
         {u"r"},
         u"a",
         u"<r><a/><n/>\r\ntext</r>"},
        {"deep",
         u"<r><s><t/></s></r>",
         {u"r", u"s", u"t"},
         u"",
         u"<r><s><t>\r\n<n/>\r\n</t></s></r>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        XmlDocument document;
        document.SetText(c.text);
        for (const std::u16string& name : c.enter) {
            ASSERT_TRUE(document.FindElement(name));
            ASSERT_TRUE(document.EnterElement());
        }
        if (!c.after.empty()) {
            ASSERT_TRUE(document.FindElement(c.after));
        }
        ASSERT_TRUE(document.AddElement(u"n"));
        EXPECT_EQ(U8(document.Text()), U8(c.expected));
        EXPECT_EQ(document.TagName(document.CurrentIndex()), u"n");
        ExpectIndexMatchesText(document);
    }
}

TEST(XmlDocumentEdit, SetAttributeReplacesInPlaceOrInserts) {
    struct Case {
        const char16_t* text;
        const char16_t* name;
        const char16_t* value;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"<e a=\"1\" b=\"2\" c=\"3\"/>", u"b", u"20", u"<e a=\"1\" b=\"20\" c=\"3\"/>"},
        {u"<e a='1' b='2'/>", u"a", u"x'y", u"<e a=\"x&apos;y\" b='2'/>"},
        {u"<e a=1 b=2 ></e>", u"a", u"long value", u"<e a=\"long value\" b=2 ></e>"},
        {u"<e a = \"1\"/>", u"a", u"", u"<e a = \"\"/>"},
        {u"<e flag b=\"2\"/>", u"flag", u"on", u"<e flag=\"on\" b=\"2\"/>"},
        {u"<e/>", u"a", u"1", u"<e a=\"1\"/>"},
        {u"<e />", u"a", u"1", u"<e a=\"1\" />"},
        {u"<e b=\"2\"  >x</e>", u"a", u"<&>", u"<e b=\"2\" a=\"&lt;&amp;&gt;\"  >x</e>"},
        {u"<e\r\n  b=\"2\"\r\n/>", u"a", u"1", u"<e\r\n  b=\"2\" a=\"1\"\r\n/>"},
    };
    for (const Case& c : cases) {
        XmlDocument document;
        ASSERT_TRUE(document.SetText(c.text)) << U8(c.text);
        ASSERT_TRUE(document.FindElement());
        EXPECT_TRUE(document.SetAttribute(c.name, c.value));
        EXPECT_EQ(U8(document.Text()), U8(c.expected));
        EXPECT_EQ(document.GetAttribute(c.name), c.value) << U8(c.text);
        ExpectIndexMatchesText(document);
    }
}

TEST(XmlDocumentEdit, RefusesWhatWouldBreakTheDocument) {
    XmlDocument document;
    document.SetText(u"<r/>");
    EXPECT_FALSE(document.SetAttribute(u"a", u"1"));  // no current element
    ASSERT_TRUE(document.FindElement(u"r"));
    for (const char16_t* name : {u"", u"a b", u"a>", u"a/", u"a=b", u"a\"", u"<a", u"a&"}) {
        EXPECT_FALSE(document.AddElement(name)) << U8(name);
        EXPECT_FALSE(document.SetAttribute(name, u"1")) << U8(name);
    }
    EXPECT_EQ(document.Text(), u"<r/>");
}

TEST(XmlDocumentEdit, RandomEditsKeepTheIndexInStepWithTheText) {
    std::mt19937 random(20261209);
    const std::u16string names[] = {u"a", u"event", u"macro", u"k"};
    const std::u16string values[] = {u"", u"1", u"<&>\"'", u"\u4E2D\U0001F600", u"long value here"};
    for (int round = 0; round < 40; ++round) {
        XmlDocument document;
        document.SetText(round % 2 ? kDeclaration : u"<r>\r\n<a x=\"1\"/>\r\n<b></b>\r\n</r>\r\n");
        for (int step = 0; step < 60; ++step) {
            switch (random() % 6) {
                case 0:
                case 1:
                    document.AddElement(names[random() % 4]);
                    break;
                case 2:
                    document.EnterElement();
                    break;
                case 3:
                    document.LeaveElement();
                    break;
                case 4:
                    document.FindElement(random() % 2 ? u"" : names[random() % 4]);
                    break;
                case 5:
                    document.SetAttribute(names[random() % 4], values[random() % 5]);
                    break;
            }
        }
        SCOPED_TRACE(U8(document.Text()));
        ExpectIndexMatchesText(document);
        if (testing::Test::HasFailure()) {
            break;
        }
    }
}

TEST(XmlDocumentEdit, TagsLongerThanTheirLengthFieldsStillEditCorrectly) {
    // End tags above 1,023 characters and start tags above 4,194,303 saturate their fields.
    const std::u16string longName(1500, u'n');
    const std::u16string hugeValue(5'000'000, u'v');
    std::u16string text =
        u"<r><" + longName + u" v=\"" + hugeValue + u"\"></" + longName + u"></r>";
    XmlDocument document;
    ASSERT_TRUE(document.SetText(text.c_str()));
    ASSERT_TRUE(document.FindElement(u"r"));
    document.EnterElement();
    ASSERT_TRUE(document.FindElement(longName));
    EXPECT_EQ(document.GetAttribute(u"v").size(), hugeValue.size());
    EXPECT_TRUE(document.SetAttribute(u"w", u"1"));
    EXPECT_EQ(document.GetAttribute(u"w"), u"1");
    document.EnterElement();
    EXPECT_TRUE(document.AddElement(u"child"));
    const std::u16string& edited = document.Text();
    EXPECT_EQ(edited.substr(edited.size() - longName.size() - 19),
              u"\r\n<child/>\r\n</" + longName + u"></r>");
    EXPECT_EQ(edited.substr(hugeValue.size() + longName.size() + 8, 8), u"\" w=\"1\">");
}

}  // namespace
