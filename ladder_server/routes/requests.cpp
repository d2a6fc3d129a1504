#include "ladder_server/routes/requests.h"

#include <nlohmann/json.hpp>

#include <optional>

namespace ladder {

namespace {

using nlohmann::json;

// The body as a JSON object, or why it is not one.
std::variant<json, BadRequest> ParseObject(std::string_view body) {
    json value = json::parse(body, nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) {
        return BadRequest{"the body is not valid JSON"};
    }
    if (!value.is_object()) {
        return BadRequest{"the body is not a JSON object"};
    }
    return value;
}

// Reads the string field name into *out; an error message when it is missing or no string.
std::optional<BadRequest> ReadText(const json& object, const char* name, std::string* out) {
    const auto field = object.find(name);
    if (field == object.end()) {
        return BadRequest{std::string("missing field \"") + name + "\""};
    }
    if (!field->is_string()) {
        return BadRequest{std::string("field \"") + name + "\" must be a string"};
    }
    *out = field->get<std::string>();
    return std::nullopt;
}

std::optional<sudoku::Grid> ReadGrid(std::string_view text) {
    if (text.size() != static_cast<std::size_t>(sudoku::kCellCount)) {
        return std::nullopt;
    }
    return sudoku::ParseLine(text);
}

}  // namespace

Parsed<StartRequest> ParseStartRequest(std::string_view body) {
    auto object = ParseObject(body);
    if (auto* bad = std::get_if<BadRequest>(&object)) {
        return std::move(*bad);
    }
    const json& fields = std::get<json>(object);
    StartRequest request;
    for (auto [name, out] :
         {std::pair{"user", &request.user}, std::pair{"password", &request.password}}) {
        if (auto bad = ReadText(fields, name, out)) {
            return std::move(*bad);
        }
    }
    return request;
}

Parsed<FinishRequest> ParseFinishRequest(std::string_view body) {
    auto object = ParseObject(body);
    if (auto* bad = std::get_if<BadRequest>(&object)) {
        return std::move(*bad);
    }
    const json& fields = std::get<json>(object);
    FinishRequest request;
    std::string gridText;
    for (auto [name, out] :
         {std::pair{"user", &request.user}, std::pair{"password", &request.password},
          std::pair{"game_id", &request.gameId}, std::pair{"grid", &gridText}}) {
        if (auto bad = ReadText(fields, name, out)) {
            return std::move(*bad);
        }
    }
    const auto grid = ReadGrid(gridText);
    if (!grid) {
        return BadRequest{"field \"grid\" must be 81 characters, 1-9 or '.' or '0' for empty"};
    }
    request.grid = *grid;
    return request;
}

Parsed<ForfeitRequest> ParseForfeitRequest(std::string_view body) {
    auto object = ParseObject(body);
    if (auto* bad = std::get_if<BadRequest>(&object)) {
        return std::move(*bad);
    }
    const json& fields = std::get<json>(object);
    ForfeitRequest request;
    for (auto [name, out] :
         {std::pair{"user", &request.user}, std::pair{"password", &request.password},
          std::pair{"game_id", &request.gameId}}) {
        if (auto bad = ReadText(fields, name, out)) {
            return std::move(*bad);
        }
    }
    return request;
}

}  // namespace ladder
