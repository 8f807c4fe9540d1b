# Profile files: layout, reading rules and hostile files.
list(APPEND KESTREL_PROFILES_TESTS ProfileFilesTest.cpp)
