#include "registry_access_win32.h"

namespace maglorin {

HKEY RegistryRootKey(RegistryRoot root) {
    switch (root) {
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
    case RegistryRoot::Users: break;
    }
    return HKEY_USERS;
}

REGSAM RegistryViewAccess(RegistryView view) {
    switch (view) {
    case RegistryView::Force32: return KEY_WOW64_32KEY;
    case RegistryView::Force64: return KEY_WOW64_64KEY;
    case RegistryView::Default: break;
    }
    return 0;
}

std::u16string RegistryTextOfValue(const std::vector<BYTE>& data, DWORD size) {
    std::u16string text;
    const DWORD available = size < data.size() ? size : static_cast<DWORD>(data.size());
    for (DWORD at = 0; at + 1 < available; at += 2) {
        const char16_t c = static_cast<char16_t>(data[at] | (data[at + 1] << 8));
        if (c == u'\0') break;
        text += c;
    }
    return text;
}

}  // namespace maglorin
