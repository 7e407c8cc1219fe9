#include "ui/dialog_filter.h"

#include <algorithm>

namespace maglorin {

std::wstring ConvertFilter(std::wstring_view filter) {
    std::wstring list(filter);
    if (list.empty() || list.back() != L'|') list.push_back(L'|');
    std::replace(list.begin(), list.end(), L'|', L'\0');
    return list;
}

}  // namespace maglorin
