#pragma once
// How a result code of the package reader or of extraction ends a run: the message shown (none
// for a declined disk-space question and for a cancel) and the exit code (-1 for a cancel by
// the user, 1 for every failure, 0 for success).

#include <optional>

#include "setup_string_ids.h"

namespace maglorin {

std::optional<SetupStringId> ResultMessage(int result);
int ExitCodeForResult(int result);

}  // namespace maglorin
