#pragma once
// The 7-Zip headers the library's own stream, progress and password classes are written
// against. Only the decoder's 7-Zip glue includes this.

#include "Common/MyCom.h"
#include "7zip/ICoder.h"
#include "7zip/IPassword.h"
#include "7zip/IStream.h"
