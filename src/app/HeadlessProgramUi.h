#pragma once

#include <chrono>
#include <deque>
#include <functional>

#include "app/ProgramUi.h"
#include "app/ScriptHost.h"

class HeadlessBackend;
class MWindow;

// The program on the toolkit's headless backend, without a display. Its clock is virtual: a
// script's `wait` moves it on at once, timers included. The windows' loops run here: each loop
// runs the work posted to the user-interface thread one task at a time (the script's steps among
// them) until its window's loop ends; with nothing to do it lets real time pass, so that other
// threads and programs can be served.
class HeadlessProgramUi : public ProgramUi, public ScriptHost {
public:
    // Installs a headless backend for the process (and the window loops on it).
    HeadlessProgramUi();
    ~HeadlessProgramUi() override;

    // ProgramUi overrides
    ScriptHost& Host() override { return *this; }
    // ProgramUi and ScriptHost overrides: the headless backend draws nothing.
    bool SaveScreenshot(MWindow&, const std::filesystem::path&) override { return false; }

    // ScriptHost overrides
    void Post(std::function<void()> step) override;
    void After(int milliseconds, std::function<void()> step) override;
    bool Serve(int milliseconds, const std::function<bool()>& until) override;
    bool HasOpenPopup() const override;
    bool ChoosePopupItem(int index) override;
    bool ChoosePopupItemById(int id) override;
    bool HasOpenTrayMenu() const override;
    bool ChooseTrayMenuItem(int id) override;
    void QueueFileAnswer(std::optional<std::filesystem::path> answer) override;

private:
    // A window's loop: until the loop of `window` has ended.
    void RunLoop(MWindow& window);
    // Nothing is posted: a short real-time wait, with the virtual clock moved on by as much.
    void IdleTurn();

    HeadlessBackend* backend_;  // owned by the toolkit once installed
    std::chrono::steady_clock::time_point lastTurn_;
};
