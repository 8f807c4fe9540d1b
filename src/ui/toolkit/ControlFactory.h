#pragma once

#include <memory>
#include <string_view>
#include <vector>

class MControl;

// Creates a control by its class name ("MButton", "DPIControl", ...); null for an unknown name.
std::unique_ptr<MControl> CreateControlOfClass(std::u16string_view className);

// Every class name CreateControlOfClass knows, in the order of its table.
std::vector<std::u16string_view> ControlClassNames();
