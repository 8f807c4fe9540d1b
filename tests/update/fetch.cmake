# Fetches against a local HTTP server, and version comparison.
list(APPEND KESTREL_UPDATE_TESTS FetchTest.cpp VersionCompareTest.cpp)
