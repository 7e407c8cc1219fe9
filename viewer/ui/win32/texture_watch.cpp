#include "ui/win32/texture_watch.h"

#include "ui/win32/text_encoding.h"

namespace maglorin::win32 {

bool TextureWatch::Start(const std::wstring& path) {
    Stop();
    const std::wstring folder = FolderOfPath(path);
    if (path.empty() || folder.empty()) return false;
    ChangeNotificationHandle notification(FindFirstChangeNotificationW(
        folder.c_str(), FALSE, FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE));
    if (!notification) return false;
    notification_ = std::move(notification);
    path_ = path;
    plan_.Start(ReadStamp());
    return true;
}

void TextureWatch::Stop() {
    notification_.Reset();
    path_.clear();
    plan_.Stop();
}

FileStamp TextureWatch::ReadStamp() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return FileStamp{};
    }
    FileStamp stamp;
    stamp.present = true;
    stamp.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    stamp.writeTime = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return stamp;
}

bool TextureWatch::ReloadDue() {
    if (!notification_) return false;
    const std::uint64_t now = GetTickCount64();
    if (WaitForSingleObject(notification_.Get(), 0) == WAIT_OBJECT_0) {
        // Armed again before the file is looked at, so a change after the look is signalled.
        if (!FindNextChangeNotification(notification_.Get())) {
            Stop();
            return false;
        }
        plan_.FolderChanged(ReadStamp(), now);
    }
    if (!plan_.CheckDue(now)) return false;
    readStamp_ = ReadStamp();
    return plan_.ReadNow(readStamp_, now);
}

void TextureWatch::Decoded(bool ok) { plan_.Decoded(readStamp_, ok, GetTickCount64()); }

}  // namespace maglorin::win32
