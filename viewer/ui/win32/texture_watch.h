#pragma once
// Follows the picture file shown on the model: the system signals a change in the file's folder
// (a name, size or write time changed); only then is the file's own size and write time read.
// Each frame tick asks ReloadDue, which costs one zero-timeout wait while nothing changed.

#include <windows.h>

#include <string>

#include "ui/texture_reload.h"
#include "win32_handles.h"

namespace maglorin::win32 {

class TextureWatch {
public:
    // Follows `path` from now on (the previous file no longer); false when its folder cannot be
    // watched, which leaves nothing followed.
    bool Start(const std::wstring& path);
    void Stop();
    bool Watching() const { return static_cast<bool>(notification_); }
    const std::wstring& Path() const { return path_; }

    // True when the file changed and is to be decoded now; the caller reports the outcome.
    [[nodiscard]] bool ReloadDue();
    void Decoded(bool ok);

private:
    FileStamp ReadStamp() const;

    ChangeNotificationHandle notification_;
    std::wstring path_;
    TextureReloadPlan plan_;
    FileStamp readStamp_;  // the version handed out by the last ReloadDue
};

}  // namespace maglorin::win32
