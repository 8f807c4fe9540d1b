#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/MControl.h"
#include "ui/toolkit/controls/BatteryPainter.h"

// The device cards of the home page: one card per model of the catalogue, drawn on the control's
// skin image (4 frames: normal, hover, selected, model absent), with the model's picture, name,
// connection (a status dot and the mode symbol: cable or receiver), battery and firmware
// version. Cards are laid out in a row, centred; when they do not all fit, the list shows them a
// page at a time with previous and next arrows at its sides.
// Each card keeps the state the worker gives it: the connection mode (-1 until a device of the
// model is found, then 0 cable or 1 receiver) and the link state (1 online: the mouse answers;
// 0 offline). A card is "present" once SetDeviceState has named it after the last
// SetAllDeviceState. Operations naming a device type act on every card of that type; a type
// without a card is ignored.
// Selection rule of SetSelectDevice(type): the best standing among the cards is online, else
// present, else listed. The card of `type` is selected when it has that best standing; else the
// current selection is kept when it has it; else the first card that has it is selected. So an
// absent or offline model never wins over an online one, and the list's choice is read back
// with GetSelectDevice.
// Sends kNotifyClick when the user clicks a card (the card is selected first), wParam = its
// index, lParam = its device type. The paging arrows send nothing.
class CDeviceList : public MControlFont {
public:
    CDeviceList();

    void ClearList();
    // Appends a card; `picturePath` is a skin file or an absolute path ('\' separators
    // accepted). Returns its index.
    int AddDevice(const std::u16string& name, int deviceType, const std::u16string& picturePath);
    int GetCount() const;
    std::u16string GetDeviceName(int index) const;
    // -1 for an index out of range.
    int GetDeviceType(int index) const;

    // -1 clears the selection; other indexes out of range are ignored. The page showing the
    // selected card becomes the current page.
    void SetSelectIndex(int index);
    int GetSelectIndex() const;
    // See the selection rule above.
    void SetSelectDevice(int deviceType);
    // The device type of the selected card; -1 when none is selected.
    int GetSelectDevice() const;

    // Every card's link state becomes `state` and its mode unknown (not present).
    void SetAllDeviceState(int state);
    void SetDeviceState(int deviceType, int mode, int linkState);
    // -1 for a type without a card.
    int GetDeviceMode(int deviceType) const;
    int GetDeviceLinkState(int deviceType) const;
    // The number of cards whose link state is 1.
    int GetOnlineDevCount() const;
    // The firmware release number (shown as ReleaseVersionText gives it: 0x105 "v1.05"); below
    // 0 shows none.
    void SetDeviceVersion(int deviceType, int releaseNumber);
    int GetDeviceVersion(int deviceType) const;
    // The battery bytes as BatteryCtrl::SetBatteryInfo takes them (state 1: charging); shown
    // on online cards once a level is known.
    void SetDeviceBattery(int deviceType, int state, int level);
    int GetDeviceBatteryLevel(int deviceType) const;
    int GetDeviceBatteryState(int deviceType) const;
    // The words before the version ("%s: v1.02"); without them only "v1.02" is shown.
    void SetDescription(const std::u16string& text);
    std::u16string GetDescription() const;
    // The mode symbol image: frame 0 cable, frame 1 receiver.
    void SetModeImage(const std::u16string& file, int frames);
    void SetBatteryImages(const BatteryImages& images);

    // Paging.
    int GetPageCount() const;
    int GetPage() const;
    void SetPage(int page);
    void PrevPage();
    void NextPage();
    // The card's rectangle in client coordinates; empty when it is not on the current page.
    Rect GetCardRect(int index) const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    struct Card {
        std::u16string name;
        int deviceType = 0;
        std::u16string picture;
        int mode = -1;
        int linkState = 0;
        int release = -1;
        int batteryLevel = -1;
        int batteryState = 0;
    };
    // What SetSelectDevice compares: 2 online, 1 present, 0 listed.
    static int Standing(const Card& card);

    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(cards_.size()); }
    int PerPage() const;
    int PageCount() const;
    bool Paged() const { return PageCount() > 1; }
    Rect CardRect(int index) const;
    Rect PrevArrowRect() const;
    Rect NextArrowRect() const;
    // The card under a point on the current page; -1 when none.
    int CardAt(Point point) const;
    void ShowPageOf(int index);
    void PaintCard(Painter& painter, int index, bool hover) const;
    void PaintArrow(Painter& painter, const Rect& rect, bool next, bool usable, bool hover) const;

    // Guarded by the dialog's lock.
    std::vector<Card> cards_;
    int selected_ = -1;
    int page_ = 0;
    std::u16string description_;
    std::u16string modeImage_ = u"device_mode.png";
    int modeFrames_ = 2;
    BatteryImages batteryImages_;
    Point pointer_{-1, -1};
    int pressCard_ = -1;
    int pressArrow_ = 0;  // -1 previous, 1 next
};
