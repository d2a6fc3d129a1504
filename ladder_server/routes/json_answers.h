#pragma once

// The JSON answers every route gives: a body, or a refusal with its code and a sentence.

#include <nlohmann/json.hpp>

#include <string_view>

#include "ladder_server/http/message.h"

namespace ladder {

inline http::Response Answer(int status, const nlohmann::json& body) {
    http::Response response;
    response.status = status;
    response.headers.push_back({"Content-Type", "application/json"});
    response.body = body.dump();
    return response;
}

inline http::Response Refuse(int status, const char* code, std::string_view message) {
    return Answer(status, nlohmann::json{{"error", code}, {"message", message}});
}

}  // namespace ladder
