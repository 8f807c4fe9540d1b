# Lists and text fields: drop-down selectors, edits, the vertical lists and the report-rate
# selector, and the popup menu.
target_sources(kestrel_core PRIVATE
    MenuWnd.cpp
    controls/CRecordList.cpp
    controls/DListBox.cpp
    controls/MComboBox.cpp
    controls/MComboBox2.cpp
    controls/MEdit.cpp
    controls/MacroList.cpp
    controls/NumberEdit.cpp
    controls/ReporteCtrl.cpp
    controls/RowList.cpp
)
