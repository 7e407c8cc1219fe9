#include "extraction_folder.h"

namespace maglorin {

namespace {

constexpr std::u16string_view kLongPathPrefix = u"\\\\?\\";

std::u16string_view LeadingPrefix(std::u16string_view folder) {
    if (folder.starts_with(kLongPathPrefix)) return kLongPathPrefix;
    if (folder.starts_with(u"\\\\")) return folder.substr(0, 2);
    if (folder.starts_with(u"\\")) return folder.substr(0, 1);
    return {};
}

std::u16string_view TrimTrailingBlanksAndDots(std::u16string_view part) {
    while (!part.empty() && (part.back() == u' ' || part.back() == u'.')) part.remove_suffix(1);
    return part;
}

}  // namespace

std::u16string NormaliseExtractionFolder(std::u16string_view folder) {
    const std::u16string_view prefix = LeadingPrefix(folder);
    std::u16string result(prefix);
    std::u16string_view rest = folder.substr(prefix.size());
    while (!rest.empty()) {
        const std::size_t separator = rest.find(u'\\');
        const std::u16string_view part = TrimTrailingBlanksAndDots(rest.substr(0, separator));
        rest = separator == std::u16string_view::npos ? std::u16string_view() : rest.substr(separator + 1);
        if (part.empty()) continue;
        result += part;
        if (part.back() != u']') result += u'\\';
    }
    return result;
}

}  // namespace maglorin
