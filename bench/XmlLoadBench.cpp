// Loading a large macro export from disk: XmlDocument against pugixml, expat and libxml2's tree.
//
// The document is made once per run, deterministically, in a temporary file (about 20 MB: a few
// hundred <macro> elements holding empty <event> elements of five attributes each, CRLF line ends,
// no indentation). Every benchmark reads that same file and builds its own tree or index of it,
// and reports the file's size as bytes processed, so each line shows the load rate.

#include <benchmark/benchmark.h>
#include <expat.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <pugixml.hpp>
#include <string>
#include <type_traits>
#include <utility>

#include "platform/UniqueFd.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using ExpatParser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserFree>;

struct DocFree {
    void operator()(xmlDocPtr document) const { xmlFreeDoc(document); }
};
using Libxml2Document = std::unique_ptr<xmlDoc, DocFree>;

constexpr int kMacros = 400;
constexpr int kEventsPerMacro = 620;

// The macro export: the same bytes on every run.
std::string MacroExport() {
    std::string out;
    out.reserve(std::size_t{kMacros} * kEventsPerMacro * 90);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<root>\r\n";
    std::uint32_t state = 12345;
    auto next = [&state](std::uint32_t n) {
        state = state * 1103515245u + 12345u;
        return (state >> 16) % n;
    };
    int index = 0;
    for (int m = 0; m < kMacros; ++m) {
        out += "<macro name=\"Macro " + std::to_string(m) + " &amp; repeat\">\r\n";
        for (int e = 0; e < kEventsPerMacro; ++e) {
            out += "<event key_code=\"" + std::to_string(8 + next(247)) + "\" key_flag=\"" +
                   std::to_string(next(2)) + "\" delay=\"" + std::to_string(next(1000)) +
                   "\" event_type=\"" + std::to_string(1 + next(3)) + "\" macro_index=\"" +
                   std::to_string(index++) + "\"/>\r\n";
        }
        out += "</macro>\r\n";
    }
    out += "</root>\r\n";
    return out;
}

// The document on disk for the length of the run.
class DocumentFile {
public:
    DocumentFile() {
        const char* folder = std::getenv("TMPDIR");
        std::string pattern = std::string(folder != nullptr && *folder != '\0' ? folder : "/tmp") +
                              "/kestrel-xml-bench-XXXXXX";
        platform::UniqueFd descriptor(mkstemp(pattern.data()));
        if (!descriptor.IsValid()) {
            return;
        }
        path_ = pattern;
        const std::string bytes = MacroExport();
        std::size_t written = 0;
        while (written < bytes.size()) {
            const ssize_t n =
                write(descriptor.Get(), bytes.data() + written, bytes.size() - written);
            if (n <= 0) {
                return;
            }
            written += static_cast<std::size_t>(n);
        }
        size_ = bytes.size();
    }
    ~DocumentFile() {
        if (!path_.empty()) {
            std::remove(path_.c_str());
        }
    }
    DocumentFile(const DocumentFile&) = delete;
    DocumentFile& operator=(const DocumentFile&) = delete;

    bool Valid() const { return size_ > 0; }
    const std::string& Path() const { return path_; }
    std::size_t Size() const { return size_; }

private:
    std::string path_;
    std::size_t size_ = 0;
};

const DocumentFile* g_document = nullptr;

void Finish(benchmark::State& state) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(g_document->Size()));
}

void XmlDocumentLoadFile(benchmark::State& state) {
    const std::u16string path = FromUtf8(g_document->Path());
    int elements = 0;
    for (auto _ : state) {
        XmlDocument document;
        if (!document.LoadFile(path)) {
            state.SkipWithError("XmlDocument::LoadFile failed");
            break;
        }
        elements = document.NextFreeIndex() - 1;
        benchmark::DoNotOptimize(elements);
    }
    state.counters["elements"] = elements;
    Finish(state);
}

void PugixmlLoadFile(benchmark::State& state) {
    for (auto _ : state) {
        pugi::xml_document document;
        const pugi::xml_parse_result result =
            document.load_file(g_document->Path().c_str(), pugi::parse_default);
        if (!result) {
            state.SkipWithError(result.description());
            break;
        }
        benchmark::DoNotOptimize(document.first_child().internal_object());
    }
    Finish(state);
}

// Expat builds no tree: its handlers count the elements and read every attribute value's first
// character, which is what a loader building its own structures would at least do.
struct ExpatCounts {
    int elements = 0;
    int attributes = 0;
    unsigned char check = 0;
};

void XMLCALL CountStart(void* data, const XML_Char*, const XML_Char** atts) {
    auto* counts = static_cast<ExpatCounts*>(data);
    ++counts->elements;
    for (int i = 0; atts[i] != nullptr; i += 2) {
        ++counts->attributes;
        counts->check ^= static_cast<unsigned char>(atts[i + 1][0]);
    }
}

void XMLCALL CountEnd(void*, const XML_Char*) {
}

void ExpatParse(benchmark::State& state) {
    constexpr int kChunk = 1 << 16;
    ExpatCounts counts;
    for (auto _ : state) {
        counts = ExpatCounts{};
        FileHandle file(std::fopen(g_document->Path().c_str(), "rb"));
        ExpatParser parser(XML_ParserCreate(nullptr));
        if (!file || !parser) {
            state.SkipWithError("cannot open the file or create the parser");
            break;
        }
        XML_SetUserData(parser.get(), &counts);
        XML_SetElementHandler(parser.get(), CountStart, CountEnd);
        bool ok = true;
        for (;;) {
            void* buffer = XML_GetBuffer(parser.get(), kChunk);
            const std::size_t got = std::fread(buffer, 1, kChunk, file.get());
            const bool last = got < static_cast<std::size_t>(kChunk);
            if (XML_ParseBuffer(parser.get(), static_cast<int>(got), last) == XML_STATUS_ERROR) {
                ok = false;
                break;
            }
            if (last) {
                break;
            }
        }
        if (!ok) {
            state.SkipWithError(XML_ErrorString(XML_GetErrorCode(parser.get())));
            break;
        }
        benchmark::DoNotOptimize(counts);
    }
    state.counters["elements"] = counts.elements;
    Finish(state);
}

void Libxml2ReadFile(benchmark::State& state) {
    for (auto _ : state) {
        Libxml2Document document(xmlReadFile(g_document->Path().c_str(), nullptr, 0));
        if (!document) {
            state.SkipWithError("xmlReadFile failed");
            break;
        }
        benchmark::DoNotOptimize(document.get());
    }
    Finish(state);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    const DocumentFile document;
    if (!document.Valid()) {
        std::perror("writing the benchmark document");
        return 1;
    }
    g_document = &document;
    xmlInitParser();
    benchmark::AddCustomContext("document_bytes", std::to_string(document.Size()));

    for (auto [name, function] : {
             std::pair{"XmlDocument/LoadFile", &XmlDocumentLoadFile},
             std::pair{"pugixml/load_file", &PugixmlLoadFile},
             std::pair{"expat/XML_ParseBuffer", &ExpatParse},
             std::pair{"libxml2/xmlReadFile", &Libxml2ReadFile},
         }) {
        benchmark::RegisterBenchmark(name, function)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    xmlCleanupParser();
    return 0;
}
