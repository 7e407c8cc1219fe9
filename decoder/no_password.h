#pragma once
// The password provider handed to the 7-Zip reader: no password is ever defined, so encrypted
// headers or data cannot be read.

#include "sevenzip_glue.h"

namespace maglorin::decoder {

Z7_CLASS_IMP_COM_1(NoPassword, ICryptoGetTextPassword)
};

}  // namespace maglorin::decoder
