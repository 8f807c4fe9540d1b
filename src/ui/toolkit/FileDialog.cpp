#include "ui/toolkit/FileDialog.h"

#include "ui/toolkit/UiBackend.h"

std::optional<std::filesystem::path> ShowFileDialog(MWindow* owner,
                                                    const FileDialogRequest& request) {
    return UiBackend::Current().RunFileDialog(owner, request);
}
