# The button page, the key-combination panel's logic and the names of stored assignments.
target_sources(kestrel_core PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/AssignmentNames.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ButtonPage.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ButtonPageFrame.cpp
    ${CMAKE_CURRENT_LIST_DIR}/KeyCombination.cpp
)
