#include "tests/support/window_fixture.h"

#include <QTest>

namespace testing_support {

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

void WindowTest::SetUp() {
    ASSERT_TRUE(programDir_.isValid());
}

void WindowTest::TearDown() {
    window_.reset();
}

TFsudoku_main& WindowTest::MakeWindow(engine::ClassObjectFactory factory) {
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    MainWindowOptions options;
    options.programDir = ProgramDir();
    options.engineFactory = factory ? std::move(factory) : recorder_.Factory();
    options.dialogs = std::move(dialogs);
    window_ = std::make_unique<TFsudoku_main>(std::move(options));
    return *window_;
}

TFsudoku_main& WindowTest::ShowConfigured() {
    if (!window_) {
        MakeWindow();
    }
    window_->show();
    EXPECT_TRUE(WaitFor([this] { return window_->IsConfigured(); }));
    return *window_;
}

TFsudoku_main& WindowTest::ShowReady() {
    ShowConfigured();
    window_->Run(&TFsudoku_main::Timer1Timer);
    EXPECT_TRUE(window_->IsReady());
    return *window_;
}

}  // namespace testing_support
