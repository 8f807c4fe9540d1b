# Profile files: export and import of a profile as XML, and the file access they share.
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/XmlFileAccess.cpp
)
