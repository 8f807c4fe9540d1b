#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/controls/RowList.h"

// The button list of the button page: one row per mouse button, its name on the left and the
// description of what it does (in the secondary colour) on the right; the selected row is
// drawn with the accent. Items are identified by their key code (the button's slot).
// Sends kNotifyClick when the user clicks a row (selected first; the page reads GetCurSel and
// GetItemKeyValue). A click below the last row selects nothing and sends nothing.
class MouseKeyCtrl : public RowList {
public:
    static constexpr int kDefaultRowHeight = 40;

    MouseKeyCtrl();

    void ClearList();
    // Appends a button; returns its index.
    int AddItem(const std::u16string& name, const std::u16string& desc, int keyCode);
    // -1 / empty for an index out of range.
    int GetItemKeyValue(int index) const;
    std::u16string GetItemKeyName(int index) const;
    std::u16string GetItemKeyDesc(int index) const;
    // The index of the first item with this key code; -1 when none has it.
    int FindItem(int keyCode) const;
    // Sets the description of every item with this key code.
    void SetItemKeyDesc(int keyCode, const std::u16string& text);
    // Sets the name of the item at `index`.
    void SetItemText(int index, const std::u16string& text);
    // Selects the first item with this key code; false (the selection unchanged) when none
    // has it.
    bool SetSelectItem(int keyCode);
    // The key code of the selected item; -1 when none is selected.
    int GetSelectKey() const;

protected:
    // RowList overrides
    int RowCount() const override { return static_cast<int>(items_.size()); }
    std::u16string RowText(int index) const override;
    void PaintRow(Painter& painter, const Rect& row, int index, bool selected,
                  bool hovered) const override;

private:
    struct Item {
        std::u16string name;
        std::u16string desc;
        int keyCode = 0;
    };
    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(items_.size()); }

    std::vector<Item> items_;  // guarded by the dialog's lock
};
