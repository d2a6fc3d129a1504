#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include <QString>

#include "engine/dispatch.h"

namespace engine {

// Makes the engine's class object. Raises std::runtime_error with the system's text when
// the component cannot be loaded or its entry point is missing.
using ClassObjectFactory = std::function<std::unique_ptr<Dispatch>()>;

// The factory of the real component: the shared library at libraryPath (with or without
// its "lib" prefix and suffix), loaded on the first call and never unloaded, since the
// objects it makes live until the program ends.
ClassObjectFactory ComponentFactory(const QString& libraryPath);

// A call's result as text: empty for nothing, decimal for an integer, the text itself.
// Raises std::runtime_error for an object, which no operation returns as its result.
QString ResultText(const Variant& result);

// The program's side of the engine: the class object, the engine object it makes, and
// named late-bound calls on that engine object.
class EngineLink {
public:
    explicit EngineLink(ClassObjectFactory factory);

    // Creates the class object and calls its default member with the three start texts;
    // keeps the object it returns as the engine. Raises std::runtime_error (the system's
    // or the component's text) on failure, leaving the link not started.
    void Start(const std::vector<std::string>& startTexts);
    bool IsStarted() const { return engine_ != nullptr; }

    bool HoldsClassObject() const { return classObject_ != nullptr; }
    void ReleaseClassObject() { classObject_.reset(); }

    // Calls the named operation; arguments are passed by reference, so an operation may
    // write into them. Raises DispatchError for a call the engine cannot understand and
    // std::runtime_error when the engine has not started.
    Variant Call(std::string_view operation, std::vector<Variant>& args);
    // The same, for arguments the caller does not read back, with the result as text.
    QString CallText(std::string_view operation, std::initializer_list<Variant> args = {});

private:
    ClassObjectFactory factory_;
    std::unique_ptr<Dispatch> classObject_;
    std::shared_ptr<Dispatch> engine_;
};

}  // namespace engine
