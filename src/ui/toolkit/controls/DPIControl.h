#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "ui/toolkit/MControl.h"

// The DPI stage list: one row per stage, each with its number, its colour swatch and its DPI
// value; the selected row is drawn with the accent.
// The control keeps seven value and colour slots (stages 0..6). SetDPIValue/SetDPIColorValue
// write a slot, ClearList empties the rows but keeps the slots, AddItem appends a row for the
// next stage and writes its slot. A row shows its slot, so a value set before or after the row
// exists is the one shown and the one GetDPIValue returns.
// The user's actions:
// - a click on a row (not on its swatch) selects it: kNotifyClick, wParam = the row;
// - a click on a row's colour swatch: kNotifySecondaryClick, wParam = the row (also kept for
//   GetClickedColorIndex); the selection does not change;
// - a double click on a row's value edits it in place (digits only, at most 5): the row is
//   selected, the control takes the focus (the dialog sends kNotifyFocus) and the text entry
//   opens over the value; when editing ends: kNotifyEditEnded, wParam = the row. GetEditText
//   gives the typed text, SetEditText replaces it (the page writes the corrected value back);
//   the row's value itself changes only through SetDPIValue.
class DPIControl : public MControlFont {
public:
    static constexpr int kSlots = 7;
    static constexpr int kMaxEditLength = 5;

    DPIControl();

    // Slots 0..6; other indexes are ignored (setters) or give 0 (getters).
    void SetDPIValue(int index, int value);
    int GetDPIValue(int index) const;
    void SetDPIColorValue(int index, std::uint32_t colorRef);
    std::uint32_t GetDPIColorValue(int index) const;

    // Removes every row (the slots stay) and ends an edit in progress without notifying.
    void ClearList();
    // Appends the row of the next stage and writes its slot; returns its index, -1 when all
    // seven rows exist.
    int AddItem(int value, std::uint32_t colorRef);
    int GetCount() const;
    // -1 selects nothing; other indexes without a row are ignored.
    void SetSelectItem(int index);
    int GetSelectItem() const;
    // The row whose swatch was clicked last; -1 before any.
    int GetClickedColorIndex() const;

    bool IsEditing() const;
    // The row being (or last) edited; -1 before any edit.
    int GetEditItem() const;
    std::u16string GetEditText() const;
    void SetEditText(const std::u16string& text);

    // The rectangles of a row, its swatch and its value, in client coordinates; empty for an
    // index without a row.
    Rect GetItemRect(int index) const;
    Rect GetColorRect(int index) const;
    Rect GetValueRect(int index) const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;
    bool IsTextEntry() const override;
    Rect GetTextEntryRect() const override;
    TextEntryInfo GetTextEntryInfo() const override;
    void OnTextEntered(const std::u16string& text, bool finished) override;
    std::u16string GetEntryText() const override;

private:
    enum class Part { kNone, kRow, kColor, kValue };

    bool ValidRow(int index) const { return index >= 0 && index < rows_; }
    int RowHeight() const;
    Rect RowRect(int index) const;
    Rect ColorRect(int index) const;
    Rect ValueRect(int index) const;
    // The row and the part of it under a point; -1 / kNone when on no row.
    int RowAt(Point point, Part* part) const;
    void BeginEdit(int row);
    void EndEdit(bool notify);
    void PaintRow(Painter& painter, int row, bool hover) const;

    // Guarded by the dialog's lock.
    std::array<int, kSlots> values_{};
    std::array<std::uint32_t, kSlots> colors_{};
    int rows_ = 0;
    int selected_ = -1;
    int clickedColor_ = -1;
    bool editing_ = false;
    int editRow_ = -1;
    std::u16string editText_;
    int pressRow_ = -1;
    Part pressPart_ = Part::kNone;
    Point pointer_{-1, -1};
};
