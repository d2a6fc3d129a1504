#pragma once

#include "engine/engine_link.h"
#include "engine/puzzle_engine.h"
#include "tests/support/recording_engine.h"

namespace testing_support {

// The built engine component behind a recorder, started as the window starts it, for testing
// a feature object without a window.
struct StartedEngine {
    StartedEngine() { link.Start({"0", "2", "2000"}); }

    RecordingEngine recorder{BuiltComponent()};
    engine::EngineLink link{recorder.Factory()};
    engine::PuzzleEngine engine{link};
};

}  // namespace testing_support
