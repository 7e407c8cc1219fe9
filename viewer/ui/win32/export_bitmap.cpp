// Export BMP: the current frame saved as a 24-bit bitmap, or as a PNG picture when that file type
// is chosen or the name ends in ".png". Either file is written under a temporary name beside the
// target and takes its name only once complete. The frame timer is stopped while the dialogs are
// open, so no frame is drawn into the surface meanwhile, and started again on every way out.
#include <windows.h>

#include <filesystem>

#include "image/clsFileBMP.h"
#include "image/picture_decoder.h"
#include "ui/export_format.h"
#include "ui/win32/clsCommonDialog.h"
#include "ui/win32/frmMain.h"
#include "ui/win32/text_encoding.h"

namespace maglorin::win32 {

namespace {

// Restarts the frame timer when the export ends, however it ends.
class TimerPause {
public:
    TimerPause(WindowTimer& timer, HWND window) : timer_(timer), window_(window), wasRunning_(timer.Running()) {
        timer_.Stop();
    }
    ~TimerPause() {
        if (wasRunning_ && IsWindow(window_)) timer_.Start(window_, 1, 1);
    }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    WindowTimer& timer_;
    HWND window_;
    bool wasRunning_;
};

bool FileThere(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes the frame in `format`; false with the reason in `error` when it could not be written.
bool WriteFrame(const std::wstring& name, ExportFormat format, const Scene& scene, std::wstring& error) {
    if (format == ExportFormat::Png) {
        const DecodedPicture picture = FramePicture(scene.FrameSurface, scene.ClipRight, scene.ClipBottom);
        if (picture.Empty()) {
            error = L"the frame has no pixels";
            return false;
        }
        if (!WritePicturePng(std::filesystem::path(name), picture)) {
            error = L"cannot write the PNG file";
            return false;
        }
        return true;
    }
    clsFileBMP writer;
    if (!writer.WriteBMP24(std::filesystem::path(name), scene.FrameSurface, scene.ClipRight, scene.ClipBottom)) {
        error = Utf8ToWide(writer.LastError());
        return false;
    }
    return true;
}

}  // namespace

void frmMain::mnuExportBMP_Click() {
    if (scene_.ModelLoaded == kFalse16) return;
    TimerPause pause(tmrProcess_, window_);
    clsCommonDialog SharedDialog;
    SharedDialog.hWnd(window_);
    std::wstring name;
    ExportFormat format = ExportFormat::Bmp;
    for (;;) {
        SharedDialog.Filter(kExportFilter);
        SharedDialog.DefaultExt(L".bmp");
        SharedDialog.DialogTitle(L"Save Bitmap");
        SharedDialog.InitDir(!settings_.exportFolder.empty() ? settings_.exportFolder : PicturesFolder());
        SharedDialog.ShowSave();
        name = SharedDialog.FileName();
        if (name.empty() || closing_) return;
        format = ChooseExportFormat(SharedDialog.FilterIndex(), name);
        if (!FileThere(name)) break;
        const int answer = Message(name + L" already exists.\r\nDo you want to replace it.", MB_YESNO);
        // Yes: the existing file is not deleted beforehand; the new one takes its name only once
        // it is complete, so a write that fails leaves it as it was.
        if (answer == IDYES) break;
    }
    settings_.exportFolder = FolderOfPath(name);
    // A failed write leaves no partial file behind (the writer removes it) and is told here
    // instead of ending the program.
    std::wstring error;
    if (!WriteFrame(name, format, scene_, error)) {
        Message(L"The frame could not be saved as\r\n" + name + L"\r\n" + error, MB_OK | MB_ICONERROR);
        return;
    }
    Message(name + L"\r\n saved.", MB_OK);
}

}  // namespace maglorin::win32
