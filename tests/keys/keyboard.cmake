list(APPEND KESTREL_KEYS_TESTS KeyDecoderTest.cpp)
