#pragma once
// Whether a standard stream is a terminal: progress lines are shown only to a person watching,
// never written into a log or a pipe.

#include <cstdio>

namespace maglorin::render_tool {

bool IsTerminal(std::FILE* stream);

}  // namespace maglorin::render_tool
