#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <optional>

#include "support/TempDir.h"
#include "ui/qt/QtTestDialog.h"
#include "ui/toolkit/FileDialog.h"

namespace {

// Answers the file dialog that will run next: `answer` is given the open dialog and picks or
// cancels; `seen` keeps whether a modal file dialog was there at all.
void AnswerNextFileDialog(std::function<void(QFileDialog&)> answer, bool& seen) {
    QTimer::singleShot(0, [answer = std::move(answer), &seen] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        seen = dialog != nullptr && dialog->isModal();
        if (dialog != nullptr) {
            answer(*dialog);
        }
    });
}

TEST(QtFileDialogTest, ASaveDialogOffersTheFilterAndAddsItsExtension) {
    TempDir dir;
    QtTestDialog owner;
    ASSERT_TRUE(owner.Open(nullptr));
    FileDialogRequest request;
    request.save = true;
    request.title = u"Export macros";
    request.filterName = u"XML files";
    request.patterns = {u"*.xml"};
    request.initial = dir.Path() / "macros.xml";

    bool seen = false;
    QStringList filters;
    QString folder;
    AnswerNextFileDialog(
        [&](QFileDialog& d) {
            filters = d.nameFilters();
            folder = d.directory().absolutePath();
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Export macros"));
            EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
            d.selectFile(QString::fromStdString((dir.Path() / "left").string()));
            // As the Save button does.
            static_cast<QDialog&>(d).accept();
        },
        seen);
    EXPECT_EQ(ShowFileDialog(&owner, request), dir.Path() / "left.xml");
    EXPECT_TRUE(seen);
    EXPECT_EQ(filters, QStringList{QStringLiteral("XML files (*.xml)")});
    EXPECT_EQ(folder, QString::fromStdString(dir.Path().string()));
}

TEST(QtFileDialogTest, ACancelledOpenDialogChoosesNothing) {
    TempDir dir;
    FileDialogRequest request;
    request.filterName = u"Profiles";
    request.patterns = {u"*.xml", u"*.kpf"};
    request.initial = dir.Path();
    bool seen = false;
    QString filter;
    AnswerNextFileDialog(
        [&](QFileDialog& d) {
            filter = d.nameFilters().value(0);
            EXPECT_EQ(d.fileMode(), QFileDialog::ExistingFile);
            d.reject();
        },
        seen);
    EXPECT_EQ(ShowFileDialog(nullptr, request), std::nullopt);
    EXPECT_TRUE(seen);
    EXPECT_EQ(filter, QStringLiteral("Profiles (*.xml *.kpf)"));
}

}  // namespace
