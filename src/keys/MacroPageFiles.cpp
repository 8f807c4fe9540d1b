// MacroPage: the macro list menu's file items, which export macros to XML files and import them.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "device/transport/Trace.h"
#include "i18n/TextIds.h"
#include "keys/MacroFiles.h"
#include "keys/MacroPage.h"
#include "keys/MacroPageControls.h"
#include "text/Utf.h"
#include "ui/toolkit/FileDialog.h"
#include "ui/toolkit/controls/MComboBox.h"
#include "ui/toolkit/controls/MacroList.h"

using namespace macropage;

namespace {

// An open dialog, or a save dialog that asks before overwriting, for "*.xml" files.
std::optional<std::filesystem::path> AskForMacroFile(MWindow& owner, bool save) {
    FileDialogRequest request;
    request.save = save;
    request.filterName = u"Macro";
    request.patterns = {u"*.xml"};
    return ShowFileDialog(&owner, request);
}

}  // namespace

void MacroPage::OnMacroFileItem(int item) {
    switch (item) {
        case kImportItem:
            ImportMacroFile(false);
            break;
        case kExportItem:
            ExportMacroFile(false);
            break;
        case kImportAllItem:
            ImportMacroFile(true);
            break;
        case kExportAllItem:
            ExportMacroFile(true);
            break;
        default:
            break;
    }
}

void MacroPage::ExportMacroFile(bool all) {
    // Both exports are offered only with a selected macro, even the one that writes them all.
    MacroList* list = Macros();
    const int index = list != nullptr ? list->GetCurSel() : -1;
    if (index < 0) {
        return;
    }
    const int macroId = list->GetItemData(index);
    const std::u16string listName = list->GetItemText(index);
    const std::optional<std::filesystem::path> file = AskForMacroFile(host_.Window(), true);
    if (!file) {
        return;
    }
    SettingsStore& store = host_.Store();
    std::string error;
    const bool saved = all ? ExportAllMacros(store, *file, error)
                           : ExportMacro(store, macroId, listName, *file, error);
    // A file the user believes saved must not be missing without a word.
    if (!saved) {
        Trace(u"macro export: " + FromUtf8(file->string() + ": " + error));
        host_.ShowMessage(textid::kExport, textid::kFileNotSaved, 0);
    }
}

void MacroPage::ImportMacroFile(bool all) {
    const std::optional<std::filesystem::path> file = AskForMacroFile(host_.Window(), false);
    if (!file) {
        return;
    }
    SettingsStore& store = host_.Store();
    std::vector<ImportedMacro> added;
    std::string error;
    // A file that cannot be read adds nothing and says nothing; the trace keeps the reason.
    if (!(all ? ImportMacros(store, *file, added, error)
              : ImportMacro(store, *file, added, error))) {
        Trace(u"macro import: " + FromUtf8(file->string() + ": " + error));
    }
    // Every macro that was stored is listed, even when a later one of the file could not be.
    // They go to the end under the names the file gives them; the selection stays where it was.
    MacroList* list = Macros();
    MComboBox* selector = ButtonPageSelector();
    for (const ImportedMacro& macro : added) {
        if (list != nullptr) {
            list->AddString(macro.name, macro.id, -1);
        }
        if (selector != nullptr) {
            selector->AddItem(macro.name, macro.id);
        }
    }
}
