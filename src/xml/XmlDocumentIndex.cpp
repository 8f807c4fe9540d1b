// Building the element index: one pass over the text, node by node.

#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "xml/XmlDocument.h"
#include "xml/XmlScan.h"
#include "xml/XmlSyntax.h"

namespace {

// Position of the first occurrence of `pattern` at or after `pos`, or `size`.
std::size_t FindText(const char16_t* s, std::size_t pos, std::size_t size,
                     std::u16string_view pattern) {
    for (;;) {
        pos = FindUnit(s, pos, size, pattern[0]);
        if (pos + pattern.size() > size) {
            return size;
        }
        if (std::u16string_view(s + pos, pattern.size()) == pattern) {
            return pos;
        }
        ++pos;
    }
}

bool StartsElement(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' ||
           c >= u'{';
}

// The elements whose end tags are still to come, innermost last. Matching an end tag is a compare
// with the innermost element in a well-formed document; only after the first mismatch does the
// stack also count its names, so a run of stray end tags under a deep stack stays linear.
class OpenElements {
public:
    bool Empty() const { return indices_.empty(); }
    std::size_t Size() const { return indices_.size(); }
    int Top() const { return indices_.back(); }
    int At(std::size_t position) const { return indices_[position]; }
    std::u16string_view NameAt(std::size_t position) const { return names_[position]; }

    void Push(int index, std::u16string_view name) {
        indices_.push_back(index);
        names_.push_back(name);
        if (counting_) {
            ++counts_[name];
        }
    }
    void PopTo(std::size_t size) {
        if (counting_) {
            for (std::size_t i = size; i < names_.size(); ++i) {
                --counts_[names_[i]];
            }
        }
        indices_.resize(size);
        names_.resize(size);
    }
    // Position of the innermost open element with this name, or -1.
    std::ptrdiff_t FindInnermost(std::u16string_view name) {
        if (indices_.empty()) {
            return -1;
        }
        if (names_.back() == name) {
            return static_cast<std::ptrdiff_t>(names_.size()) - 1;
        }
        if (!counting_) {
            counting_ = true;
            for (std::u16string_view open : names_) {
                ++counts_[open];
            }
        }
        auto found = counts_.find(name);
        if (found == counts_.end() || found->second == 0) {
            return -1;
        }
        for (std::size_t i = names_.size(); i-- > 0;) {
            if (names_[i] == name) {
                return static_cast<std::ptrdiff_t>(i);
            }
        }
        return -1;
    }

private:
    std::vector<int> indices_;
    std::vector<std::u16string_view> names_;
    bool counting_ = false;
    std::unordered_map<std::u16string_view, int> counts_;
};

}  // namespace

void XmlDocument::Index() {
    parentIndex_ = currentIndex_ = childIndex_ = 0;
    nodeKind_ = 0;
    nextFreeIndex_ = 1;
    maxStart_ = 0;
    const std::size_t size = text_.size();
    elements_.Reserve(size / 64 + 8);
    elements_[0] = ElementRecord{};
    if (size > kMaxTextLength) {
        // Offsets are 32-bit; such a text is never indexed.
        elements_[0].flagsAndLevel = ElementRecord::kNotWellFormed;
        return;
    }
    elements_[0].length = static_cast<std::uint32_t>(size);

    const char16_t* s = text_.data();
    const std::u16string_view view(text_);
    OpenElements open;
    bool syntaxError = false;
    bool anyLeftOpen = false;

    auto unterminated = [&](std::u16string_view type, std::size_t offset) {
        syntaxError = true;
        if (!LogFull()) {
            Log(u"unterminated_tag_syntax", {{u"type", type}, {u"offset", Decimal(offset)}});
        }
    };
    auto syntax = [&](std::u16string_view record, std::size_t offset) {
        syntaxError = true;
        if (!LogFull()) {
            Log(record, {{u"offset", Decimal(offset)}});
        }
    };
    // Continues after the next ">" (or at the end) once a node was found faulty.
    auto skipPastGreater = [&](std::size_t from) {
        std::size_t gt = FindUnit(s, from, size, u'>');
        return gt < size ? gt + 1 : size;
    };
    // Leaves the open elements from stack position `from` outwards-in open: each keeps only its
    // start tag, and its children become its following siblings. Outermost first, so every
    // element is moved at most once.
    auto leaveOpen = [&](std::size_t from, std::size_t endedAt) {
        for (std::size_t k = from; k < open.Size(); ++k) {
            int index = open.At(k);
            std::size_t tagEnd = StartTagEnd(index);
            ElementRecord& record = elements_[index];
            record.length = static_cast<std::uint32_t>(tagEnd - record.start);
            record.flagsAndLevel |= ElementRecord::kLeftOpen;
            if (!LogFull()) {
                Log(u"unended_start_tag", {{u"tagname", open.NameAt(k)},
                                           {u"offset", Decimal(record.start)},
                                           {u"offset2", Decimal(endedAt)}});
            }
            int first = record.firstChild;
            if (first != 0) {
                int parent = record.parent;
                int last = elements_[first].prev;
                for (int child = first; child != 0; child = elements_[child].next) {
                    elements_[child].parent = parent;
                }
                record.firstChild = 0;
                record.next = first;  // an open element is always the last child of its parent
                elements_[first].prev = index;
                elements_[elements_[parent].firstChild].prev = last;
            }
        }
        if (from < open.Size()) {
            anyLeftOpen = true;
            syntaxError = true;
        }
    };

    std::size_t pos = 0;
    while (pos < size) {
        const std::size_t lt = FindUnit(s, pos, size, u'<');
        if (lt >= size) {
            break;
        }
        if (lt + 1 >= size) {
            unterminated(u"tag", lt);
            break;
        }
        const char16_t c = s[lt + 1];
        if (StartsElement(c)) {
            const std::size_t nameEnd = TagNameEnd(view, lt + 1);
            std::size_t closingQuote = std::u16string_view::npos;
            const std::size_t i = FindStartTagClose(view, nameEnd, closingQuote);
            if (i == std::u16string_view::npos) {
                unterminated(u"start_tag", lt);
                break;
            }
            const std::size_t tagEnd = i + 1;
            const bool empty = s[i - 1] == u'/' && i - 1 >= nameEnd &&
                               (i - 1 == nameEnd || IsXmlSpace(s[i - 2]) || i - 2 == closingQuote);

            const int index = nextFreeIndex_++;
            elements_.EnsureAvailable(static_cast<std::size_t>(index));
            const int parent = open.Empty() ? 0 : open.Top();
            ElementRecord& record = elements_[index];
            record.start = static_cast<std::uint32_t>(lt);
            record.SetTagLengths(tagEnd - lt, 0);
            record.flagsAndLevel = 0;
            record.SetLevel(open.Size());
            record.firstChild = 0;
            record.next = 0;
            record.length = static_cast<std::uint32_t>(tagEnd - lt);
            LinkLast(index, parent);
            maxStart_ = static_cast<std::uint32_t>(lt);
            if (!empty) {
                open.Push(index, view.substr(lt + 1, nameEnd - (lt + 1)));
            }
            pos = tagEnd;
        } else if (c == u'/') {
            const std::size_t gt = FindUnit(s, lt + 2, size, u'>');
            if (gt >= size) {
                unterminated(u"end_tag", lt);
                break;
            }
            std::size_t nameEnd = lt + 2;
            while (nameEnd < gt && !IsXmlSpace(s[nameEnd])) {
                ++nameEnd;
            }
            const std::u16string_view name = view.substr(lt + 2, nameEnd - (lt + 2));
            const std::ptrdiff_t position = open.FindInnermost(name);
            if (position < 0) {
                syntaxError = true;
                if (!LogFull()) {
                    Log(u"lone_end_tag", {{u"tagname", name}, {u"offset", Decimal(lt)}});
                }
            } else {
                leaveOpen(static_cast<std::size_t>(position) + 1, gt + 1);
                ElementRecord& record = elements_[open.At(static_cast<std::size_t>(position))];
                record.length = static_cast<std::uint32_t>(gt + 1 - record.start);
                record.tagLengths = (record.tagLengths & ElementRecord::kMaxStartTagLength) |
                                    (static_cast<std::uint32_t>(std::min<std::size_t>(
                                         gt + 1 - lt, ElementRecord::kMaxEndTagLength))
                                     << 22);
                open.PopTo(static_cast<std::size_t>(position));
            }
            pos = gt + 1;
        } else if (c == u'?') {
            const std::size_t end = FindText(s, lt + 2, size, u"?>");
            if (end >= size) {
                unterminated(u"processing_instruction", lt);
                break;
            }
            pos = end + 2;
        } else if (c == u'!') {
            const char16_t d = lt + 2 < size ? s[lt + 2] : u'\0';
            const char16_t e = lt + 3 < size ? s[lt + 3] : u'\0';
            if (lt + 2 >= size) {
                unterminated(u"tag", lt);
                break;
            }
            if (d == u'-') {
                if (lt + 3 >= size) {
                    unterminated(u"comment", lt);
                    break;
                }
                if (e != u'-') {
                    syntax(u"comment_tag_syntax", lt);
                    pos = skipPastGreater(lt + 3);
                    continue;
                }
                const std::size_t end = FindText(s, lt + 4, size, u"-->");
                if (end >= size) {
                    unterminated(u"comment", lt);
                    break;
                }
                pos = end + 3;
            } else if (d == u'[') {
                if (lt + 3 >= size) {
                    unterminated(u"cdata_section", lt);
                    break;
                }
                if (e != u'C') {
                    syntax(u"cdata_section_syntax", lt);
                    pos = skipPastGreater(lt + 3);
                    continue;
                }
                const std::size_t end = FindText(s, lt + 3, size, u"]]>");
                if (end >= size) {
                    unterminated(u"cdata_section", lt);
                    break;
                }
                pos = end + 3;
            } else if (d == u'D') {
                // The document type ends at the first ">" outside a nested declaration
                // ("<!ELEMENT", "<!ATTLIST", "<!NOTATION", "<!ENTITY").
                std::size_t i = lt + 3;
                bool nested = false;
                for (; i < size; ++i) {
                    const char16_t ch = s[i];
                    if (ch == u'>') {
                        if (!nested) {
                            break;
                        }
                        nested = false;
                    } else if (ch == u'<' && i + 1 < size && s[i + 1] == u'!') {
                        if (i + 2 < size && s[i + 2] != u'E' && s[i + 2] != u'A' &&
                            s[i + 2] != u'N') {
                            syntax(u"doctype_tag_syntax", i);
                        }
                        nested = true;
                        ++i;
                    }
                }
                if (i >= size) {
                    unterminated(u"document_type", lt);
                    break;
                }
                pos = i + 1;
            } else {
                syntax(u"exclamation_tag_syntax", lt);
                pos = skipPastGreater(lt + 2);
            }
        } else {
            syntax(u"first_tag_syntax", lt);
            pos = skipPastGreater(lt + 1);
        }
    }
    leaveOpen(0, size);
    open.PopTo(0);

    if (anyLeftOpen) {
        // Moving children up changed levels and first children; set both again in one pass.
        // A parent always has a smaller index than its children.
        for (int index = 1; index < nextFreeIndex_; ++index) {
            ElementRecord& record = elements_[index];
            const int parent = record.parent;
            std::size_t level = parent == 0 ? 0 : elements_[parent].Level() + 1;
            record.SetLevel(level);
            if (elements_[parent].firstChild == index) {
                record.flagsAndLevel |= ElementRecord::kFirstChild;
            } else {
                record.flagsAndLevel &= ~ElementRecord::kFirstChild;
            }
        }
    }

    ElementRecord& document = elements_[0];
    if (syntaxError) {
        document.flagsAndLevel |= ElementRecord::kNotWellFormed;
    }
    if (document.firstChild == 0) {
        if (size > 0) {
            Log(u"no_root_element");
        }
    } else if (elements_[document.firstChild].next != 0) {
        Log(u"root_has_sibling");
    }
}
