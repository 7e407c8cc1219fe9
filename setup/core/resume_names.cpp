#include "resume_names.h"

namespace maglorin {

namespace {

constexpr std::size_t kRunValueNameLimit = 79;
constexpr std::size_t kKeptRunValueBytes = 200;
constexpr std::u16string_view kWorkItemReplaced = u"\\/:*?\"<>|";

bool BeginsWithQuote(std::u16string_view text) { return !text.empty() && text.front() == u'"'; }

std::u16string Quoted(std::u16string_view text) {
    std::u16string quoted;
    quoted.reserve(text.size() + 2);
    quoted.push_back(u'"');
    quoted.append(text);
    quoted.push_back(u'"');
    return quoted;
}

}  // namespace

std::u16string WorkItemName(std::u16string_view packagePath) {
    std::u16string name(packagePath);
    for (char16_t& c : name) {
        if (kWorkItemReplaced.find(c) != std::u16string_view::npos) c = u'_';
    }
    return name + u".job";
}

std::u16string WorkItemApplication(std::u16string_view packagePath) {
    return BeginsWithQuote(packagePath) ? std::u16string(packagePath) : Quoted(packagePath);
}

std::u16string RunValueName(std::u16string_view packagePath) {
    if (packagePath.size() <= kRunValueNameLimit) return std::u16string(packagePath);
    return std::u16string(packagePath.substr(packagePath.size() - kRunValueNameLimit));
}

std::u16string RunValueData(std::u16string_view packagePath, std::u16string_view arguments) {
    const bool quote = packagePath.find(u' ') != std::u16string_view::npos && !BeginsWithQuote(packagePath);
    std::u16string data = quote ? Quoted(packagePath) : std::u16string(packagePath);
    if (arguments.empty()) return data;
    if (arguments.front() != u' ') data += u' ';
    return data + std::u16string(arguments);
}

bool RunValueNeedsWriting(std::optional<std::size_t> existingDataBytes) {
    return !existingDataBytes || *existingDataBytes > kKeptRunValueBytes;
}

}  // namespace maglorin
