#pragma once
// The "Multiple Instances" dialog: the installed instances with their product name and install
// location, and the choice between a new instance and maintaining a selected one.

#include <windows.h>

#include <optional>
#include <string>

#include "instance_choice.h"

namespace maglorin {

// Modal over `owner` (may be null). nullopt when the user cancels. OK stays unavailable while
// the second choice is taken and no row is selected.
std::optional<InstanceDialogChoice> ShowInstancesDialog(HWND owner, const InstanceSelection& selection,
                                                        const std::u16string& productName);

}  // namespace maglorin
