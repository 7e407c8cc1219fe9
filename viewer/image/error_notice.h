#pragma once
// How the viewer's own classes show their fixed error texts. The Windows program installs a
// message box; tools and tests keep the default, which writes the text to standard error.
// The hook is process-wide on purpose: the surfaces report errors without a caller to tell.

#include <functional>
#include <string_view>

namespace maglorin {

using ErrorNotifier = std::function<void(std::string_view text)>;

// Installs `notifier` (an empty one restores the standard-error default); returns the one it
// replaces so that a test can put it back.
ErrorNotifier SetErrorNotifier(ErrorNotifier notifier);

// Shows `text` through the installed notifier.
void NotifyError(std::string_view text);

}  // namespace maglorin
