# The profile list popup over the main window's profile button.
target_sources(kestrel_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ProfileDlg.cpp)
