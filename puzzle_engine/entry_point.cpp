// The component's one exported symbol: the program resolves it after loading the library.

#include "engine/dispatch.h"
#include "puzzle_engine/class_object.h"

extern "C" QUILLMARK_DISPATCH_API engine::Dispatch* QuillmarkCreateClassObject() {
    return new puzzle_engine::ClassObject();
}
