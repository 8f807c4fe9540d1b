#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xml/ElementArray.h"

// An XML document held in memory as UTF-16 text with a flat index of its elements and a cursor
// that moves from element to element. Editing splices characters into the text and shifts the
// index, so Text() is always exactly the document that SaveFile writes.
//
// Reading: LoadFile, then FindElement / EnterElement / LeaveElement and GetAttribute.
// Writing: SetText with the declaration, then AddElement, EnterElement and SetAttribute in
// document order, then SaveFile.
//
// Nothing throws; results are reported by return values, and diagnostics of the last load, save or
// SetText are kept as a run of empty elements in ResultLog(). A document belongs to one thread.
class XmlDocument {
public:
    // Which byte-order mark the loaded file carried (DocumentFlags()).
    static constexpr std::uint32_t kBomUtf8 = 0x4;
    static constexpr std::uint32_t kUtf16LittleEndian = 0x1;
    static constexpr std::uint32_t kUtf16BigEndian = 0x80;

    XmlDocument();
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    bool SetText(const char16_t* text);  // nullptr clears
    bool LoadFile(const std::u16string& path);
    bool SaveFile(const std::u16string& path);

    bool FindElement(const std::u16string& name = u"");
    bool EnterElement();
    bool LeaveElement();
    std::u16string GetAttribute(const std::u16string& name) const;

    bool AddElement(const std::u16string& name);
    bool SetAttribute(const std::u16string& name, const std::u16string& value);
    bool SetAttribute(const std::u16string& name, int value);

    const std::u16string& Text() const { return text_; }
    const std::u16string& ResultLog() const { return resultLog_; }

    // Inspection, for diagnostics and tests.
    bool IsWellFormed() const;
    std::uint32_t DocumentFlags() const { return documentFlags_; }
    int ParentIndex() const { return parentIndex_; }
    int CurrentIndex() const { return currentIndex_; }
    int ChildIndex() const { return childIndex_; }
    int NodeKind() const { return nodeKind_; }
    int NextFreeIndex() const { return nextFreeIndex_; }
    const ElementRecord& Element(int index) const { return elements_[index]; }
    // Tag name of an element (empty for record 0 or an index out of range).
    std::u16string_view TagName(int index) const;
    // Every attribute of the current element in document order, values decoded.
    std::vector<std::pair<std::u16string, std::u16string>> GetAttributes() const;

private:
    // Indexing (XmlDocumentIndex.cpp).
    void Index();

    // Loading and saving (XmlDocumentFile.cpp).
    bool ReadFile(const std::u16string& path);
    // Records a "file_error" with the system's message for `error`.
    void LogFileError(int error);

    // Appends one diagnostic record unless the log is already full.
    void Log(
        std::u16string_view record,
        std::initializer_list<std::pair<std::u16string_view, std::u16string_view>> attributes = {});
    bool LogFull() const { return resultLog_.size() >= kLogLimit; }
    static std::u16string Decimal(std::size_t value);

    // Where the start tag of an element ends (just after its ">"), and where its end tag begins.
    std::size_t StartTagEnd(int index) const;
    std::size_t EndTagStart(int index) const;

    // Puts `insert` at `pos` in place of `erase` characters, shifts the starts of the elements at
    // or after `pos` and resizes every element from `enclosing` up to the document.
    void Splice(std::size_t pos, std::size_t erase, std::u16string_view insert, int enclosing);
    // Links a new element as the last child of `parent`, or right after its sibling `previous`.
    void LinkLast(int index, int parent);
    void LinkAfter(int index, int previous);

    static constexpr std::size_t kLogLimit = 1000;
    // Offsets are 32-bit words; longer texts are kept but not indexed.
    static constexpr std::size_t kMaxTextLength = 0x7FFFFFFF;

    std::u16string text_;
    std::u16string resultLog_;
    int parentIndex_ = 0;
    int currentIndex_ = 0;
    int childIndex_ = 0;
    int nextFreeIndex_ = 1;
    int nodeKind_ = 0;
    std::uint32_t documentFlags_ = 0;
    ElementArray elements_;
    // The largest `start` of any element, so appending past it needs no shifting pass.
    std::uint32_t maxStart_ = 0;
};
