# Fetches over HTTP(S) through libcurl, and version comparison.
find_package(CURL REQUIRED)
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Downloader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/VersionCompare.cpp
)
target_link_libraries(kestrel_core PUBLIC CURL::libcurl)
