#include "restart_plan.h"

#include <algorithm>

namespace maglorin {

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool EqualNoCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return Lower(x) == Lower(y); });
}

std::u16string_view WithoutTrailingSeparators(std::u16string_view folder) {
    while (!folder.empty() && (folder.back() == u'\\' || folder.back() == u'/')) folder.remove_suffix(1);
    return folder;
}

void AppendQuotedOption(std::u16string& line, std::u16string_view text, const std::u16string& value) {
    line.append(u" ").append(text).append(u"\"").append(value).append(u"\"");
}

}  // namespace

bool IsServerPath(std::u16string_view path) {
    return path.size() > 2 && path[0] == u'\\' && path[1] == u'\\' && path[2] != u'\\' && path[2] != u'?' &&
           path[2] != u'.';
}

bool NeedsFixedDiskRestart(bool restarted, PackageFlags flags, std::u16string_view packagePath,
                           bool packageDriveIsFixed) {
    return !restarted && HasFlag(flags, PackageFlags::FilesBesideSetup) && !IsServerPath(packagePath) &&
           !packageDriveIsFixed;
}

std::u16string KeptOptionsAndTail(const ParsedCommandLine& parsed) {
    std::u16string line;
    if (parsed.Has(OptionId::NoUi)) line.append(u" /exenoui");
    if (parsed.Has(OptionId::BasicUi)) line.append(u" /exebasicui");
    if (const FoundOption* language = parsed.Find(OptionId::Language)) {
        line.append(u" /exelang ").append(language->value);
    }
    if (const FoundOption* log = parsed.Find(OptionId::Log)) AppendQuotedOption(line, u"/exelog:", log->value);
    if (const FoundOption* user = parsed.Find(OptionId::ProxyUserName)) {
        AppendQuotedOption(line, u"/username:", user->value);
    }
    if (!parsed.tail.empty() && parsed.tail.front() != u' ') line.append(u" ");
    line.append(parsed.tail);
    return line;
}

std::u16string RestartCommandLine(std::u16string_view copyPath, std::u16string_view packagePath,
                                  const ParsedCommandLine& parsed) {
    std::u16string line = u"\"";
    line.append(copyPath).append(u"\" /OriginalPath:\"").append(packagePath).append(u"\"");
    return line.append(KeptOptionsAndTail(parsed));
}

bool IsOwnTemporaryCopy(std::u16string_view runningPath, std::u16string_view temporaryFolder,
                        std::u16string_view restartMarker) {
    if (runningPath.empty() || temporaryFolder.empty() || !EqualNoCase(runningPath, restartMarker)) return false;
    const std::size_t separator = runningPath.find_last_of(u"\\/");
    if (separator == std::u16string_view::npos) return false;
    return EqualNoCase(WithoutTrailingSeparators(runningPath.substr(0, separator)),
                       WithoutTrailingSeparators(temporaryFolder));
}

std::string SelfDeleteScript(std::string_view copyShortPath, std::string_view scriptPath) {
    const std::string copy(copyShortPath);
    const std::string script(scriptPath);
    std::string text;
    text += "@echo off \r\n";
    text += "set tries=0\r\n";
    text += "ATTRIB -r \"" + copy + "\" \r\n";
    text += ":try \r\n";
    text += "set /a tries+=1\r\n";
    text += "del \"" + copy + "\" \r\n";
    text += "if exist \"" + copy + "\" if %tries% LSS " + std::to_string(kSelfDeleteTries) + " goto try\r\n";
    text += "ATTRIB -r \"" + script + "\" \r\n";
    text += "del \"" + script + "\" | cls";
    return text;
}

}  // namespace maglorin
