#include "reference_resolver.h"

#include <algorithm>
#include <array>
#include <utility>

namespace maglorin {

namespace {

// Where a folder name of the table gets its answer.
enum class FolderSource { System, Windows, WindowsVolume, Temp, SetupExeDir, ProgramFiles64, Shell };

struct FolderName {
    std::u16string_view name;
    FolderSource source;
    int shellFolder;  // for FolderSource::Shell
};

constexpr int kShellProgramFiles = 38;
constexpr int kShellAppData = 26;

constexpr std::array<FolderName, 18> kFolderNames{{
    {u"SystemFolder", FolderSource::System, 0},
    {u"WindowsFolder", FolderSource::Windows, 0},
    {u"WindowsVolume", FolderSource::WindowsVolume, 0},
    {u"TempFolder", FolderSource::Temp, 0},
    {u"SETUPEXEDIR", FolderSource::SetupExeDir, 0},
    {u"ProgramFiles64Folder", FolderSource::ProgramFiles64, 0},
    {u"ProgramFilesFolder", FolderSource::Shell, kShellProgramFiles},
    {u"ProgramFiles", FolderSource::Shell, kShellProgramFiles},
    {u"CommonFilesFolder", FolderSource::Shell, 43},
    {u"DesktopFolder", FolderSource::Shell, 16},
    {u"AppDataFolder", FolderSource::Shell, kShellAppData},
    {u"FavoritesFolder", FolderSource::Shell, 6},
    {u"StartMenuFolder", FolderSource::Shell, 11},
    {u"ProgramMenuFolder", FolderSource::Shell, 2},
    {u"StartupFolder", FolderSource::Shell, 7},
    {u"FontsFolder", FolderSource::Shell, 20},
    {u"LocalAppDataFolder", FolderSource::Shell, 28},
    {u"CommonAppDataFolder", FolderSource::Shell, 35},
}};

const FolderName* FindFolderName(std::u16string_view name) {
    for (const FolderName& entry : kFolderNames) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::optional<std::u16string> NonEmpty(std::optional<std::u16string> text) {
    if (text && text->empty()) return std::nullopt;
    return text;
}

std::optional<std::u16string> WithFinalSeparator(std::optional<std::u16string> folder) {
    if (folder && folder->back() != u'\\') *folder += u'\\';
    return folder;
}

// The first three characters of a folder ("C:\\").
std::optional<std::u16string> DriveRoot(const std::optional<std::u16string>& folder) {
    if (!folder || folder->size() < 3) return std::nullopt;
    return folder->substr(0, 3);
}

char16_t ClosingCharacter(char16_t opening) { return opening == u'[' ? u']' : opening; }

std::optional<std::u16string> ShellFolderWithFallback(ReferenceLookups& lookups, int folderNumber) {
    std::optional<std::u16string> folder = NonEmpty(lookups.ShellFolder(folderNumber));
    if (folder) return folder;
    // Shells too old to know these two folders leave them in the environment.
    if (folderNumber == kShellProgramFiles) return NonEmpty(lookups.Environment(u"PROGRAMFILES"));
    if (folderNumber == kShellAppData) return NonEmpty(lookups.Environment(u"APPDATA"));
    return std::nullopt;
}

std::optional<std::u16string> FolderOf(const FolderName& entry, ReferenceLookups& lookups,
                                       const std::u16string& setupExeDir) {
    switch (entry.source) {
    case FolderSource::System: return lookups.SystemFolder(SystemFolderKind::System);
    case FolderSource::Windows: return lookups.SystemFolder(SystemFolderKind::Windows);
    case FolderSource::Temp: return lookups.SystemFolder(SystemFolderKind::Temp);
    case FolderSource::WindowsVolume: return DriveRoot(lookups.SystemFolder(SystemFolderKind::Windows));
    case FolderSource::SetupExeDir: return setupExeDir;
    case FolderSource::ProgramFiles64:
        if (std::optional<std::u16string> folder = NonEmpty(lookups.Environment(u"ProgramW6432"))) {
            return folder;
        }
        return ShellFolderWithFallback(lookups, kShellProgramFiles);
    case FolderSource::Shell: return ShellFolderWithFallback(lookups, entry.shellFolder);
    }
    return std::nullopt;
}

}  // namespace

ReferenceResolver::ReferenceResolver(ReferenceLookups& lookups, std::u16string setupExeDir)
    : lookups_(lookups), setupExeDir_(std::move(setupExeDir)) {}

std::optional<std::u16string> ReferenceResolver::Folder(std::u16string_view name) const {
    const FolderName* entry = FindFolderName(name);
    if (entry == nullptr) return std::nullopt;
    return WithFinalSeparator(NonEmpty(FolderOf(*entry, lookups_, setupExeDir_)));
}

std::u16string ReferenceResolver::Registry(std::u16string_view location) const {
    RegistryLocation parsed;
    if (!ParseRegistryLocation(location, parsed)) return {};
    return lookups_.RegistryString(parsed, RegistryView::Default).value_or(std::u16string());
}

std::u16string ReferenceResolver::Resolve(std::u16string_view text) const {
    std::u16string result;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find_first_of(u"[%!", at);
        if (open == std::u16string_view::npos) break;
        const std::size_t close = text.find(ClosingCharacter(text[open]), open + 1);
        if (close == std::u16string_view::npos) break;
        result += text.substr(at, open - at);
        const std::u16string_view name = text.substr(open + 1, close - open - 1);
        switch (text[open]) {
        case u'[':
            if (std::optional<std::u16string> folder = Folder(name)) {
                result += *folder;
            } else {
                result += text.substr(open, close - open + 1);
            }
            break;
        case u'%': result += lookups_.Environment(name).value_or(std::u16string()); break;
        default: result += Registry(name); break;
        }
        at = close + 1;
    }
    result += text.substr(std::min(at, text.size()));
    return result;
}

}  // namespace maglorin
