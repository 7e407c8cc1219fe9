#pragma once
// Declarative searches that decide whether a component is on the machine: a file's version, a
// registry key, value or list of subkeys, an installer-service product, upgrade family or
// component, or a program's exit code. Prerequisites read them from setup.ini; the launch
// conditions build them from their tables.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "detection_system.h"

namespace maglorin {

class ReferenceResolver;

namespace search_type {
inline constexpr int kFileVersion = 0;        // search string: file path[?depth]
inline constexpr int kSubkeyVersions = 1;     // key; every direct subkey's name as a version
inline constexpr int kValueVersion = 2;       // value path; its data as a version
inline constexpr int kProductVersion = 3;     // product code
inline constexpr int kRelatedVersions = 4;    // upgrade code
inline constexpr int kKeyExists = 5;
inline constexpr int kKeyMissing = 6;
inline constexpr int kValueExists = 7;
inline constexpr int kValueMissing = 8;
inline constexpr int kValueCompare = 9;       // reference content: operator letter + reference
inline constexpr int kProgramExitCode = 10;
inline constexpr int kComponentInstalled = 11;
}  // namespace search_type

struct DetectionSearch {
    int type = search_type::kFileVersion;
    std::u16string searchString;
    std::u16string minimumVersion;     // inclusive; empty = open
    std::u16string maximumVersion;     // inclusive; empty = open
    std::u16string referenceContent;   // type 9: operator and reference; type 10: "WND_HIDE"
    std::u16string searchCommandLine;  // type 10: the program's arguments
};

struct SearchResult {
    std::vector<std::u16string> found;  // versions, subkey names or values (types 0 to 4)
    std::u16string valueText;           // type 9
    bool valueRead = false;             // type 9: the value could be read as text or number
    bool present = false;               // types 5 to 8, 10 and 11
};

// How far a search reaches on 64-bit Windows. The launch conditions stay in the 32-bit
// program's own views (only their IIS check looks past the file-system redirection);
// prerequisites may ask for both.
struct SearchScope {
    bool registry64 = false;    // ask for the 64-bit registry view on 64-bit Windows
    bool fileSystem64 = false;  // switch the file-system redirection off during a file search

    static SearchScope SixtyFourBit() { return {true, true}; }
};

enum class ListOperator : int { All = 0, Any = 1 };

class SearchEvaluator {
public:
    // All four must outlive the evaluator; `host` and `log` may be null (no programs are run
    // and nothing is logged without them).
    SearchEvaluator(DetectionSystem& system, const ReferenceResolver& resolver, ProgramHost* host,
                    SearchLog* log);

    [[nodiscard]] SearchResult Evaluate(const DetectionSearch& search, SearchScope scope) const;
    // True when the component counts as present.
    [[nodiscard]] bool Judge(const DetectionSearch& search, const SearchResult& result) const;
    [[nodiscard]] bool IsPresent(const DetectionSearch& search, SearchScope scope) const {
        return Judge(search, Evaluate(search, scope));
    }

    // Operator 0: all must be present (stops at the first absent), 1: any (stops at the first
    // present); any other operator counts as absent. Every evaluated search's found texts are
    // appended to `collected`.
    [[nodiscard]] bool EvaluateList(const std::vector<DetectionSearch>& searches, int listOperator,
                                    SearchScope scope, std::vector<std::u16string>& collected) const;

private:
    void EvaluateRegistry(const DetectionSearch& search, RegistryView view, SearchResult& result) const;
    void EvaluateInstaller(const DetectionSearch& search, SearchResult& result) const;
    void EvaluateProgram(const DetectionSearch& search, SearchResult& result) const;

    DetectionSystem& system_;
    const ReferenceResolver& resolver_;
    ProgramHost* host_;
    SearchLog* log_;
};

// Type 9: applies the operator letter at the front of `referenceContent` to the value text.
// "C" contains, "D" differs, "E" ends with, "G"/"L" numerically greater/less (both decimal),
// "M" equals, "S" starts with, "X" does not contain; anything else is false. Exact case.
[[nodiscard]] bool CompareValue(std::u16string_view value, std::u16string_view referenceContent);

}  // namespace maglorin
