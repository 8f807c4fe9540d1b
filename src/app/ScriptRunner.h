#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

class DeviceMainDlg;
class MControl;
class MDialog;
class ScriptHost;

// Runs a script against the main window as a user would: clicks, choices, typed text, answers
// to message boxes, menus and file dialogs, time passing, virtual mice coming and going, and
// `show` lines that print what a control shows. One line runs per step, each step posted after
// the work the previous one caused, so a line that opens a modal dialog is followed by the next
// lines inside that dialog's loop, the way a user goes on in the dialog.
//
// Lines (blank lines and lines starting with '#' are skipped):
//   click ID | click WINDOW:ID | rclick ...   a left or secondary click on a control
//   select ID INDEX                           choose an item of a combo box, tab control or list,
//                                             or click callout INDEX of the mouse picture
//   type ID TEXT                              replace an edit's text by typing, end the editing;
//                                             in a list, rename the selected row in place
//   slide ID VALUE                            drag a slider to VALUE and let go
//   swatch ID INDEX                           click the colour swatch of stage INDEX
//   key VK down|up                            a key of the keyboard, given by the Windows
//                                             virtual-key code it decodes to (0x41 A, 160 left
//                                             Shift, 161 right Shift, 104 keypad 8, 108 keypad
//                                             Enter); heard only while a key capture listens
//   answer N                                  the next message box answers N (1, or 2 = close)
//   choose ITEM                               the next popup or tray menu chooses item id ITEM
//   file PATH | file                          the next file dialog answers PATH, or is cancelled
//   wait MS                                   MS milliseconds of the window's time pass
//   idle                                      wait until the device worker has nothing to do
//   show ID | show WINDOW:ID                  print `ID visible|hidden enabled|disabled "caption"`,
//                                             then ` checked|unchecked` for check boxes and radio
//                                             buttons, ` item=N` for lists, combo boxes and tabs,
//                                             ` value=N` for sliders; lists add ` count=N`, the
//                                             event list ` events="TEXT|TEXT..."`, the button list
//                                             ` desc="TEXT"` of the selected button, the mouse
//                                             picture ` key=N` (the selected callout's key code);
//                                             progress bars ` value=N`
//   show mouse TYPE:MODE                      print `mouse TYPE:MODE <onboard settings>` of a
//                                             virtual mouse (sim::DescribeSettings)
//   show loader TYPE:MODE                     print `loader TYPE:MODE state=idle|receiving|finished
//                                             blocks=N refused=N crc32=XXXXXXXX` of a virtual
//                                             mouse's firmware loader (crc32 of the image it holds)
//   fault TYPE:MODE latency MS | update-writes N | clear
//                                             every report of that virtual mouse takes MS ms; the
//                                             next N firmware-update reports fail; no faults
//   show window | show tray                   print `window visible|hidden|minimized`, `tray
//                                             shown|absent`
//   message MSG WPARAM LPARAM                 post a window message to the main window
//   plug TYPE:MODE | unplug TYPE:MODE         a virtual mouse arrives or leaves
//   screenshot FILE [WINDOW]                  save the main window (or the window with that title)
//                                             as a PNG; not on the headless backend
//   serve MS                                  MS milliseconds of real time for other programs
//   wait-visible MS                           serve until the window is visible (fails after MS)
//   wait-progress WINDOW:ID PERCENT MS        serve until that progress bar shows PERCENT or more
//                                             (fails after MS)
// A message box that opens prints `messagebox "title" "message"`.
//
// User-interface thread.
class ScriptRunner {
public:
    // A virtual mouse of TYPE:MODE plugged in or pulled out; false with a reason when that
    // cannot be done.
    using PlugFunction =
        std::function<bool(const std::string& typeAndMode, bool plug, std::string& error)>;
    // The onboard settings of the virtual mouse of TYPE:MODE in one line; false with a reason.
    using DescribeFunction =
        std::function<bool(const std::string& typeAndMode, std::string& text, std::string& error)>;
    // The end: 0 after the last line, 1 after a line that failed.
    using FinishFunction = std::function<void(int status)>;

    ScriptRunner(DeviceMainDlg& window, ScriptHost& host, PlugFunction plug, std::ostream& out,
                 std::ostream& err);

    // A fault asked of the virtual mouse of TYPE:MODE ("latency", "update-writes" with its value,
    // "denied" or "clear" with 0); false with a reason.
    using FaultFunction = std::function<bool(
        const std::string& typeAndMode, const std::string& kind, int value, std::string& error)>;

    void SetMouseDescriber(DescribeFunction describe) { describe_ = std::move(describe); }
    void SetLoaderDescriber(DescribeFunction describe) { describeLoader_ = std::move(describe); }
    void SetFaultInjector(FaultFunction inject) { fault_ = std::move(inject); }
    // How many kestrelctl command lines handed to the program have ended so far (any thread).
    void SetHandOffCounter(std::function<int()> count) { handOffs_ = std::move(count); }
    // Reads the script; false with a reason when the file cannot be read.
    bool Load(const std::filesystem::path& file, std::string& error);
    void SetLines(std::vector<std::string> lines);
    // Posts the first step. `finish` runs once, when the script ended or failed.
    void Start(FinishFunction finish);
    // Prints a line on the script's output (requests from other programs, for one).
    void Print(const std::string& line);

private:
    struct Outcome {
        enum Kind { kNext, kScheduled, kFailed } kind = kNext;
        std::string error;
    };
    static Outcome Next() { return {}; }
    static Outcome Scheduled() { return {Outcome::kScheduled, {}}; }
    static Outcome Fail(std::string error) { return {Outcome::kFailed, std::move(error)}; }

    void Step();
    void PostStep();
    void PostContinuation();
    void Finish(int status);
    void FailLine(const std::string& error);
    // A message box or menu is open and an answer for it is pending.
    MDialog* OpenMessageBox() const;
    bool HasAnswerToGive() const;
    // Gives the pending answer to the open message box or menu; false with `error` when the menu
    // has no such item.
    bool GiveAnswer(std::string& error);
    void ReportMessageBoxes();
    bool EndOtherModalLoops();
    Outcome Run(const std::vector<std::string>& words, const std::string& line);

    // Lines.
    Outcome Click(const std::vector<std::string>& words, bool secondary);
    Outcome Select(const std::vector<std::string>& words);
    Outcome Type(const std::vector<std::string>& words, const std::string& line);
    Outcome Slide(const std::vector<std::string>& words);
    Outcome Swatch(const std::vector<std::string>& words);
    Outcome Show(const std::vector<std::string>& words);

    // "ID" or "WINDOW:ID": the dialog and the control; null with `error` set when missing.
    MControl* FindControl(const std::string& target, MDialog*& dialog, std::string& error) const;
    // The same for a control a user acts on: it must be shown.
    MControl* FindShownControl(const std::string& target, MDialog*& dialog,
                               std::string& error) const;

    DeviceMainDlg& window_;
    ScriptHost& host_;
    PlugFunction plug_;
    DescribeFunction describe_;
    DescribeFunction describeLoader_;
    FaultFunction fault_;
    std::function<int()> handOffs_;
    int handOffsSeen_ = 0;  // handed-over command lines a wait-handoff line has seen end
    std::ostream& out_;
    std::ostream& err_;
    FinishFunction finish_;

    std::vector<std::string> lines_;
    std::size_t next_ = 0;  // index of the next line to run
    std::size_t current_ = 0;
    bool finished_ = false;
    std::deque<int> answers_;  // for the next message boxes
    std::deque<int> choices_;  // for the next menus
    std::vector<const void*> reportedBoxes_;
};
