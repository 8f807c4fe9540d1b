# Profile files: export and import of a profile as XML.
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/ProfileFiles.cpp
)
