// kestrel-gallery: one window with every control of the toolkit in its states, drawn with the
// default skin. With --screenshot FILE it renders the window offscreen into a PNG and exits.
//
//     kestrel-gallery [--lang LCID] [--screenshot FILE]

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "GalleryDlg.h"
#include "app/Languages.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "ui/toolkit/UiBackend.h"
#include "ui/toolkit/WindowStyles.h"
#include "ui/toolkit/qt/QtBackend.h"

namespace {

struct Options {
    int language = 1033;
    std::string screenshot;
    bool valid = true;
};

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--lang" && i + 1 < argc) {
            options.language = DecimalToInt(FromUtf8(argv[++i]));
        } else if (arg == "--screenshot" && i + 1 < argc) {
            options.screenshot = argv[++i];
        } else {
            options.valid = false;
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    if (!options.valid || options.language <= 0) {
        std::fprintf(stderr, "usage: kestrel-gallery [--lang LCID] [--screenshot FILE]\n");
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

    int status = 0;
    {
        GalleryDlg gallery;
        if (!gallery.Create(nullptr, u"Kestrel gallery", kStylePopup, 0,
                            {0, 0, GalleryDlg::kWidth, GalleryDlg::kHeight})) {
            std::fprintf(stderr, "kestrel-gallery: cannot create the window\n");
            status = 1;
        } else if (!options.screenshot.empty()) {
            QApplication::processEvents();
            if (!QtBackend::SaveScreenshot(gallery, std::filesystem::path(options.screenshot))) {
                std::fprintf(stderr, "kestrel-gallery: cannot write %s\n",
                             options.screenshot.c_str());
                status = 1;
            }
            gallery.DestroyWindow();
        } else {
            gallery.CenterWindow();
            gallery.ShowModal(true);
        }
    }
    UiBackend::Install(nullptr);
    return status;
}
