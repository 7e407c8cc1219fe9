#pragma once
// Where the running program lives (the sample kit and BG.jpg lie beside it), and the command
// line as UTF-8 / system code page text on Windows.

#include <string>
#include <vector>

namespace maglorin::render_tool {

// The folder of the running program, ending with a separator; "" when it cannot be found.
std::string ProgramFolder();

#if defined(_WIN32)
// The arguments after the program name, in the system code page the file functions use.
std::vector<std::string> ArgumentsFromWide(int argc, wchar_t** argv);
#endif

}  // namespace maglorin::render_tool
