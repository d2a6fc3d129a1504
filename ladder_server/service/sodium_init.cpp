#include "ladder_server/service/sodium_init.h"

#include <sodium.h>

#include <stdexcept>

namespace ladder {

void InitSodium() {
    if (sodium_init() < 0) {
        throw std::runtime_error("libsodium could not start");
    }
}

}  // namespace ladder
