// The extractor's folder, its plain-entry copies and the requests that pick entries.
#include "payload_extractor.h"

#include <algorithm>
#include <string>
#include <vector>

#include "entry_copy.h"

namespace maglorin {

namespace {

// The target file of a plain copy.
class Win32EntryOutput final : public EntryOutput {
public:
    explicit Win32EntryOutput(HANDLE file) : file_(file) {}
    bool Write(const std::uint8_t* bytes, std::size_t count) override {
        DWORD written = 0;
        return ::WriteFile(file_, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count;
    }

private:
    HANDLE file_;
};

PathText TemporaryFolder() {
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    const DWORD length = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size()) {
        return {};
    }
    return PathText(buffer.data(), length);
}

}  // namespace

PayloadExtractor::PayloadExtractor(PayloadReader& reader, ExtractionSettings settings, ExtractionServices services)
    : reader_(reader),
      settings_(std::move(settings)),
      systemMessages_(settings_.userInterfaceEnabled),
      freeSpace_(services.freeSpace != nullptr ? *services.freeSpace : systemFreeSpace_),
      messages_(services.messages != nullptr ? *services.messages : systemMessages_),
      lowSpace_(settings_.userInterfaceEnabled, services.prompt != nullptr ? services.prompt : &messageBoxPrompt_,
                freeSpace_),
      folder_(ExtractionFolderForm(TemporaryFolder())) {}

PayloadExtractor::~PayloadExtractor() { CleanUpAtExit(); }

void PayloadExtractor::SetExtractionFolder(PathTextView folder) {
    const PathText next = ExtractionFolderForm(folder);
    if (next.empty() || next == folder_) {
        return;
    }
    const std::vector<PayloadEntry>& entries = reader_.Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (!entries[i].extracted) {
            continue;
        }
        if (std::optional<PathText> old = JoinEntryPath(folder_, entries[i].name)) {
            deleteAtExit_.push_back(std::move(*old));
        }
        reader_.MarkExtracted(i, false);
    }
    folder_ = next;
}

void PayloadExtractor::CreateFolderChain(PathTextView path) {
    for (const PathText& folder : ParentFolderChain(path)) {
        if (::CreateDirectoryW(folder.c_str(), nullptr)) {
            createdFolders_.push_back(folder);
        }
    }
}

int PayloadExtractor::CopyEntry(std::size_t index, ExtractProgressSink* progress) {
    const PayloadEntry& entry = reader_.Entry(index);
    if (entry.extracted) {
        return kResultSuccess;
    }
    if (!HasRoomFor(freeSpace_, folder_, entry.size) && !lowSpace_.Ask(folder_, entry.size)) {
        return kResultNotEnoughSpace;
    }
    const std::optional<PathText> target = JoinEntryPath(folder_, entry.name);
    if (!target) {
        return kResultDamagedPackage;
    }
    if (progress != nullptr) {
        progress->SetTotal(entry.size);
        progress->BeginItem(WithoutLongPathPrefix(*target).c_str(), static_cast<std::int32_t>(entry.group));
    }
    if (entry.type == PayloadFileType::LanguageLibrary) {
        deleteAtExit_.push_back(*target);
    }
    CreateFolderChain(*target);
    FileHandle file(::CreateFileW(target->c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
    if (!file) {
        return kResultReadError;
    }
    Win32EntryOutput output(file.Get());
    int result = CopyEntryData(reader_.ReadWindow(index), output, progress);
    if (!::CloseHandle(file.Release()) && result == kResultSuccess) {
        result = kResultReadError;
    }
    if (result != kResultSuccess) {
        // The partial file stays as it is, unmarked; it goes at exit so it is never taken for a
        // complete copy.
        if (std::find(deleteAtExit_.begin(), deleteAtExit_.end(), *target) == deleteAtExit_.end()) {
            deleteAtExit_.push_back(*target);
        }
        return result;
    }
    reader_.MarkExtracted(index, true);
    return kResultSuccess;
}

int PayloadExtractor::ExtractSingleEntry(std::size_t index) {
    if (index >= reader_.Entries().size()) {
        return kResultDamagedPackage;
    }
    return CopyEntry(index, nullptr);
}

int PayloadExtractor::ExtractLanguageLibrary(std::uint32_t languageId, PathText& path) {
    const PathText name = PathFromAscii(std::to_string(languageId) + ".dll");
    return ExtractSingleEntry(PayloadFileType::LanguageLibrary, name, path);
}

int PayloadExtractor::ExtractFileByName(PackageNameView name, PathText& path) {
    return ExtractSingleEntry(PayloadFileType::FileOnRequest, name, path);
}

int PayloadExtractor::ExtractSingleEntry(PayloadFileType type, PackageNameView name, PathText& path) {
    const std::size_t index = reader_.FindEntryByName(type, name);
    const std::optional<PathText> target =
        index == PayloadReader::kNone ? std::nullopt : JoinEntryPath(folder_, reader_.Entry(index).name);
    if (!target) {
        return kResultDamagedPackage;
    }
    const int result = CopyEntry(index, nullptr);
    if (result == kResultSuccess) {
        path = *target;
    }
    return result;
}

std::optional<PayloadExtractor::PrerequisiteFile> PayloadExtractor::FindPrerequisiteFile(PackageNameView name) const {
    if (HasFlag(reader_.Flags(), PackageFlags::FilesBesideSetup)) {
        std::optional<PathText> beside = JoinEntryPath(settings_.setupFolder, name);
        if (!beside) {
            return std::nullopt;
        }
        return PrerequisiteFile{std::move(*beside), std::nullopt};
    }
    const std::size_t index = PrerequisiteEntry(reader_.Entries(), name, PayloadReader::kNone);
    if (index == PayloadReader::kNone) {
        return std::nullopt;
    }
    std::optional<PathText> target = JoinEntryPath(folder_, reader_.Entry(index).name);
    if (!target) {
        return std::nullopt;
    }
    return PrerequisiteFile{std::move(*target), static_cast<std::int32_t>(reader_.Entry(index).group)};
}

int PayloadExtractor::ExtractGroups(const std::vector<std::int32_t>& groups, ExtractProgressSink* progress) {
    const ExtractionPlan plan = PlanGroups(reader_.Entries(), groups);
    std::vector<std::unique_ptr<ArchiveRecord>> records;
    // Phase 1: every archive opened and its database read before anything is unpacked.
    for (std::size_t index : plan.archiveEntries) {
        const int result =
            OpenArchive([&](ArchiveRecord& record) { return PrepareEntryArchive(index, record); }, records, progress);
        if (result != kResultSuccess) {
            return result;
        }
    }
    return RunExtraction(plan.plainEntries, records, progress);
}

int PayloadExtractor::ExtractMainPackage(ExtractProgressSink* progress, PathText& databasePath) {
    const PackageFlags flags = reader_.Flags();
    if (HasFlag(flags, PackageFlags::FilesBesideSetup)) {
        if (HasFlag(flags, PackageFlags::BesideFilesCompressed)) {
            return ExtractBesideArchives(progress, databasePath);
        }
        const std::size_t external = reader_.FindExternalFile(PayloadFileType::PlainDatabase);
        if (external == PayloadReader::kNone) {
            return kResultDamagedPackage;
        }
        const std::optional<PathText> path =
            JoinEntryPath(settings_.setupFolder, reader_.ExternalFiles()[external].name);
        if (!path) {
            return kResultDamagedPackage;
        }
        databasePath = *path;
        return kResultSuccess;
    }
    const std::size_t main = MainPackageEntry(reader_.Entries(), flags, PayloadReader::kNone);
    if (main == PayloadReader::kNone) {
        return kResultDamagedPackage;
    }
    const PayloadEntry& entry = reader_.Entry(main);
    const bool inArchive = HasFlag(flags, PackageFlags::DatabaseInArchive);
    if (inArchive && FolderPart(entry.name).empty()) {
        return kResultDamagedPackage;
    }
    const std::optional<PathText> path = JoinEntryPath(folder_, entry.name);
    if (!path) {
        return kResultDamagedPackage;
    }
    const int result = ExtractGroups({static_cast<std::int32_t>(MainPackageGroup(flags))}, progress);
    if (result == kResultSuccess) {
        databasePath = inArchive ? ReplaceExtension(*path, PathFromAscii(".msi")) : *path;
    }
    return result;
}

int PayloadExtractor::ExtractForExtractCommand(ExtractProgressSink* progress) {
    const PackageFlags flags = reader_.Flags();
    if (HasFlag(flags, PackageFlags::FilesBesideSetup)) {
        PathText unused;
        return HasFlag(flags, PackageFlags::BesideFilesCompressed) ? ExtractBesideArchives(progress, unused)
                                                                   : kResultSuccess;
    }
    return ExtractGroups(GroupsForExtractCommand(reader_.Entries()), progress);
}

}  // namespace maglorin
