#pragma once

// An HTTP/1.1 request as the server read it and the answer it sends back. Plain values: the
// parser makes requests, the routes make responses, the connection writes them.

#include <string>
#include <string_view>
#include <vector>

namespace ladder::http {

struct Header {
    std::string name;  // as the peer spelled it; compared without regard to case
    std::string value;
};

struct Request {
    std::string method;
    std::string path;      // the target's path, without its query
    std::string query;     // what follows the target's '?', as sent: not decoded; may be empty
    int minorVersion = 1;  // HTTP/1.<minorVersion>, 0 or 1
    std::vector<Header> headers;
    std::string body;  // decoded from chunks when it came chunked
    // Whether the peer lets the connection stay open after the answer.
    bool keepAlive = true;
    // The numeric address of the peer the request came from, set by the connection.
    std::string peerAddress;

    // The first header of that name, or null.
    const std::string* Find(std::string_view name) const;
};

struct Response {
    int status = 200;
    std::vector<Header> headers;  // besides Content-Length and Connection, which are the server's
    std::string body;
    // The connection ends after this answer, whatever the request asked.
    bool close = false;
};

// Whether two header names are the same, without regard to ASCII case.
bool SameName(std::string_view a, std::string_view b);

// The reason phrase of a status the server sends; "Unknown" for others.
const char* ReasonPhrase(int status);

// The answer as it goes on the wire: the status line, the headers, Content-Length,
// Connection ("keep-alive" or "close") and, unless headOnly, the body.
std::string Serialize(const Response& response, bool keepAlive, bool headOnly);

}  // namespace ladder::http
