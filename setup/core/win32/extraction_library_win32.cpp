#include "extraction_library_win32.h"

#include "extraction_result.h"

namespace maglorin {

namespace {

template <typename Function>
Function Bind(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

[[nodiscard]] bool IsAbsolute(PathTextView path) {
    const bool drive = path.size() >= 3 && path[1] == L':' && path[2] == L'\\';
    return drive || HasLongPathPrefix(path) || IsNetworkPath(path);
}

}  // namespace

[[nodiscard]] bool RestrictDllSearchToSystemFolder() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = kernel == nullptr ? nullptr : Bind<SetDefaultDllDirectoriesFn>(kernel, "SetDefaultDllDirectories");
    constexpr DWORD kSearchSystem32 = 0x00000800;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    return setDefault != nullptr && setDefault(kSearchSystem32) != FALSE;
}

int ExtractionLibrary::Load(PathTextView libraryPath) {
    Unload();
    if (!IsAbsolute(libraryPath)) {
        return kResultLibraryMissing;
    }
    // Where the system lacks the restriction, the absolute path alone decides what is loaded.
    static_cast<void>(RestrictDllSearchToSystemFolder());
    const PathText path(libraryPath);
    module_.Reset(::LoadLibraryExW(path.c_str(), nullptr, 0));
    if (!module_) {
        return kResultLibraryMissing;
    }
    ExtractionFunctions bound;
    bound.initExtraction = Bind<InitExtractionFn>(module_.Get(), "InitExtraction");
    bound.getTotalFilesSize = Bind<GetTotalFilesSizeFn>(module_.Get(), "GetTotalFilesSize");
    bound.extractAllFiles = Bind<ExtractAllFilesFn>(module_.Get(), "ExtractAllFiles");
    bound.endExtraction = Bind<EndExtractionFn>(module_.Get(), "EndExtraction");
    if (bound.initExtraction == nullptr || bound.getTotalFilesSize == nullptr || bound.extractAllFiles == nullptr ||
        bound.endExtraction == nullptr) {
        Unload();  // never called through a missing function
        return kResultLibraryMissing;
    }
    functions_ = bound;
    ++loadCount_;
    return 0;
}

void ExtractionLibrary::Unload() {
    functions_ = {};
    module_.Reset();
}

}  // namespace maglorin
