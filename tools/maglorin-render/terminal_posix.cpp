#include <unistd.h>

#include "terminal.h"

namespace maglorin::render_tool {

bool IsTerminal(std::FILE* stream) { return isatty(fileno(stream)) != 0; }

}  // namespace maglorin::render_tool
