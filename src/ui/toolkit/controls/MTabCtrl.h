#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/MControl.h"

// A vertical strip of tab items, each an icon and a name over its skin image (4 frames: normal,
// hover, selected, disabled; an icon may be a strip of square frames in the same states), each
// linked to the page (an MTabLayout) shown while it is selected. Selecting an item, by the user or
// by SetCurSel, shows its page and hides the pages of the other items. Items are stacked from the
// top (after the top padding, from the left padding) at the item width and height; hidden items
// take no room. Sends kNotifyClick when the user clicks an item, wParam = the item's index (the
// item is selected first). Clicking the selected item again notifies again.
class MTabCtrl : public MControlFont {
public:
    MTabCtrl();

    // The strip's geometry. Item widths and heights take a normal, a selected and a spare value:
    // each item is as wide and as high as the normal values, the selected item as the selected
    // ones (0: the normal one); a normal width of 0 reaches the control's right edge. The strip
    // width and height, the right and bottom paddings and the spare values are kept but do not
    // change the layout: the control's rectangle bounds the strip.
    void SetTabCtrlWidth(int width);
    void SetTabCtrlHeight(int height);
    void SetLeftRightPading(int left, int right);
    void SetTopBottomPading(int top, int bottom);
    void SetItemWidth(int normal, int selected, int spare);
    void SetItemHeight(int normal, int selected, int spare);
    int GetTabCtrlWidth() const;
    int GetTabCtrlHeight() const;

    // Appends an item; `iconFile` is a skin image ('\' separators accepted; may be empty), `page`
    // the container to show while it is selected (may be null). Returns its index. The first item
    // added becomes the selection (its page is not touched: pages keep the visibility they were
    // created with until an item is selected).
    int AddItem(int itemId, const std::u16string& iconFile, const std::u16string& text,
                MControl* page);
    int GetCount() const;
    void SetItemText(int index, const std::u16string& text);
    std::u16string GetItemText(int index) const;
    // The item's id; -1 for an index out of range.
    int GetItemId(int index) const;
    // The index of the item with this id; -1 when none has it.
    int FindItem(int itemId) const;
    MControl* GetItemPage(int index) const;
    // Selects an item and shows its page; the other items' pages are hidden. -1 clears the
    // selection and leaves the pages as they are; other indexes out of range are ignored.
    void SetCurSel(int index);
    int GetCurSel() const;
    // Hidden items are not drawn, take no room and cannot be clicked.
    void ShowItem(int index, bool show);
    bool IsItemShown(int index) const;

    // The rectangle of a shown item in client coordinates; empty when hidden or out of range.
    Rect GetItemRect(int index) const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    struct Item {
        int id = 0;
        std::u16string icon;
        std::u16string text;
        MControl* page = nullptr;
        bool shown = true;
    };

    bool Valid(int index) const { return index >= 0 && index < static_cast<int>(items_.size()); }
    Rect ItemRect(int index) const;
    int ItemAt(Point point) const;
    void Select(int index);
    void PaintItem(Painter& painter, int index, bool hover, bool pressed) const;

    // Guarded by the dialog's lock.
    std::vector<Item> items_;
    int selected_ = -1;
    int ctrlWidth_ = 0;
    int ctrlHeight_ = 0;
    int padLeft_ = 0;
    int padRight_ = 0;
    int padTop_ = 0;
    int padBottom_ = 0;
    int itemWidth_[3] = {0, 0, 0};  // 0: the control's width
    int itemHeight_[3] = {48, 48, 0};
    Point pointer_{-1, -1};  // last pointer position over the control
    int pressedItem_ = -1;   // the item the primary button went down on
};
