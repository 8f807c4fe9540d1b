#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "keys/KeyCapture.h"
#include "keys/MacroRecorder.h"
#include "ui/shell/MainPage.h"

class CRecordList;
class MControl;
class MacroList;
class MComboBox;
class MEdit;
class PageHost;

// The macro page (container 53): the macro list, the selected macro's events and play options,
// recording from the keyboard, and the editing of single events. Every change is stored at once.
// User-interface thread only.
class MacroPage : public MainPage, private keys::KeyListener {
public:
    // `tick` is the millisecond clock recording measures delays with (the steady clock; tests
    // pass a clock of their own).
    MacroPage(PageHost& host, keys::KeyCapture& capture, std::function<std::uint32_t()> tick);

    // Fills the macro list and the button page's macro selector from the store and loads the
    // first macro.
    void LoadMacroList();
    bool IsRecording() const;
    // Stops a recording in progress (the mouse went away, the popups are closed); nothing when
    // none runs.
    void StopRecording();
    // A choice of the page's popup menus (window messages 1709 to 1711; wParam = the item).
    void OnMenuCommand(unsigned message, int item);

    // MainPage overrides
    void Build() override;
    void Layout(const Rect& client, float scale) override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;
    void ApplyTexts() override;

private:
    // keys::KeyListener override: a recorded key, or the key for the event editor's key field.
    void OnKeyEvent(const keys::KeyEvent& event) override;

    MControl* Page() const;
    template <typename T>
    T* Get(int id) const;
    MacroList* Macros() const;
    CRecordList* Events() const;
    // The button page's macro selector, which lists the same macros in the same order.
    MComboBox* ButtonPageSelector() const;
    // The selected macro's id; -1 when none is selected.
    int SelectedMacro() const;
    void Show(int id, bool visible);
    void Enable(int id, bool enabled);

    // Storage.
    void LoadMacro(int macroId);
    void SaveMacroEvents();
    void SaveMacroOptions();

    // The macro list.
    void OnNewMacro();
    void OnDeleteMacro();
    void OnRenameEnded(int index);
    void OpenMacroListMenu();

    // Macro files (MacroPageFiles.cpp): an item of the macro list's menu.
    void OnMacroFileItem(int item);
    // `all`: every macro in the second layout; else the selected macro in the first.
    void ExportMacroFile(bool all);
    void ImportMacroFile(bool all);

    // The options.
    void OnDelayOption(int id);
    void OnPlayOption(int id);
    void OnOptionEditEnded(int id);

    // The event list.
    void OpenInsertMenu();
    void InsertEvents(int item);
    void OpenEventMenu();
    // `where` is an item of the move menu (100 top, 101 up, 102 down, 103 bottom).
    void MoveEvent(int where);
    void OnDeleteEvent();
    void OnClearEvents();

    // The event editor.
    void ShowEventEditor();
    void HideEventEditor();
    // Shows the value edit or the mouse-button selector as the kind selector's entry asks.
    void ShowEditorLayout(int kindData);
    void OnEditorValueMessage(int code);
    void OnEditorButtonChosen();
    void StopEditorCapture();

    // Recording.
    void ToggleRecording();
    void StartRecording();
    void SetRecordingControls(bool recording);
    void ShowRecordButton();

    PageHost& host_;
    keys::KeyCapture& capture_;
    std::function<std::uint32_t()> tick_;
    // User-interface thread only.
    keys::MacroRecorder recorder_;
    // The capture mode this page last listened with (0: it does not listen).
    int listenMode_ = 0;
    // The key captured for the event editor's key field (0: none yet).
    int capturedKey_ = 0;
    std::u16string capturedName_;
};
