#include "tests/support/recording_engine.h"

#include <QString>
#include <stdexcept>

namespace testing_support {

namespace {

class RecordingDispatch : public engine::Dispatch {
public:
    RecordingDispatch(std::shared_ptr<engine::Dispatch> inner,
                      std::function<std::optional<engine::Variant>(const std::string&,
                                                                   std::span<engine::Variant>)>
                          before,
                      bool wrapResult)
        : inner_(std::move(inner)), before_(std::move(before)), wrapResult_(wrapResult) {}

    engine::Variant Invoke(std::string_view member, std::span<engine::Variant> args) override {
        if (before_) {
            if (auto answer = before_(std::string(member), args)) {
                return *answer;
            }
        }
        engine::Variant result = inner_->Invoke(member, args);
        if (wrapResult_) {
            if (auto* object = std::get_if<std::shared_ptr<engine::Dispatch>>(&result)) {
                if (madeEngine) {
                    madeEngine(*object);
                }
                return std::shared_ptr<engine::Dispatch>(
                    std::make_shared<RecordingDispatch>(*object, engineHook, false));
            }
        }
        return result;
    }

    std::function<std::optional<engine::Variant>(const std::string&, std::span<engine::Variant>)>
        engineHook;
    std::function<void(std::shared_ptr<engine::Dispatch>)> madeEngine;
    // Lives as long as this object.
    std::shared_ptr<void> alive = std::make_shared<int>();

private:
    std::shared_ptr<engine::Dispatch> inner_;
    std::function<std::optional<engine::Variant>(const std::string&, std::span<engine::Variant>)>
        before_;
    bool wrapResult_;
};

}  // namespace

RecordingEngine::RecordingEngine(engine::ClassObjectFactory inner) : inner_(std::move(inner)) {}

engine::ClassObjectFactory RecordingEngine::Factory() {
    return [inner = inner_, state = state_]() -> std::unique_ptr<engine::Dispatch> {
        auto classObject = std::make_unique<RecordingDispatch>(
            std::shared_ptr<engine::Dispatch>(inner()), nullptr, true);
        classObject->engineHook =
            [state](const std::string& member,
                    std::span<engine::Variant> args) -> std::optional<engine::Variant> {
            state->calls.push_back({member, {args.begin(), args.end()}});
            if (state->override) {
                return state->override(member, args);
            }
            return std::nullopt;
        };
        state->classObject = classObject->alive;
        classObject->madeEngine = [state](std::shared_ptr<engine::Dispatch> made) {
            state->engineObject = std::move(made);
        };
        return classObject;
    };
}

std::vector<EngineCall> RecordingEngine::CallsTo(const std::string& member) const {
    std::vector<EngineCall> found;
    for (const EngineCall& call : state_->calls) {
        if (call.member == member) {
            found.push_back(call);
        }
    }
    return found;
}

QString RecordingEngine::CallText(const std::string& member, std::vector<engine::Variant> args) {
    if (!state_->engineObject) {
        throw std::logic_error("the program has not started its engine yet");
    }
    return engine::ResultText(state_->engineObject->Invoke(member, args));
}

engine::ClassObjectFactory BuiltComponent() {
    return engine::ComponentFactory(QStringLiteral(QUILLMARK_ENGINE_COMPONENT));
}

}  // namespace testing_support
