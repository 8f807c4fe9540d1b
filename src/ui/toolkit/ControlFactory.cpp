#include "ui/toolkit/ControlFactory.h"

#include "ui/toolkit/controls/BatteryCtrl.h"
#include "ui/toolkit/controls/CArea.h"
#include "ui/toolkit/controls/CCheckButton.h"
#include "ui/toolkit/controls/CColorButton.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/CDeviceState.h"
#include "ui/toolkit/controls/CHelpButton.h"
#include "ui/toolkit/controls/CIconButton.h"
#include "ui/toolkit/controls/CImageButton.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/CRoundArea.h"
#include "ui/toolkit/controls/CTextButton.h"
#include "ui/toolkit/controls/DListBox.h"
#include "ui/toolkit/controls/DPIControl.h"
#include "ui/toolkit/controls/DPISlider.h"
#include "ui/toolkit/controls/LightSlider.h"
#include "ui/toolkit/controls/MButton.h"
#include "ui/toolkit/controls/MButton2.h"
#include "ui/toolkit/controls/MButton3.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MComboBox2.h"
#include "ui/toolkit/controls/MEdit.h"
#include "ui/toolkit/controls/MPalette.h"
#include "ui/toolkit/controls/MPicture.h"
#include "ui/toolkit/controls/MProgress.h"
#include "ui/toolkit/controls/MProgress2.h"
#include "ui/toolkit/controls/MTabCtrl.h"
#include "ui/toolkit/controls/MTabLayout.h"
#include "ui/toolkit/controls/MText.h"
#include "ui/toolkit/controls/MacroList.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"
#include "ui/toolkit/controls/NumberEdit.h"
#include "ui/toolkit/controls/ReporteCtrl.h"

namespace {

template <typename T>
std::unique_ptr<MControl> Make() {
    return std::make_unique<T>();
}

struct ControlClass {
    std::u16string_view name;
    std::unique_ptr<MControl> (*make)();
};

// Every class a dialog can create by name.
constexpr ControlClass kClasses[] = {
    {u"MText", Make<MText>},
    {u"MPicture", Make<MPicture>},
    {u"MButton", Make<MButton>},
    {u"MButton2", Make<MButton2>},
    {u"MButton3", Make<MButton3>},
    {u"CImageButton", Make<CImageButton>},
    {u"CTextButton", Make<CTextButton>},
    {u"CIconButton", Make<CIconButton>},
    {u"CHelpButton", Make<CHelpButton>},
    {u"CCheckButton", Make<CCheckButton>},
    {u"CRadioButton", Make<CRadioButton>},
    {u"CColorButton", Make<CColorButton>},
    {u"MComboBox", Make<MComboBox>},
    {u"MComboBox2", Make<MComboBox2>},
    {u"MEdit", Make<MEdit>},
    {u"NumberEdit", Make<NumberEdit>},
    {u"MTabCtrl", Make<MTabCtrl>},
    {u"MTabLayout", Make<MTabLayout>},
    {u"MProgress", Make<MProgress>},
    {u"MProgress2", Make<MProgress2>},
    {u"CArea", Make<CArea>},
    {u"CRoundArea", Make<CRoundArea>},
    {u"CDeviceList", Make<CDeviceList>},
    {u"CDeviceState", Make<CDeviceState>},
    {u"BatteryCtrl", Make<BatteryCtrl>},
    {u"DPIControl", Make<DPIControl>},
    {u"DPISlider", Make<DPISlider>},
    {u"LightSlider", Make<LightSlider>},
    {u"MPalette", Make<MPalette>},
    {u"MouseCtrl", Make<MouseCtrl>},
    {u"MouseKeyCtrl", Make<MouseKeyCtrl>},
    {u"MacroList", Make<MacroList>},
    {u"CRecordList", Make<CRecordList>},
    {u"ReporteCtrl", Make<ReporteCtrl>},
    {u"DListBox", Make<DListBox>},
};

}  // namespace

std::unique_ptr<MControl> CreateControlOfClass(std::u16string_view className) {
    for (const ControlClass& entry : kClasses) {
        if (entry.name == className) {
            return entry.make();
        }
    }
    return nullptr;
}

std::vector<std::u16string_view> ControlClassNames() {
    std::vector<std::u16string_view> names;
    for (const ControlClass& entry : kClasses) {
        names.push_back(entry.name);
    }
    return names;
}
