#pragma once

#include <string>

#include "store/StoreRecords.h"

namespace keys {

// The text the button list shows for a stored assignment, in the current language: the
// language text of the function for mouse, multimedia, further device and system functions,
// the repeat function's and the disabled button's own texts, a macro's name with its custom
// and copy words in the current language; keyboard and DPI assignments (and values without a
// text) keep the text stored when they were made.
std::u16string AssignmentDisplayName(const KeyAssignmentRecord& record);

}  // namespace keys
