#include "package_manifest.h"

#include <charconv>
#include <vector>

#include "name_text.h"

namespace maglorin {

namespace {

// Splits a line into fields; false for an unterminated quote.
bool SplitFields(std::string_view line, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) {
            ++i;
        }
        if (i == line.size()) {
            return true;
        }
        std::string field;
        if (line[i] == '"') {
            ++i;
            while (true) {
                if (i == line.size()) {
                    return false;
                }
                if (line[i] == '"' && i + 1 < line.size() && line[i + 1] == '"') {
                    field.push_back('"');
                    i += 2;
                } else if (line[i] == '"') {
                    ++i;
                    break;
                } else {
                    field.push_back(line[i++]);
                }
            }
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t') {
                field.push_back(line[i++]);
            }
        }
        fields.push_back(std::move(field));
    }
}

bool ParseNumber(std::string_view text, std::uint32_t& value) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto [end, failure] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return failure == std::errc{} && end == text.data() + text.size() && !text.empty();
}

bool ParseFlag(std::string_view text, PackageFlags& flags) {
    for (const PackageFlagName& flag : kPackageFlagNames) {
        if (text == flag.name) {
            flags = flags | flag.flag;
            return true;
        }
    }
    std::uint32_t value = 0;
    if (!ParseNumber(text, value)) {
        return false;
    }
    flags = flags | static_cast<PackageFlags>(value);
    return true;
}

class ManifestParser {
public:
    ManifestParser(const std::filesystem::path& baseFolder, PackageManifest& manifest)
        : baseFolder_(baseFolder), manifest_(manifest) {}

    // Empty when the statement was taken; else the problem.
    std::string Statement(const std::vector<std::string>& fields) {
        const std::string& keyword = fields[0];
        const std::size_t arguments = fields.size() - 1;
        if (keyword == "image" && arguments == 1) {
            manifest_.contents.programImage = Source(fields[1]);
            manifest_.hasImage = true;
            return {};
        }
        if (keyword == "flags" && arguments >= 1) {
            for (std::size_t i = 1; i < fields.size(); ++i) {
                if (!ParseFlag(fields[i], manifest_.contents.flags)) {
                    return "unknown flag '" + fields[i] + "'";
                }
            }
            return {};
        }
        if (keyword == "entry" && arguments == 5) {
            return Entry(fields[1], fields[2], fields[3], fields[4], fields[5]);
        }
        if (keyword == "configuration" && (arguments == 1 || arguments == 2)) {
            manifest_.contents.flags =
                manifest_.contents.flags | PackageFlags::HasConfiguration | PackageFlags::ConfigurationInPayload;
            return Entry("0", "3", "remove", arguments == 2 ? fields[2] : "setup.ini", fields[1]);
        }
        if (keyword == "external" && arguments == 2) {
            return External(fields[1], fields[2]);
        }
        return "expected 'image PATH', 'flags FLAG...', 'entry GROUP TYPE KEEP NAME SOURCE', "
               "'configuration SOURCE [NAME]' or 'external TYPE NAME'";
    }

private:
    std::filesystem::path Source(const std::string& text) const {
        std::filesystem::path path(std::u8string(text.begin(), text.end()));
        return path.is_absolute() ? path : baseFolder_ / path;
    }

    std::string Entry(const std::string& group, const std::string& type, const std::string& keep,
                      const std::string& name, const std::string& source) {
        PackageEntryInput entry;
        std::uint32_t number = 0;
        if (!ParseNumber(group, number)) {
            return "group '" + group + "' is not a number";
        }
        entry.group = static_cast<PayloadGroup>(number);
        if (!ParseNumber(type, number)) {
            return "type '" + type + "' is not a number";
        }
        entry.type = static_cast<PayloadFileType>(number);
        if (keep != "keep" && keep != "remove") {
            return "expected 'keep' or 'remove', not '" + keep + "'";
        }
        entry.entryFlags = keep == "keep" ? kEntryKeepFlag : 0;
        if (!Utf8ToPackageName(name, entry.name)) {
            return "name is not UTF-8 text";
        }
        entry.data = Source(source);
        manifest_.contents.entries.push_back(std::move(entry));
        return {};
    }

    std::string External(const std::string& type, const std::string& name) {
        ExternalFileRecord record;
        std::uint32_t number = 0;
        if (!ParseNumber(type, number)) {
            return "type '" + type + "' is not a number";
        }
        record.type = static_cast<PayloadFileType>(number);
        if (!Utf8ToPackageName(name, record.name)) {
            return "name is not UTF-8 text";
        }
        manifest_.contents.externalFiles.push_back(std::move(record));
        return {};
    }

    std::filesystem::path baseFolder_;
    PackageManifest& manifest_;
};

}  // namespace

bool ParsePackageManifest(std::string_view text, const std::filesystem::path& baseFolder, PackageManifest& manifest,
                          std::string& error) {
    manifest = PackageManifest{};
    ManifestParser parser(baseFolder, manifest);
    std::vector<std::string> fields;
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        if (!SplitFields(line, fields)) {
            error = "line " + std::to_string(lineNumber) + ": a quoted field is not closed";
            return false;
        }
        if (fields.empty() || fields[0].starts_with('#')) {
            continue;
        }
        if (std::string problem = parser.Statement(fields); !problem.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + problem;
            return false;
        }
    }
    return true;
}

std::string PackageFlagsText(PackageFlags flags) {
    std::string text;
    for (const PackageFlagName& flag : kPackageFlagNames) {
        if (HasFlag(flags, flag.flag)) {
            if (!text.empty()) {
                text += ' ';
            }
            text += flag.name;
        }
    }
    return text.empty() ? "None" : text;
}

}  // namespace maglorin
