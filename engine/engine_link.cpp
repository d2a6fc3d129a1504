#include "engine/engine_link.h"

#include <QLibrary>
#include <stdexcept>

namespace engine {

ClassObjectFactory ComponentFactory(const QString& libraryPath) {
    auto library = std::make_shared<QLibrary>(libraryPath);
    return [library]() -> std::unique_ptr<Dispatch> {
        if (!library->isLoaded() && !library->load()) {
            throw std::runtime_error(library->errorString().toStdString());
        }
        auto create =
            reinterpret_cast<Dispatch* (*)()>(library->resolve(kQuillmarkCreateClassObjectSymbol));
        if (create == nullptr) {
            throw std::runtime_error(library->errorString().toStdString());
        }
        return std::unique_ptr<Dispatch>(create());
    };
}

QString ResultText(const Variant& result) {
    if (const auto* text = std::get_if<std::string>(&result)) {
        return QString::fromStdString(*text);
    }
    if (const auto* number = std::get_if<std::int32_t>(&result)) {
        return QString::number(*number);
    }
    if (std::holds_alternative<std::monostate>(result)) {
        return QString();
    }
    throw std::runtime_error("The puzzle engine returned an object where a value was expected");
}

EngineLink::EngineLink(ClassObjectFactory factory) : factory_(std::move(factory)) {}

void EngineLink::Start(const std::vector<std::string>& startTexts) {
    classObject_ = factory_();
    if (classObject_ == nullptr) {
        throw std::runtime_error("The puzzle engine component made no class object");
    }
    std::vector<Variant> args(startTexts.begin(), startTexts.end());
    Variant made = classObject_->Invoke("", args);
    auto* object = std::get_if<std::shared_ptr<Dispatch>>(&made);
    if (object == nullptr || *object == nullptr) {
        throw std::runtime_error("The puzzle engine class object made no engine object");
    }
    engine_ = *object;
}

Variant EngineLink::Call(std::string_view operation, std::vector<Variant>& args) {
    if (engine_ == nullptr) {
        throw std::runtime_error("The puzzle engine has not started");
    }
    return engine_->Invoke(operation, args);
}

QString EngineLink::CallText(std::string_view operation, std::initializer_list<Variant> args) {
    std::vector<Variant> values(args);
    return ResultText(Call(operation, values));
}

}  // namespace engine
