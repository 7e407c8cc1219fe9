// The clean-up at exit and the removal of the main package folder ("/deletelzma").
#include "payload_extractor.h"

#include <algorithm>

namespace maglorin {

namespace {

[[nodiscard]] bool IsDotName(const wchar_t* name) {
    return (name[0] == L'.' && name[1] == L'\0') || (name[0] == L'.' && name[1] == L'.' && name[2] == L'\0');
}

void DeleteFileEvenReadOnly(const PathText& file) {
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(file.c_str());
}

// Everything below folder (ending in '\'), then the folder. A link to a folder elsewhere is
// removed as a link: the tree it points to is never entered.
void RemoveTree(const PathText& folder) {
    WIN32_FIND_DATAW found;
    const PathText pattern = folder + L'*';
    FindHandle search(::FindFirstFileW(pattern.c_str(), &found));
    if (search) {
        do {
            if (IsDotName(found.cFileName)) {
                continue;
            }
            const PathText path = folder + found.cFileName;
            const bool directory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const bool link = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            if (directory && !link) {
                RemoveTree(path + L'\\');
            } else if (directory) {
                ::RemoveDirectoryW(path.c_str());
            } else {
                DeleteFileEvenReadOnly(path);
            }
        } while (::FindNextFileW(search.Get(), &found));
    }
    search.Reset();
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

void PayloadExtractor::DeleteFileAndEmptyParents(PathTextView file) {
    const PathText path(file);
    DeleteFileEvenReadOnly(path);
    const std::vector<PathText> parents = ParentFolderChain(path);
    for (auto it = parents.rbegin(); it != parents.rend(); ++it) {
        if (it->size() <= folder_.size()) {
            break;  // the extraction folder and above stay
        }
        if (!::RemoveDirectoryW(it->c_str())) {
            break;  // not empty
        }
    }
}

int PayloadExtractor::DeleteMainPackageFolder() {
    const PackageFlags flags = reader_.Flags();
    PathText relative;
    if (HasFlag(flags, PackageFlags::FilesBesideSetup) && HasFlag(flags, PackageFlags::BesideFilesCompressed)) {
        if (settings_.packageSubFolder.empty()) {
            return kResultDamagedPackage;
        }
        relative = settings_.packageSubFolder + L'\\';
        const std::size_t product = reader_.FindExternalFile(PayloadFileType::ProductArchive);
        if (product != PayloadReader::kNone) {
            relative += PathText(FolderPart(reader_.ExternalFiles()[product].name));
        }
    } else {
        const std::size_t main = MainPackageEntry(reader_.Entries(), flags, PayloadReader::kNone);
        if (main == PayloadReader::kNone) {
            return kResultDamagedPackage;
        }
        relative = PathText(FolderPart(reader_.Entry(main).name));
    }
    // Never the extraction folder itself: a main entry without a folder part is refused.
    while (!relative.empty() && (relative.back() == L'\\' || relative.back() == L'/')) {
        relative.pop_back();
    }
    const std::optional<PathText> folder = JoinEntryPath(folder_, relative);
    if (!folder) {
        return kResultDamagedPackage;
    }
    RemoveTree(*folder + L'\\');
    return kResultSuccess;
}

void PayloadExtractor::CleanUpAtExit() {
    if (cleanedUp_ || !reader_.IsOpened()) {
        return;
    }
    cleanedUp_ = true;
    library_.Unload();  // its file is on the delete-at-exit list
    const CleanupMode mode = settings_.cleanupMode;
    const PackageFlags flags = reader_.Flags();
    if (CleansExtractedEntries(mode, flags)) {
        const std::vector<PayloadEntry>& entries = reader_.Entries();
        for (const PayloadEntry& entry : entries) {
            if (!entry.extracted || !DeletesEntryAtExit(mode, entry.group, entry.KeepAfterInstall())) {
                continue;
            }
            if (const std::optional<PathText> path = JoinEntryPath(folder_, entry.name)) {
                DeleteFileAndEmptyParents(*path);
            }
        }
    }
    if (mode != CleanupMode::KeepEntries && RemovesMainPackageFolder(mode, flags)) {
        // Best effort at exit: a package whose name cannot be joined leaves its folder.
        static_cast<void>(DeleteMainPackageFolder());
    }
    for (const PathText& file : deleteAtExit_) {
        DeleteFileEvenReadOnly(file);
    }
    for (auto it = createdFolders_.rbegin(); it != createdFolders_.rend(); ++it) {
        ::RemoveDirectoryW(it->c_str());  // fails harmlessly on a folder that is not empty
    }
}

}  // namespace maglorin
