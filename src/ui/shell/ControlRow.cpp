#include "ui/shell/ControlRow.h"

#include "i18n/TextLookup.h"
#include "ui/toolkit/MControl.h"
#include "ui/toolkit/MDialog.h"

namespace {

void ApplyTexts(MControl& control, const ControlRow& row) {
    if (row.textId != 0) {
        if (auto* font = dynamic_cast<MControlFont*>(&control); font != nullptr) {
            font->SetTitle(GetText(row.textId, kTextSection));
        }
    }
    if (row.tooltipId != 0) {
        control.SetTooltip(GetText(row.tooltipId, kTextSection));
    }
}

}  // namespace

MControl* CreateFromRow(MDialog& dialog, MControl* parent, const ControlRow& row) {
    MControl* control = parent != nullptr
                            ? dialog.CreateChild(parent, row.className, row.id, Rect{})
                            : dialog.CreateControl(row.className, row.id, Rect{});
    if (control == nullptr) {
        return nullptr;
    }
    if (row.image != nullptr) {
        control->SetImage(row.image, row.frames);
    }
    if (auto* font = dynamic_cast<MControlFont*>(control); font != nullptr) {
        if (row.fontSize > 0) {
            font->SetFontWidth(row.fontSize);
        }
        if (row.align != 0) {
            font->SetAlignment(row.align);
        }
    }
    ApplyTexts(*control, row);
    return control;
}

void CreateFromRows(MDialog& dialog, MControl* parent, std::span<const ControlRow> rows) {
    for (const ControlRow& row : rows) {
        CreateFromRow(dialog, parent, row);
    }
}

void ApplyRowTexts(MDialog& dialog, MControl* parent, std::span<const ControlRow> rows) {
    for (const ControlRow& row : rows) {
        if (MControl* control = dialog.GetControl(row.id, parent); control != nullptr) {
            ApplyTexts(*control, row);
        }
    }
}
