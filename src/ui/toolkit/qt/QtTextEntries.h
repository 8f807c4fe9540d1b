#pragma once

#include <QString>
#include <map>

#include "ui/toolkit/MControl.h"

class MDialog;
class QLineEdit;
class QtEntryEdit;
class QtWindowWidget;

// The real text editing of a dialog's edit controls: one QLineEdit over every control whose
// IsTextEntry() is true, kept in step with the control model at each repaint, and the user's
// edits handed to MDialog::EnterText. User-interface thread only.
class QtTextEntries {
public:
    explicit QtTextEntries(QtWindowWidget& host);
    QtTextEntries(const QtTextEntries&) = delete;
    QtTextEntries& operator=(const QtTextEntries&) = delete;

    // Creates, places and updates the line edits from the dialog's controls.
    void Sync(MDialog& dialog);
    // Forgets the controls (the dialog is going away); the line edits stay inert until the host
    // widget deletes them.
    void Clear();
    // The line edit over `control`; null when it has none (yet).
    QLineEdit* EditOf(const MControl* control) const;

private:
    struct Entry {
        QtEntryEdit* edit = nullptr;  // a child of the host widget
        QString lastTyped;            // the text of the user's last edit
        TextEntryInfo info;
        bool configured = false;
    };

    Entry& Make(MControl* control);
    void Update(MControl* control, Entry& entry);
    void FollowFocus(MControl* focus);
    // The handlers of the line edit's signals.
    void Edited(MControl* control, const QString& text);
    void Finished(MControl* control, const QString& text);
    void FocusedByUser(MControl* control);

    QtWindowWidget& host_;
    std::map<const MControl*, Entry> entries_;
    MControl* modelFocus_ = nullptr;  // the dialog's focus control at the last Sync
};
