# Macro recording, the macro page and its key dialog.
list(APPEND KESTREL_KEYS_TESTS
    ${CMAKE_CURRENT_LIST_DIR}/MacroPageTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroRecorderTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordEditDlgTest.cpp
)
