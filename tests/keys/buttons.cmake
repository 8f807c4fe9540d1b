list(APPEND KESTREL_KEYS_TESTS ButtonPageTest.cpp KeyCombinationTest.cpp)
