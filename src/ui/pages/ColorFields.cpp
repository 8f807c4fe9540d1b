#include "ui/pages/ColorFields.h"

#include <algorithm>

#include "text/Format.h"
#include "ui/toolkit/controls/MEdit.h"

namespace {

int ClampComponent(int value) {
    return std::clamp(value, 0, kColorComponentMax);
}

// The field's number within 0-255, written back when it was outside.
int ReadComponent(MEdit* field) {
    if (field == nullptr) {
        return 0;
    }
    const int value = field->GetInt();
    const int clamped = ClampComponent(value);
    if (clamped != value) {
        field->SetTitle(Format(u"%d", clamped));
    }
    return clamped;
}

}  // namespace

std::uint32_t ColorFromComponents(int red, int green, int blue) {
    return static_cast<std::uint32_t>(ClampComponent(red)) |
           static_cast<std::uint32_t>(ClampComponent(green)) << 8 |
           static_cast<std::uint32_t>(ClampComponent(blue)) << 16;
}

void ShowColorInFields(const std::array<MEdit*, 3>& fields, std::uint32_t color) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] != nullptr) {
            fields[i]->SetTitle(Format(u"%d", (color >> (8 * i)) & 0xFFu));
        }
    }
}

std::uint32_t ReadColorFields(const std::array<MEdit*, 3>& fields) {
    return ColorFromComponents(ReadComponent(fields[0]), ReadComponent(fields[1]),
                               ReadComponent(fields[2]));
}
