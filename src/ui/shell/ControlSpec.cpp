#include "ui/shell/ControlSpec.h"

#include "i18n/TextLookup.h"
#include "ui/toolkit/MControl.h"
#include "ui/toolkit/MDialog.h"

namespace {

void ApplyTexts(MControl& control, const ControlSpec& spec) {
    if (spec.textId != 0) {
        if (auto* font = dynamic_cast<MControlFont*>(&control); font != nullptr) {
            font->SetTitle(GetText(spec.textId, kTextSection));
        }
    }
    if (spec.tooltipId != 0) {
        control.SetTooltip(GetText(spec.tooltipId, kTextSection));
    }
}

}  // namespace

MControl* CreateFromSpec(MDialog& dialog, MControl* parent, const ControlSpec& spec) {
    MControl* control = parent != nullptr
                            ? dialog.CreateChild(parent, spec.className, spec.id, Rect{})
                            : dialog.CreateControl(spec.className, spec.id, Rect{});
    if (control == nullptr) {
        return nullptr;
    }
    if (spec.image != nullptr) {
        control->SetImage(spec.image, spec.frames);
    }
    if (auto* font = dynamic_cast<MControlFont*>(control); font != nullptr) {
        if (spec.fontSize > 0) {
            font->SetFontWidth(spec.fontSize);
        }
        if (spec.align != 0) {
            font->SetAlignment(spec.align);
        }
    }
    ApplyTexts(*control, spec);
    return control;
}

void ApplySpecTexts(MDialog& dialog, MControl* parent, std::span<const ControlSpec> specs) {
    for (const ControlSpec& spec : specs) {
        if (MControl* control = dialog.GetControl(spec.id, parent); control != nullptr) {
            ApplyTexts(*control, spec);
        }
    }
}
