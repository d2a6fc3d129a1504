#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <QString>

#include "engine/dispatch.h"
#include "engine/engine_link.h"

namespace testing_support {

// One late-bound call as the engine received it.
struct EngineCall {
    std::string member;
    std::vector<engine::Variant> args;
};

// Stands between the program and the real engine: records every call made on the engine
// object and forwards it, unless an override answers instead (for results the real engine
// cannot be made to give).
class RecordingEngine {
public:
    using Override = std::function<std::optional<engine::Variant>(const std::string& member,
                                                                  std::span<engine::Variant> args)>;

    // Wraps the class objects that inner makes.
    explicit RecordingEngine(engine::ClassObjectFactory inner);

    // The factory to give the main window.
    engine::ClassObjectFactory Factory();

    // Calls made on the engine object, in order.
    const std::vector<EngineCall>& Calls() const { return state_->calls; }
    std::vector<EngineCall> CallsTo(const std::string& member) const;
    void ClearCalls() { state_->calls.clear(); }
    void SetOverride(Override answer) { state_->override = std::move(answer); }

    // Whether the last class object the factory made still lives.
    bool ClassObjectAlive() const { return !state_->classObject.expired(); }

    // Calls the engine object the program made, as a test's own look at it: not recorded and
    // never overridden. Raises std::logic_error before the program has started its engine.
    QString CallText(const std::string& member, std::vector<engine::Variant> args = {});

private:
    struct State {
        std::vector<EngineCall> calls;
        Override override;
        std::shared_ptr<engine::Dispatch> engineObject;
        std::weak_ptr<void> classObject;
    };
    engine::ClassObjectFactory inner_;
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

// The factory of the engine component built with the project.
engine::ClassObjectFactory BuiltComponent();

}  // namespace testing_support
