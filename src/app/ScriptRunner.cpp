#include "app/ScriptRunner.h"

#include <charconv>
#include <fstream>
#include <ostream>
#include <sstream>

#include "app/ScriptHost.h"
#include "text/Utf.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/DeviceMainDlg.h"
#include "ui/toolkit/MControl.h"
#include "ui/toolkit/TrayIcon.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/controls/CDeviceList.h"
#include "ui/toolkit/controls/CRecordList.h"
#include "ui/toolkit/controls/CheckableButton.h"
#include "ui/toolkit/controls/DPIControl.h"
#include "ui/toolkit/controls/DPISlider.h"
#include "ui/toolkit/controls/LightSlider.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MProgress.h"
#include "ui/toolkit/controls/MTabCtrl.h"
#include "ui/toolkit/controls/MouseCtrl.h"
#include "ui/toolkit/controls/MouseKeyCtrl.h"
#include "ui/toolkit/controls/ReporteCtrl.h"
#include "ui/toolkit/controls/RowList.h"
#include "ui/toolkit/controls/SliderBase.h"
#include "ui/toolkit/headless/HeadlessBackend.h"

namespace {

constexpr int kIdleTimeoutMs = 60000;

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string word; in >> word;) {
        words.push_back(word);
    }
    return words;
}

// A decimal number, or a hexadecimal one written with 0x.
bool ParseNumber(const std::string& text, long long& value) {
    int base = 10;
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && digits.front() == '-') {
        negative = true;
        digits.remove_prefix(1);
    }
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty()) {
        return false;
    }
    if (negative) {
        value = -value;
    }
    return true;
}

bool ParseInt(const std::string& text, int& value) {
    long long wide = 0;
    if (!ParseNumber(text, wide) || wide < INT32_MIN || wide > INT32_MAX) {
        return false;
    }
    value = static_cast<int>(wide);
    return true;
}

// A press on another control takes the focus from an edit being edited, and the desktop's text
// entry ends its editing then: the same happens here before a click of a script lands.
void EndEditingElsewhere(MDialog& dialog, const MControl* target) {
    MControl* focus = dialog.GetFocusControl();
    if (focus != nullptr && focus != target && focus->IsTextEntry()) {
        dialog.EnterText(focus, focus->GetEntryText(), true);
    }
}

Point Centre(const Rect& rect) {
    return {rect.left + rect.Width() / 2, rect.top + rect.Height() / 2};
}

std::string CaptionOf(const MControl& control) {
    if (const auto* combo = dynamic_cast<const MComboBox*>(&control);
        combo != nullptr && combo->GetCurSel() >= 0) {
        return ToUtf8(combo->GetCurText());
    }
    const auto* font = dynamic_cast<const MControlFont*>(&control);
    return font != nullptr ? ToUtf8(font->GetTitle()) : std::string();
}

// What a `show` line adds after the caption for controls with a state of their own: the check of
// check boxes and radio buttons, the selected item of lists.
std::string StateOf(const MControl& control) {
    if (const auto* check = dynamic_cast<const CheckableButton*>(&control)) {
        return check->GetCheck() ? " checked" : " unchecked";
    }
    int item = -2;
    if (const auto* combo = dynamic_cast<const MComboBox*>(&control)) {
        item = combo->GetCurSel();
    } else if (const auto* tabs = dynamic_cast<const MTabCtrl*>(&control)) {
        item = tabs->GetCurSel();
    } else if (const auto* list = dynamic_cast<const CDeviceList*>(&control)) {
        item = list->GetSelectIndex();
    } else if (const auto* events = dynamic_cast<const CRecordList*>(&control)) {
        std::string texts;
        for (const RecordInfo& info : events->GetRecordItems()) {
            texts += (texts.empty() ? "" : "|") + ToUtf8(info.text);
        }
        return " item=" + std::to_string(events->GetCurSel()) +
               " count=" + std::to_string(events->GetCount()) + " events=\"" + texts + "\"";
    } else if (const auto* buttons = dynamic_cast<const MouseKeyCtrl*>(&control)) {
        const int selected = buttons->GetCurSel();
        return " item=" + std::to_string(selected) +
               " count=" + std::to_string(buttons->GetCount()) + " desc=\"" +
               ToUtf8(buttons->GetItemKeyDesc(selected)) + "\"";
    } else if (const auto* mouse = dynamic_cast<const MouseCtrl*>(&control)) {
        return " key=" + std::to_string(mouse->GetSelectKey());
    } else if (const auto* rows = dynamic_cast<const RowList*>(&control)) {
        return " item=" + std::to_string(rows->GetCurSel()) +
               " count=" + std::to_string(rows->GetCount());
    } else if (const auto* stages = dynamic_cast<const DPIControl*>(&control)) {
        item = stages->GetSelectItem();
    } else if (const auto* slider = dynamic_cast<const DPISlider*>(&control)) {
        return " value=" + std::to_string(slider->GetProgress());
    } else if (const auto* light = dynamic_cast<const LightSlider*>(&control)) {
        return " value=" + std::to_string(light->GetPosition());
    } else if (const auto* bar = dynamic_cast<const MProgress*>(&control)) {
        return " value=" + std::to_string(bar->GetProgress());
    } else if (const auto* rates = dynamic_cast<const ReporteCtrl*>(&control)) {
        item = rates->GetCurSel();
    }
    return item == -2 ? std::string() : " item=" + std::to_string(item);
}

}  // namespace

ScriptRunner::ScriptRunner(DeviceMainDlg& window, ScriptHost& host, PlugFunction plug,
                           std::ostream& out, std::ostream& err)
    : window_(window), host_(host), plug_(std::move(plug)), out_(out), err_(err) {
}

bool ScriptRunner::Load(const std::filesystem::path& file, std::string& error) {
    std::ifstream in(file);
    if (!in) {
        error = "cannot read " + file.string();
        return false;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    SetLines(std::move(lines));
    return true;
}

void ScriptRunner::SetLines(std::vector<std::string> lines) {
    lines_ = std::move(lines);
    next_ = 0;
}

void ScriptRunner::Start(FinishFunction finish) {
    finish_ = std::move(finish);
    finished_ = false;
    PostStep();
}

void ScriptRunner::Print(const std::string& line) {
    out_ << line << '\n' << std::flush;
}

void ScriptRunner::PostStep() {
    host_.Post([this] { Step(); });
}

void ScriptRunner::Finish(int status) {
    if (finished_) {
        return;
    }
    finished_ = true;
    out_ << std::flush;
    if (finish_) {
        finish_(status);
    }
}

void ScriptRunner::PostContinuation() {
    // Runs once the work the current line (or answer) caused has been posted, then posts the next
    // step behind that work. Posted before the line runs, so that a line that opens a modal dialog
    // goes on inside the dialog's loop.
    host_.Post([this] {
        if (!finished_) {
            PostStep();
        }
    });
}

void ScriptRunner::Step() {
    if (finished_) {
        return;
    }
    ReportMessageBoxes();
    if (HasAnswerToGive()) {
        PostContinuation();
        std::string error;
        if (!GiveAnswer(error)) {
            FailLine(error);
        }
        return;
    }
    std::vector<std::string> words;
    while (words.empty()) {
        if (next_ >= lines_.size()) {
            if (EndOtherModalLoops()) {
                PostStep();
                return;
            }
            Finish(0);
            return;
        }
        current_ = next_++;
        words = SplitWords(lines_[current_]);
        if (!words.empty() && words.front().front() == '#') {
            words.clear();
        }
    }
    // A user's action may open a modal dialog, whose loop must find the next step waiting; other
    // lines post it once they are done (`wait` when its time has passed).
    const std::string& verb = words.front();
    const bool action = verb == "click" || verb == "rclick" || verb == "select" || verb == "type" ||
                        verb == "slide" || verb == "key" || verb == "swatch";
    if (action) {
        PostContinuation();
    }
    const Outcome outcome = Run(words, lines_[current_]);
    if (outcome.kind == Outcome::kFailed) {
        FailLine(outcome.error);
    } else if (!action && outcome.kind == Outcome::kNext) {
        PostContinuation();
    }
}

void ScriptRunner::FailLine(const std::string& error) {
    err_ << "script line " << current_ + 1 << ": " << lines_[current_] << ": " << error << '\n'
         << std::flush;
    Finish(1);
}

void ScriptRunner::ReportMessageBoxes() {
    std::vector<const void*> open;
    for (MWindow* window : MWindow::Windows()) {
        if (window->GetTitle() != CUIMessageBox::kWindowTitle) {
            continue;
        }
        open.push_back(window);
        bool reported = false;
        for (const void* seen : reportedBoxes_) {
            reported = reported || seen == window;
        }
        if (reported) {
            continue;
        }
        auto* box = dynamic_cast<MDialog*>(window);
        std::string title;
        std::string message;
        if (box != nullptr) {
            if (MControl* control = box->GetControl(CUIMessageBox::kTitleText)) {
                title = CaptionOf(*control);
            }
            if (MControl* control = box->GetControl(CUIMessageBox::kMessageText)) {
                message = CaptionOf(*control);
            }
        }
        Print("messagebox \"" + title + "\" \"" + message + "\"");
    }
    reportedBoxes_ = std::move(open);
}

MDialog* ScriptRunner::OpenMessageBox() const {
    auto* box = dynamic_cast<MDialog*>(MWindow::FindWindow(CUIMessageBox::kWindowTitle));
    return box != nullptr && box->IsModal() ? box : nullptr;
}

bool ScriptRunner::HasAnswerToGive() const {
    if (!answers_.empty() && OpenMessageBox() != nullptr) {
        return true;
    }
    if (choices_.empty()) {
        return false;
    }
    return host_.HasOpenPopup() || host_.HasOpenTrayMenu();
}

bool ScriptRunner::GiveAnswer(std::string& error) {
    if (MDialog* box = OpenMessageBox(); box != nullptr && !answers_.empty()) {
        const int answer = answers_.front();
        answers_.pop_front();
        const int button =
            answer == kResultOk ? CUIMessageBox::kOkButton : CUIMessageBox::kCancelButton;
        MControl* control = box->GetControl(button);
        if (control != nullptr && control->IsShown()) {
            HeadlessBackend::ClickAt(*box, Centre(control->GetRect()));
        } else {
            // A box without that button: the answer is a close.
            box->PostMessage(kMessageClose, kResultCancel, 0);
        }
        return true;
    }
    const int id = choices_.front();
    choices_.pop_front();
    const bool chosen =
        host_.HasOpenPopup() ? host_.ChoosePopupItemById(id) : host_.ChooseTrayMenuItem(id);
    if (!chosen) {
        error = "the open menu has no item " + std::to_string(id);
    }
    return chosen;
}

bool ScriptRunner::EndOtherModalLoops() {
    bool ended = false;
    for (MWindow* window : MWindow::Windows()) {
        if (window != &window_ && window->IsModal()) {
            window->EndModal(kResultCancel);
            ended = true;
        }
    }
    return ended;
}

ScriptRunner::Outcome ScriptRunner::Run(const std::vector<std::string>& words,
                                        const std::string& line) {
    const std::string& verb = words.front();
    const std::size_t count = words.size();
    int a = 0;
    int b = 0;
    int c = 0;
    if (verb == "click" || verb == "rclick") {
        return count == 2 ? Click(words, verb == "rclick") : Fail("expected: click ID");
    }
    if (verb == "select") {
        return Select(words);
    }
    if (verb == "type") {
        return Type(words, line);
    }
    if (verb == "swatch") {
        return Swatch(words);
    }
    if (verb == "slide") {
        return Slide(words);
    }
    if (verb == "key") {
        if (count != 3 || !ParseInt(words[1], a) || (words[2] != "down" && words[2] != "up")) {
            return Fail("expected: key VK down|up");
        }
        window_.OnKeyboardInput(a, words[2] == "down");
        return Next();
    }
    if (verb == "answer") {
        if (count != 2 || !ParseInt(words[1], a) || (a != kResultOk && a != kResultCancel)) {
            return Fail("expected: answer 1|2");
        }
        answers_.push_back(a);
        return Next();
    }
    if (verb == "choose") {
        if (count != 2 || !ParseInt(words[1], a)) {
            return Fail("expected: choose ITEM");
        }
        choices_.push_back(a);
        return Next();
    }
    if (verb == "file") {
        const std::size_t start = line.find("file") + 4;
        const std::size_t first = line.find_first_not_of(" \t", start);
        if (first == std::string::npos) {
            host_.QueueFileAnswer(std::nullopt);
        } else {
            host_.QueueFileAnswer(std::filesystem::path(line.substr(first)));
        }
        return Next();
    }
    if (verb == "wait") {
        if (count != 2 || !ParseInt(words[1], a) || a < 0) {
            return Fail("expected: wait MS");
        }
        host_.After(a, [this] { Step(); });
        return Scheduled();
    }
    if (verb == "idle") {
        if (!window_.WaitForWorker(kIdleTimeoutMs)) {
            return Fail("the device worker did not finish its commands in time");
        }
        host_.Settle();
        return Next();
    }
    if (verb == "show" && count == 3 && words[1] == "loader") {
        std::string text;
        std::string error;
        if (!describeLoader_ || !describeLoader_(words[2], text, error)) {
            return Fail(error.empty() ? "no virtual mice (start with --sim)" : error);
        }
        Print("loader " + words[2] + " " + text);
        return Next();
    }
    if (verb == "fault") {
        // Faults without a value: no more opens of the mouse's nodes, or none at all.
        const bool bare = count == 3 && (words[2] == "clear" || words[2] == "denied");
        if (!bare && (count != 4 || !ParseInt(words[3], a) || a < 0 ||
                      (words[2] != "latency" && words[2] != "update-writes"))) {
            return Fail("expected: fault TYPE:MODE latency MS | update-writes N | denied | clear");
        }
        std::string error;
        if (!fault_ || !fault_(words[1], words[2], bare ? 0 : a, error)) {
            return Fail(error.empty() ? "no virtual mice (start with --sim)" : error);
        }
        return Next();
    }
    if (verb == "show" && count == 3 && words[1] == "mouse") {
        std::string text;
        std::string error;
        if (!describe_ || !describe_(words[2], text, error)) {
            return Fail(error.empty() ? "no virtual mice (start with --sim)" : error);
        }
        Print("mouse " + words[2] + " " + text);
        return Next();
    }
    if (verb == "show") {
        return count == 2 ? Show(words) : Fail("expected: show ID");
    }
    if (verb == "message") {
        if (count != 4 || !ParseInt(words[1], a) || !ParseInt(words[2], b) ||
            !ParseInt(words[3], c)) {
            return Fail("expected: message MSG WPARAM LPARAM");
        }
        window_.PostMessage(static_cast<unsigned>(a), b, c);
        return Next();
    }
    if (verb == "plug" || verb == "unplug") {
        if (count != 2) {
            return Fail("expected: " + verb + " TYPE:MODE");
        }
        std::string error;
        if (!plug_ || !plug_(words[1], verb == "plug", error)) {
            return Fail(error.empty() ? "no virtual mice (start with --sim)" : error);
        }
        return Next();
    }
    if (verb == "screenshot") {
        if (count < 2 || count > 3) {
            return Fail("expected: screenshot FILE [WINDOW]");
        }
        MWindow* target = &window_;
        if (count == 3) {
            target = MWindow::FindWindow(FromUtf8(words[2]));
            if (target == nullptr) {
                return Fail("no window " + words[2]);
            }
        }
        if (!host_.SaveScreenshot(*target, words[1])) {
            return Fail("cannot save " + words[1] + " (the headless backend draws nothing)");
        }
        return Next();
    }
    if (verb == "serve") {
        if (count != 2 || !ParseInt(words[1], a) || a < 0) {
            return Fail("expected: serve MS");
        }
        host_.Serve(a, [] { return false; });
        return Next();
    }
    if (verb == "wait-handoff") {
        if (count != 2 || !ParseInt(words[1], a) || a < 0) {
            return Fail("expected: wait-handoff MS");
        }
        if (!handOffs_) {
            return Fail("this program takes no command lines");
        }
        if (!host_.Serve(a, [this] { return handOffs_() > handOffsSeen_; })) {
            return Fail("no kestrelctl command line was handed over");
        }
        ++handOffsSeen_;
        return Next();
    }
    if (verb == "wait-visible") {
        if (count != 2 || !ParseInt(words[1], a) || a < 0) {
            return Fail("expected: wait-visible MS");
        }
        if (!host_.Serve(a, [this] { return window_.IsWindowVisible(); })) {
            return Fail("the window did not show");
        }
        return Next();
    }
    if (verb == "wait-progress") {
        if (count != 4 || !ParseInt(words[2], a) || !ParseInt(words[3], b) || b < 0) {
            return Fail("expected: wait-progress WINDOW:ID PERCENT MS");
        }
        const std::string target = words[1];
        const int percent = a;
        auto reached = [this, &target, percent] {
            MDialog* dialog = nullptr;
            std::string ignored;
            const auto* bar = dynamic_cast<const MProgress*>(FindControl(target, dialog, ignored));
            return bar != nullptr && bar->GetProgress() >= percent;
        };
        if (!host_.Serve(b, reached)) {
            return Fail(target + " did not reach " + std::to_string(percent));
        }
        return Next();
    }
    return Fail("unknown line");
}

MControl* ScriptRunner::FindControl(const std::string& target, MDialog*& dialog,
                                    std::string& error) const {
    dialog = &window_;
    std::string idText = target;
    const std::size_t colon = target.rfind(':');
    if (colon != std::string::npos) {
        const std::u16string title = FromUtf8(target.substr(0, colon));
        dialog = dynamic_cast<MDialog*>(MWindow::FindWindow(title));
        if (dialog == nullptr) {
            error = "no window " + target.substr(0, colon);
            return nullptr;
        }
        idText = target.substr(colon + 1);
    }
    int id = 0;
    if (!ParseInt(idText, id)) {
        error = "not a control id: " + idText;
        return nullptr;
    }
    MControl* control = dialog->GetControl(id);
    if (control == nullptr) {
        error = "no control " + idText;
    }
    return control;
}

MControl* ScriptRunner::FindShownControl(const std::string& target, MDialog*& dialog,
                                         std::string& error) const {
    MControl* control = FindControl(target, dialog, error);
    if (control != nullptr && !control->IsShown()) {
        error = "control " + target + " is hidden";
        return nullptr;
    }
    return control;
}

ScriptRunner::Outcome ScriptRunner::Click(const std::vector<std::string>& words, bool secondary) {
    MDialog* dialog = nullptr;
    std::string error;
    MControl* control = FindShownControl(words[1], dialog, error);
    if (control == nullptr) {
        return Fail(error);
    }
    EndEditingElsewhere(*dialog, control);
    HeadlessBackend::ClickAt(*dialog, Centre(control->GetRect()),
                             secondary ? MouseButton::kRight : MouseButton::kLeft);
    return Next();
}

ScriptRunner::Outcome ScriptRunner::Select(const std::vector<std::string>& words) {
    int index = 0;
    if (words.size() != 3 || !ParseInt(words[2], index)) {
        return Fail("expected: select ID INDEX");
    }
    MDialog* dialog = nullptr;
    std::string error;
    MControl* control = FindShownControl(words[1], dialog, error);
    if (control == nullptr) {
        return Fail(error);
    }
    EndEditingElsewhere(*dialog, control);
    Rect target;
    if (auto* combo = dynamic_cast<MComboBox*>(control)) {
        HeadlessBackend::ClickAt(*dialog, Centre(combo->GetRect()));
        if (!host_.HasOpenPopup()) {
            return Fail("the list did not open");
        }
        if (!host_.ChoosePopupItem(index)) {
            return Fail("no item " + words[2]);
        }
        return Next();
    }
    if (auto* tabs = dynamic_cast<MTabCtrl*>(control)) {
        target = tabs->GetItemRect(index);
    } else if (auto* list = dynamic_cast<CDeviceList*>(control)) {
        if (index < 0 || index >= list->GetCount()) {
            return Fail("no item " + words[2]);
        }
        // Turn the pages as the arrows would until the card shows.
        for (int page = 0; page < list->GetPageCount() && list->GetCardRect(index).IsEmpty();
             ++page) {
            list->SetPage(page);
        }
        target = list->GetCardRect(index);
    } else if (auto* rows = dynamic_cast<RowList*>(control)) {
        target = rows->GetItemRect(index);
    } else if (auto* stages = dynamic_cast<DPIControl*>(control)) {
        // On the value: a click on the swatch would open the colour instead.
        target = stages->GetValueRect(index);
    } else if (auto* rates = dynamic_cast<ReporteCtrl*>(control)) {
        target = rates->GetItemRect(index);
    } else if (auto* mouse = dynamic_cast<MouseCtrl*>(control)) {
        target = mouse->GetCalloutRect(index);
    } else {
        return Fail("cannot select in a " + ToUtf8(control->GetClassName()));
    }
    if (target.IsEmpty()) {
        return Fail("item " + words[2] + " is not shown");
    }
    HeadlessBackend::ClickAt(*dialog, Centre(target));
    return Next();
}

ScriptRunner::Outcome ScriptRunner::Type(const std::vector<std::string>& words,
                                         const std::string& line) {
    if (words.size() < 2) {
        return Fail("expected: type ID TEXT");
    }
    MDialog* dialog = nullptr;
    std::string error;
    MControl* control = FindShownControl(words[1], dialog, error);
    if (control == nullptr) {
        return Fail(error);
    }
    if (auto* stages = dynamic_cast<DPIControl*>(control);
        stages != nullptr && !stages->IsEditing() && stages->GetSelectItem() >= 0) {
        // A stage's value is typed after a double click on it.
        const Point at = Centre(stages->GetValueRect(stages->GetSelectItem()));
        HeadlessBackend::ClickAt(*dialog, at);
        dialog->HandleMouse({MouseAction::kDoubleClick, MouseButton::kLeft, at, 0});
        dialog->HandleMouse({MouseAction::kUp, MouseButton::kLeft, at, 0});
    }
    if (auto* rows = dynamic_cast<RowList*>(control);
        rows != nullptr && !rows->IsEditing() && rows->GetCurSel() >= 0) {
        // A row's text is typed once the row is opened for editing, as a double click or a
        // list's pencil opens it.
        rows->EditItem(rows->GetCurSel());
    }
    if (!control->IsEnabled() || !control->IsTextEntry()) {
        return Fail("control " + words[1] + " takes no text now");
    }
    // The text is the rest of the line after the id and one blank, kept as written.
    const std::size_t idEnd = line.find(words[1]) + words[1].size();
    const std::string text = idEnd < line.size() ? line.substr(idEnd + 1) : std::string();
    control->OnFocus();
    dialog->DeliverNotifications();
    dialog->EnterText(control, FromUtf8(text), false);
    dialog->EnterText(control, FromUtf8(text), true);
    return Next();
}

ScriptRunner::Outcome ScriptRunner::Swatch(const std::vector<std::string>& words) {
    int index = 0;
    if (words.size() != 3 || !ParseInt(words[2], index)) {
        return Fail("expected: swatch ID INDEX");
    }
    MDialog* dialog = nullptr;
    std::string error;
    auto* stages = dynamic_cast<DPIControl*>(FindShownControl(words[1], dialog, error));
    if (stages == nullptr) {
        return Fail(error.empty() ? "control " + words[1] + " has no colour swatches" : error);
    }
    const Rect swatch = stages->GetColorRect(index);
    if (swatch.IsEmpty()) {
        return Fail("no item " + words[2]);
    }
    HeadlessBackend::ClickAt(*dialog, Centre(swatch));
    return Next();
}

ScriptRunner::Outcome ScriptRunner::Slide(const std::vector<std::string>& words) {
    int value = 0;
    if (words.size() != 3 || !ParseInt(words[2], value)) {
        return Fail("expected: slide ID VALUE");
    }
    MDialog* dialog = nullptr;
    std::string error;
    auto* slider = dynamic_cast<SliderBase*>(FindShownControl(words[1], dialog, error));
    if (slider == nullptr) {
        return Fail(error.empty() ? "control " + words[1] + " is not a slider" : error);
    }
    // Pressed where the value lies on the track, then let go: the moving, then the release.
    HeadlessBackend::ClickAt(*dialog, slider->PointOfValue(value));
    return Next();
}

ScriptRunner::Outcome ScriptRunner::Show(const std::vector<std::string>& words) {
    const std::string& target = words[1];
    if (target == "window") {
        const char* state = window_.IsMinimized()       ? "minimized"
                            : window_.IsWindowVisible() ? "visible"
                                                        : "hidden";
        Print(std::string("window ") + state);
        return Next();
    }
    if (target == "tray") {
        TrayIcon* tray = window_.GetTray();
        Print(std::string("tray ") + (tray != nullptr && tray->IsAdded() ? "shown" : "absent"));
        return Next();
    }
    MDialog* dialog = nullptr;
    std::string error;
    MControl* control = FindControl(target, dialog, error);
    if (control == nullptr) {
        return Fail(error);
    }
    Print(target + (control->IsShown() ? " visible" : " hidden") +
          (control->IsEnabled() ? " enabled" : " disabled") + " \"" + CaptionOf(*control) + "\"" +
          StateOf(*control));
    return Next();
}
