#include "tests/support/window_fixture.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "board/board_grid.h"
#include "board/cell_layout.h"
#include "game/stopwatch.h"

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

MainWindowOptions WindowTest::Options(engine::ClassObjectFactory factory) {
    const QString skins = ProgramDir() + QStringLiteral("skin");
    if (!QFileInfo::exists(skins)) {
        QFile::link(QStringLiteral(QUILLMARK_SKIN_DIR), skins);
    }
    MainWindowOptions options;
    options.programDir = ProgramDir();
    options.engineFactory = factory ? std::move(factory) : recorder_.Factory();
    options.tickClock = [this] { return ticks; };
    options.openAddress = [this](const QString& address) { opened_ << address; };
    if (printer) {
        options.printerAvailable = [has = *printer] { return has; };
    }
    return options;
}

TFsudoku_main& WindowTest::MakeWindow(engine::ClassObjectFactory factory) {
    window_.reset();
    auto dialogs = std::make_unique<ScriptedDialogs>();
    dialogs_ = dialogs.get();
    MainWindowOptions options = Options(std::move(factory));
    options.dialogs = std::move(dialogs);
    window_ = std::make_unique<TFsudoku_main>(std::move(options));
    return *window_;
}

TFsudoku_main& WindowTest::MakeWindowWithRealBoxes() {
    window_.reset();
    dialogs_ = nullptr;
    window_ = std::make_unique<TFsudoku_main>(Options({}));
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
    window_->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_.get()));
    return *window_;
}

QString WindowTest::Panel(app::StatusPanel panel) {
    return Find<QLabel>(QStringLiteral("StatusPanel%1").arg(static_cast<int>(panel))).text();
}

board::BoardGrid& WindowTest::Board() {
    return Find<board::BoardGrid>(QStringLiteral("StringGrid"));
}

QString WindowTest::Cell(int column, int row) {
    return Board().CellText(column, row);
}

bool WindowTest::Locked(int column, int row) {
    return Board()
        .item(row, column)
        ->data(Qt::AccessibleDescriptionRole)
        .toString()
        .endsWith(QLatin1String(", locked"));
}

int WindowTest::FilledCells() {
    int filled = 0;
    for (int row = 0; row < 9; ++row) {
        for (int column = 0; column < 9; ++column) {
            filled += Cell(column, row).isEmpty() ? 0 : 1;
        }
    }
    return filled;
}

bool WindowTest::StopwatchRunning() {
    return Find<game::Stopwatch>().IsRunning();
}

void WindowTest::ClickCell(int column, int row) {
    QTest::mouseClick(Board().viewport(), Qt::LeftButton, {},
                      board::CellRect(column, row).center());
}

void WindowTest::Type(const QString& keys) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClicks(target, keys);
    QCoreApplication::processEvents();
}

void WindowTest::Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QTest::keyClick(target, key, modifiers);
    QCoreApplication::processEvents();
}

void WindowTest::Enter(int column, int row, QChar digit) {
    ClickCell(column, row);
    Type(digit);
}

QStringList WindowTest::CellWrites() {
    QStringList writes;
    for (const EngineCall& call : recorder_.CallsTo("scrivi_cella")) {
        QStringList parts;
        for (const engine::Variant& arg : call.args) {
            parts << engine::ResultText(arg);
        }
        writes << parts.join(u',');
    }
    return writes;
}

void WindowTest::WriteConfig(const QByteArray& text) {
    QFile file(ConfigPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QByteArray WindowTest::ConfigText() const {
    QFile file(ConfigPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace testing_support
