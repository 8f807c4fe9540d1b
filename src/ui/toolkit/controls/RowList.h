#pragma once

#include <string>

#include "ui/toolkit/MControl.h"

// The common part of the vertical lists (DListBox, MacroList, CRecordList): rows of one height
// under each other, one selected row (-1: none), scrolling with the wheel when the rows overflow,
// and optionally the in-place editing of a row's text. The derived class keeps the items and
// tells this class when rows come and go (RowInserted, RowRemoved, RowsCleared), so that the
// selection, the scroll position and a running edit stay on the same item.
//
// Clicks: a left click on a row (pressed and released on it) selects it and sends kNotifyClick
// (also when it was selected already); a click below the last row does nothing. What a
// secondary click does is the derived class's choice (OnSecondaryClick). While a row is edited
// in place, IsTextEntry is true and the backend's text entry lies over that row; when the
// entry reports the end of editing, the derived class stores the text (CommitRowText) and the
// list sends kNotifyEditEnded with wParam = the row's index; GetEditedText gives the text
// entered. A press anywhere on the list, or the wheel, while a row is edited ends the edit the
// same way first.
class RowList : public MControlFont {
public:
    int GetCount() const;
    // -1 when nothing is selected.
    int GetCurSel() const;
    // -1 selects nothing; any other index outside the list is ignored. The row is scrolled into
    // view. Sends nothing.
    void SetCurSel(int index);
    void SetRowHeight(int height);
    int GetRowHeight() const;
    // The first row shown; the wheel moves it.
    int GetTopIndex() const;
    void SetTopIndex(int index);

    // Scrolls the row into view and gives its rectangle in client coordinates; empty for an
    // index outside the list. For tests and scripts that click a row as a user would.
    Rect GetItemRect(int index);

    // Starts editing the row's text in place (what a double-click does in lists that allow
    // it); false for an index outside the list or a list that does not edit.
    bool EditItem(int index);
    bool IsEditing() const;
    // The text and row of the last edit that ended (kNotifyEditEnded).
    std::u16string GetEditedText() const;
    int GetEditedItem() const;

    // MControl overrides
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;
    bool IsTextEntry() const override;
    Rect GetTextEntryRect() const override;
    std::u16string GetEntryText() const override;
    void OnTextEntered(const std::u16string& text, bool finished) override;

protected:
    explicit RowList(bool editable);

    // The derived class's items, with the dialog's lock held.
    virtual int RowCount() const = 0;
    bool IsRow(int index) const { return index >= 0 && index < RowCount(); }
    virtual std::u16string RowText(int index) const = 0;
    // Stores the text an in-place edit ended with.
    virtual void CommitRowText(int, const std::u16string&) {}
    // A secondary click released on the list; `row` is -1 below the last row.
    virtual void OnSecondaryClick(int) {}
    // A left click released over (row, point) before the row is selected; true when the
    // derived class handled it and the click must not select the row.
    virtual bool OnRowClick(int, Point) { return false; }
    // Draws one row (the background of a selected or hovered row is drawn already).
    virtual void PaintRow(Painter& painter, const Rect& row, int index, bool selected,
                          bool hovered) const;

    // Bookkeeping after the derived class changed its items (lock held).
    void RowInserted(int index);
    void RowRemoved(int index);
    void RowsCleared();
    // Selects `index` (-1: none) and scrolls it into view; lock held, sends nothing.
    void Select(int index);
    void EnsureVisible(int index);
    // The rectangle of a row in client coordinates (it may lie outside the list when the row
    // is scrolled away).
    Rect RowRect(int index) const;
    // The row under a point; -1 when there is none.
    int RowAt(Point point) const;
    // Where the rows are drawn: the control's rectangle less its margin and scroll bar.
    Rect RowArea() const;
    int VisibleRows() const;
    // Text colour of a row, dimmed when the list is disabled.
    Argb RowTextColor(Argb color) const;

    // Guarded by the dialog's lock.
    int sel_ = -1;

private:
    void ClampTop();
    bool Overflows() const;
    void FinishEdit(std::u16string text);

    // Guarded by the dialog's lock.
    const bool editable_;
    int rowHeight_ = 30;
    int top_ = 0;
    int hoverRow_ = -1;
    int pressedRow_ = -1;
    int editIndex_ = -1;
    std::u16string editText_;
    std::u16string editedText_;
    int editedItem_ = -1;
};
