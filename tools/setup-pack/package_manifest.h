#pragma once
// The manifest text setup-pack builds a package from. UTF-8, one statement per line:
//
//   # comment
//   image PATH                              the program image (setup.exe) the package starts with
//   flags FLAG...                           flag names or numbers (0x21A); repeated lines add up
//   entry GROUP TYPE KEEP NAME SOURCE       GROUP, TYPE: decimal ids; KEEP: "keep" or "remove"
//   configuration SOURCE [NAME]             the configuration entry: group 0, type 3, NAME
//                                           (default setup.ini); sets HasConfiguration and
//                                           ConfigurationInPayload
//   external TYPE NAME                      a file that lies beside setup
//
// Fields are separated by spaces or tabs; a field with spaces is written in double quotes, with
// "" standing for one quote inside. Entry names use '\' between folders. Relative SOURCE and
// image paths are taken from the manifest's folder. Entries keep the order of their lines.

#include <filesystem>
#include <string>
#include <string_view>

#include "package_writer.h"

namespace maglorin {

struct PackageManifest {
    PackageContents contents;
    bool hasImage = false;  // without an image line the caller must name one
};

// False with "line N: ..." in `error` for a statement it cannot take.
bool ParsePackageManifest(std::string_view text, const std::filesystem::path& baseFolder, PackageManifest& manifest,
                          std::string& error);

// Flag names separated by spaces, or "None".
std::string PackageFlagsText(PackageFlags flags);

}  // namespace maglorin
