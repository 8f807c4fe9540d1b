#pragma once

#include <span>
#include <string>

class MControl;
class MDialog;

// One control a window or page creates, as data: its class and id, its skin image with the number
// of state frames, the language texts of its caption and tooltip, and its font. The same rows
// give the texts again after a change of language, so each text id is written once.
struct ControlRow {
    const char16_t* className;
    int id;
    const char16_t* image = nullptr;  // a skin file, or null for none
    int frames = 1;
    int textId = 0;      // caption; 0 for none
    int tooltipId = 0;   // 0 for none
    int fontSize = 0;    // pixel height of the caption; 0 keeps the control's own
    unsigned align = 0;  // TextAlign flags; 0 keeps the control's own
};

// Creates the control of `row` inside `parent` (null: directly in the dialog) with an empty
// rectangle (the layout places it), its image, font and texts. Null for an unknown class.
MControl* CreateFromRow(MDialog& dialog, MControl* parent, const ControlRow& row);
// The same for every row, in order.
void CreateFromRows(MDialog& dialog, MControl* parent, std::span<const ControlRow> rows);

// The caption and tooltip of every row's control (looked up inside `parent`) from the current
// language.
void ApplyRowTexts(MDialog& dialog, MControl* parent, std::span<const ControlRow> rows);
