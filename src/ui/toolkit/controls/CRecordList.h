#pragma once

#include <string>
#include <vector>

#include "ui/toolkit/controls/RowList.h"

// One event of a macro as the event list holds it. `type`: 1 delay, 2 key pressed, 3 key
// released, 4 mouse button pressed, 5 mouse button released. `value`: milliseconds for a delay,
// else the key or button code. `timestamp` pairs a press with its release.
struct RecordInfo {
    std::u16string text;
    int type = 0;
    int value = 0;
    int timestamp = 0;
    friend bool operator==(const RecordInfo&, const RecordInfo&) = default;
};

// Where MoveItem moves the selected event.
enum class RecordMove { kTop, kUp, kDown, kBottom };

// The event list of the macro page: rows of RecordInfo items with their position number and a
// marker coloured by type (delays grey, presses in the selection colour, releases blue),
// scrolled with the wheel when they overflow.
//
// Notifications:
// - kNotifyClick: a row was clicked; it is the selected event now (also when it was already).
// - kNotifySecondaryClick: a secondary click on a row, which is selected first. A secondary
//   click below the last row does nothing.
// wParam and lParam are 0.
class CRecordList : public RowList {
public:
    CRecordList();

    // Appends an item; returns its index.
    int AddString(const std::u16string& text, int type, int value, int timestamp);
    // Inserts before row `index`; -1 (or any index outside 0 to GetCount) appends. Returns the
    // row the item went to; the selection stays on the item it was on.
    int InsertString(int index, const std::u16string& text, int type, int value, int timestamp);
    // The number of events, as the recording limit counts them: every item, delays included.
    // Recording checks the count after appending a delay item as well as after a key item, so
    // delays take their share of the limit and recording stops at that many list items.
    int GetEventCount() const;
    // The selected row; -1 when none.
    int GetSelectEvent() const;
    // -1 selects nothing; other indexes outside the list are ignored.
    void SetSelectEvent(int index);
    // The selected item / the item at `index`; false (info untouched) when there is none.
    bool GetRecordInfo(RecordInfo& info) const;
    bool GetRecordInfo(int index, RecordInfo& info) const;
    // Gives every item with this timestamp and type the text and value; returns how many
    // changed.
    int SetRecordInfo(int timestamp, int type, const std::u16string& text, int value);
    // The text or value of the item at `index`, or of the selected item; false when there is
    // none. Type and timestamp stay.
    bool SetItemText(int index, const std::u16string& text);
    bool SetItemText(const std::u16string& text);
    bool SetItemValue(int index, int value);
    bool SetItemValue(int value);
    std::u16string GetItemText(int index) const;
    // Every item in list order.
    std::vector<RecordInfo> GetRecordItems() const;
    // Removes the item at `index`, or the selected one; when the selected item goes, nothing is
    // selected afterwards.
    bool DeleteItem(int index);
    bool DeleteItem();
    void ClearList();
    // Moves the selected item; the selection follows it. False when nothing is selected or the
    // item cannot move that way.
    bool MoveItem(RecordMove where);

protected:
    // RowList overrides
    int RowCount() const override { return static_cast<int>(items_.size()); }
    std::u16string RowText(int index) const override { return items_[index].text; }
    void OnSecondaryClick(int row) override;
    void PaintRow(Painter& painter, const Rect& row, int index, bool selected,
                  bool hovered) const override;

private:
    std::vector<RecordInfo> items_;  // guarded by the dialog's lock
};
