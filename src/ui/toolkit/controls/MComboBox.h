#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/toolkit/MControl.h"

// A drop-down selector: items (text, data), the selected item's text shown in the box with an
// arrow on the right, drawn from its skin image (4 frames: normal, hover, pressed, disabled) or
// the flat look. A click opens the item list below the box; choosing an item selects it. With
// nothing selected the box shows its title.
//
// Notifications:
// - kNotifyClick: the user chose an item from the list, which is the selection now. Sent also
//   when the chosen item was selected already. wParam and lParam are 0.
// Changes made by calls (SetCurSel, SelectData, ...) send nothing.
class MComboBox : public MControlFont {
public:
    MComboBox();

    // Appends an item; returns its index.
    int AddItem(const std::u16string& text, int data);
    // Removes every item; nothing is selected afterwards.
    void ClearList();
    int GetCount() const;
    // -1 when nothing is selected.
    int GetCurSel() const;
    // -1 selects nothing; any other index outside the list is ignored.
    void SetCurSel(int index);
    void SetSelectionNone();
    // The selected item's data; -1 when nothing is selected.
    int GetCurData() const;
    // Selects the first item whose data equals `data`; false, with the selection unchanged,
    // when there is none.
    bool SelectData(int data);
    // -1 for an index outside the list.
    int GetItemData(int index) const;
    // Empty for an index outside the list.
    std::u16string GetItemText(int index) const;
    bool SetItemText(int index, const std::u16string& text);
    // The selected item's text; empty when nothing is selected.
    std::u16string GetCurText() const;
    // Removes an item; when it was the selected one nothing is selected afterwards.
    bool DeleteItem(int index);
    // The width of the opened list; 0 (the default) makes it as wide as the box.
    void SetDropWidth(int width);

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

protected:
    // Guarded by the dialog's lock.
    struct Item {
        std::u16string text;
        int data = 0;
    };
    std::vector<Item> items_;
    int sel_ = -1;

private:
    void OpenList();

    // Guarded by the dialog's lock. Counts the changes of the items, so that a choice made in
    // a list opened before a change is not applied to other items.
    std::uint64_t generation_ = 0;
    int dropWidth_ = 0;
};
