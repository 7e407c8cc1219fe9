#pragma once
// The open and save file dialogs of the system behind a few string properties. Each ShowOpen or
// ShowSave runs one modal dialog; a cancelled dialog and a failing dialog both leave FileName
// empty.

#include <windows.h>

#include <string>

namespace maglorin::win32 {

class clsCommonDialog {
public:
    clsCommonDialog() = default;

    HWND hWnd() const { return owner_; }
    void hWnd(HWND NewhWnd) { owner_ = NewhWnd; }
    const std::wstring& InitDir() const { return initDir_; }
    void InitDir(const std::wstring& NewInitDir) { initDir_ = NewInitDir; }
    const std::wstring& DialogTitle() const { return title_; }
    void DialogTitle(const std::wstring& NewTitle) { title_ = NewTitle; }
    // With or without the leading dot (".bmp" or "bmp").
    const std::wstring& DefaultExt() const { return defaultExt_; }
    void DefaultExt(const std::wstring& NewExt) { defaultExt_ = NewExt; }
    const std::wstring& FileName() const { return fileName_; }
    void FileName(const std::wstring& NewFileName) { fileName_ = NewFileName; }
    // "Description|pattern|..." as the window writes it (see ConvertFilter).
    const std::wstring& Filter() const { return filter_; }
    void Filter(const std::wstring& strFilter);

    // Open: the chosen file must exist. Both return true when a file was chosen.
    bool ShowOpen();
    // Save: the folder must exist; the default extension is added to a name typed without one
    // (with several file types, that of the type chosen, or DefaultExt when it names none).
    bool ShowSave();
    // The file type chosen in the last dialog, counted from 1 in the order of `Filter`.
    unsigned FilterIndex() const { return filterIndex_; }

private:
    bool Show(bool save);

    HWND owner_ = nullptr;
    std::wstring initDir_;
    std::wstring title_;
    std::wstring defaultExt_;
    std::wstring fileName_;
    std::wstring filter_;
    std::wstring systemFilter_;  // NUL-separated form handed to the system
    unsigned filterIndex_ = 1;
};

}  // namespace maglorin::win32
