#include "ui/toolkit/qt/QtTextEntries.h"

#include <QPalette>
#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include "ui/toolkit/MDialog.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/qt/QtEntryEdit.h"
#include "ui/toolkit/qt/QtPainter.h"
#include "ui/toolkit/qt/QtString.h"
#include "ui/toolkit/qt/QtWindowWidget.h"

namespace {

// QLineEdit's own limit, used when the control sets none.
constexpr int kNoLengthLimit = 32767;

Qt::Alignment HorizontalAlignment(unsigned align) {
    if ((align & kAlignRight) != 0) {
        return Qt::AlignRight;
    }
    if ((align & kAlignCenter) != 0) {
        return Qt::AlignHCenter;
    }
    return Qt::AlignLeft;
}

// White text on the control's own background; the selection in the toolkit's colour.
QPalette EntryPalette() {
    QPalette palette;
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Window, Qt::transparent);
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Disabled, QPalette::Text, ToQColor(kGrey));
    palette.setColor(QPalette::Highlight, ToQColor(Manager::GetSelectionColor()));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

bool SameInfo(const TextEntryInfo& a, const TextEntryInfo& b) {
    return a.digitsOnly == b.digitsOnly && a.maxLength == b.maxLength && a.password == b.password;
}

}  // namespace

QtTextEntries::QtTextEntries(QtWindowWidget& host) : host_(host) {
}

QLineEdit* QtTextEntries::EditOf(const MControl* control) const {
    auto found = entries_.find(control);
    return found != entries_.end() ? found->second.edit : nullptr;
}

void QtTextEntries::Clear() {
    entries_.clear();
    modelFocus_ = nullptr;
}

void QtTextEntries::Sync(MDialog& dialog) {
    std::lock_guard<std::recursive_mutex> lock(dialog.GetLock());
    for (MControl* control : dialog.GetControls()) {
        auto found = entries_.find(control);
        if (!control->IsTextEntry()) {
            if (found != entries_.end()) {
                found->second.edit->hide();
            }
            continue;
        }
        Update(control, found != entries_.end() ? found->second : Make(control));
    }
    FollowFocus(dialog.GetFocusControl());
}

QtTextEntries::Entry& QtTextEntries::Make(MControl* control) {
    auto* edit = new QtEntryEdit(
        &host_, [this, control] { FocusedByUser(control); },
        [this](const QKeyEvent& event) { host_.ForwardKeyboardKey(event); });
    edit->setFrame(false);
    edit->setAutoFillBackground(false);
    edit->setPalette(EntryPalette());
    edit->hide();
    QObject::connect(edit, &QLineEdit::textEdited, &host_,
                     [this, control](const QString& text) { Edited(control, text); });
    QObject::connect(edit, &QLineEdit::editingFinished, &host_,
                     [this, control, edit] { Finished(control, edit->text()); });
    Entry& entry = entries_[control];
    entry.edit = edit;
    return entry;
}

void QtTextEntries::Update(MControl* control, Entry& entry) {
    QtEntryEdit* edit = entry.edit;
    const QRect rect = ToQRect(control->GetTextEntryRect());
    if (edit->geometry() != rect) {
        edit->setGeometry(rect);
    }
    edit->setEnabled(control->IsEnabled());

    const TextEntryInfo info = control->GetTextEntryInfo();
    if (!entry.configured || !SameInfo(info, entry.info)) {
        const QValidator* old = edit->validator();
        edit->setValidator(info.digitsOnly ? new QRegularExpressionValidator(
                                                 QRegularExpression(QStringLiteral("[0-9]*")), edit)
                                           : nullptr);
        delete old;
        edit->setMaxLength(info.maxLength > 0 ? info.maxLength : kNoLengthLimit);
        edit->setEchoMode(info.password ? QLineEdit::Password : QLineEdit::Normal);
        entry.info = info;
        entry.configured = true;
    }

    if (const auto* fontControl = dynamic_cast<const MControlFont*>(control)) {
        const QFont font = QtPainter::ToQFont(fontControl->GetFont());
        if (edit->font() != font) {
            edit->setFont(font);
        }
        const Qt::Alignment align =
            HorizontalAlignment(fontControl->GetAlignment()) | Qt::AlignVCenter;
        if (edit->alignment() != align) {
            edit->setAlignment(align);
        }
    }

    // The model's text wins unless it is what the user is typing right now: replacing that would
    // move the cursor under the user's fingers.
    const QString text = ToQString(control->GetEntryText());
    if (edit->text() != text && (!edit->hasFocus() || text != entry.lastTyped)) {
        edit->setText(text);
        entry.lastTyped = text;
    }
    edit->setVisible(control->IsShown());
}

void QtTextEntries::FollowFocus(MControl* focus) {
    if (focus == modelFocus_) {
        return;
    }
    modelFocus_ = focus;
    // The page moved the focus: into a line edit, or out of the one that has it.
    if (QLineEdit* edit = EditOf(focus); edit != nullptr && edit->isEnabled()) {
        if (!edit->hasFocus()) {
            edit->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    for (auto& [control, entry] : entries_) {
        if (entry.edit->hasFocus()) {
            host_.setFocus(Qt::OtherFocusReason);
            break;
        }
    }
}

void QtTextEntries::Edited(MControl* control, const QString& text) {
    host_.Dispatch([&](MWindow& window) {
        auto found = entries_.find(control);
        auto* dialog = dynamic_cast<MDialog*>(&window);
        if (found == entries_.end() || dialog == nullptr) {
            return;
        }
        found->second.lastTyped = text;
        dialog->EnterText(control, FromQString(text), false);
    });
}

// Editing also ends when the line edit loses the focus, which happens inside calls the page
// makes (hiding the window, disabling the control); the control hears of it afterwards.
void QtTextEntries::Finished(MControl* control, const QString& text) {
    QMetaObject::invokeMethod(
        &host_,
        [this, control, text] {
            host_.Dispatch([&](MWindow& window) {
                if (auto* dialog = dynamic_cast<MDialog*>(&window);
                    dialog != nullptr && entries_.count(control) != 0) {
                    dialog->EnterText(control, FromQString(text), true);
                }
            });
        },
        Qt::QueuedConnection);
}

void QtTextEntries::FocusedByUser(MControl* control) {
    QMetaObject::invokeMethod(
        &host_,
        [this, control] {
            host_.Dispatch([&](MWindow& window) {
                auto* dialog = dynamic_cast<MDialog*>(&window);
                if (dialog == nullptr || entries_.count(control) == 0) {
                    return;
                }
                control->OnFocus();
                dialog->DeliverNotifications();
            });
        },
        Qt::QueuedConnection);
}
