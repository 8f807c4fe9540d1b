#include "GalleryDlg.h"

#include "i18n/DefaultNames.h"
#include "i18n/LanguageSelector.h"
#include "i18n/TextLookup.h"
#include "text/Format.h"
#include "ui/toolkit/Notify.h"
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

std::u16string T(int id) {
    return GetText(id, kTextSection);
}

}  // namespace

template <typename T>
T* GalleryDlg::Make(const std::u16string& className, const Rect& rect, const std::u16string& text) {
    auto* control = dynamic_cast<T*>(CreateControl(className, nextId_++, rect, text, 1, 1));
    if (auto* font = dynamic_cast<MControlFont*>(static_cast<MControl*>(control))) {
        font->SetFontWidth(13);
    }
    return control;
}

void GalleryDlg::Heading(int x, int y, const std::u16string& className) {
    if (auto* text = Make<MText>(u"MText", {x, y, x + 330, y + 18}, className)) {
        text->SetTextColor(0xFF7E838Cu);
        text->SetFontWidth(12);
    }
}

void GalleryDlg::Show(const MControl* control, bool hover, bool pressed) {
    if (control != nullptr) {
        SetShowcaseState(control, {hover, pressed, false});
    }
}

void GalleryDlg::InitUI(const Rect& rect) {
    GetPaintManager().SetBackColor(0x1A1A1A, 0x3A3D42);
    if (auto* logo = Make<MPicture>(u"MPicture", {20, 14, 280, 54})) {
        logo->SetImage(u"logo.png", 1);
    }
    if (auto* title = Make<MText>(u"MText", {300, 14, 900, 54}, T(1))) {
        title->SetFontWidth(20);
        title->SetFontBold(true);
    }
    const int w = rect.Width();
    const char16_t* systemButtons[] = {u"sysbtn_setting.png", u"sysbtn_min.png",
                                       u"sysbtn_close.png"};
    const int tips[] = {11, 6, 5};
    for (int i = 0; i < 3; ++i) {
        const int left = w - 114 + 32 * i;
        if (auto* button = Make<CImageButton>(u"CImageButton", {left, 10, left + 30, 40})) {
            button->SetImage(systemButtons[i], 4);
            button->SetTooltip(T(tips[i]));
            Show(button, i == 1, false);
        }
    }
    AddButtons(20, 70);
    AddChoices(20, 470);
    AddInputs(380, 70);
    AddIndicators(380, 470);
    AddLists(740, 70);
    AddPages(1060, 70);
    AddDevices(1320, 70);
}

bool GalleryDlg::OnInitDialog() {
    MDialog::OnInitDialog();
    // The running bar and the charging battery move.
    SetMTimer(30);
    return true;
}

void GalleryDlg::AddButtons(int x, int y) {
    Heading(x, y, u"MButton  (normal, hover, pressed, disabled)");
    const int texts[] = {20, 23, 25, 254};
    for (int i = 0; i < 4; ++i) {
        const int left = x + (i % 2) * 165;
        const int top = y + 22 + (i / 2) * 38;
        auto* button = Make<MButton>(u"MButton", {left, top, left + 155, top + 32}, T(texts[i]));
        if (button != nullptr) {
            button->SetImage(u"img_button.png", 4);
            Show(button, i == 1, i == 2);
            button->SetEnabled(i != 3);
        }
    }
    y += 104;
    Heading(x, y, u"MButton2  MButton3");
    if (auto* b = Make<MButton2>(u"MButton2", {x, y + 22, x + 155, y + 52}, T(160))) {
        b->SetImage(u"img_button.png", 4);
    }
    if (auto* b = Make<MButton2>(u"MButton2", {x + 165, y + 22, x + 320, y + 52}, T(36))) {
        b->SetImage(u"img_button.png", 4);
        b->SetCheck(true);
    }
    const char16_t* modifiers[] = {u"Ctrl", u"Win", u"Alt", u"Shift"};
    for (int i = 0; i < 4; ++i) {
        const int left = x + i * 80;
        if (auto* b =
                Make<MButton3>(u"MButton3", {left, y + 60, left + 74, y + 88}, modifiers[i])) {
            b->SetCheck(i == 0 || i == 3);
            Show(b, i == 2, false);
        }
    }
    y += 100;
    Heading(x, y, u"CImageButton  CHelpButton");
    const char16_t* images[] = {u"btn_reset.png",         u"img_return.png",
                                u"img_btn_pre.png",       u"img_btn_next.png",
                                u"img_recorditem_up.png", u"img_recorditem_down.png"};
    const Size sizes[] = {{16, 16}, {56, 36}, {36, 36}, {36, 36}, {20, 20}, {20, 20}};
    int left = x;
    for (int i = 0; i < 6; ++i) {
        const int top = y + 22 + (36 - sizes[i].cy) / 2;
        if (auto* b = Make<CImageButton>(u"CImageButton",
                                         {left, top, left + sizes[i].cx, top + sizes[i].cy})) {
            b->SetImage(images[i], 4);
            Show(b, i == 2, false);
        }
        left += sizes[i].cx + 12;
    }
    if (auto* help = Make<CHelpButton>(u"CHelpButton", {left, y + 32, left + 16, y + 48})) {
        help->SetHelpText(T(252));
    }
    y += 68;
    Heading(x, y, u"CIconButton  CTextButton");
    if (auto* b = Make<CIconButton>(u"CIconButton", {x, y + 22, x + 155, y + 50},
                                    ProfileCaption(u"Profile 1"))) {
        b->SetImage(u"img_button.png", 4);
        b->SetIcon(u"icon\\icon_arrow_up.png");
    }
    if (auto* b = Make<CIconButton>(u"CIconButton", {x + 165, y + 22, x + 320, y + 50}, T(358))) {
        b->SetImage(u"img_button.png", 4);
        b->SetIcon(u"icon\\icon_rec.png");
        Show(b, true, false);
    }
    const int links[] = {3, 615, 616};
    for (int i = 0; i < 3; ++i) {
        const int l = x + i * 108;
        if (auto* b =
                Make<CTextButton>(u"CTextButton", {l, y + 58, l + 104, y + 82}, T(links[i]))) {
            Show(b, i == 1, false);
        }
    }
}

void GalleryDlg::AddChoices(int x, int y) {
    Heading(x, y, u"CCheckButton  (off, on, hover, disabled)");
    const int checks[] = {604, 605, 533, 534};
    for (int i = 0; i < 4; ++i) {
        const int top = y + 22 + i * 30;
        if (auto* c =
                Make<CCheckButton>(u"CCheckButton", {x, top, x + 330, top + 28}, T(checks[i]))) {
            c->SetCheck(i == 1 || i == 3);
            Show(c, i == 2, false);
            c->SetEnabled(i != 3);
        }
    }
    y += 150;
    Heading(x, y, u"CRadioButton");
    const int radios[] = {361, 362, 363};
    for (int i = 0; i < 3; ++i) {
        const int top = y + 22 + i * 30;
        if (auto* r =
                Make<CRadioButton>(u"CRadioButton", {x, top, x + 330, top + 28}, T(radios[i]))) {
            r->SetGroup(u"GALLERY");
            r->SetCheck(i == 1);
            r->SetEnabled(i != 2);
        }
    }
    y += 120;
    Heading(x, y, u"CColorButton  (DEFAULTCOLOR, COLORVALUE)");
    const std::uint32_t presets[] = {0x0000FF, 0xFF00F0, 0xFF0C00, 0xFCFF00,
                                     0x06FF00, 0x00DEFF, 0x0048FF, 0xFFFFFF};
    for (int i = 0; i < 8; ++i) {
        const int l = x + i * 34;
        if (auto* c = Make<CColorButton>(u"CColorButton", {l, y + 22, l + 26, y + 48})) {
            c->SetColor(presets[i]);
            c->SetGroup(u"DEFAULTCOLOR");
            c->SetCheck(i == 2);
        }
        if (i < 7) {
            if (auto* c = Make<CColorButton>(u"CColorButton", {l, y + 56, l + 26, y + 82})) {
                c->SetColor(presets[(i + 3) % 8]);
                c->SetGroup(u"COLORVALUE");
                c->SetCheck(i == 1 || i == 4);
            }
        }
    }
}

void GalleryDlg::AddInputs(int x, int y) {
    Heading(x, y, u"MComboBox  MComboBox2 (marked)");
    if (auto* combo = Make<MComboBox>(u"MComboBox", {x, y + 22, x + 160, y + 52})) {
        combo->SetImage(u"img_combobox.png", 4);
        for (const LanguageSelectorEntry& entry : kLanguageSelectorEntries) {
            combo->AddItem(std::u16string(entry.caption), entry.lcid);
        }
        combo->SelectData(1033);
    }
    if (auto* combo = Make<MComboBox2>(u"MComboBox2", {x + 170, y + 22, x + 330, y + 52})) {
        combo->SetImage(u"img_combobox.png", 4);
        const int minutes[] = {1, 2, 5, 10};
        for (int m : minutes) {
            combo->AddItem(Format(u"%d %s", m, T(537)), m * 6);
        }
        combo->SetCurSel(2);
        combo->SetMark(true);
    }
    y += 64;
    Heading(x, y, u"MEdit  (text, hint, disabled)  NumberEdit");
    if (auto* edit = Make<MEdit>(u"MEdit", {x, y + 22, x + 100, y + 50}, u"1600")) {
        edit->SetImage(u"img_edit.png", 4);
    }
    if (auto* edit = Make<MEdit>(u"MEdit", {x + 110, y + 22, x + 250, y + 50})) {
        edit->SetImage(u"img_edit.png", 4);
        edit->SetHint(T(162));
    }
    if (auto* edit = Make<NumberEdit>(u"NumberEdit", {x + 260, y + 22, x + 330, y + 50}, u"4")) {
        edit->SetImage(u"img_edit.png", 4);
    }
    if (auto* edit = Make<MEdit>(u"MEdit", {x, y + 58, x + 100, y + 86}, u"255")) {
        edit->SetImage(u"img_edit.png", 4);
        edit->SetEnabled(false);
    }
    y += 98;
    Heading(x, y, u"ReporteCtrl");
    if (auto* rates = Make<ReporteCtrl>(u"ReporteCtrl", {x, y + 22, x + 330, y + 54})) {
        const struct {
            const char16_t* text;
            int code;
        } items[] = {{u"125Hz", 8}, {u"250Hz", 4}, {u"500Hz", 2}, {u"1000Hz", 1}};
        for (const auto& item : items) {
            rates->AddItem(item.text, item.code, 0xE8730C);
        }
        rates->SelectCode(1);
    }
    y += 66;
    Heading(x, y, u"DPISlider");
    if (auto* slider = Make<DPISlider>(u"DPISlider", {x, y + 22, x + 330, y + 72})) {
        slider->SetPositionCount(160);
        slider->SetStartOffset(1);
        slider->SetProgress(31);
        slider->SetRangeText(u"100 - 16000 DPI");
        slider->SetStepText(u"100");
    }
    y += 84;
    Heading(x, y, u"LightSlider  (dragged)");
    for (int i = 0; i < 2; ++i) {
        const int top = y + 22 + i * 36;
        if (auto* slider = Make<LightSlider>(u"LightSlider", {x, top, x + 330, top + 30})) {
            slider->SetRange(0, 4);
            slider->SetPosition(i == 0 ? 2 : 4);
            Show(slider, i == 1, i == 1);
        }
    }
}

void GalleryDlg::AddIndicators(int x, int y) {
    Heading(x, y, u"MProgress  MProgress2 (running)");
    if (auto* bar = Make<MProgress>(u"MProgress", {x, y + 22, x + 330, y + 34})) {
        bar->SetRange(0, 100);
        bar->SetProgress(64);
    }
    if (auto* bar = Make<MProgress2>(u"MProgress2", {x, y + 44, x + 330, y + 56})) {
        bar->SetRange(0, 100);
        bar->SetRun(1, -1);
        bar->SetProgress(0);
        bar->AddMTimer();
    }
    y += 70;
    Heading(x, y, u"BatteryCtrl  (80 %, 15 %, charging)");
    const int levels[] = {80, 15, 55};
    const int states[] = {0, 0, 1};
    for (int i = 0; i < 3; ++i) {
        const int l = x + i * 110;
        if (auto* battery = Make<BatteryCtrl>(u"BatteryCtrl", {l, y + 22, l + 95, y + 52})) {
            battery->SetBatteryInfo(levels[i], states[i]);
        }
    }
    y += 64;
    Heading(x, y, u"CDeviceState");
    if (auto* state = Make<CDeviceState>(u"CDeviceState", {x, y + 22, x + 160, y + 49}, T(51))) {
        state->SetImage(u"img_area.png", 4);
        state->SetConnected(true);
    }
    if (auto* state =
            Make<CDeviceState>(u"CDeviceState", {x + 170, y + 22, x + 330, y + 49}, T(50))) {
        state->SetImage(u"img_area.png", 4);
    }
    y += 62;
    Heading(x, y, u"CArea  CRoundArea  MPicture");
    if (auto* area = Make<CArea>(u"CArea", {x, y + 22, x + 50, y + 72})) {
        area->SetColor(0x0C73E8);
    }
    if (auto* round = Make<CRoundArea>(u"CRoundArea", {x + 60, y + 22, x + 110, y + 72})) {
        round->SetColor(0xFB27D0);
        round->SetRadius(25);
    }
    if (auto* picture = Make<MPicture>(u"MPicture", {x + 120, y + 22, x + 330, y + 72})) {
        picture->SetImage(u"img_area_content.png", 1);
        picture->SetShowMode(3, 10);
        picture->SetTitle(T(558));
        picture->SetAlignment(kAlignCenter | kAlignVCenter);
    }
    y += 84;
    Heading(x, y, u"MText");
    if (auto* text = Make<MText>(u"MText", {x, y + 22, x + 330, y + 70}, T(630))) {
        text->SetFontWidth(20);
        text->SetTextColor(0xFFE8730Cu);
        text->SetAlignment(kAlignCenter | kAlignVCenter);
    }
}

void GalleryDlg::AddLists(int x, int y) {
    Heading(x, y, u"DPIControl");
    if (auto* dpi = Make<DPIControl>(u"DPIControl", {x, y + 22, x + 300, y + 222})) {
        const int values[] = {400, 800, 1600, 3200, 6400, 12000};
        const std::uint32_t colors[] = {0x0000FF, 0x00FF00, 0xFF0000, 0x00FFFF, 0xFF00FF, 0xFFFFFF};
        for (int i = 0; i < 6; ++i) {
            dpi->AddItem(values[i], colors[i]);
        }
        dpi->SetSelectItem(2);
    }
    y += 234;
    Heading(x, y, u"MPalette");
    if (auto* palette = Make<MPalette>(u"MPalette", {x, y + 22, x + 200, y + 182})) {
        palette->SetColor(0xFB27D0);
    }
    y += 194;
    Heading(x, y, u"DListBox  MacroList");
    if (auto* list = Make<DListBox>(u"DListBox", {x, y + 22, x + 145, y + 142})) {
        for (int i = 1; i <= 4; ++i) {
            list->AddItem(ProfileCaption(Format(u"Profile %d", i)), i);
        }
        list->SelectData(2);
    }
    if (auto* list = Make<MacroList>(u"MacroList", {x + 155, y + 22, x + 300, y + 142})) {
        const char16_t* names[] = {u"Custom1", u"Custom2", u"Custom2 Copy", u"Reload"};
        for (int i = 0; i < 4; ++i) {
            list->AddString(MacroListName(names[i]), i + 1, -1);
        }
        list->SetCurSel(0);
    }
    y += 154;
    Heading(x, y, u"CRecordList");
    if (auto* events = Make<CRecordList>(u"CRecordList", {x, y + 22, x + 300, y + 142})) {
        events->AddString(u"\u2193 A", 1, 0x04, 100);
        events->AddString(u"50 ms", 3, 50, 101);
        events->AddString(u"\u2191 A", 2, 0x04, 102);
        events->AddString(u"\u2193 LB", 1, 1, 103);
        events->SetSelectEvent(1);
    }
}

void GalleryDlg::AddPages(int x, int y) {
    Heading(x, y, u"MTabCtrl  MTabLayout");
    auto* tabs = Make<MTabCtrl>(u"MTabCtrl", {x, y + 22, x + 190, y + 382});
    const struct {
        int id;
        const char16_t* icon;
        int text;
    } items[] = {{1, u"icon\\tab_home.png", 71},  {2, u"icon\\tab_key.png", 72},
                 {3, u"icon\\tab_dpi.png", 73},   {4, u"icon\\tab_macro.png", 74},
                 {5, u"icon\\tab_light.png", 75}, {7, u"icon\\tab_set.png", 76}};
    if (tabs != nullptr) {
        tabs->SetImage(u"img_tabitem_bkg.png", 4);
        tabs->SetItemWidth(190, 190, 1);
        tabs->SetItemHeight(60, 60, 1);
        for (const auto& item : items) {
            MControl* page =
                CreateArea(u"MTabLayout", nextId_++, {x + 196, y + 22, x + 360, y + 382});
            if (auto* caption = dynamic_cast<MText*>(CreateChild(
                    page, u"MText", nextId_++, {x + 200, y + 30, x + 360, y + 60}, T(item.text)))) {
                caption->SetTextColor(0xFF969696u);
            }
            tabs->AddItem(item.id, item.icon, T(item.text), page);
        }
        tabs->SetCurSel(2);
    }
    y += 396;
    Heading(x, y, u"MouseKeyCtrl");
    if (auto* keys = Make<MouseKeyCtrl>(u"MouseKeyCtrl", {x, y + 22, x + 220, y + 262})) {
        const int descs[] = {106, 107, 108, 110, 109, 142};
        for (int i = 0; i < 6; ++i) {
            keys->AddItem(T(200 + i), T(descs[i]), i);
        }
        keys->SetSelectItem(2);
    }
}

void GalleryDlg::AddDevices(int x, int y) {
    Heading(x, y, u"MouseCtrl");
    if (auto* mouse = Make<MouseCtrl>(u"MouseCtrl", {x, y + 22, x + 400, y + 422})) {
        mouse->SetPicture(u"device\\kestrel_k1_top.png");
        mouse->AddCallout(T(200), 0, 0, {170, 80}, {30, 80});
        mouse->AddCallout(T(201), 1, 1, {230, 80}, {370, 80});
        mouse->AddCallout(T(203), 3, 0, {135, 210}, {30, 210});
        mouse->AddCallout(T(205), 5, 1, {200, 140}, {370, 140});
        mouse->SetSelectItem(1);
    }
    y += 436;
    Heading(x, y, u"CDeviceList");
    if (auto* devices = Make<CDeviceList>(u"CDeviceList", {x, y + 22, x + 420, y + 432})) {
        devices->SetImage(u"area_device.png", 4);
        devices->SetDescription(T(15));
        devices->AddDevice(u"Kestrel K1 Wired", 1001, u"device\\kestrel_k1.png");
        devices->AddDevice(u"Kestrel K2 Wireless", 1002, u"device\\kestrel_k2.png");
        devices->AddDevice(u"Kestrel K2 Pro", 1003, u"device\\kestrel_k2_pro.png");
        devices->SetAllDeviceState(0);
        devices->SetDeviceState(1002, 1, 1);
        devices->SetDeviceVersion(1002, 0x105);
        devices->SetDeviceBattery(1002, 0, 70);
        devices->SetSelectDevice(1002);
    }
}

std::intptr_t GalleryDlg::OnMessage(int, int code, std::intptr_t, std::intptr_t) {
    return code == kNotifyClick ? 1 : 0;
}
