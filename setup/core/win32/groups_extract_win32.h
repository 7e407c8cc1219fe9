#pragma once
// "/groupsextract:": another program asks setup to extract payload groups into a folder ("/out:")
// and, with "/callbackid:", to report progress over its named pipe.

#include <filesystem>
#include <optional>

#include "payload_extractor.h"

namespace maglorin {

struct GroupsExtractRequest {
    std::filesystem::path packagePath;
    PathText groupsValue;                 // the "/groupsextract:" value, ids before each ';'
    PathText outValue;                    // the "/out:" value, possibly still in double quotes
    std::optional<PathText> callbackId;   // "/callbackid:"
    bool userInterfaceEnabled = false;
};

struct GroupsExtractOutcome {
    int exitCode = 1;  // 1: the package or its configuration could not be read, or extraction failed; -1: cancelled
    int result = 0;    // the reader's or the extraction's result code
    bool progressConnected = false;
};

// Opens the package, reads its configuration, extracts the groups into the "/out:" folder with
// CleanupMode 3 (the extracted files stay for the caller), through the progress pipe when a
// callback id is given and its server answers. A failed extraction is not reported as success:
// the exit code is 0 only when every group was extracted.
GroupsExtractOutcome RunGroupsExtract(const GroupsExtractRequest& request, ExtractionServices services = {});

}  // namespace maglorin
