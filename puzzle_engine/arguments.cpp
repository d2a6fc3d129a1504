#include "puzzle_engine/arguments.h"

#include <string>

namespace puzzle_engine {

std::string_view KindName(const engine::Variant& value) {
    switch (value.index()) {
        case 0:
            return "nothing";
        case 1:
            return "an integer";
        case 2:
            return "a text";
        default:
            return "an object";
    }
}

void Arguments::Fail(const std::string& what) const {
    throw engine::DispatchError(std::string(operation_) + ": " + what);
}

void Arguments::ExpectCount(std::size_t min, std::size_t max) const {
    if (values_.size() >= min && values_.size() <= max) {
        return;
    }
    std::string expected =
        min == max ? std::to_string(min) : std::to_string(min) + " to " + std::to_string(max);
    Fail("takes " + expected + " argument" + (max == 1 ? "" : "s") + ", " +
         std::to_string(values_.size()) + " given");
}

bool Arguments::IsInteger(std::size_t index) const {
    return std::holds_alternative<std::int32_t>(values_[index]);
}

bool Arguments::IsText(std::size_t index) const {
    return std::holds_alternative<std::string>(values_[index]);
}

std::int32_t Arguments::Integer(std::size_t index) const {
    if (!IsInteger(index)) {
        Fail("argument " + std::to_string(index + 1) + " must be an integer, not " +
             std::string(KindName(values_[index])));
    }
    return std::get<std::int32_t>(values_[index]);
}

const std::string& Arguments::Text(std::size_t index) const {
    if (!IsText(index)) {
        Fail("argument " + std::to_string(index + 1) + " must be a text, not " +
             std::string(KindName(values_[index])));
    }
    return std::get<std::string>(values_[index]);
}

}  // namespace puzzle_engine
