list(APPEND KESTREL_TOOLKIT_TESTS ButtonCheckTest.cpp ButtonLookTest.cpp)
