#pragma once

#include <string>

#include "keys/MacroRecorder.h"
#include "ui/toolkit/controls/CRecordList.h"

// Private to the macro page: its key events (MacroPage.cpp) and the end of a recording
// (MacroRecording.cpp) write through it.
namespace macropage {

// The event list seen by a recording (null: a page without its list, which records nothing).
class RecordListSink : public keys::MacroEventSink {
public:
    explicit RecordListSink(CRecordList* list) : list_(list) {}
    void Append(const std::u16string& text, int type, int value, int timestamp) override {
        if (list_ != nullptr) {
            list_->AddString(text, type, value, timestamp);
        }
    }
    int EventCount() const override { return list_ != nullptr ? list_->GetEventCount() : 0; }

private:
    CRecordList* list_;
};

}  // namespace macropage
