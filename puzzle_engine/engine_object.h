#pragma once

#include <span>
#include <string_view>

#include "engine/dispatch.h"
#include "puzzle_engine/arguments.h"
#include "puzzle_engine/start_options.h"

namespace puzzle_engine {

// The engine object the program drives: it holds the current puzzle and answers the
// operations by name. Engine failures come back as error-code texts; only a call it cannot
// understand (unknown name, wrong arguments) raises engine::DispatchError.
class EngineObject final : public engine::Dispatch {
public:
    explicit EngineObject(const StartOptions& options);

    engine::Variant Invoke(std::string_view member, std::span<engine::Variant> args) override;

    const StartOptions& Options() const { return options_; }

private:
    // Versione: no arguments; the engine's version text.
    engine::Variant Versione(const Arguments& args);

    StartOptions options_;
};

}  // namespace puzzle_engine
