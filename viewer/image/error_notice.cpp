#include "error_notice.h"

#include <cstdio>
#include <utility>

namespace maglorin {

namespace {

void WriteToStandardError(std::string_view text) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
}

// The one installed notifier; see the header for why it is process-wide.
ErrorNotifier& InstalledNotifier() {
    static ErrorNotifier notifier;
    return notifier;
}

}  // namespace

ErrorNotifier SetErrorNotifier(ErrorNotifier notifier) {
    return std::exchange(InstalledNotifier(), std::move(notifier));
}

void NotifyError(std::string_view text) {
    const ErrorNotifier& notifier = InstalledNotifier();
    if (notifier) {
        notifier(text);
    } else {
        WriteToStandardError(text);
    }
}

}  // namespace maglorin
