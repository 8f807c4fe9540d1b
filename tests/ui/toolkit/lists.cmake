list(APPEND KESTREL_TOOLKIT_TESTS
    ListsComboBoxTest.cpp
    ListsEditTest.cpp
    ListsMenuWndTest.cpp
    ListsPaintTest.cpp
    ListsRecordListTest.cpp
    ListsReportRateTest.cpp
    ListsRowListTest.cpp
)
