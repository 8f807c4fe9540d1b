# Macro recording and the macro editor: the event texts, the recorder, the page, the key dialog
# and the macro files.
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/MacroEventEditing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroEventText.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroPage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroPageFiles.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroPageFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroRecorder.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MacroRecording.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordEditDlg.cpp
)
