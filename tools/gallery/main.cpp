// kestrel-gallery: one window with every control of the toolkit in its states, drawn with the
// default skin. With --screenshot FILE it renders the window offscreen into a PNG and exits;
// --window picks one of the small dialogs instead (messagebox, messagebox2, savewait, about).
//
//     kestrel-gallery [--lang LCID] [--window NAME] [--screenshot FILE]

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "GalleryDlg.h"
#include "app/Languages.h"
#include "i18n/TextLookup.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "ui/shell/AboutDlg.h"
#include "ui/shell/CUIMessageBox.h"
#include "ui/shell/SaveWaitDlg.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/qt/QtBackend.h"

namespace {

struct Options {
    int language = 1033;
    std::string window = "gallery";
    std::string screenshot;
    bool valid = true;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lang" && i + 1 < argc) {
            options.language = DecimalToInt(FromUtf8(argv[++i]));
        } else if (arg == "--window" && i + 1 < argc) {
            options.window = argv[++i];
        } else if (arg == "--screenshot" && i + 1 < argc) {
            options.screenshot = argv[++i];
        } else {
            options.valid = false;
        }
    }
    return options;
}

// The window to show: the gallery or one of the small dialogs, created and not yet shown.
std::unique_ptr<MDialog> MakeWindow(const std::string& name) {
    std::unique_ptr<MDialog> window;
    Rect rect;
    std::u16string title;
    unsigned exStyle = 0;
    if (name == "gallery") {
        window = std::make_unique<GalleryDlg>();
        rect = {0, 0, GalleryDlg::kWidth, GalleryDlg::kHeight};
        title = u"Kestrel gallery";
    } else if (name == "messagebox" || name == "messagebox2") {
        auto box = std::make_unique<CUIMessageBox>();
        box->SetTitleText(GetText(576, kTextSection));
        box->SetMessageText(GetText(57, kTextSection));
        box->SetType(name == "messagebox" ? CUIMessageBox::kTypeOk : CUIMessageBox::kTypeOkCancel);
        box->LoadBKImage(u"bk_prompt.png");
        box->SetBackMode(1, 30);
        window = std::move(box);
        rect = {0, 0, 430, 230};
        title = CUIMessageBox::kWindowTitle;
        exStyle = kExStyleToolWindow | kExStyleLayered;
    } else if (name == "savewait") {
        window = std::make_unique<SaveWaitDlg>();
        rect = {0, 0, 500, 200};
        title = SaveWaitDlg::kWindowTitle;
        exStyle = kExStyleToolWindow;
    } else if (name == "about") {
        window = std::make_unique<AboutDlg>(0x105);
        rect = {0, 0, 500, 300};
        title = AboutDlg::kWindowTitle;
    } else {
        return nullptr;
    }
    if (!window->Create(nullptr, title, kStylePopup, exStyle, rect)) {
        return nullptr;
    }
    return window;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (!options.valid || options.language <= 0) {
        std::fprintf(stderr,
                     "usage: kestrel-gallery [--lang LCID] [--window NAME] [--screenshot FILE]\n");
        return 2;
    }
    // A screenshot needs no display.
    if (!options.screenshot.empty() && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    SetCurrentLanguage(options.language);

    QtBackend::PrepareApplication();
    QApplication app(argc, argv);
    UiBackend::Install(std::make_unique<QtBackend>());

    std::unique_ptr<MDialog> window = MakeWindow(options.window);
    int status = 0;
    if (!window) {
        std::fprintf(stderr, "kestrel-gallery: cannot create the window %s\n",
                     options.window.c_str());
        status = 1;
    } else if (!options.screenshot.empty()) {
        QApplication::processEvents();
        if (!QtBackend::SaveScreenshot(*window, std::filesystem::path(options.screenshot))) {
            std::fprintf(stderr, "kestrel-gallery: cannot write %s\n", options.screenshot.c_str());
            status = 1;
        }
        window->DestroyWindow();
    } else {
        window->CenterWindow();
        window->ShowModal(true);
    }
    window.reset();
    UiBackend::Install(nullptr);
    return status;
}
