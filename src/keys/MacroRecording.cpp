// MacroPage: recording a macro from the keyboard into the selected macro's event list.

#include <initializer_list>

#include "keys/MacroPage.h"
#include "keys/MacroPageControls.h"
#include "keys/RecordListSink.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/controls/CRadioButton.h"
#include "ui/toolkit/controls/MEdit.h"

using namespace macropage;

namespace {

// Language texts.
constexpr int kNoMacroText = 387;

// What a recording disables on the page: everything that could change the macro being recorded
// or which macro that is. The two option edits follow their radio buttons afterwards.
constexpr int kLockedWhileRecording[] = {
    kMacroList,         kNewButton,       kDeleteButton, kEventList,          kInsertButton,
    kDeleteEventButton, kClearButton,     kNoDelayRadio, kMeasuredDelayRadio, kFixedDelayRadio,
    kHeldRadio,         kTogglePlayRadio, kCountRadio,   kKindSelector,       kValueEdit,
    kButtonSelector,    kUpButton,        kDownButton,
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// Recording

void MacroPage::ToggleRecording() {
    if (recorder_.IsRecording()) {
        StopRecording();
    } else {
        StartRecording();
    }
}

void MacroPage::StartRecording() {
    if (SelectedMacro() <= 0) {
        host_.ShowMessage(kRecordText, kNoMacroText, 0);
        return;
    }
    auto checked = [this](int id) {
        auto* radio = Get<CRadioButton>(id);
        return radio != nullptr && radio->GetCheck();
    };
    int mode = keys::MacroRecorder::kNoDelay;
    int fixedDelay = 0;
    if (checked(kNoDelayRadio)) {
        mode = keys::MacroRecorder::kNoDelay;
    } else if (checked(kMeasuredDelayRadio)) {
        mode = keys::MacroRecorder::kMeasuredDelay;
    } else if (checked(kFixedDelayRadio)) {
        mode = keys::MacroRecorder::kFixedDelay;
        if (auto* edit = Get<MEdit>(kDelayEdit)) {
            if (edit->GetTitle().empty()) {
                edit->SetTitle(kDefaultDelayText);
            }
            fixedDelay = edit->GetInt();
        }
    }
    // Listening for the recording replaces any other listener, the editor's key field's too.
    StopEditorCapture();
    recorder_.Start(mode, fixedDelay, tick_());
    listenMode_ = keys::kCaptureRecording;
    capture_.Listen(keys::kCaptureRecording, this);
    ShowRecordButton();
    SetRecordingControls(true);
}

void MacroPage::StopRecording() {
    if (!recorder_.IsRecording()) {
        return;
    }
    if (listenMode_ == keys::kCaptureRecording) {
        listenMode_ = 0;
        if (capture_.CurrentListener() == this) {
            capture_.StopListening();
        }
    }
    SaveMacroEvents();
    // The closing delay is shown now and stored with the next change of the list.
    RecordListSink sink(Events());
    recorder_.Stop(tick_(), sink);
    ShowRecordButton();
    SetRecordingControls(false);
}

void MacroPage::SetRecordingControls(bool recording) {
    for (int id : kLockedWhileRecording) {
        Enable(id, !recording);
    }
    // The option edits are usable only with their radio buttons checked.
    auto checked = [this](int id) {
        auto* radio = Get<CRadioButton>(id);
        return radio != nullptr && radio->GetCheck();
    };
    Enable(kDelayEdit, !recording && checked(kFixedDelayRadio));
    Enable(kCountEdit, !recording && checked(kCountRadio));
    MDialog& dialog = host_.Window();
    for (int id : {mainwnd::kTabControl, mainwnd::kProfileButton}) {
        if (MControl* control = dialog.GetControl(id, nullptr)) {
            control->SetEnabled(!recording);
        }
    }
}
