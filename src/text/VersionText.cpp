#include "text/VersionText.h"

#include "text/Format.h"

std::u16string ReleaseVersionText(int releaseNumber) {
    const std::u16string hex = Format(u"%x", static_cast<unsigned>(releaseNumber));
    const std::u16string first = hex.substr(0, 1);
    const std::u16string lastTwo = hex.size() > 2 ? hex.substr(hex.size() - 2) : hex;
    return first + u"." + lastTwo;
}
