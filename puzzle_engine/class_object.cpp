#include "puzzle_engine/class_object.h"

#include <memory>
#include <string>

#include "puzzle_engine/arguments.h"
#include "puzzle_engine/engine_object.h"
#include "puzzle_engine/start_options.h"

namespace puzzle_engine {

engine::Variant ClassObject::Invoke(std::string_view member, std::span<engine::Variant> args) {
    if (!member.empty()) {
        throw engine::DispatchError("the engine class object has no member named '" +
                                    std::string(member) + "'");
    }
    Arguments arguments("engine creation", args);
    arguments.ExpectCount(3);
    const std::string& seed = arguments.Text(0);
    const std::string& protocolVersion = arguments.Text(1);
    const std::string& serverTimeoutMs = arguments.Text(2);
    auto options = ParseStartOptions(seed, protocolVersion, serverTimeoutMs);
    if (!options) {
        arguments.Fail(
            "the seed, protocol version and timeout in ms must be decimal numbers, not \"" + seed +
            "\", \"" + protocolVersion + "\", \"" + serverTimeoutMs + "\"");
    }
    return std::shared_ptr<engine::Dispatch>(std::make_shared<EngineObject>(*options));
}

}  // namespace puzzle_engine
