// Archive entries: the library binding, phase 1 (open every archive), phase 2 (one worker thread
// copies the plain entries and unpacks the archives), phase 3 (JAR unpacking), and the archives
// that lie beside setup.
#include "payload_extractor.h"

#include <algorithm>
#include <cwchar>

namespace maglorin {

namespace {

struct WorkerJob {
    PayloadExtractor* extractor;
    const std::vector<std::size_t>* plainEntries;
    std::vector<std::unique_ptr<ArchiveRecord>>* records;
    ExtractProgressSink* progress;
    HANDLE startEvent;
};

struct JarJob {
    PayloadExtractor* extractor;
    ExtractProgressSink* progress;
};

DWORD WINAPI JarWorkerMain(void* parameter) {
    const JarJob& job = *static_cast<JarJob*>(parameter);
    return static_cast<DWORD>(job.extractor->UnpackJars(job.progress));
}

DWORD WINAPI WorkerMain(void* parameter) {
    const WorkerJob& job = *static_cast<WorkerJob*>(parameter);
    return static_cast<DWORD>(job.extractor->RunWorker(*job.plainEntries, *job.records, job.progress, job.startEvent));
}

// Waits without time-out, letting window messages of the calling thread (its status window) run.
void WaitForThread(HANDLE thread) {
    for (;;) {
        const DWORD woken = ::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT);
        if (woken != WAIT_OBJECT_0 + 1) {
            return;  // the thread ended (or the wait itself failed: nothing left to wait on)
        }
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

[[nodiscard]] int ThreadResult(HANDLE thread) {
    DWORD code = 0;
    if (!::GetExitCodeThread(thread, &code) || code == STILL_ACTIVE) {
        return kResultExtractionFailed;  // never taken for success
    }
    return static_cast<int>(code);
}

// The output folder into the context; false when it does not fit its 260 code units.
[[nodiscard]] bool SetOutputFolder(ExtractionContext& context, const PathText& folder) {
    if (folder.size() + 1 > static_cast<std::size_t>(kOutputFolderChars)) {
        return false;
    }
    std::copy(folder.begin(), folder.end(), context.outputFolder);
    context.outputFolder[folder.size()] = L'\0';
    return true;
}

}  // namespace

int PayloadExtractor::BindLibrary() {
    if (library_.IsLoaded()) {
        return kResultSuccess;
    }
    const std::size_t index = reader_.FindEntry(PayloadGroup::ExtractionLibrary, PayloadFileType::ExtractionLibrary);
    if (index == PayloadReader::kNone) {
        return kResultLibraryMissing;
    }
    const std::optional<PathText> target = JoinEntryPath(folder_, reader_.Entry(index).name);
    if (!target) {
        return kResultDamagedPackage;
    }
    if (const int copied = CopyEntry(index, nullptr); copied != kResultSuccess) {
        return copied;
    }
    if (std::find(deleteAtExit_.begin(), deleteAtExit_.end(), *target) == deleteAtExit_.end()) {
        deleteAtExit_.push_back(*target);
    }
    return library_.Load(*target);
}

int PayloadExtractor::PrepareEntryArchive(std::size_t index, ArchiveRecord& record) {
    const PayloadEntry& entry = reader_.Entry(index);
    record.entryIndex = index;
    record.group = entry.group;
    const std::optional<PathText> target = JoinEntryPath(folder_, entry.name);
    if (!target) {
        return kResultDamagedPackage;
    }
    record.targetPath = *target;
    record.outputFolder = PathText(FolderPart(*target));
    if (const int bound = BindLibrary(); bound != kResultSuccess) {
        return bound;
    }
    CreateFolderChain(record.outputFolder);
    // A handle of its own: the worker reads through it while the reader's stays untouched.
    record.archiveFile.Reset(::CreateFileW(reader_.PackagePath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!record.archiveFile) {
        return kResultExtractionFailed;
    }
    record.context.archiveOffset = entry.dataOffset;
    record.context.archiveSize = entry.size;
    if (settings_.packJars && entry.type == PayloadFileType::ProductArchive) {
        unpackFolders_.push_back(record.outputFolder);
    }
    return kResultSuccess;
}

int PayloadExtractor::PrepareBesideArchive(const ExternalFileRecord& external, ArchiveRecord& record) {
    record.besideSetup = true;
    const std::optional<PathText> source = JoinEntryPath(settings_.setupFolder, external.name);
    const bool packageFolder =
        external.type == PayloadFileType::ProductArchive || external.type == PayloadFileType::DatabaseArchive;
    PathText output = folder_;
    if (packageFolder) {
        output += settings_.packageSubFolder + L'\\';
    }
    const std::optional<PathText> target = JoinEntryPath(output, external.name);
    if (!source || !target || settings_.packageSubFolder.empty()) {
        return kResultDamagedPackage;
    }
    record.targetPath = *target;
    record.outputFolder = output;
    if (const int bound = BindLibrary(); bound != kResultSuccess) {
        return bound;
    }
    CreateFolderChain(record.outputFolder);
    record.archiveFile.Reset(::CreateFileW(source->c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!record.archiveFile || !::GetFileSizeEx(record.archiveFile.Get(), &size)) {
        return kResultExtractionFailed;
    }
    record.context.archiveOffset = 0;
    record.context.archiveSize = static_cast<std::uint64_t>(size.QuadPart);
    if (settings_.packJars && external.type == PayloadFileType::ProductArchive) {
        unpackFolders_.push_back(record.outputFolder);
    }
    return kResultSuccess;
}

int PayloadExtractor::InitArchive(ArchiveRecord& record, ExtractProgressSink* progress) {
    const ExtractionFunctions& f = library_.Functions();
    record.context.archiveFile = record.archiveFile.Get();
    if (!SetOutputFolder(record.context, record.outputFolder) || f.initExtraction(&record.context) != kInitOpened) {
        return kResultExtractionFailed;
    }
    if (progress != nullptr) {
        record.total = f.getTotalFilesSize(&record.context);
    }
    return kResultSuccess;
}

int PayloadExtractor::OpenArchive(const std::function<int(ArchiveRecord&)>& prepare,
                                  std::vector<std::unique_ptr<ArchiveRecord>>& records, ExtractProgressSink* progress) {
    auto record = std::make_unique<ArchiveRecord>();
    int result = prepare(*record);
    if (result == kResultSuccess) {
        records.push_back(std::move(record));
        result = InitArchive(*records.back(), progress);
    }
    if (result != kResultSuccess) {
        EndAll(records);
        unpackFolders_.clear();
    }
    return result;
}

void PayloadExtractor::EndAll(std::vector<std::unique_ptr<ArchiveRecord>>& records) {
    for (auto& record : records) {
        if (record->context.state != nullptr && library_.IsLoaded()) {
            library_.Functions().endExtraction(&record->context);
        }
        record->archiveFile.Reset();
    }
}

int PayloadExtractor::UnpackArchive(ArchiveRecord& record, ExtractProgressSink* progress) {
    const ExtractionFunctions& f = library_.Functions();
    if (progress != nullptr) {
        progress->BeginItem(WithoutLongPathPrefix(record.targetPath).c_str(), static_cast<std::int32_t>(record.group));
    }
    record.context.progressSink = progress;
    record.context.spaceHandler = &lowSpace_;
    CreateFolderChain(record.outputFolder);
    const int result = ArchiveExtractionResult(f.extractAllFiles(&record.context));
    f.endExtraction(&record.context);
    if (result == kResultSuccess && !record.besideSetup) {
        reader_.MarkExtracted(record.entryIndex, true);
    }
    return result;
}

int PayloadExtractor::RunWorker(const std::vector<std::size_t>& plainEntries,
                                std::vector<std::unique_ptr<ArchiveRecord>>& records, ExtractProgressSink* progress,
                                HANDLE startEvent) {
    if (progress != nullptr && startEvent != nullptr) {
        ::WaitForSingleObject(startEvent, INFINITE);
    }
    for (std::size_t index : plainEntries) {
        if (const int result = CopyEntry(index, progress); result != kResultSuccess) {
            return result;
        }
    }
    for (auto& record : records) {
        if (const int result = UnpackArchive(*record, progress); result != kResultSuccess) {
            return result;
        }
    }
    return kResultSuccess;
}

int PayloadExtractor::RunExtraction(const std::vector<std::size_t>& plainEntries,
                                    std::vector<std::unique_ptr<ArchiveRecord>>& records,
                                    ExtractProgressSink* progress) {
    EventHandle startEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!startEvent) {
        EndAll(records);
        return kResultOutOfMemory;
    }
    WorkerJob job{this, &plainEntries, &records, progress, startEvent.Get()};
    ThreadHandle worker(::CreateThread(nullptr, 0, WorkerMain, &job, 0, nullptr));
    if (!worker) {
        EndAll(records);
        return kResultOutOfMemory;
    }
    if (progress != nullptr) {
        std::uint64_t total = 0;
        for (const auto& record : records) total += record->total;
        for (std::size_t index : plainEntries) total += reader_.Entry(index).size;
        progress->AttachStartSignal(startEvent.Get());
        progress->OverallStart(total);
        progress->ReleaseStart();
    }
    WaitForThread(worker.Get());
    int result = ThreadResult(worker.Get());
    EndAll(records);  // archives after the first failure were opened but never ended
    if (result == kResultSuccess && !unpackFolders_.empty()) {
        // Phase 3 on a second worker, so the calling thread keeps its window alive.
        JarJob jarJob{this, progress};
        ThreadHandle jarWorker(::CreateThread(nullptr, 0, JarWorkerMain, &jarJob, 0, nullptr));
        if (!jarWorker) {
            result = kResultOutOfMemory;
        } else {
            WaitForThread(jarWorker.Get());
            result = ThreadResult(jarWorker.Get());
        }
    }
    unpackFolders_.clear();
    if (progress != nullptr) {
        progress->Finish();
    }
    return result;
}

int PayloadExtractor::ExtractBesideArchives(ExtractProgressSink* progress, PathText& databasePath) {
    std::vector<std::unique_ptr<ArchiveRecord>> records;
    const std::size_t database = reader_.FindExternalFile(PayloadFileType::DatabaseArchive);
    const std::size_t product = reader_.FindExternalFile(PayloadFileType::ProductArchive);
    if (database == PayloadReader::kNone) {
        return kResultDamagedPackage;
    }
    for (std::size_t external : {database, product}) {
        if (external == PayloadReader::kNone) {
            continue;
        }
        const ExternalFileRecord& file = reader_.ExternalFiles()[external];
        const int result =
            OpenArchive([&](ArchiveRecord& record) { return PrepareBesideArchive(file, record); }, records, progress);
        if (result != kResultSuccess) {
            return result;
        }
    }
    const PathText target = records.front()->targetPath;
    const int result = RunExtraction({}, records, progress);
    if (result == kResultSuccess) {
        databasePath = ReplaceExtension(target, PathFromAscii(".msi"));
    }
    return result;
}

}  // namespace maglorin
