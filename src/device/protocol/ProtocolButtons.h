#pragma once

#include <vector>

#include "device/protocol/KeyTable.h"
#include "device/protocol/ProtocolContext.h"
#include "store/StoreRecords.h"

// What the buttons do: the key table (0x09) and the macro events behind macro assignments (0x08).
class ProtocolButtons {
public:
    explicit ProtocolButtons(ProtocolContext& context) : context_(context) {}

    // Uploads the events of macro `macroId` for `button`, in as many packets as they need. A
    // packet the mouse does not acknowledge is traced and the rest are still sent; the worker's
    // failure handling does not run. False when a packet failed, and when the macro has more
    // events than an upload can number (then nothing is sent).
    bool UploadMacro(int button, int macroId);

    // First the pending macro upload, if the button page asked for one (the pending request is
    // cleared), then the key table of the current profile.
    bool SendButtonTable();

    // The key table of the current profile: the default entries with every assignment row laid
    // over them in row order. A macro row whose macro is gone, or whose macro has more events than
    // an upload can carry (so it never reached the mouse), leaves its button's entry as it was.
    KeyTable BuildKeyTable();

private:
    ProtocolContext& context_;
};
