#pragma once

// The boundary between the program and the engine component: late-bound objects whose
// members are called by name. Nothing else of the component is visible to the program.

#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>

// The component is built with hidden symbols; the boundary's types stay visible so that an
// error raised inside the component is caught by its type in the program.
#define QUILLMARK_DISPATCH_API __attribute__((visibility("default")))

namespace engine {

class Dispatch;

// One call argument or result: empty (an omitted optional argument, or "nothing"), a 32-bit
// integer, a text, or an object.
using Variant = std::variant<std::monostate, std::int32_t, std::string, std::shared_ptr<Dispatch>>;

// Raised for a call the object cannot understand: an unknown member name, or an argument
// that is missing, surplus or of the wrong kind. Engine failures are never raised; they come
// back as result texts (error codes).
class QUILLMARK_DISPATCH_API DispatchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A late-bound object. The empty name is the default member. Arguments are passed by
// reference, so a member may write into one.
class QUILLMARK_DISPATCH_API Dispatch {
public:
    virtual ~Dispatch() = default;
    virtual Variant Invoke(std::string_view member, std::span<Variant> args) = 0;
};

}  // namespace engine

// Exported by the engine component (libquillmark_engine.so in the program's directory).
// Returns the class object; the caller owns it and deletes it.
extern "C" QUILLMARK_DISPATCH_API engine::Dispatch* QuillmarkCreateClassObject();

// The entry point's name, for the loader that resolves it at run time.
inline constexpr const char* kQuillmarkCreateClassObjectSymbol = "QuillmarkCreateClassObject";
