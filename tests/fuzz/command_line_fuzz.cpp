// setup's command line on any UTF-16 text: the option scan, the option tail, the choice of run
// mode, and the indirect "/cmdloc" form with its argument splitting. Whatever the scan finds
// must come out of the text it was given.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "command_options.h"

namespace {

using namespace maglorin;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsPartOf(const std::u16string& piece, const std::u16string& text) {
    return piece.empty() || text.find(piece) != std::u16string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::u16string text(size / 2, u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    const ParsedCommandLine parsed = ParseCommandLine(text);
    Require(parsed.tail.size() <= text.size());
    for (const FoundOption& option : parsed.options) {
        Require(option.value.size() <= text.size());
        Require(parsed.Find(option.id) != nullptr);
    }
    (void)ChooseRunMode(parsed);
    for (const std::u16string& argument : SplitArguments(text)) {
        Require(IsPartOf(argument, text));
    }
    (void)IndirectCommandLineLocation(text);
    return 0;
}
