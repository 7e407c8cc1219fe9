#pragma once
// The one routine every message of setup goes through: a message box over the active window
// (or the foreground window, brought to the front again afterwards) when the user interface is
// enabled, the debugger output when the run is quiet. Every message is written to the log too.

#include <windows.h>

#include <string>
#include <string_view>

#include "setup_log.h"
#include "setup_string_ids.h"
#include "user_messages.h"

namespace maglorin {

class MessageRoutine final : public UserMessages {
public:
    explicit MessageRoutine(SetupLog& log) : log_(log) {}

    void SetUserInterfaceEnabled(bool enabled) { userInterfaceEnabled_ = enabled; }
    bool UserInterfaceEnabled() const { return userInterfaceEnabled_; }
    // Texts are loaded from here (the program itself while null).
    void SetTextSource(HMODULE source) { textSource_ = source; }
    std::wstring Text(SetupStringId id) const;

    // An error box with the system's default caption.
    void ShowError(PathTextView text) override { Show(text, MB_ICONERROR, false); }
    void Show(std::wstring_view text, UINT icon, bool topmost, const wchar_t* caption = nullptr);

    // The message of a reader or extraction result (none for 0, 10 and 14); answers the exit
    // code the result gives.
    [[nodiscard]] int ShowResult(int result);

private:
    SetupLog& log_;
    HMODULE textSource_ = nullptr;
    bool userInterfaceEnabled_ = true;
};

}  // namespace maglorin
