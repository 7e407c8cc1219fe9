#include "registry_location.h"

namespace maglorin {

namespace {

RegistryRoot RootFromAbbreviation(std::u16string_view text) {
    if (text == u"HKLM") return RegistryRoot::LocalMachine;
    if (text == u"HKCU") return RegistryRoot::CurrentUser;
    if (text == u"HKCR") return RegistryRoot::ClassesRoot;
    if (text == u"HKCC") return RegistryRoot::CurrentConfig;
    return RegistryRoot::Users;
}

}  // namespace

[[nodiscard]] bool ParseRegistryLocation(std::u16string_view text, RegistryLocation& location) {
    const std::size_t first = text.find(u'\\');
    if (first == std::u16string_view::npos) return false;
    const std::size_t last = text.rfind(u'\\');
    location.root = RootFromAbbreviation(text.substr(0, first));
    location.key.assign(first < last ? text.substr(first + 1, last - first - 1) : std::u16string_view());
    location.valueName.assign(text.substr(last + 1));
    return true;
}

}  // namespace maglorin
