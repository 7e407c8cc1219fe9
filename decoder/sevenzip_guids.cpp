// The one place the 7-Zip interface identifiers are defined (every other file only declares
// them).
#include "Common/MyInitGuid.h"

#include "sevenzip_glue.h"
