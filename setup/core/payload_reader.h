#pragma once
// Opens setup's package file: finds the footer by scanning backwards from the end, checks it,
// and reads the entry table and the table of files beside setup. Afterwards it answers lookups
// and hands out the read window of an entry; the file stays open until the reader is destroyed.
// Nothing read from the file is trusted: every table, name and data range must lie inside the
// file before the footer, and every name must stay below the folder it is joined to.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "package_file.h"
#include "package_records.h"
#include "package_result.h"

namespace maglorin {

inline constexpr std::size_t kFooterScanChunk = 1024;

// Where an entry's data lies in the open package file. The file belongs to the reader.
struct EntryWindow {
    const PackageFile* file = nullptr;
    std::uint64_t offset = 0;  // absolute, displacement applied
    std::uint32_t size = 0;    // bytes
};

class PayloadReader {
public:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // Opens the package (shared for reading) and reads both tables. Returns a result code;
    // after a failure the tables are empty and the file is closed.
    [[nodiscard]] int Open(const std::filesystem::path& packagePath);

    // True once a footer was found: from then on extracted files are cleaned up at exit.
    [[nodiscard]] bool IsOpened() const { return opened_; }

    std::size_t FindEntry(PayloadGroup group, PayloadFileType type) const;
    std::size_t FindEntryByName(PayloadFileType type, PackageNameView name) const;  // exact match
    std::size_t FindExternalFile(PayloadFileType type) const;

    const std::vector<PayloadEntry>& Entries() const { return entries_; }
    const std::vector<ExternalFileRecord>& ExternalFiles() const { return externalFiles_; }
    const PayloadEntry& Entry(std::size_t index) const { return entries_.at(index); }

    void MarkExtracted(std::size_t index, bool extracted) { entries_.at(index).extracted = extracted; }

    EntryWindow ReadWindow(std::size_t index) const;
    // The whole data of one entry; result code 0, 2 or 3.
    [[nodiscard]] int ReadEntryData(std::size_t index, std::vector<std::uint8_t>& data) const;

    std::string DigestText() const { return footer_.digest.Text(); }
    PackageFlags Flags() const { return footer_.flags; }
    const PayloadFooter& Footer() const { return footer_; }
    std::int64_t Displacement() const { return displacement_; }  // actual minus recorded offsets
    std::uint64_t FooterPosition() const { return footerPosition_; }
    const std::filesystem::path& PackagePath() const { return packagePath_; }
    const PackageFile& File() const { return file_; }

    // The MD5 check of the whole package against the footer's digest; result 0 when it matches.
    [[nodiscard]] int CheckIntegrity() const;

private:
    [[nodiscard]] int OpenSteps(const std::filesystem::path& packagePath);
    [[nodiscard]] int FindFooter(std::uint64_t fileSize);
    [[nodiscard]] int ReadFooterAt(std::int64_t candidate);
    [[nodiscard]] int ReadEntryTable();
    [[nodiscard]] int ReadExternalTable();
    // Where a recorded range lies now; false when it does not lie before the footer.
    [[nodiscard]] bool Locate(std::uint32_t recorded, std::uint64_t length, std::uint64_t& position) const;

    PackageFile file_;
    std::filesystem::path packagePath_;
    PayloadFooter footer_;
    std::uint64_t footerPosition_ = 0;
    std::int64_t displacement_ = 0;
    std::vector<PayloadEntry> entries_;
    std::vector<ExternalFileRecord> externalFiles_;
    bool opened_ = false;
    bool externalFilesLoaded_ = false;
};

}  // namespace maglorin
