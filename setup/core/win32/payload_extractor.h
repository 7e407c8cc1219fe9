#pragma once
// PayloadExtractor: writes payload entries to disk. Plain entries are copied byte for byte out of
// the package file; archive entries are unpacked by decoder.dll (copied out of the payload
// first) on one worker thread while the calling thread waits, with the progress object as the
// library's ExtractProgressSink and LowSpaceQuestion as its DiskSpaceHandler. It keeps the
// records of what it wrote (extracted marks in the reader, the delete-at-exit list, the
// created folders) and removes them at exit according to the CleanupMode.
//
// Nothing read from the package is written outside the extraction folder: every entry name is
// joined through JoinEntryPath, which refuses names that could leave it (result 5).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "cleanup_rules.h"
#include "extraction_library_win32.h"
#include "extraction_paths.h"
#include "extraction_plan.h"
#include "extraction_result.h"
#include "free_space.h"
#include "low_space_question.h"
#include "payload_reader.h"
#include "system_dialogs_win32.h"
#include "user_messages.h"
#include "win32_handles.h"

namespace maglorin {

struct ExtractionSettings {
    PathText setupFolder;       // the folder holding setup, ending in '\' (files beside setup)
    PathText packageSubFolder;  // 7 characters (PackageSubFolderName)
    bool packJars = false;      // unpack packed JAR files after extraction
    bool userInterfaceEnabled = true;
    CleanupMode cleanupMode = CleanupMode::Default;
};

// The system's answers unless a test injects its own; each must outlive the extractor.
struct ExtractionServices {
    FreeSpaceQuery* freeSpace = nullptr;  // null: GetDiskFreeSpaceExW
    RetryPrompt* prompt = nullptr;        // null: a Retry/Cancel message box
    UserMessages* messages = nullptr;     // null: message box or debugger output
};

// One archive to unpack: the context the library sees first, then setup's own fields.
struct ArchiveRecord {
    ExtractionContext context{};          // must stay first: the library knows only this part
    std::size_t entryIndex = 0;           // into the reader's table; unused for beside archives
    PayloadGroup group = PayloadGroup::SetupFiles;
    bool besideSetup = false;
    FileHandle archiveFile;               // closed after EndExtraction
    PathText targetPath;                  // extraction folder + entry name
    PathText outputFolder;                // ends in '\'
    std::uint64_t total = 0;              // unpacked bytes (when a progress object exists)
};

class PayloadExtractor {
public:
    // The reader must be open and outlive the extractor. The extraction folder starts as the
    // temporary folder with the "\\?\" prefix.
    PayloadExtractor(PayloadReader& reader, ExtractionSettings settings, ExtractionServices services = {});
    // Runs the clean-up at exit unless it already ran.
    ~PayloadExtractor();
    PayloadExtractor(const PayloadExtractor&) = delete;
    PayloadExtractor& operator=(const PayloadExtractor&) = delete;

    // A new folder (ending in '\', prefixed unless a network path). Entries already extracted
    // to the old one are scheduled for deletion at exit and extracted again on the next request.
    void SetExtractionFolder(PathTextView folder);
    const PathText& ExtractionFolder() const { return folder_; }

    void SetCleanupMode(CleanupMode mode) { settings_.cleanupMode = mode; }
    CleanupMode Mode() const { return settings_.cleanupMode; }

    // Every entry of the listed groups, in table order, that is not yet extracted. progress may
    // be null; when set, the worker waits until the progress object releases the start signal.
    [[nodiscard]] int ExtractGroups(const std::vector<std::int32_t>& groups, ExtractProgressSink* progress);

    // The main installer database: its groups extracted (or the archives beside setup
    // unpacked), and its path. A main package archive without a folder part is refused (5):
    // the clean-up would otherwise empty the extraction folder itself.
    [[nodiscard]] int ExtractMainPackage(ExtractProgressSink* progress, PathText& databasePath);

    // "/extract": groups 1, 3 and 100 up, or the archives beside setup.
    [[nodiscard]] int ExtractForExtractCommand(ExtractProgressSink* progress);

    // One plain entry (a language library, a type-11 file); no progress.
    [[nodiscard]] int ExtractSingleEntry(std::size_t index);
    // The type-12 entry "<languageId>.dll" (it goes at exit whatever the mode), or a type-11
    // file by name; path receives where it was written. 5 when the package has no such entry.
    [[nodiscard]] int ExtractLanguageLibrary(std::uint32_t languageId, PathText& path);
    [[nodiscard]] int ExtractFileByName(PackageNameView name, PathText& path);

    // A prerequisite file by name: the first type-4 entry with that name, else type 9. Its
    // target path (extraction folder + name) and its group, which the caller then extracts
    // with ExtractGroups; with the files beside setup, the path beside setup and no group.
    struct PrerequisiteFile {
        PathText path;
        std::optional<std::int32_t> group;  // none: nothing to extract
    };
    std::optional<PrerequisiteFile> FindPrerequisiteFile(PackageNameView name) const;

    // "/deletelzma" and step 2 of the clean-up: the main package folder with everything below
    // it. Refuses (5) a folder that would be the extraction folder itself.
    [[nodiscard]] int DeleteMainPackageFolder();

    // The clean-up at exit for the current CleanupMode (once; only when the reader was opened).
    void CleanUpAtExit();

    const std::vector<PathText>& DeleteAtExit() const { return deleteAtExit_; }
    const std::vector<PathText>& CreatedFolders() const { return createdFolders_; }
    const ExtractionLibrary& Library() const { return library_; }

    // Called on the worker threads; public for their entry functions only.
    [[nodiscard]] int UnpackJars(ExtractProgressSink* progress) { return RunJarUnpacking(progress); }
    [[nodiscard]] int RunWorker(const std::vector<std::size_t>& plainEntries, std::vector<std::unique_ptr<ArchiveRecord>>& records,
                  ExtractProgressSink* progress, HANDLE startEvent);

private:
    [[nodiscard]] int CopyEntry(std::size_t index, ExtractProgressSink* progress);
    // Copies the first entry of `type` named `name`; its target path goes to `path` on success.
    [[nodiscard]] int ExtractSingleEntry(PayloadFileType type, PackageNameView name, PathText& path);
    void CreateFolderChain(PathTextView path);  // every missing folder of path's parents
    [[nodiscard]] int BindLibrary();
    [[nodiscard]] int PrepareEntryArchive(std::size_t index, ArchiveRecord& record);
    [[nodiscard]] int PrepareBesideArchive(const ExternalFileRecord& external, ArchiveRecord& record);
    [[nodiscard]] int InitArchive(ArchiveRecord& record, ExtractProgressSink* progress);
    // Phase 1 for one more archive: `prepare` sets up its record, then the library opens it and
    // reads its database. On a failure every archive opened so far is ended.
    [[nodiscard]] int OpenArchive(const std::function<int(ArchiveRecord&)>& prepare,
                                  std::vector<std::unique_ptr<ArchiveRecord>>& records, ExtractProgressSink* progress);
    [[nodiscard]] int UnpackArchive(ArchiveRecord& record, ExtractProgressSink* progress);
    [[nodiscard]] int ExtractBesideArchives(ExtractProgressSink* progress, PathText& databasePath);
    // Phase 2 and 3 for prepared records.
    [[nodiscard]] int RunExtraction(const std::vector<std::size_t>& plainEntries,
                      std::vector<std::unique_ptr<ArchiveRecord>>& records, ExtractProgressSink* progress);
    void EndAll(std::vector<std::unique_ptr<ArchiveRecord>>& records);
    [[nodiscard]] int RunJarUnpacking(ExtractProgressSink* progress);
    void DeleteFileAndEmptyParents(PathTextView file);

    PayloadReader& reader_;
    ExtractionSettings settings_;
    SystemFreeSpace systemFreeSpace_;
    MessageBoxRetryPrompt messageBoxPrompt_;
    SystemUserMessages systemMessages_;
    FreeSpaceQuery& freeSpace_;
    UserMessages& messages_;
    LowSpaceQuestion lowSpace_;
    ExtractionLibrary library_;
    PathText folder_;
    std::vector<PathText> deleteAtExit_;
    std::vector<PathText> createdFolders_;  // creation order
    std::vector<PathText> unpackFolders_;   // output folders of type-6 archives (PackJars)
    bool cleanedUp_ = false;
};

}  // namespace maglorin
