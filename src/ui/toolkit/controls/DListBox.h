#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/controls/RowList.h"

// A vertical list of items (text, data) whose texts the user can edit in place, drawn over its
// background image (SetImage, one frame) or the flat look. Rows are 30 pixels high by default.
//
// Notifications:
// - kNotifyClick: a row was clicked (chosen); it is the selection now (also when it was
//   selected already). wParam and lParam are 0.
// - kNotifyEditEnded: an in-place edit ended; wParam = the row's index, GetEditedText the text
//   entered. An empty text leaves the item's text as it was (the owner decides what an empty
//   name means); any other text becomes the item's text.
// Editing starts with a double-click on a row or a click on the pencil at the right end of a
// row; the pencil lets a dialog that closes on the first click (kNotifyClick) still offer
// renaming.
class DListBox : public RowList {
public:
    DListBox();

    // Appends an item; returns its index.
    int AddItem(const std::u16string& text, int data);
    void ClearList();
    // -1 for an index outside the list.
    int GetItemData(int index) const;
    // Empty for an index outside the list.
    std::u16string GetItemText(int index) const;
    bool SetItemText(int index, const std::u16string& text);
    bool DeleteItem(int index);
    // Selects the first item whose data equals `data`; false (selection unchanged) when none.
    bool SelectData(int data);
    // The selected item's data; -1 when nothing is selected.
    int GetCurData() const;

protected:
    // RowList overrides
    int RowCount() const override { return static_cast<int>(items_.size()); }
    std::u16string RowText(int index) const override { return items_[index].text; }
    void CommitRowText(int index, const std::u16string& text) override;
    bool OnRowClick(int index, Point point) override;
    void PaintRow(Painter& painter, const Rect& row, int index, bool selected,
                  bool hovered) const override;

private:
    struct Item {
        std::u16string text;
        int data = 0;
    };
    static Rect PencilRect(const Rect& row);

    std::vector<Item> items_;  // guarded by the dialog's lock
};
