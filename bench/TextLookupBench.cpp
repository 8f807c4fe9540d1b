// The texts a language change fetches again: about 175 lookups in a row on the user-interface
// thread, each reading the language file afresh (no cache), against the same lookups from a map
// built once. Both read the shipped English file.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unordered_map>
#include <vector>

#include "i18n/TextLookup.h"
#include "platform/FileIo.h"

namespace {

constexpr int kLookupsPerChange = 175;

const std::filesystem::path& LanguageFolderOfSource() {
    static const std::filesystem::path folder =
        std::filesystem::path(KESTREL_SOURCE_DATA_DIR) / "language";
    return folder;
}

// The ids of the file, in file order, repeated up to one language change's worth.
std::vector<int> LookupIds() {
    std::string bytes;
    platform::ReadFileBytes(LanguageFile(LanguageFolderOfSource(), 1033), 1 << 20, bytes);
    std::vector<int> ids;
    std::size_t line = 0;
    while (line < bytes.size()) {
        const std::size_t end = bytes.find('\n', line);
        const std::string text = bytes.substr(line, end == std::string::npos ? end : end - line);
        if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
            ids.push_back(std::stoi(text));
        }
        line = end == std::string::npos ? bytes.size() : end + 1;
    }
    std::vector<int> lookups;
    for (int i = 0; !ids.empty() && i < kLookupsPerChange; ++i) {
        lookups.push_back(ids[static_cast<std::size_t>(i) % ids.size()]);
    }
    return lookups;
}

void BM_LanguageChangeFromTheFile(benchmark::State& state) {
    const std::vector<int> ids = LookupIds();
    for (auto _ : state) {
        for (int id : ids) {
            benchmark::DoNotOptimize(GetText(id, kTextSection, LanguageFolderOfSource()));
        }
    }
    state.counters["lookups"] = static_cast<double>(ids.size());
}
BENCHMARK(BM_LanguageChangeFromTheFile)->Unit(benchmark::kMicrosecond);

void BM_LanguageChangeFromAMap(benchmark::State& state) {
    const std::vector<int> ids = LookupIds();
    std::unordered_map<int, std::u16string> texts;
    for (int id : ids) {
        texts[id] = GetText(id, kTextSection, LanguageFolderOfSource());
    }
    for (auto _ : state) {
        for (int id : ids) {
            benchmark::DoNotOptimize(std::u16string(texts[id]));
        }
    }
    state.counters["lookups"] = static_cast<double>(ids.size());
}
BENCHMARK(BM_LanguageChangeFromAMap)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
