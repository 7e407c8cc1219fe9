#pragma once
// The 7-Zip reader objects one extraction state holds.

#include "sevenzip_glue.h"

#include "7zip/Archive/7z/7zIn.h"

namespace maglorin::decoder {

struct SevenZipArchive {
    CMyComPtr<IInStream> window;
    CMyComPtr<ICryptoGetTextPassword> password;
    NArchive::N7z::CInArchive reader{true};  // multithreaded coder mixer
    NArchive::N7z::CDbEx database;
};

}  // namespace maglorin::decoder
