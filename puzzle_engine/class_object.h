#pragma once

#include <span>
#include <string_view>

#include "engine/dispatch.h"

namespace puzzle_engine {

// The component's class object. Its default member (the empty name) takes the three start
// texts (generator seed, ladder protocol version, server timeout in ms) and returns a new
// engine object.
class ClassObject final : public engine::Dispatch {
public:
    engine::Variant Invoke(std::string_view member, std::span<engine::Variant> args) override;
};

}  // namespace puzzle_engine
