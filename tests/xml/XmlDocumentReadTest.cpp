// Reading a document: the cursor, attributes and reference decoding.

#include <gtest/gtest.h>

#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

std::string U8(std::u16string_view text) {
    return ToUtf8(text);
}

// Walks the whole tree with the cursor and prints it as "name(child,child)" in document order.
std::string Walk(XmlDocument& document) {
    std::string out;
    bool first = true;
    while (document.FindElement()) {
        if (!first) {
            out += ",";
        }
        first = false;
        out += U8(document.TagName(document.CurrentIndex()));
        document.EnterElement();
        std::string inner = Walk(document);
        document.LeaveElement();
        if (!inner.empty()) {
            out += "(" + inner + ")";
        }
    }
    return out;
}

TEST(XmlDocumentCursor, WalksTheTreeInDocumentOrder) {
    XmlDocument document;
    ASSERT_TRUE(
        document.SetText(u"<?xml version=\"1.0\"?>\r\n<!-- head -->\r\n"
                         u"<root><a><a1/><a2></a2></a><b/>text<c><c1><c2/></c1></c></root>"));
    EXPECT_EQ(Walk(document), "root(a(a1,a2),b,c(c1(c2)))");
}

TEST(XmlDocumentCursor, FollowsTheRulesForEachStep) {
    XmlDocument document;
    ASSERT_TRUE(document.SetText(u"<r><a/><b><x/></b><a/></r>"));
    // At document level nothing is current and nothing can be entered or left.
    EXPECT_EQ(document.CurrentIndex(), 0);
    EXPECT_FALSE(document.EnterElement());
    EXPECT_FALSE(document.LeaveElement());
    EXPECT_EQ(document.GetAttribute(u"any"), u"");

    ASSERT_TRUE(document.FindElement(u"r"));
    EXPECT_EQ(document.NodeKind(), 1);
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(document.CurrentIndex(), 0);
    EXPECT_EQ(document.NodeKind(), 0);
    // A failed search changes nothing.
    EXPECT_FALSE(document.FindElement(u"missing"));
    EXPECT_EQ(document.CurrentIndex(), 0);
    // Entering with no current element is refused.
    EXPECT_FALSE(document.EnterElement());

    ASSERT_TRUE(document.FindElement(u"b"));
    const int b = document.CurrentIndex();
    ASSERT_TRUE(document.EnterElement());
    ASSERT_TRUE(document.FindElement(u"x"));
    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(document.CurrentIndex(), b);
    EXPECT_EQ(document.ChildIndex(), document.Element(b).firstChild);
    // Entering again resumes at the child that was left.
    ASSERT_TRUE(document.EnterElement());
    EXPECT_EQ(U8(document.TagName(document.CurrentIndex())), "x");
    ASSERT_TRUE(document.LeaveElement());

    // After leaving "b", the search goes on among the siblings that follow it.
    ASSERT_TRUE(document.FindElement(u"a"));
    EXPECT_GT(document.Element(document.CurrentIndex()).start, document.Element(b).start);
    EXPECT_FALSE(document.FindElement(u"a"));
    EXPECT_FALSE(document.FindElement(u"b"));  // "b" comes earlier in the file

    ASSERT_TRUE(document.LeaveElement());
    EXPECT_EQ(U8(document.TagName(document.CurrentIndex())), "r");
    EXPECT_EQ(document.ParentIndex(), 0);
    EXPECT_FALSE(document.LeaveElement());
}

TEST(XmlDocumentCursor, NamesMatchExactlyAndNeverAsPaths) {
    XmlDocument document;
    ASSERT_TRUE(document.SetText(u"<r><Item/><item/><a:b/></r>"));
    ASSERT_TRUE(document.FindElement(u"r"));
    document.EnterElement();
    EXPECT_FALSE(document.FindElement(u"/r"));
    EXPECT_FALSE(document.FindElement(u"r/item"));
    ASSERT_TRUE(document.FindElement(u"item"));
    EXPECT_EQ(document.Element(document.CurrentIndex()).start, 10u);
    ASSERT_TRUE(document.FindElement(u"a:b"));
    EXPECT_FALSE(document.FindElement(u"Item"));
}

TEST(XmlDocumentAttributes, ParsesEveryTokenForm) {
    struct Case {
        const char16_t* tag;
        const char16_t* name;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"<e a=\"1\" b='2'/>", u"a", u"1"},
        {u"<e a=\"1\" b='2'/>", u"b", u"2"},
        {u"<e a = \"spaced\" />", u"a", u"spaced"},
        {u"<e a=\"it's\" b='say \"hi\"'/>", u"a", u"it's"},
        {u"<e a=\"it's\" b='say \"hi\"'/>", u"b", u"say \"hi\""},
        {u"<e a=\"x>y\"/>", u"a", u"x>y"},
        {u"<e a=unquoted b=2 />", u"a", u"unquoted"},
        {u"<e a=unquoted b=2 />", u"b", u"2"},
        {u"<e flag other=\"v\"/>", u"flag", u""},
        {u"<e flag other=\"v\"/>", u"other", u"v"},
        {u"<e\ta=\"tab\"\r\nb=\"newline\"/>", u"b", u"newline"},
        {u"<e A=\"upper\" a=\"lower\"/>", u"a", u"lower"},
        {u"<e a=\"first\" a=\"second\"/>", u"a", u"first"},
        {u"<e a=\"\"/>", u"a", u""},
        {u"<e ab=\"1\"/>", u"a", u""},
        {u"<e a=\"1\"></e>", u"a", u"1"},
        {u"<e a=\"\u4E2D\u6587\"/>", u"a", u"\u4E2D\u6587"},
    };
    for (const Case& c : cases) {
        XmlDocument document;
        ASSERT_TRUE(document.SetText(c.tag)) << U8(c.tag);
        ASSERT_TRUE(document.FindElement());
        EXPECT_EQ(U8(document.GetAttribute(c.name)), U8(c.expected))
            << U8(c.tag) << " attribute " << U8(c.name);
    }
}

TEST(XmlDocumentAttributes, DecodesReferences) {
    struct Case {
        const char16_t* value;  // as written between double quotes
        std::u16string expected;
    };
    const Case cases[] = {
        {u"&#65;", u"A"},
        {u"&#x41;", u"A"},
        {u"&#X41;", u"A"},
        {u"&amp;", u"&"},
        {u"&AMP;", u"&"},
        {u"&lt;&gt;&quot;&apos;", u"<>\"'"},
        {u"&omega;", u"\u03C9"},
        {u"&Omega;", u"\u03A9"},
        {u"&OMEGA;", u"\u03A9"},
        {u"&rarr;&rArr;&RARR;", u"\u2192\u21D2\u21D2"},
        {u"&eacute;&Eacute;", u"\u00E9\u00C9"},
        {u"&nbsp;&copy;&euro;", u"\u00A0\u00A9\u20AC"},
        {u"&#x1F600;", u"\U0001F600"},
        {u"&#128512;", u"\U0001F600"},
        {u"&unknown;", u"&unknown;"},
        {u"a & b", u"a & b"},
        {u"&", u"&"},
        {u"&amp", u"&amp"},
        {u"&;", u"&;"},
        {u"&#0;", u"&#0;"},
        {u"&#x;", u"&#x;"},
        {u"&#zz;", u"&#zz;"},
        {u"&#x110000;", u"&#x110000;"},
        {u"&abcdefghij;", u"&abcdefghij;"},  // ten characters: too long to be a reference
        {u"&#00000065;", u"A"},              // nine characters
        {u"&#000000065;", u"&#000000065;"},  // ten
        {u"&am\u00E9;", u"&am\u00E9;"},      // non-ASCII ends the candidate
        {u"&&amp;", u"&&"},
        {u"&amp;amp;", u"&amp;"},  // decoded once, left to right
    };
    for (const Case& c : cases) {
        XmlDocument document;
        std::u16string text = u"<e v=\"" + std::u16string(c.value) + u"\"/>";
        ASSERT_TRUE(document.SetText(text.c_str())) << U8(text);
        ASSERT_TRUE(document.FindElement());
        EXPECT_EQ(U8(document.GetAttribute(u"v")), U8(c.expected)) << U8(c.value);
    }
}

TEST(XmlDocumentAttributes, ListsAllInOrder) {
    XmlDocument document;
    // "/" after an unquoted value belongs to the value, so this tag is not an empty element.
    EXPECT_FALSE(document.SetText(u"<e b=\"2\" a='&lt;1' flag c=3/>"));
    ASSERT_TRUE(document.FindElement());
    using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;
    EXPECT_EQ(document.GetAttributes(),
              (Pairs{{u"b", u"2"}, {u"a", u"<1"}, {u"flag", u""}, {u"c", u"3/"}}));
}

}  // namespace
