#pragma once
// How extraction tells the user about a failure it handles itself (the JAR unpacking's texts).
// In setup a message box when the user interface is enabled, the debugger output otherwise
// (win32/system_dialogs_win32.h); tests record the texts.

#include "extraction_paths.h"

namespace maglorin {

class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual void ShowError(PathTextView text) = 0;
};

}  // namespace maglorin
