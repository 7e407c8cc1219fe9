#pragma once
// The Windows tree whose programs this machine runs under Wine: win32 where 32-bit programs
// execute, else win64 (scripts/machine-probe decides, as for the tests). MAGLORIN_WINDOWS_TREE
// (win32 or win64) chooses one by hand.

#include <filesystem>
#include <string>

namespace maglorin {

struct WindowsTree {
    std::string name;            // "win32" or "win64"
    std::filesystem::path root;  // <source>/build/<name>
    std::filesystem::path Bin() const { return root / "bin"; }
    std::filesystem::path WineState() const { return root / "wine"; }
    // The command that opens this tree's Wine session (wine-harness start STATE WIDTH).
    std::string HarnessStart() const;
    std::string HarnessStop() const;
};

[[nodiscard]] WindowsTree RunnableWindowsTree();

}  // namespace maglorin
