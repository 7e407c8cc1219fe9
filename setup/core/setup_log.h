#pragma once
// The log of a silent install ("/exelog:"): one UTF-8 line per step, message, started command
// line and exit code, appended to the named file. Without a file every write is a no-op, so the
// flow writes unconditionally. Secrets never reach the file: command lines go through
// MaskSecrets before they are written.

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace maglorin {

class SetupLog {
public:
    SetupLog() = default;

    // Opens the file for appending (created when missing). False when it cannot be opened; the
    // log then stays closed and writes do nothing.
    [[nodiscard]] bool Open(const std::filesystem::path& file);
    bool IsOpen() const { return file_ != nullptr; }

    // Appends one line (UTF-8, ending in "\r\n") and flushes it, so a crash loses nothing
    // already written. Line breaks inside the text become blanks: one event, one line.
    void Write(std::u16string_view line);

    // The command line with the values of "/password:" and of every property whose name
    // contains "PASSWORD", "PASSWD" or "PWD" (any case) replaced by "****".
    static std::u16string MaskSecrets(std::u16string_view commandLine);

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, FileCloser> file_;
};

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

}  // namespace maglorin
