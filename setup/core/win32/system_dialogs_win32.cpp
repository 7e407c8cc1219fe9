#include "system_dialogs_win32.h"

#include <windows.h>

namespace maglorin {

std::optional<std::uint64_t> SystemFreeSpace::FreeBytes(PathTextView path) {
    const PathText text(path);
    ULARGE_INTEGER available{};
    if (!::GetDiskFreeSpaceExW(text.c_str(), &available, nullptr, nullptr)) {
        return std::nullopt;
    }
    return available.QuadPart;
}

bool MessageBoxRetryPrompt::AskRetry(PathTextView text) {
    const PathText message(text);
    return ::MessageBoxW(::GetActiveWindow(), message.c_str(), nullptr, MB_RETRYCANCEL | MB_ICONERROR) == IDRETRY;
}

void SystemUserMessages::ShowError(PathTextView text) {
    const PathText message(text);
    if (userInterfaceEnabled_) {
        ::MessageBoxW(::GetActiveWindow(), message.c_str(), nullptr, MB_OK | MB_ICONERROR);
    } else {
        ::OutputDebugStringW(message.c_str());
    }
}

}  // namespace maglorin
