#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "engine/dispatch.h"

namespace puzzle_engine {

// The arguments of one late-bound call, read with the operation's name at hand so that a
// call the engine cannot understand raises an error that says what was wrong.
class Arguments {
public:
    Arguments(std::string_view operation, std::span<engine::Variant> values)
        : operation_(operation), values_(values) {}

    std::size_t Count() const { return values_.size(); }

    // Raises engine::DispatchError unless between min and max arguments were passed.
    void ExpectCount(std::size_t min, std::size_t max) const;
    void ExpectCount(std::size_t exactly) const { ExpectCount(exactly, exactly); }

    // The argument at index i; raises engine::DispatchError when it is of another kind.
    std::int32_t Integer(std::size_t index) const;
    const std::string& Text(std::size_t index) const;

    bool IsInteger(std::size_t index) const;
    bool IsText(std::size_t index) const;
    const engine::Variant& At(std::size_t index) const { return values_[index]; }

    [[noreturn]] void Fail(const std::string& what) const;

private:
    std::string_view operation_;
    std::span<engine::Variant> values_;
};

// The kind of a value as a word for error texts: "nothing", "an integer", "a text", "an object".
std::string_view KindName(const engine::Variant& value);

}  // namespace puzzle_engine
