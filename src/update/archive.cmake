# Archives: extraction of downloaded zip archives through minizip.
find_package(PkgConfig REQUIRED)
pkg_check_modules(MINIZIP REQUIRED IMPORTED_TARGET minizip)
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ArchiveExtract.cpp
)
target_link_libraries(kestrel_core PUBLIC PkgConfig::MINIZIP)
