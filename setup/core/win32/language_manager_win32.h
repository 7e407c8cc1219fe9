#pragma once
// Which language setup speaks: its built-in languages (those of its version resource) and the
// payload's language libraries, the current text source, the chosen language and whether anybody
// fixed it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "language_choice.h"
#include "win32_handles.h"

namespace maglorin {

class LanguageManager {
public:
    // Copies out the library "<id>.dll" and gives its path; false when it cannot.
    using LibraryCopier = std::function<bool(std::uint16_t languageId, std::wstring& path)>;

    LanguageManager(std::vector<std::uint16_t> builtIn, std::vector<std::uint16_t> libraries, LibraryCopier copier);

    // Built-in languages (base first) followed by the library languages.
    const std::vector<std::uint16_t>& Available() const { return available_; }
    const std::vector<std::uint16_t>& BuiltIn() const { return builtIn_; }
    bool HasLibraries() const { return available_.size() > builtIn_.size(); }
    bool IsAvailable(std::uint16_t languageId) const;
    std::uint16_t BaseLanguage() const { return builtIn_.empty() ? 0 : builtIn_.front(); }

    // Switches the text source: back to the program's own texts for a built-in language, else to
    // the loaded library (kept as it was when it cannot be copied or loaded). Calls the switch
    // handler after every switch. False when the source stayed as it was.
    bool Use(std::uint16_t languageId);

    void SetSwitchHandler(std::function<void()> handler) { onSwitch_ = std::move(handler); }
    HMODULE TextSource() const { return library_.Get(); }
    std::uint16_t Chosen() const { return chosen_; }  // 0: a built-in language
    bool NotFixed() const { return notFixed_; }
    void Fix() { notFixed_ = false; }

private:
    std::vector<std::uint16_t> builtIn_;
    std::vector<std::uint16_t> available_;
    LibraryCopier copier_;
    LibraryHandle library_;
    std::uint16_t chosen_ = 0;
    bool notFixed_ = true;
    std::function<void()> onSwitch_;
};

// The system's four language ids (the interface ones 0 where the system lacks them).
SystemLanguageIds CurrentSystemLanguages();

}  // namespace maglorin
