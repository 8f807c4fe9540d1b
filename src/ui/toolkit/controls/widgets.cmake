# Widgets: tabs and pages, areas, progress bars, the device cards and state, the battery, the
# DPI list and sliders, the colour palette and the button page's picture and list.
target_sources(kestrel_core PRIVATE
    controls/BatteryCtrl.cpp
    controls/BatteryPainter.cpp
    controls/CArea.cpp
    controls/CDeviceList.cpp
    controls/CDeviceState.cpp
    controls/CRoundArea.cpp
    controls/DPIControl.cpp
    controls/DPISlider.cpp
    controls/LightSlider.cpp
    controls/MPalette.cpp
    controls/MProgress.cpp
    controls/MProgress2.cpp
    controls/MTabCtrl.cpp
    controls/MouseCtrl.cpp
    controls/MouseKeyCtrl.cpp
    controls/SliderBase.cpp
    controls/WidgetShapes.cpp
)
