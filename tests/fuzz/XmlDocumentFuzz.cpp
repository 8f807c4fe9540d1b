// libFuzzer target for XmlDocument: any text or file must load, walk, edit and save without a
// crash, a sanitizer report or a leak.
//
// Input layout:
//   byte 0, bit 0   0: the rest is UTF-16LE text for SetText (an odd last byte is dropped)
//                   1: the rest is the bytes of a file for LoadFile
//   byte 0, bits 1-3  how many edits follow the walk; the edits are read from the last bytes
//                     of the input, one byte each.
// After loading, the whole tree is walked with the cursor and every attribute is read, then the
// edits run, the text is saved to a second file and that file is loaded again.

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "platform/UniqueFd.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

// The two files one fuzzing process uses, made once and removed when the process ends.
class ScratchFiles {
public:
    ScratchFiles() {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                              "/kestrel-xml-fuzz-XXXXXX";
        platform::UniqueFd descriptor(mkstemp(pattern.data()));
        if (!descriptor.IsValid()) {
            std::perror("mkstemp");
            std::abort();
        }
        input_ = pattern;
        saved_ = pattern + ".saved";
        inputPath_ = FromUtf8(input_);
        savedPath_ = FromUtf8(saved_);
    }
    ~ScratchFiles() {
        std::remove(input_.c_str());
        std::remove(saved_.c_str());
    }
    ScratchFiles(const ScratchFiles&) = delete;
    ScratchFiles& operator=(const ScratchFiles&) = delete;

    // Replaces the input file's content.
    const std::u16string& WriteInput(const std::uint8_t* data, std::size_t size) {
        FileHandle file(std::fopen(input_.c_str(), "wb"));
        if (!file || (size > 0 && std::fwrite(data, 1, size, file.get()) != size)) {
            std::perror("writing the fuzz input");
            std::abort();
        }
        return inputPath_;
    }
    const std::u16string& SavedPath() const { return savedPath_; }

private:
    std::string input_;
    std::string saved_;
    std::u16string inputPath_;
    std::u16string savedPath_;
};

ScratchFiles& Scratch() {
    static ScratchFiles files;
    return files;
}

constexpr std::size_t kMaxWalkSteps = 200000;

constexpr const char16_t* kNames[] = {u"root", u"macro", u"event", u"a", u"größe", u"😀"};
constexpr const char16_t* kValues[] = {
    u"", u"1", u"<&>\"'", u"&amp;&#65;", u"naïve 漢字 😀", u"\t\r\n", u"]]>", u"a b=\"c\"",
};

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
}

// Walks every element in document order without recursion (nesting may be deep) and reads each
// attribute both in a list and by name; a lookup by name gives the first attribute of that name.
void WalkAndRead(XmlDocument& document) {
    std::size_t depth = 0;
    for (std::size_t step = 0; step < kMaxWalkSteps; ++step) {
        if (document.FindElement()) {
            const std::u16string_view name = document.TagName(document.CurrentIndex());
            (void)name.size();
            const auto attributes = document.GetAttributes();
            for (std::size_t i = 0; i < attributes.size(); ++i) {
                std::size_t first = 0;
                while (attributes[first].first != attributes[i].first) {
                    ++first;
                }
                if (document.GetAttribute(attributes[i].first) != attributes[first].second) {
                    Fail("GetAttribute disagrees with GetAttributes");
                }
            }
            (void)document.GetAttribute(u"name");
            if (document.EnterElement()) {
                ++depth;
            }
        } else if (depth > 0) {
            document.LeaveElement();
            --depth;
        } else {
            break;
        }
    }
}

void Edit(XmlDocument& document, std::uint8_t op) {
    const char16_t* name = kNames[(op >> 3) % std::size(kNames)];
    switch (op % 7) {
        case 0:
            document.FindElement();
            break;
        case 1:
            document.FindElement(name);
            break;
        case 2:
            document.EnterElement();
            break;
        case 3:
            document.LeaveElement();
            break;
        case 4:
            document.AddElement(name);
            break;
        case 5:
            document.SetAttribute(name, kValues[(op >> 3) % std::size(kValues)]);
            break;
        case 6:
            document.SetAttribute(name, static_cast<int>(op) - 128);
            break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const std::uint8_t* body = data + 1;
    const std::size_t length = size - 1;
    ScratchFiles& scratch = Scratch();

    XmlDocument document;
    if ((control & 1) == 0) {
        std::u16string text(length / 2, u'\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<char16_t>(body[2 * i] | (body[2 * i + 1] << 8));
        }
        document.SetText(text.c_str());  // stops at the first zero unit, as any C string does
    } else {
        document.LoadFile(scratch.WriteInput(body, length));
    }
    (void)document.IsWellFormed();
    (void)document.ResultLog().size();

    WalkAndRead(document);

    const std::size_t edits = std::min<std::size_t>((control >> 1) & 7, length);
    for (std::size_t i = 0; i < edits; ++i) {
        Edit(document, body[length - 1 - i]);
    }
    (void)document.GetAttributes();
    (void)document.Text().size();

    if (document.SaveFile(scratch.SavedPath())) {
        XmlDocument reloaded;
        reloaded.LoadFile(scratch.SavedPath());
        WalkAndRead(reloaded);
    }
    return 0;
}
