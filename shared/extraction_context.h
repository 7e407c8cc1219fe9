#pragma once
// The record and callback interfaces that cross the boundary between setup and decoder.dll.
// Both deliverables are built from this one declaration with the same compiler, so the record
// layout and the virtual-function slot order below ARE the binary interface: never reorder,
// insert or remove a field or a virtual function without changing both sides together.

#include <cstdint>

#if defined(_WIN32)
#define MAGLORIN_EXTRACT_CALL __stdcall
#else
#define MAGLORIN_EXTRACT_CALL
#endif

namespace maglorin {

#if defined(_WIN32)
using PathChar = wchar_t;          // UTF-16 code unit
using NativeFileHandle = void*;    // a Win32 HANDLE
#else
using PathChar = char16_t;         // UTF-16 code unit
using NativeFileHandle = int;      // a POSIX file descriptor
#endif

inline constexpr int kOutputFolderChars = 260;  // UTF-16 code units including the terminator

// Implemented by setup's progress object. The library calls only SetTotal, SetCompleted and
// IsCancelled, which stand one after another in this slot order; the other operations are
// setup's own (its status window and progress pipe drive them) and do nothing unless a sink
// overrides them. The slot order is the library's calling convention: never reorder.
class ExtractProgressSink {
public:
    virtual void OverallStart(std::uint64_t /*totalBytes*/) {}
    virtual void Unused1() {}
    virtual void ReleaseStart() {}                        // the window is ready: let the worker go
    virtual void Finish() {}
    virtual void AttachStartSignal(void* /*startEvent*/) {}  // an event handle the worker waits on
    virtual void BeginItem(const PathChar* /*text*/, std::int32_t /*number*/) {}
    virtual void Unused2() {}
    virtual void SetTotal(std::uint64_t totalBytes) = 0;
    [[nodiscard]] virtual bool SetCompleted(std::uint64_t bytesDone) = 0;  // true = stop
    [[nodiscard]] virtual bool IsCancelled() = 0;                           // true = stop
    virtual void ItemTotals(const PathChar* /*text*/, std::uint64_t /*bytes*/) {}

protected:
    ~ExtractProgressSink() = default;  // never deleted through this interface
};

// Implemented by setup's low-space question.
class DiskSpaceHandler {
public:
    // Nonzero: create the file anyway; 0: stop the extraction.
    [[nodiscard]] virtual std::int32_t OnLowDiskSpace(const PathChar* outputFolder, std::uint64_t bytesNeeded) = 0;

protected:
    ~DiskSpaceHandler() = default;
};

// Allocated and filled by setup, one per archive. The library touches nothing after spaceHandler;
// setup may keep fields of its own behind it.
struct ExtractionContext {
    NativeFileHandle archiveFile;          // open for reading; never closed by the library
    std::uint64_t archiveOffset;           // first byte of the archive within that file
    std::uint64_t archiveSize;             // length of the archive window in bytes
    PathChar outputFolder[kOutputFolderChars];  // absolute, NUL-terminated, setup ends it with '\'
    void* state;                           // owned by the library: null before InitExtraction
    ExtractProgressSink* progressSink;     // may be null
    DiskSpaceHandler* spaceHandler;        // may be null
};

// Results of the exports.
inline constexpr std::int32_t kInitOpened = 0;
inline constexpr std::int32_t kInitNoArchive = 1;
inline constexpr std::int32_t kInitBadDatabase = 2;
inline constexpr std::int32_t kExtractDone = 0;
inline constexpr std::int32_t kExtractFailed = 3;
inline constexpr std::int32_t kExtractStopped = 5;

// The four exports, as setup binds them by name.
using InitExtractionFn = std::int32_t(MAGLORIN_EXTRACT_CALL*)(ExtractionContext*);
using GetTotalFilesSizeFn = std::uint64_t(MAGLORIN_EXTRACT_CALL*)(ExtractionContext*);
using ExtractAllFilesFn = std::int32_t(MAGLORIN_EXTRACT_CALL*)(ExtractionContext*);
using EndExtractionFn = std::int32_t(MAGLORIN_EXTRACT_CALL*)(ExtractionContext*);

// The four exports bound by name from a loaded library.
struct ExtractionFunctions {
    InitExtractionFn initExtraction = nullptr;
    GetTotalFilesSizeFn getTotalFilesSize = nullptr;
    ExtractAllFilesFn extractAllFiles = nullptr;
    EndExtractionFn endExtraction = nullptr;
};

}  // namespace maglorin
