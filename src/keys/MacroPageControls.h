#pragma once

#include "keys/MacroPage.h"
#include "ui/shell/PageHost.h"
#include "ui/toolkit/Geometry.h"
#include "ui/toolkit/MDialog.h"

class RowList;

// The macro page's control ids and the texts, limits and menu items that more than one of its
// files uses: building (MacroPageFrame.cpp), the list and options (MacroPage.cpp), the events
// (MacroEventEditing.cpp), recording (MacroRecording.cpp) and macro files (MacroPageFiles.cpp).
namespace macropage {

// Controls of the page (container 53).
inline constexpr int kMacroBackground = 150;
inline constexpr int kPageBackground = 161;
inline constexpr int kMacroCaption = 151;
inline constexpr int kEventBackground = 152;
inline constexpr int kEventCaption = 153;
inline constexpr int kRecordOptionsBackground = 154;
inline constexpr int kRecordOptionsCaption = 155;
inline constexpr int kMacroList = 156;
inline constexpr int kNewButton = 157;
inline constexpr int kDeleteButton = 158;
inline constexpr int kPlaybackBackground = 159;
inline constexpr int kPlaybackCaption = 160;
inline constexpr int kEventList = 166;
inline constexpr int kInsertButton = 167;
inline constexpr int kDeleteEventButton = 168;
inline constexpr int kClearButton = 169;
inline constexpr int kRecordButton = 172;
inline constexpr int kNoDelayRadio = 174;
inline constexpr int kMeasuredDelayRadio = 175;
inline constexpr int kFixedDelayRadio = 176;
inline constexpr int kDelayUnit = 177;
inline constexpr int kDelayEdit = 178;
inline constexpr int kHeldRadio = 181;
inline constexpr int kTogglePlayRadio = 182;
inline constexpr int kCountRadio = 183;
inline constexpr int kCountEdit = 184;
inline constexpr int kEditorBackground = 185;
inline constexpr int kKindSelector = 186;
inline constexpr int kValueEdit = 187;
inline constexpr int kButtonSelector = 188;
inline constexpr int kEditorCaption = 189;
inline constexpr int kUpButton = 190;
inline constexpr int kDownButton = 191;

// Language texts.
inline constexpr int kRecordText = 358;
inline constexpr int kFullText = 386;
inline constexpr int kKeyHintText = 385;

// Limits.
inline constexpr int kMinDelay = 1;
inline constexpr int kMaxDelay = 10000;
// What an emptied delay or play-count edit is filled with.
inline constexpr char16_t kDefaultDelayText[] = u"10";
inline constexpr char16_t kDefaultCountText[] = u"1";

// The macro list menu's items: macro files of one macro or of every macro (MacroFiles.h).
inline constexpr int kImportItem = 101;
inline constexpr int kExportItem = 102;
inline constexpr int kImportAllItem = 105;
inline constexpr int kExportAllItem = 106;

// The move menu's items, which the move buttons choose too.
inline constexpr int kMoveTopItem = 100;
inline constexpr int kMoveUpItem = 101;
inline constexpr int kMoveDownItem = 102;
inline constexpr int kMoveBottomItem = 103;

// Where a menu opened from a list row appears: the toolkit gives no pointer position with the
// notification, and the click that asked for the menu selected the row under the pointer, so the
// middle of that row's bottom edge stands for it (the list's top edge when no row is selected).
Point RowMenuPoint(MDialog& dialog, RowList& list, int dx, int dy);

}  // namespace macropage

// The page's controls, found in its container; every part of the page reaches them this way.
template <typename T>
T* MacroPage::Get(int id) const {
    return dynamic_cast<T*>(host_.Window().GetControl(id, Page()));
}
