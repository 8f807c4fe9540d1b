// Building the element index: record layout, diagnostics of faulty text, and hostile input.

#include <gtest/gtest.h>

#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

std::string U8(std::u16string_view text) {
    return ToUtf8(text);
}

int FindByName(const XmlDocument& document, std::u16string_view name) {
    for (int index = 1; index < document.NextFreeIndex(); ++index) {
        if (document.TagName(index) == name) {
            return index;
        }
    }
    return 0;
}

TEST(XmlDocumentIndex, RecordsHoldOffsetsLengthsAndLinks) {
    XmlDocument document;
    const std::u16string text = u"<r>\r\n<a x=\"1\"/>\r\n<b><c/><d></d></b>\r\n</r>\r\n";
    ASSERT_TRUE(document.SetText(text.c_str()));
    ASSERT_EQ(document.NextFreeIndex(), 6);  // r a b c d, in document order

    const ElementRecord& root = document.Element(0);
    EXPECT_EQ(root.start, 0u);
    EXPECT_EQ(root.length, text.size());
    EXPECT_EQ(root.tagLengths, 0u);
    EXPECT_EQ(root.firstChild, 1);

    struct Expected {
        const char16_t* name;
        std::uint32_t start, length, startTag, endTag, level;
        bool firstChild;
        int parent, child, next, prev;
    };
    const Expected expected[] = {
        {u"r", 0, 41, 3, 4, 0, true, 0, 2, 0, 1},
        {u"a", 5, 10, 10, 0, 1, true, 1, 0, 3, 3},  // first child: prev is the last child
        {u"b", 17, 18, 3, 4, 1, false, 1, 4, 0, 2},
        {u"c", 20, 4, 4, 0, 2, true, 3, 0, 5, 5},
        {u"d", 24, 7, 3, 4, 2, false, 3, 0, 0, 4},
    };
    for (int index = 1; index <= 5; ++index) {
        const Expected& e = expected[index - 1];
        const ElementRecord& record = document.Element(index);
        SCOPED_TRACE(U8(e.name));
        EXPECT_EQ(document.TagName(index), e.name);
        EXPECT_EQ(record.start, e.start);
        EXPECT_EQ(record.length, e.length);
        EXPECT_EQ(record.StartTagLength(), e.startTag);
        EXPECT_EQ(record.EndTagLength(), e.endTag);
        EXPECT_EQ(record.Level(), e.level);
        EXPECT_EQ(record.Has(ElementRecord::kFirstChild), e.firstChild);
        EXPECT_FALSE(record.Has(ElementRecord::kLeftOpen));
        EXPECT_EQ(record.parent, e.parent);
        EXPECT_EQ(record.firstChild, e.child);
        EXPECT_EQ(record.next, e.next);
        EXPECT_EQ(record.prev, e.prev);
    }
}

TEST(XmlDocumentIndex, EmptyElementsNeedTheSlashAfterNameSpaceOrQuote) {
    struct Case {
        const char16_t* text;
        bool empty;
    };
    const Case cases[] = {
        {u"<a/>", true},      {u"<a />", true},   {u"<a x=\"1\"/>", true},  {u"<a x='1'/>", true},
        {u"<a x=1/>", false}, {u"<a x/>", false}, {u"<a x=\"/>\">", false},
    };
    for (const Case& c : cases) {
        XmlDocument document;
        EXPECT_EQ(document.SetText(c.text), c.empty) << U8(c.text);
        EXPECT_EQ(document.Element(1).Has(ElementRecord::kLeftOpen), !c.empty) << U8(c.text);
    }
}

TEST(XmlDocumentIndex, ReportsFaultyTextInTheLog) {
    struct Case {
        const char16_t* text;
        bool wellFormed;
        const char16_t* log;
    };
    const Case cases[] = {
        {u"", false, u""},
        {u"<a/>", true, u""},
        {u"<a></a >", true, u""},
        {u"<?xml version=\"1.0\"?>", false, u"<no_root_element/>"},
        {u"just text", false, u"<no_root_element/>"},
        {u"<a/><b/>", false, u"<root_has_sibling/>"},
        {u"</x><a/>", false, u"<lone_end_tag tagname=\"x\" offset=\"0\"/>"},
        {u"<a></A>", false,
         u"<lone_end_tag tagname=\"A\" offset=\"3\"/>"
         u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"7\"/>"},
        {u"<a><b></a>", false, u"<unended_start_tag tagname=\"b\" offset=\"3\" offset2=\"10\"/>"},
        {u"<", false, u"<unterminated_tag_syntax type=\"tag\" offset=\"0\"/><no_root_element/>"},
        {u"<a/><", false, u"<unterminated_tag_syntax type=\"tag\" offset=\"4\"/>"},
        {u"<a", false,
         u"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
        {u"<a b=\"x></a>", false,
         u"<unterminated_tag_syntax type=\"start_tag\" offset=\"0\"/><no_root_element/>"},
        {u"<a></a", false,
         u"<unterminated_tag_syntax type=\"end_tag\" offset=\"3\"/>"
         u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"6\"/>"},
        {u"<a><!-- x </a>", false,
         u"<unterminated_tag_syntax type=\"comment\" offset=\"3\"/>"
         u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"14\"/>"},
        {u"<a><![CDATA[ x</a>", false,
         u"<unterminated_tag_syntax type=\"cdata_section\" offset=\"3\"/>"
         u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"18\"/>"},
        {u"<a><?pi x</a>", false,
         u"<unterminated_tag_syntax type=\"processing_instruction\" offset=\"3\"/>"
         u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"13\"/>"},
        {u"<!DOCTYPE a [<!ELEMENT a ANY>]", false,
         u"<unterminated_tag_syntax type=\"document_type\" offset=\"0\"/><no_root_element/>"},
        {u"<a>1 < 2</a>", false,
         u"<first_tag_syntax offset=\"5\"/>"
         u"<unended_start_tag tagname=\"a\" offset=\"0\" offset2=\"12\"/>"},
        {u"<a><!x></a>", false, u"<exclamation_tag_syntax offset=\"3\"/>"},
        {u"<a><!-x></a>", false, u"<comment_tag_syntax offset=\"3\"/>"},
        {u"<a><![x]></a>", false, u"<cdata_section_syntax offset=\"3\"/>"},
        {u"<!DOCTYPE a [<!-- c -->]><a/>", false, u"<doctype_tag_syntax offset=\"13\"/>"},
        {u"<!DOCTYPE a [<!ELEMENT a ANY><!ATTLIST a b CDATA \"x\">]><a b=\"1\"/>", true, u""},
        {u"<a><![CDATA[<b>]]><!-- <c> --><?pi <d>?></a>", true, u""},
        {u"text <a/> text", true, u""},
    };
    for (const Case& c : cases) {
        XmlDocument document;
        EXPECT_EQ(document.SetText(c.text), c.wellFormed) << U8(c.text);
        EXPECT_EQ(U8(document.ResultLog()), U8(c.log)) << U8(c.text);
        // Syntax records and unmatched tags mark the document; the two root records do not.
        const std::string log = U8(c.log);
        const bool marked = log.find("syntax") != std::string::npos ||
                            log.find("lone_end_tag") != std::string::npos ||
                            log.find("unended_start_tag") != std::string::npos;
        EXPECT_EQ(document.Element(0).Has(ElementRecord::kNotWellFormed), marked) << U8(c.text);
    }
}

TEST(XmlDocumentIndex, ChildrenOfAnElementLeftOpenBecomeItsFollowingSiblings) {
    XmlDocument document;
    EXPECT_FALSE(document.SetText(u"<r><x><c1><g/></c1><c2/></r>"));
    const int r = FindByName(document, u"r"), x = FindByName(document, u"x"),
              c1 = FindByName(document, u"c1"), c2 = FindByName(document, u"c2"),
              g = FindByName(document, u"g");
    const ElementRecord& open = document.Element(x);
    EXPECT_TRUE(open.Has(ElementRecord::kLeftOpen));
    EXPECT_EQ(open.length, open.StartTagLength());
    EXPECT_EQ(open.firstChild, 0);
    // r's children are now x, c1, c2; g stays inside c1, one level deeper.
    EXPECT_EQ(document.Element(r).firstChild, x);
    EXPECT_EQ(open.next, c1);
    EXPECT_EQ(document.Element(c1).next, c2);
    EXPECT_EQ(document.Element(c1).prev, x);
    EXPECT_EQ(document.Element(x).prev, c2);
    EXPECT_EQ(document.Element(c1).parent, r);
    EXPECT_EQ(document.Element(c2).parent, r);
    EXPECT_EQ(document.Element(c1).Level(), 1u);
    EXPECT_EQ(document.Element(g).Level(), 2u);
    EXPECT_FALSE(document.Element(c1).Has(ElementRecord::kFirstChild));
    EXPECT_TRUE(document.Element(x).Has(ElementRecord::kFirstChild));
    EXPECT_TRUE(document.Element(g).Has(ElementRecord::kFirstChild));

    // The cursor sees the repaired tree.
    ASSERT_TRUE(document.FindElement(u"r"));
    document.EnterElement();
    EXPECT_TRUE(document.FindElement(u"x"));
    EXPECT_TRUE(document.FindElement(u"c1"));
    EXPECT_TRUE(document.FindElement(u"c2"));
}

TEST(XmlDocumentIndex, TheLogStopsGrowingAtAThousandCharacters) {
    std::u16string text = u"<a>";
    for (int i = 0; i < 500; ++i) {
        text += u"</stray>";
    }
    text += u"</a>";
    XmlDocument document;
    EXPECT_FALSE(document.SetText(text.c_str()));
    const std::u16string& log = document.ResultLog();
    EXPECT_GE(log.size(), 1000u);
    EXPECT_LT(log.size(), 1000u + 64u);             // the record that crossed the limit is the last
    EXPECT_LT(log.rfind(u"<lone_end_tag"), 1000u);  // no record starts past the limit
    EXPECT_EQ(log.substr(log.size() - 2), u"/>");
    EXPECT_EQ(log.substr(0, 42), u"<lone_end_tag tagname=\"stray\" offset=\"3\"/>");
}

TEST(XmlDocumentIndex, HostileInputStaysLinearAndInBounds) {
    constexpr int kDepth = 100000;
    auto repeat = [](std::u16string_view piece, int times) {
        std::u16string out;
        out.reserve(piece.size() * times);
        for (int i = 0; i < times; ++i) {
            out += piece;
        }
        return out;
    };
    struct Case {
        const char* what;
        std::u16string text;
        bool wellFormed;
    };
    const Case cases[] = {
        {"10 MB of <", std::u16string(5 * 1024 * 1024, u'<'), false},
        {"deep and closed", repeat(u"<a>", kDepth) + repeat(u"</a>", kDepth), true},
        {"deep and never closed", repeat(u"<a>", kDepth), false},
        {"deep under stray end tags", repeat(u"<a>", kDepth) + repeat(u"</b>", kDepth), false},
        {"deep, closed from outside", repeat(u"<a><b>", kDepth / 2) + u"</a>", false},
        {"unterminated quote", u"<a v=\"" + std::u16string(1 << 20, u'x'), false},
        {"lone ampersands", u"<a v=\"" + repeat(u"& &#; &#x &amp", 10000) + u"\"/>", true},
        {"tags without names", repeat(u"< / > <> </> <!> <?", 10000), false},
    };
    for (const Case& c : cases) {
        XmlDocument document;
        EXPECT_EQ(document.SetText(c.text.c_str()), c.wellFormed) << c.what;
        EXPECT_LT(document.ResultLog().rfind(u'<') + 1, 1001u) << c.what;
        // Every record stays inside the text.
        for (int index = 1; index < document.NextFreeIndex(); ++index) {
            const ElementRecord& record = document.Element(index);
            ASSERT_LE(std::size_t{record.start} + record.length, c.text.size()) << c.what;
        }
        while (document.FindElement()) {  // walk a little of the tree
            document.GetAttribute(u"v");
            if (!document.EnterElement() || document.CurrentIndex() == 0) {
                break;
            }
        }
    }
}

TEST(XmlDocumentIndex, LevelsBeyondSixteenBitsSaturateWithoutTouchingTheFlags) {
    constexpr int kDepth = 70000;
    std::u16string text;
    for (int i = 0; i < kDepth; ++i) {
        text += u"<a>";
    }
    for (int i = 0; i < kDepth; ++i) {
        text += u"</a>";
    }
    XmlDocument document;
    ASSERT_TRUE(document.SetText(text.c_str()));
    const ElementRecord& deepest = document.Element(kDepth);
    EXPECT_EQ(deepest.Level(), 0xFFFFu);
    EXPECT_TRUE(deepest.Has(ElementRecord::kFirstChild));
    EXPECT_FALSE(deepest.Has(ElementRecord::kLeftOpen));
    EXPECT_EQ(document.Element(1000).Level(), 999u);
}

}  // namespace
