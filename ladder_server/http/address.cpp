#include "ladder_server/http/address.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace ladder::http {

bool IsNumericAddress(const std::string& text) {
    unsigned char bytes[sizeof(in6_addr)];
    return inet_pton(AF_INET, text.c_str(), bytes) == 1 ||
           inet_pton(AF_INET6, text.c_str(), bytes) == 1;
}

}  // namespace ladder::http
