#include "detection_search.h"

#include <string>

#include "file_search.h"
#include "reference_resolver.h"
#include "version_range.h"

namespace maglorin {

namespace {

constexpr std::size_t kMaximumSubkeyName = 260;

// The whole search string names a key: root abbreviation, then the key path (a final "\" is
// dropped). Text without "\" names a root by itself.
RegistryLocation KeyOf(std::u16string_view path) {
    const std::size_t slash = path.find(u'\\');
    RegistryLocation location;
    // The root only; any text names a root (the users root when no other matches).
    static_cast<void>(ParseRegistryLocation(std::u16string(path.substr(0, slash)) + u"\\", location));
    if (slash != std::u16string_view::npos) location.key.assign(path.substr(slash + 1));
    while (!location.key.empty() && location.key.back() == u'\\') location.key.pop_back();
    location.valueName.clear();
    return location;
}

// Root, key and value name; nullopt for text that names no value (no "\" at all).
std::optional<RegistryLocation> ValueOf(std::u16string_view path) {
    RegistryLocation location;
    if (!ParseRegistryLocation(path, location)) return std::nullopt;
    return location;
}

template <typename Integer>
std::u16string DecimalText(Integer value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

bool IsDecimal(std::u16string_view text) {
    if (text.empty()) return false;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
    }
    return true;
}

// Numeric order of two digit strings of any length: -1, 0 or 1.
int CompareDecimal(std::u16string_view a, std::u16string_view b) {
    while (a.size() > 1 && a.front() == u'0') a.remove_prefix(1);
    while (b.size() > 1 && b.front() == u'0') b.remove_prefix(1);
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

bool IsRangeType(int type) { return type >= search_type::kFileVersion && type <= search_type::kRelatedVersions; }

bool IsFlagType(int type) {
    return (type >= search_type::kKeyExists && type <= search_type::kValueMissing) ||
           type == search_type::kProgramExitCode || type == search_type::kComponentInstalled;
}

}  // namespace

bool CompareValue(std::u16string_view value, std::u16string_view referenceContent) {
    if (referenceContent.empty()) return false;
    const char16_t letter = referenceContent.front();
    const std::u16string_view reference = referenceContent.substr(1);
    switch (letter) {
    case u'C': return value.find(reference) != std::u16string_view::npos;
    case u'D': return value != reference;
    case u'E': return value.ends_with(reference);
    case u'G': return IsDecimal(value) && IsDecimal(reference) && CompareDecimal(value, reference) > 0;
    case u'L': return IsDecimal(value) && IsDecimal(reference) && CompareDecimal(value, reference) < 0;
    case u'M': return value == reference;
    case u'S': return value.starts_with(reference);
    case u'X': return value.find(reference) == std::u16string_view::npos;
    default: return false;
    }
}

SearchEvaluator::SearchEvaluator(DetectionSystem& system, const ReferenceResolver& resolver, ProgramHost* host,
                                 SearchLog* log)
    : system_(system), resolver_(resolver), host_(host), log_(log) {}

SearchResult SearchEvaluator::Evaluate(const DetectionSearch& search, SearchScope scope) const {
    SearchResult result;
    const RegistryView view =
        scope.registry64 && system_.Is64BitWindows() ? RegistryView::Force64 : RegistryView::Default;
    switch (search.type) {
    case search_type::kFileVersion: {
        const FileSearchTarget target = PlanFileSearch(system_, resolver_.Resolve(search.searchString));
        RunFileSearch(system_, target, VersionRange(search.minimumVersion, search.maximumVersion),
                      scope.fileSystem64, result.found);
        break;
    }
    case search_type::kProductVersion:
    case search_type::kRelatedVersions:
    case search_type::kComponentInstalled: EvaluateInstaller(search, result); break;
    case search_type::kProgramExitCode: EvaluateProgram(search, result); break;
    default:
        if (search.type >= search_type::kSubkeyVersions && search.type <= search_type::kValueCompare) {
            EvaluateRegistry(search, view, result);
        } else if (log_ != nullptr) {
            // Still counts as present, but a typo in setup.ini must be findable.
            log_->Write(u"Unknown search type " + DecimalText(search.type) +
                        u" for \"" + search.searchString + u"\": counted as present");
        }
        break;
    }
    return result;
}

void SearchEvaluator::EvaluateRegistry(const DetectionSearch& search, RegistryView view, SearchResult& result) const {
    switch (search.type) {
    case search_type::kSubkeyVersions:
        if (auto names = system_.SubkeyNames(KeyOf(search.searchString), view)) {
            for (std::u16string& name : *names) {
                if (name.size() <= kMaximumSubkeyName) result.found.push_back(std::move(name));
            }
        }
        break;
    case search_type::kValueVersion:
    case search_type::kValueCompare: {
        const std::optional<RegistryLocation> location = ValueOf(search.searchString);
        const std::optional<RegistryData> data = location ? system_.ReadValue(*location, view) : std::nullopt;
        if (!data || data->kind == RegistryData::Kind::Other) break;
        std::u16string text = data->kind == RegistryData::Kind::Text ? data->text : DecimalText(data->number);
        if (search.type == search_type::kValueVersion) {
            result.found.push_back(std::move(text));
        } else {
            result.valueText = std::move(text);
            result.valueRead = true;
        }
        break;
    }
    case search_type::kKeyExists: result.present = system_.KeyExists(KeyOf(search.searchString), view); break;
    case search_type::kKeyMissing: result.present = !system_.KeyExists(KeyOf(search.searchString), view); break;
    case search_type::kValueExists:
    case search_type::kValueMissing: {
        const std::optional<RegistryLocation> location = ValueOf(search.searchString);
        const bool exists = location && system_.ReadValue(*location, view).has_value();
        result.present = search.type == search_type::kValueExists ? exists : !exists;
        break;
    }
    default: break;
    }
}

void SearchEvaluator::EvaluateInstaller(const DetectionSearch& search, SearchResult& result) const {
    if (search.type == search_type::kProductVersion) {
        if (auto version = system_.ProductVersionString(search.searchString)) result.found.push_back(std::move(*version));
    } else if (search.type == search_type::kRelatedVersions) {
        for (const std::u16string& product : system_.RelatedProducts(search.searchString)) {
            if (auto version = system_.ProductVersionString(product)) result.found.push_back(std::move(*version));
        }
    } else {
        const ComponentInstallState state = search.searchString.empty()
                                                ? ComponentInstallState::Absent
                                                : system_.LocateComponent(search.searchString);
        result.present = state == ComponentInstallState::Local || state == ComponentInstallState::Source;
    }
}

void SearchEvaluator::EvaluateProgram(const DetectionSearch& search, SearchResult& result) const {
    if (host_ == nullptr) return;
    const bool hidden = search.referenceContent.find(u"WND_HIDE") != std::u16string::npos;
    const std::optional<std::uint32_t> exitCode = host_->RunAndWait(
        resolver_.Resolve(search.searchString), resolver_.Resolve(search.searchCommandLine), hidden);
    result.present = exitCode && *exitCode == 0;
}

bool SearchEvaluator::Judge(const DetectionSearch& search, const SearchResult& result) const {
    if (IsRangeType(search.type)) {
        return VersionRange(search.minimumVersion, search.maximumVersion).AdmitsAny(result.found);
    }
    if (IsFlagType(search.type)) return result.present;
    if (search.type == search_type::kValueCompare) {
        return result.valueRead && CompareValue(result.valueText, search.referenceContent);
    }
    return true;
}

bool SearchEvaluator::EvaluateList(const std::vector<DetectionSearch>& searches, int listOperator, SearchScope scope,
                                   std::vector<std::u16string>& collected) const {
    if (listOperator != static_cast<int>(ListOperator::All) && listOperator != static_cast<int>(ListOperator::Any)) {
        return false;
    }
    const bool wantAll = listOperator == static_cast<int>(ListOperator::All);
    for (const DetectionSearch& search : searches) {
        const SearchResult result = Evaluate(search, scope);
        collected.insert(collected.end(), result.found.begin(), result.found.end());
        const bool present = Judge(search, result);
        if (wantAll && !present) return false;
        if (!wantAll && present) return true;
    }
    return wantAll;
}

}  // namespace maglorin
