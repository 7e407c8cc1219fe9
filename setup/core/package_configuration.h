#pragma once
// setup.ini of an open package: the configuration entry inside the payload, or the file beside
// setup named by the external-file table.

#include <filesystem>

#include "configuration_file.h"
#include "payload_reader.h"

namespace maglorin {

// Result 0, 2 (no configuration where the package says it is, or unreadable) or 3.
[[nodiscard]] int ReadPackageConfiguration(const PayloadReader& reader, const std::filesystem::path& setupFolder,
                                           ConfigurationFile& configuration);

}  // namespace maglorin
