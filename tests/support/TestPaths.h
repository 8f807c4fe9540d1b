#pragma once

// The folders and programs of this checkout and build, for the tests. Their paths are compiled
// into one small generated file per test program (see tests/CMakeLists.txt), so that every other
// test object is the same in every checkout and a compiler cache serves all clones. This header
// comes before every test source (the build force-includes it).
namespace test_paths {

const char* Fixtures();    // tests/fixtures
const char* SourceData();  // data/ of the checkout
const char* Runtime();     // the build's bin/: the programs with config.xml and the data
const char* Kestrel();     // the program kestrel; empty when it is not built
const char* Kestrelctl();  // the program kestrelctl; empty when it is not built

}  // namespace test_paths

#define KESTREL_FIXTURES_DIR (::test_paths::Fixtures())
#define KESTREL_SOURCE_DATA_DIR (::test_paths::SourceData())
#define KESTREL_RUNTIME_DIR (::test_paths::Runtime())
#define KESTREL_PATH (::test_paths::Kestrel())
#define KESTRELCTL_PATH (::test_paths::Kestrelctl())
