#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/controls/RowList.h"

// The list of macro names: items (name, macro id) in rows of 30 pixels, scrolled with the wheel
// when they overflow, renamed in place after a double-click.
//
// Notifications:
// - kNotifyClick: a row was clicked; it is the selection now (also when it was already).
// - kNotifyMenu: a secondary click on the list. Over a row it selects that row first; below the
//   last row the selection stays as it was, so that a menu is offered even for an empty list.
// - kNotifyEditEnded: an in-place rename ended; wParam = the row's index, GetEditedText the text
//   entered. An empty text leaves the row's name as it was; any other text becomes its name.
// wParam and lParam are 0 unless said otherwise.
class MacroList : public RowList {
public:
    MacroList();

    // Inserts the name with its macro id before row `index`; -1 (or any index outside 0 to
    // GetCount) appends. Returns the row the item went to.
    int AddString(const std::u16string& name, int id, int index = -1);
    bool ModifyItemString(int index, const std::u16string& name);
    void ClearList();
    // The macro id of a row; -1 for an index outside the list.
    int GetItemData(int index) const;
    // The selected row's macro id; -1 when nothing is selected.
    int GetCurData() const;
    // Empty for an index outside the list.
    std::u16string GetItemText(int index) const;
    // Removes a row; when it was the selected one nothing is selected afterwards.
    bool DeleteItem(int index);

protected:
    // RowList overrides
    int RowCount() const override { return static_cast<int>(items_.size()); }
    std::u16string RowText(int index) const override { return items_[index].name; }
    void CommitRowText(int index, const std::u16string& text) override;
    void OnSecondaryClick(int row) override;

private:
    struct Item {
        std::u16string name;
        int id = 0;
    };
    std::vector<Item> items_;  // guarded by the dialog's lock
};
