#pragma once
// A registry value named in text as root abbreviation, key path and value name joined by "\"
// ("HKCU\Software\Torvexa\Path"), as the configuration's references and the command-line
// location use it.

#include <string>
#include <string_view>

namespace maglorin {

enum class RegistryRoot { LocalMachine, CurrentUser, ClassesRoot, CurrentConfig, Users };

// Which view of the registry a 32-bit process asks for on 64-bit Windows.
enum class RegistryView { Default, Force32, Force64 };

struct RegistryLocation {
    RegistryRoot root = RegistryRoot::Users;
    std::u16string key;        // between the root and the last "\"; empty = the root itself
    std::u16string valueName;  // after the last "\"; empty = the key's default value
};

// "HKLM", "HKCU", "HKCR" and "HKCC" (exact) name their roots; any other first part names the
// users root. Text without any "\" names no value: false.
[[nodiscard]] bool ParseRegistryLocation(std::u16string_view text, RegistryLocation& location);

}  // namespace maglorin
