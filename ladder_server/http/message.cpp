#include "ladder_server/http/message.h"

#include <algorithm>

namespace ladder::http {

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Lower(x) == Lower(y); });
}

const std::string* Request::Find(std::string_view name) const {
    const auto found = std::find_if(headers.begin(), headers.end(), [name](const Header& header) {
        return SameName(header.name, name);
    });
    return found == headers.end() ? nullptr : &found->value;
}

const char* ReasonPhrase(int status) {
    switch (status) {
        case 100:
            return "Continue";
        case 200:
            return "OK";
        case 304:
            return "Not Modified";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        case 408:
            return "Request Timeout";
        case 413:
            return "Content Too Large";
        case 414:
            return "URI Too Long";
        case 417:
            return "Expectation Failed";
        case 422:
            return "Unprocessable Content";
        case 431:
            return "Request Header Fields Too Large";
        case 500:
            return "Internal Server Error";
        case 501:
            return "Not Implemented";
        case 503:
            return "Service Unavailable";
        case 505:
            return "HTTP Version Not Supported";
        default:
            return "Unknown";
    }
}

std::string Serialize(const Response& response, bool keepAlive, bool headOnly) {
    std::string wire;
    wire.reserve(128 + response.body.size());
    wire.append("HTTP/1.1 ")
        .append(std::to_string(response.status))
        .append(" ")
        .append(ReasonPhrase(response.status))
        .append("\r\n");
    for (const Header& header : response.headers) {
        wire.append(header.name).append(": ").append(header.value).append("\r\n");
    }
    // A 304 has no body, and a Content-Length there would have to be the length of the 200's.
    const bool bodiless = response.status == 304;
    if (!bodiless) {
        wire.append("Content-Length: ").append(std::to_string(response.body.size())).append("\r\n");
    }
    wire.append(keepAlive ? "Connection: keep-alive\r\n\r\n" : "Connection: close\r\n\r\n");
    if (!headOnly && !bodiless) {
        wire.append(response.body);
    }
    return wire;
}

}  // namespace ladder::http
