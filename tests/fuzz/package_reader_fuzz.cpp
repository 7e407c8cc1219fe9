// The package reader on any file: the backward footer scan, both tables, the names and the
// entry windows, the digest and the sub-folder named after it. Whatever it accepts must be
// usable as it stands: every name safe to join below a folder, every window inside the file
// before the footer, every sub-folder name free of separators.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "configuration_file.h"
#include "entry_name_check.h"
#include "extraction_paths.h"
#include "fuzz_scratch.h"
#include "md5.h"
#include "package_integrity.h"
#include "payload_reader.h"

namespace {

using namespace maglorin;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

void CheckEntries(const PayloadReader& reader) {
    for (std::size_t i = 0; i < reader.Entries().size(); ++i) {
        const PayloadEntry& entry = reader.Entry(i);
        Require(IsSafeEntryName(entry.name));
        Require(JoinEntryPath(PathFromAscii("C:\\out\\"), entry.name).has_value());
        const EntryWindow window = reader.ReadWindow(i);
        Require(window.offset + window.size <= reader.FooterPosition());
        std::vector<std::uint8_t> data;
        if (reader.ReadEntryData(i, data) == kResultSuccess) {
            Require(data.size() == entry.size);
            if (entry.type == PayloadFileType::Configuration) {
                (void)ConfigurationFile::Parse(data);
            }
        }
        Require(reader.FindEntry(entry.group, entry.type) <= i);
        Require(reader.FindEntryByName(entry.type, entry.name) <= i);
    }
    for (const ExternalFileRecord& record : reader.ExternalFiles()) {
        Require(IsSafeEntryName(record.name));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = test_support::WriteScratchFile("package.exe", data, size);
    PayloadReader reader;
    if (reader.Open(path) != kResultSuccess) {
        return 0;
    }
    CheckEntries(reader);
    const std::optional<PathText> subFolder = PackageSubFolderName(u"", reader.DigestText());
    if (subFolder) {
        Require(subFolder->size() == 7 && FolderPart(*subFolder).empty() && IsSafeEntryName(*subFolder));
    }
    // The digest covers exactly the bytes before the footer the scan found, whatever follows it.
    Md5 md5;
    md5.Update(data, static_cast<std::size_t>(reader.FooterPosition()));
    const bool matches = DigestTextMatches(Md5HexText(md5.Finish()), reader.Footer().digest);
    const int integrity = reader.CheckIntegrity();
    Require(matches == (integrity == kResultSuccess));
    return 0;
}
