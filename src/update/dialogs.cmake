# The device settings page and the two update progress dialogs.
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/DeviceSettingsPage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UpdateProcessDlg.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UpdateTipDlg.cpp
)
