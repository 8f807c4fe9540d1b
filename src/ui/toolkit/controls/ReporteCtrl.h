#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/toolkit/MControl.h"

// The report-rate selector: a row of equal segment buttons, one per item (text, code, colour),
// the selected one highlighted. Each segment shows its text over a stripe of the item's colour;
// with a skin image (4 frames) a segment is drawn with the normal, hover, pressed (selected)
// or disabled frame.
//
// Notifications:
// - kNotifyClick: a segment was clicked; it is the selection now (also when it was already).
//   wParam and lParam are 0.
class ReporteCtrl : public MControlFont {
public:
    ReporteCtrl();

    void ClearList();
    // Appends an item; `color` is a COLORREF (0x00BBGGRR). Returns its index.
    int AddItem(const std::u16string& text, int code, std::uint32_t color);
    int GetCount() const;
    // Selects the first item with this code; when there is none nothing is selected and the
    // answer is false.
    bool SelectCode(int code);
    // -1 when nothing is selected.
    int GetCurSel() const;
    // -1 selects nothing; any other index outside the list is ignored.
    void SetCurSel(int index);
    // The selected item's code; -1 when nothing is selected.
    int GetCurCode() const;
    // -1 / empty for an index outside the list.
    int GetItemCode(int index) const;
    std::u16string GetItemText(int index) const;
    // The segment of an item in client coordinates; empty for an index outside the list.
    Rect GetItemRect(int index) const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    struct Item {
        std::u16string text;
        int code = 0;
        std::uint32_t color = 0;
    };
    Rect SegmentRect(int index) const;
    int SegmentAt(Point point) const;

    // Guarded by the dialog's lock.
    std::vector<Item> items_;
    int sel_ = -1;
    int hover_ = -1;
    int pressed_ = -1;
};
