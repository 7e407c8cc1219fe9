// setup.ini on any bytes: the parser, the general options, the instance list with its version
// numbers, and the references inside every value resolved against a fixed table of answers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

#include "configuration_file.h"
#include "extraction_folder.h"
#include "general_options.h"
#include "instance_record.h"
#include "reference_resolver.h"
#include "version_number.h"

namespace {

using namespace maglorin;

// Answers like a small system: every question has an answer, some of them long.
class TableLookups final : public ReferenceLookups {
public:
    std::optional<std::u16string> SystemFolder(SystemFolderKind kind) override {
        return kind == SystemFolderKind::Temp ? u"C:\\Temp" : u"C:\\Windows\\";
    }
    std::optional<std::u16string> ShellFolder(int folderNumber) override {
        if (folderNumber % 3 == 0) {
            return std::nullopt;
        }
        return u"C:\\Shell\\" + std::u16string(static_cast<std::size_t>(folderNumber % 7), u'x');
    }
    std::optional<std::u16string> Environment(std::u16string_view name) override {
        if (name.empty()) {
            return std::nullopt;
        }
        return std::u16string(name) + u"-value";
    }
    std::optional<std::u16string> RegistryString(const RegistryLocation&, RegistryView) override {
        return u"registry text with [WindowsFolder] and %PATH% inside";
    }
};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ConfigurationFile file = ConfigurationFile::Parse(std::span<const std::uint8_t>(data, size));
    // Every section and entry stands for a line of its own: what is kept is bounded by the text.
    std::size_t records = file.Sections().size();
    for (const ConfigurationSection& section : file.Sections()) {
        records += section.entries.size();
    }
    Require(records <= size / 2);
    const GeneralOptions options = ReadGeneralOptions(file);
    (void)ParseLanguageIds(options.langs);
    (void)NormaliseExtractionFolder(options.extractionFolder);
    TableLookups lookups;
    ReferenceResolver resolver(lookups, u"C:\\Setup\\");
    for (const ConfigurationSection& section : file.Sections()) {
        for (const ConfigurationEntry& entry : section.entries) {
            (void)resolver.Resolve(entry.value);
            (void)VersionNumber::Parse(entry.value).ToText();
        }
    }
    for (const InstanceRecord& instance : ReadInstances(file)) {
        (void)instance.version.ToText();
    }
    return 0;
}
