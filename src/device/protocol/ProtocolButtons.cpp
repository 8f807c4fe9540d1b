#include "device/protocol/ProtocolButtons.h"

#include <algorithm>
#include <cstddef>

#include "device/protocol/AssignmentTables.h"
#include "device/protocol/CommandCodes.h"
#include "device/protocol/MacroEncoding.h"
#include "device/transport/Trace.h"

namespace {

EncodedMacro EncodeStoredMacro(SettingsStore& store, int button, int macroId) {
    std::vector<MacroEventRecord> events;
    store.ListMacroEvents(macroId, events);
    return EncodeMacroEvents(button, events);
}

}  // namespace

bool ProtocolButtons::UploadMacro(int button, int macroId) {
    const EncodedMacro macro = EncodeStoredMacro(context_.Store(), button, macroId);
    std::vector<RequestReport> packets = MacroPackets(macro);
    if (packets.empty()) {
        TraceFormat(u"0x08: macro %d has %d events, more than %d: not sent", macroId,
                    macro.eventCount, kMacroMaxEvents);
        return false;
    }
    bool allSent = true;
    for (RequestReport& packet : packets) {
        if (!context_.Exchange(packet, RequestReport::kShortLength)) {
            Trace(u"0x08: 设置按键宏数据失败!");
            allSent = false;
        }
    }
    return allSent;
}

KeyTable ProtocolButtons::BuildKeyTable() {
    SettingsStore& store = context_.Store();
    std::vector<KeyAssignmentRecord> assignments;
    store.ListKeyAssignments(context_.Profile(), 0, assignments);
    std::vector<MacroRecord> macros;
    store.ListMacros(macros);

    // Only macros an upload can carry are offered to the table.
    std::vector<MacroRecord> sendable;
    for (const MacroRecord& macro : macros) {
        const bool assigned = std::any_of(
            assignments.begin(), assignments.end(), [&](const KeyAssignmentRecord& record) {
                return record.macro_type == kAssignMacro && record.macro_value == macro.macro_id;
            });
        if (assigned && EncodeStoredMacro(store, 0, macro.macro_id).eventCount <= kMacroMaxEvents) {
            sendable.push_back(macro);
        }
    }

    KeyTable table;
    table.Apply(assignments, sendable);
    return table;
}

bool ProtocolButtons::SendButtonTable() {
    int button = -1;
    if (context_.State().TakePendingMacro(button)) {
        SettingsStore& store = context_.Store();
        std::vector<KeyAssignmentRecord> assignments;
        store.ListKeyAssignments(context_.Profile(), 0, assignments);
        std::vector<MacroRecord> macros;
        store.ListMacros(macros);
        for (const KeyAssignmentRecord& record : assignments) {
            if (record.macro_type != kAssignMacro || record.key_code != button) {
                continue;
            }
            const bool exists = std::any_of(
                macros.begin(), macros.end(),
                [&](const MacroRecord& macro) { return macro.macro_id == record.macro_value; });
            if (exists) {
                UploadMacro(button, record.macro_value);
            }
        }
    }

    const KeyTable table = BuildKeyTable();
    // The request has room for 27 table bytes before the checksum byte (key codes 0 to 8); the
    // bytes after it are not written.
    RequestReport request = RequestReport::Write(kCommandButtonTable, 0x0F);
    const auto& bytes = table.Bytes();
    for (std::size_t i = 0; i + RequestReport::kPayloadStart < RequestReport::kSize; ++i) {
        request.Set(RequestReport::kPayloadStart + i, bytes[i]);
    }
    return context_.SendWrite(request, RequestReport::kShortLength, u"0x09: 设置按键功能失败");
}
