#include "installer_service_prerequisite.h"

#include <algorithm>
#include <string>

namespace maglorin {

namespace {

constexpr std::u16string_view kInstallerServiceFile = u"[SystemFolder]msi.dll";

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    const auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

std::u16string AppKey(int number) {
    const std::string digits = std::to_string(number);
    return u"App" + std::u16string(digits.begin(), digits.end());
}

}  // namespace

bool ListsInstallerServicePrerequisite(const ConfigurationFile& configuration) {
    // Bounded by the number of keys the section can hold: reading stops at the first gap anyway.
    const ConfigurationSection* list = configuration.FindSection(u"PREREQUISITES");
    if (list == nullptr) return false;
    for (int number = 1; number <= static_cast<int>(list->entries.size()); ++number) {
        const std::u16string* sectionName = list->FindKey(AppKey(number));
        if (sectionName == nullptr) break;
        const std::u16string* search = configuration.FindKey(*sectionName, u"SearchString1");
        if (search != nullptr && EqualNoCase(*search, kInstallerServiceFile)) return true;
    }
    return false;
}

}  // namespace maglorin
