#pragma once

#include <cstdint>
#include <string>

#include "ui/toolkit/MDialog.h"

// One window with every control class of the toolkit in its states (normal, hover, pressed,
// disabled, checked, selected), captions taken from the current language's texts. Used for
// screenshots of the skin and of each language.
class GalleryDlg : public MDialog {
public:
    static constexpr int kWidth = 1760;
    static constexpr int kHeight = 960;

    // MDialog overrides
    void InitUI(const Rect& rect) override;
    bool OnInitDialog() override;
    std::intptr_t OnMessage(int id, int code, std::intptr_t wParam, std::intptr_t lParam) override;

private:
    // A grey heading naming a class, at (x, y).
    void Heading(int x, int y, const std::u16string& className);
    template <typename T>
    T* Make(const std::u16string& className, const Rect& rect, const std::u16string& text = {});
    void Show(const MControl* control, bool hover, bool pressed);

    void AddButtons(int x, int y);
    void AddChoices(int x, int y);
    void AddInputs(int x, int y);
    void AddIndicators(int x, int y);
    void AddLists(int x, int y);
    void AddPages(int x, int y);
    void AddDevices(int x, int y);

    int nextId_ = 1000;
};
