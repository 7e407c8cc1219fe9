#include "no_password.h"

namespace maglorin::decoder {

// Answering E_ABORT tells the reader that no password is defined; nothing is allocated.
Z7_COM7F_IMF(NoPassword::CryptoGetTextPassword(BSTR* password)) {
    if (password != nullptr) {
        *password = nullptr;
    }
    return E_ABORT;
}

}  // namespace maglorin::decoder
