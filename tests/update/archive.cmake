# Archives: names that try to leave the folder, links, damaged archives and zip bombs.
list(APPEND KESTREL_UPDATE_TESTS ArchiveExtractTest.cpp)
