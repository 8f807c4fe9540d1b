#include "xml/XmlDocument.h"

#include <algorithm>

#include "text/Format.h"
#include "xml/XmlSyntax.h"

namespace {

// Names the writer accepts for elements and attributes: nothing that would end a tag or start
// markup, so a written document always indexes as it was built.
bool IsWritableName(std::u16string_view name) {
    if (name.empty()) {
        return false;
    }
    return std::none_of(name.begin(), name.end(), [](char16_t c) {
        return IsXmlSpace(c) || c == u'<' || c == u'>' || c == u'/' || c == u'=' || c == u'"' ||
               c == u'\'' || c == u'&' || c == u'?' || c == u'!';
    });
}

}  // namespace

XmlDocument::XmlDocument() {
    Index();
}

std::u16string XmlDocument::Decimal(std::size_t value) {
    return Format(u"%u", value);
}

void XmlDocument::Log(
    std::u16string_view record,
    std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> attributes) {
    if (LogFull()) {
        return;
    }
    resultLog_.push_back(u'<');
    resultLog_.append(record);
    for (const auto& [name, value] : attributes) {
        resultLog_.push_back(u' ');
        resultLog_.append(name);
        resultLog_.append(u"=\"");
        resultLog_.append(EncodeAttributeValue(value));
        resultLog_.push_back(u'"');
    }
    resultLog_.append(u"/>");
}

bool XmlDocument::SetText(const char16_t* text) {
    if (text != nullptr) {
        text_.assign(text);
    } else {
        text_.clear();
    }
    resultLog_.clear();
    Index();
    return IsWellFormed();
}

bool XmlDocument::IsWellFormed() const {
    const ElementRecord& document = elements_[0];
    return !document.Has(ElementRecord::kNotWellFormed) && document.firstChild != 0 &&
           elements_[document.firstChild].next == 0;
}

std::u16string_view XmlDocument::TagName(int index) const {
    if (index <= 0 || index >= nextFreeIndex_) {
        return {};
    }
    const std::u16string_view view(text_);
    std::size_t begin = elements_[index].start + 1;
    return view.substr(begin, TagNameEnd(view, begin) - begin);
}

std::size_t XmlDocument::StartTagEnd(int index) const {
    const ElementRecord& record = elements_[index];
    if (record.StartTagLength() < ElementRecord::kMaxStartTagLength) {
        return record.start + record.StartTagLength();
    }
    const std::u16string_view view(text_);
    std::size_t closingQuote = 0;
    std::size_t close = FindStartTagClose(view, TagNameEnd(view, record.start + 1), closingQuote);
    return close == std::u16string_view::npos ? view.size() : close + 1;
}

std::size_t XmlDocument::EndTagStart(int index) const {
    const ElementRecord& record = elements_[index];
    const std::size_t end = record.start + record.length;
    if (record.EndTagLength() < ElementRecord::kMaxEndTagLength) {
        return end - record.EndTagLength();
    }
    // An end tag holds no "<" but its first character.
    std::size_t lt = std::u16string_view(text_).substr(0, end).rfind(u'<');
    return lt == std::u16string_view::npos ? end : lt;
}

bool XmlDocument::FindElement(const std::u16string& name) {
    if (!name.empty() && name[0] == u'/') {
        return false;
    }
    int candidate =
        currentIndex_ != 0 ? elements_[currentIndex_].next : elements_[parentIndex_].firstChild;
    for (; candidate != 0; candidate = elements_[candidate].next) {
        if (name.empty() || TagName(candidate) == name) {
            currentIndex_ = candidate;
            childIndex_ = 0;
            nodeKind_ = 1;
            return true;
        }
    }
    return false;
}

bool XmlDocument::EnterElement() {
    if (currentIndex_ == 0 || nodeKind_ != 1) {
        return false;
    }
    parentIndex_ = currentIndex_;
    currentIndex_ = childIndex_;
    childIndex_ = 0;
    nodeKind_ = currentIndex_ != 0 ? 1 : 0;
    return true;
}

bool XmlDocument::LeaveElement() {
    if (parentIndex_ == 0) {
        return false;
    }
    childIndex_ = currentIndex_;
    currentIndex_ = parentIndex_;
    parentIndex_ = elements_[currentIndex_].parent;
    nodeKind_ = 1;
    return true;
}

std::u16string XmlDocument::GetAttribute(const std::u16string& name) const {
    if (currentIndex_ == 0 || name.empty()) {
        return {};
    }
    const std::u16string_view view(text_);
    std::u16string value;
    ForEachAttribute(
        view, elements_[currentIndex_].start, StartTagEnd(currentIndex_),
        [&](const AttributeSpan& span) {
            if (view.substr(span.nameBegin, span.nameEnd - span.nameBegin) != name) {
                return true;
            }
            value = DecodeReferences(view.substr(span.valueBegin, span.valueEnd - span.valueBegin));
            return false;
        });
    return value;
}

std::vector<std::pair<std::u16string, std::u16string>> XmlDocument::GetAttributes() const {
    std::vector<std::pair<std::u16string, std::u16string>> attributes;
    if (currentIndex_ == 0) {
        return attributes;
    }
    const std::u16string_view view(text_);
    ForEachAttribute(
        view, elements_[currentIndex_].start, StartTagEnd(currentIndex_),
        [&](const AttributeSpan& span) {
            attributes.emplace_back(
                view.substr(span.nameBegin, span.nameEnd - span.nameBegin),
                DecodeReferences(view.substr(span.valueBegin, span.valueEnd - span.valueBegin)));
            return true;
        });
    return attributes;
}

void XmlDocument::Splice(std::size_t pos, std::size_t erase, std::u16string_view insert,
                         int enclosing) {
    text_.replace(pos, erase, insert);
    const auto delta = static_cast<std::int64_t>(insert.size()) - static_cast<std::int64_t>(erase);
    if (delta == 0) {
        return;
    }
    // Documents are written in order, so the splice point usually lies past every element.
    if (pos <= maxStart_) {
        for (int index = 1; index < nextFreeIndex_; ++index) {
            ElementRecord& record = elements_[index];
            if (record.start >= pos) {
                record.start = static_cast<std::uint32_t>(record.start + delta);
            }
        }
        maxStart_ = static_cast<std::uint32_t>(maxStart_ + delta);
    }
    for (int index = enclosing; index != 0; index = elements_[index].parent) {
        elements_[index].length = static_cast<std::uint32_t>(elements_[index].length + delta);
    }
    elements_[0].length = static_cast<std::uint32_t>(text_.size());
}

void XmlDocument::LinkLast(int index, int parent) {
    ElementRecord& record = elements_[index];
    record.parent = parent;
    record.next = 0;
    const int first = elements_[parent].firstChild;
    if (first == 0) {
        elements_[parent].firstChild = index;
        record.prev = index;
        record.flagsAndLevel |= ElementRecord::kFirstChild;
        return;
    }
    const int last = elements_[first].prev;
    elements_[last].next = index;
    record.prev = last;
    elements_[first].prev = index;
}

void XmlDocument::LinkAfter(int index, int previous) {
    ElementRecord& record = elements_[index];
    const int parent = elements_[previous].parent;
    const int next = elements_[previous].next;
    record.parent = parent;
    record.prev = previous;
    record.next = next;
    elements_[previous].next = index;
    if (next != 0) {
        elements_[next].prev = index;
    } else {
        elements_[elements_[parent].firstChild].prev = index;
    }
}

bool XmlDocument::AddElement(const std::u16string& name) {
    if (!IsWritableName(name) || elements_[0].length != text_.size() ||
        text_.size() + 2 * name.size() + 16 > kMaxTextLength) {
        return false;
    }
    const int parent = parentIndex_;
    const int previous = currentIndex_;
    std::u16string element = u"<" + name + u"/>\r\n";
    const std::size_t tagLength = name.size() + 3;
    const std::u16string_view view(text_);

    // Whitespace after the insertion point is stepped over when markup or the end follows, so
    // the new line comes after the line break that ends the previous line.
    auto pastLineBreak = [&](std::size_t pos) {
        std::size_t i = pos;
        while (i < view.size() && IsXmlSpace(view[i])) {
            ++i;
        }
        return (i == view.size() || view[i] == u'<') ? i : pos;
    };

    std::size_t newStart = 0;
    if (previous != 0) {
        const ElementRecord& current = elements_[previous];
        newStart = pastLineBreak(current.start + current.length);
        Splice(newStart, 0, element, parent);
    } else if (parent != 0) {
        const ElementRecord& container = elements_[parent];
        const std::size_t startTagEnd = StartTagEnd(parent);
        const bool leftOpen = container.Has(ElementRecord::kLeftOpen);
        if (!leftOpen && container.EndTagLength() == 0 && startTagEnd >= 2 &&
            view[startTagEnd - 2] == u'/') {
            // An empty tag becomes a start tag, the new element's line and an end tag.
            const std::u16string parentName(TagName(parent));
            const std::size_t slash = startTagEnd - 2;
            const std::size_t oldStartTag = startTagEnd - container.start;
            Splice(slash, 1, u">\r\n" + element + u"</" + parentName, parent);
            elements_[parent].SetTagLengths(oldStartTag - 1, parentName.size() + 3);
            newStart = slash + 3;
        } else if (!leftOpen && EndTagStart(parent) == startTagEnd) {
            // Start and end tag with nothing between: the new element goes on a line of its own.
            newStart = startTagEnd + 2;
            Splice(startTagEnd, 0, u"\r\n" + element, parent);
        } else {
            newStart = pastLineBreak(leftOpen ? startTagEnd : EndTagStart(parent));
            Splice(newStart, 0, element, parent);
        }
    } else {
        newStart = text_.size();
        Splice(newStart, 0, element, 0);
    }

    const int index = nextFreeIndex_++;
    elements_.EnsureAvailable(static_cast<std::size_t>(index));
    ElementRecord& record = elements_[index];
    record = ElementRecord{};
    record.start = static_cast<std::uint32_t>(newStart);
    record.length = static_cast<std::uint32_t>(tagLength);
    record.SetTagLengths(tagLength, 0);
    record.SetLevel(parent == 0 ? 0 : elements_[parent].Level() + 1);
    if (previous != 0) {
        LinkAfter(index, previous);
    } else {
        LinkLast(index, parent);
    }
    maxStart_ = std::max(maxStart_, record.start);

    currentIndex_ = index;
    childIndex_ = 0;
    nodeKind_ = 1;
    return true;
}

bool XmlDocument::SetAttribute(const std::u16string& name, const std::u16string& value) {
    if (currentIndex_ == 0 || !IsWritableName(name)) {
        return false;
    }
    const std::u16string encoded = EncodeAttributeValue(value);
    if (text_.size() + name.size() + encoded.size() + 4 > kMaxTextLength) {
        return false;
    }
    const std::u16string_view view(text_);
    const int index = currentIndex_;
    const std::size_t tagBegin = elements_[index].start;
    const std::size_t tagEnd = StartTagEnd(index);

    AttributeSpan found;
    bool exists = false;
    const std::size_t lastEnd =
        ForEachAttribute(view, tagBegin, tagEnd, [&](const AttributeSpan& span) {
            if (view.substr(span.nameBegin, span.nameEnd - span.nameBegin) != name) {
                return true;
            }
            found = span;
            exists = true;
            return false;
        });

    std::size_t pos;
    std::size_t erase;
    std::u16string insert;
    if (exists && found.hasValue) {
        pos = found.quoted ? found.valueBegin - 1 : found.valueBegin;
        erase = found.tokenEnd - pos;
        insert = u"\"" + encoded + u"\"";
    } else if (exists) {
        pos = found.nameEnd;
        erase = 0;
        insert = u"=\"" + encoded + u"\"";
    } else {
        pos = lastEnd;
        erase = 0;
        insert = u" " + name + u"=\"" + encoded + u"\"";
    }
    const std::size_t newTagLength = tagEnd - tagBegin - erase + insert.size();
    Splice(pos, erase, insert, index);
    ElementRecord& record = elements_[index];
    record.SetTagLengths(newTagLength, record.EndTagLength());
    return true;
}

bool XmlDocument::SetAttribute(const std::u16string& name, int value) {
    return SetAttribute(name, Format(u"%d", value));
}
