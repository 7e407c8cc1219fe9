#pragma once
// Package names (UTF-16) to and from the UTF-8 text of manifests and listings.

#include <string>
#include <string_view>

#include "package_records.h"

namespace maglorin {

// False for text that is not valid UTF-8.
bool Utf8ToPackageName(std::string_view text, PackageName& name);
// Unpaired surrogates become U+FFFD.
std::string PackageNameToUtf8(PackageNameView name);

}  // namespace maglorin
