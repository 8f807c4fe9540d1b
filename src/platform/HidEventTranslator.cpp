#include "platform/HidEventTranslator.h"

namespace platform {

void HidEventTranslator::Remember(const std::string& devnode, const std::u16string& interfaceName) {
    if (devnode.empty()) {
        return;
    }
    if (interfaceName.empty()) {
        names_.erase(devnode);
    } else {
        names_[devnode] = interfaceName;
    }
}

std::optional<HidEvent> HidEventTranslator::Translate(std::string_view action,
                                                      const std::string& devnode,
                                                      const std::u16string& interfaceName) {
    if (devnode.empty()) {
        return std::nullopt;
    }
    if (action == "add") {
        // A node whose removal was missed may come back under the same devnode: the new name wins.
        Remember(devnode, interfaceName);
        if (interfaceName.empty()) {
            return std::nullopt;
        }
        return HidEvent{kHidArrival, interfaceName, devnode};
    }
    if (action == "remove") {
        // The name seen at arrival is the trustworthy one; what udev still shows is the fallback.
        std::u16string name = KnownName(devnode);
        names_.erase(devnode);
        if (name.empty()) {
            name = interfaceName;
        }
        if (name.empty()) {
            return std::nullopt;
        }
        return HidEvent{kHidRemoval, std::move(name), devnode};
    }
    return std::nullopt;
}

std::u16string HidEventTranslator::KnownName(const std::string& devnode) const {
    const auto found = names_.find(devnode);
    return found == names_.end() ? std::u16string() : found->second;
}

}  // namespace platform
