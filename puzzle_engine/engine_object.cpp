#include "puzzle_engine/engine_object.h"

#include <map>
#include <string>

#include "puzzle_engine/version.h"

namespace puzzle_engine {

namespace {

using Operation = engine::Variant (EngineObject::*)(const Arguments&);

}  // namespace

EngineObject::EngineObject(const StartOptions& options) : options_(options) {}

engine::Variant EngineObject::Invoke(std::string_view member, std::span<engine::Variant> args) {
    static const std::map<std::string_view, Operation> operations = {
        {"Versione", &EngineObject::Versione},
    };
    auto found = operations.find(member);
    if (found == operations.end()) {
        throw engine::DispatchError("the puzzle engine has no operation named '" +
                                    std::string(member) + "'");
    }
    return (this->*found->second)(Arguments(member, args));
}

engine::Variant EngineObject::Versione(const Arguments& args) {
    args.ExpectCount(0);
    return std::string(kVersion);
}

}  // namespace puzzle_engine
