#include "ui/win32/clsCommonDialog.h"

#include <commdlg.h>

#include <vector>

#include "ui/dialog_filter.h"

namespace maglorin::win32 {

namespace {

// Room for the longest path the system allows (extended-length paths included).
constexpr std::size_t kPathCapacity = 32768;

std::wstring Trimmed(const std::wstring& text) {
    const std::size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos) return std::wstring();
    const std::size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

void clsCommonDialog::Filter(const std::wstring& strFilter) {
    filter_ = strFilter;
    systemFilter_ = ConvertFilter(strFilter);
}

bool clsCommonDialog::ShowOpen() { return Show(false); }

bool clsCommonDialog::ShowSave() { return Show(true); }

bool clsCommonDialog::Show(bool save) {
    std::vector<wchar_t> file(kPathCapacity, L'\0');
    const std::wstring start = Trimmed(fileName_);
    if (start.size() < file.size()) std::copy(start.begin(), start.end(), file.begin());
    const std::wstring ext = (!defaultExt_.empty() && defaultExt_.front() == L'.')
                                 ? defaultExt_.substr(1)
                                 : defaultExt_;

    OPENFILENAMEW record{};
    record.lStructSize = sizeof(record);
    record.hwndOwner = owner_;
    record.hInstance = GetModuleHandleW(nullptr);
    record.lpstrFilter = systemFilter_.empty() ? nullptr : systemFilter_.c_str();
    record.nFilterIndex = 0;  // the first filter is preselected
    record.lpstrFile = file.data();
    record.nMaxFile = static_cast<DWORD>(file.size());
    record.lpstrInitialDir = initDir_.empty() ? nullptr : initDir_.c_str();
    record.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    record.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    record.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!save) record.Flags |= OFN_FILEMUSTEXIST;
    // A save dialog offering several file types adds the extension of the type chosen, which the
    // system cannot be told reliably: the name comes back as typed and the extension is added here.
    const bool typeExtension = save && !ext.empty() && FilterEntryCount(filter_) > 1;
    if (typeExtension) record.lpstrDefExt = nullptr;

    const BOOL chosen = save ? GetSaveFileNameW(&record) : GetOpenFileNameW(&record);
    fileName_ = chosen ? Trimmed(std::wstring(file.data())) : std::wstring();
    filterIndex_ = chosen && record.nFilterIndex != 0 ? record.nFilterIndex : 1;
    if (typeExtension && !fileName_.empty()) {
        const std::wstring typeExt = FilterDefaultExtension(filter_, filterIndex_);
        fileName_ = WithDefaultExtension(fileName_, typeExt.empty() ? ext : typeExt);
    }
    return !fileName_.empty();
}

}  // namespace maglorin::win32
