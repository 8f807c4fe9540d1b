# Macro recording, the macro page, its key dialog and the macro files.
list(APPEND KESTREL_KEYS_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/MacroFilesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroPageTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroRecorderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordEditDlgTest.cpp
)
