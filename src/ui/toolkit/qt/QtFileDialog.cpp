#include "ui/toolkit/qt/QtFileDialog.h"

#include <QFileDialog>
#include <QStringList>

#include "ui/toolkit/qt/QtString.h"

namespace {

// "XML files (*.xml)"; every file when the request names no pattern.
QString NameFilter(const FileDialogRequest& request) {
    QStringList patterns;
    for (const std::u16string& pattern : request.patterns) {
        patterns.push_back(ToQString(pattern));
    }
    if (patterns.isEmpty()) {
        patterns.push_back(QStringLiteral("*"));
    }
    return QStringLiteral("%1 (%2)").arg(ToQString(request.filterName), patterns.join(u' '));
}

// "xml" for a first pattern "*.xml"; empty when it is not of that form.
QString Suffix(const FileDialogRequest& request) {
    if (request.patterns.empty()) {
        return {};
    }
    const QString first = ToQString(request.patterns.front());
    const QString suffix = first.mid(2);
    if (!first.startsWith(QStringLiteral("*.")) || suffix.isEmpty() || suffix.contains(u'*') ||
        suffix.contains(u'?')) {
        return {};
    }
    return suffix;
}

QString ToQPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

}  // namespace

std::optional<std::filesystem::path> RunQtFileDialog(QWidget* parent,
                                                     const FileDialogRequest& request) {
    QFileDialog dialog(parent, ToQString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(NameFilter(request));
    if (request.save) {
        dialog.setDefaultSuffix(Suffix(request));
    }
    if (!request.initial.empty()) {
        std::error_code error;
        if (std::filesystem::is_directory(request.initial, error)) {
            dialog.setDirectory(ToQPath(request.initial));
        } else {
            // A suggested file: its folder, with its name filled in.
            if (request.initial.has_parent_path()) {
                dialog.setDirectory(ToQPath(request.initial.parent_path()));
            }
            dialog.selectFile(ToQPath(request.initial.filename()));
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(chosen.front().toStdString());
}
