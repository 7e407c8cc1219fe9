#include "ui/dialog_filter.h"

#include <algorithm>
#include <string>

namespace maglorin {

std::wstring ConvertFilter(std::wstring_view filter) {
    std::wstring list(filter);
    if (list.empty() || list.back() != L'|') list.push_back(L'|');
    std::replace(list.begin(), list.end(), L'|', L'\0');
    return list;
}

unsigned FilterEntryCount(std::wstring_view filter) {
    if (!filter.empty() && filter.back() == L'|') filter.remove_suffix(1);
    if (filter.empty()) return 0;
    const auto bars = static_cast<unsigned>(std::count(filter.begin(), filter.end(), L'|'));
    return (bars + 1) / 2;
}

std::wstring WithDefaultExtension(std::wstring_view name, std::wstring_view extension) {
    std::wstring completed(name);
    const std::size_t separator = name.find_last_of(L"\\/");
    const std::size_t start = separator == std::wstring_view::npos ? 0 : separator + 1;
    if (extension.empty() || start >= name.size() || name.find(L'.', start) != std::wstring_view::npos) {
        return completed;
    }
    completed += L'.';
    completed += extension;
    return completed;
}

std::wstring FilterDefaultExtension(std::wstring_view filter, unsigned index) {
    if (index == 0) return std::wstring();
    // Entries are description|pattern pairs: the pattern of entry `index` is field 2 * index - 1.
    std::size_t start = 0;
    for (unsigned field = 0; field + 1 < 2 * index; ++field) {
        const std::size_t bar = filter.find(L'|', start);
        if (bar == std::wstring_view::npos) return std::wstring();
        start = bar + 1;
    }
    std::wstring_view patterns = filter.substr(start);
    patterns = patterns.substr(0, patterns.find(L'|'));
    std::wstring_view first = patterns.substr(0, patterns.find_first_of(L";,"));
    while (!first.empty() && first.back() == L' ') first.remove_suffix(1);
    while (!first.empty() && first.front() == L' ') first.remove_prefix(1);
    if (first.size() < 3 || first.substr(0, 2) != L"*.") return std::wstring();
    const std::wstring_view extension = first.substr(2);
    if (extension.find_first_of(L"*?.") != std::wstring_view::npos) return std::wstring();
    return std::wstring(extension);
}

}  // namespace maglorin
