#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// A hidraw node came or went, as the device-change handler sees it.
struct HidEvent {
    int event = 0;                 // kHidArrival or kHidRemoval
    std::u16string interfaceName;  // see HidInterfaceName
    std::string devnode;           // "/dev/hidraw3"
};

inline constexpr int kHidArrival = 0x8000;
inline constexpr int kHidRemoval = 0x8004;

// Turns udev's "add" and "remove" actions on hidraw nodes into arrival and removal events.
//
// By the time a removal arrives the node's parents may be gone, so the interface name built then
// can lack vendor, product or interface. The translator therefore remembers the name of every node
// it saw arrive (or was told about at start) and gives that name to the node's removal.
//
// Not thread-safe: one thread (the monitor's) owns it.
class HidEventTranslator {
public:
    // A node present before monitoring started.
    void Remember(const std::string& devnode, const std::u16string& interfaceName);

    // `action` is udev's action text; `interfaceName` is the name built from what udev shows of
    // the node now (empty when it cannot be built). Gives nothing for other actions, for a node
    // without devnode and for a node that has no name (neither now nor remembered). A removal
    // forgets the node, so a later node with the same devnode starts afresh.
    std::optional<HidEvent> Translate(std::string_view action, const std::string& devnode,
                                      const std::u16string& interfaceName);

    // The remembered name of a node, empty when none.
    std::u16string KnownName(const std::string& devnode) const;

private:
    std::map<std::string, std::u16string> names_;  // devnode -> name of the present node
};

}  // namespace platform
