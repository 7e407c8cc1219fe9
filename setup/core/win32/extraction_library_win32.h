#pragma once
// The binding of the extraction library: decoder.dll, copied out of the payload, loaded by its
// full path and bound to its four exports by name. One binding per process, owned by the
// extractor. Before anything is loaded from the extraction folder the process restricts its own
// DLL search to the system folder, so a planted DLL beside decoder.dll is never picked up.

#include "extraction_context.h"
#include "extraction_paths.h"
#include "win32_handles.h"

namespace maglorin {

// SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32) where the system has it; true when the
// restriction is in force.
[[nodiscard]] bool RestrictDllSearchToSystemFolder();

class ExtractionLibrary {
public:
    // Loads the library at an absolute path (a previously loaded one is freed first) and binds
    // all four functions. 0, or 11 when the path is not absolute, the load fails or a function
    // is missing (nothing is left loaded then).
    [[nodiscard]] int Load(PathTextView libraryPath);
    void Unload();

    [[nodiscard]] bool IsLoaded() const { return module_.IsValid(); }
    const ExtractionFunctions& Functions() const { return functions_; }
    [[nodiscard]] int LoadCount() const { return loadCount_; }

private:
    LibraryHandle module_;
    ExtractionFunctions functions_;
    int loadCount_ = 0;
};

}  // namespace maglorin
