list(APPEND KESTREL_TOOLKIT_TESTS
    WidgetsButtonPageTest.cpp
    WidgetsDeviceTest.cpp
    WidgetsDpiTest.cpp
    WidgetsPaintTest.cpp
    WidgetsPaletteTest.cpp
    WidgetsTabTest.cpp
)
