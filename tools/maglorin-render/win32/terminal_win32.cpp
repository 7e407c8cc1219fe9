#include <io.h>

#include "terminal.h"

namespace maglorin::render_tool {

bool IsTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

}  // namespace maglorin::render_tool
