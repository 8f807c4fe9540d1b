#pragma once

#include "ui/toolkit/MControl.h"

// A skin image shown in its rectangle. A picture created with an empty rectangle takes its
// image's own size when the image is set (through the image-size provider), and is otherwise
// drawn at its own size from its top-left corner. Sends kNotifyClick when clicked.
//
// Show modes: 3 draws the image as nine pieces, its corners `margin` pixels wide kept and the
// rest stretched; 4 also names the middle part, by its distances from the image's left, top,
// right and bottom edges. The modes and their numbers are kept as set; other modes stretch the
// image. An image of show mode 3 or 4 that cannot be loaded is drawn as a flat panel, since
// those images are the backgrounds of areas.
class MPicture : public MControlFont {
public:
    void SetShowMode(int mode, int margin);
    void SetShowMode(int mode, int margin, const Rect& middle);
    int GetShowMode() const;
    int GetShowMargin() const;
    // The middle part's distances (left, top, right, bottom); all 0 unless set with mode 4.
    Rect GetShowMiddle() const;

    // The size of the picture's image (one frame), as the installed image-size provider reports
    // it (ImageSizeProvider.h); 0 without an image, a provider or a loadable file.
    int GetPictureWidth() const;
    int GetPictureHeight() const;

    // MControl overrides
    void SetImage(const std::u16string& file, int frames = 1) override;
    void Paint(Painter& painter, const ControlState& state) const override;
    void OnMouse(const MouseEvent& event) override;

private:
    Size PictureSize() const;

    // Guarded by the dialog's lock.
    int showMode_ = 0;
    int showMargin_ = 0;
    Rect showMiddle_;
};
