#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

#include "app/error_report.h"
#include "app/header_bar.h"
#include "app/qt_dialogs.h"
#include "app/remove_caption.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "board/board_grid.h"
#include "board/grid_text.h"

namespace {

// The engine's start texts: generator seed ("0": drawn from entropy), ladder protocol
// version, server timeout in ms.
const std::vector<std::string> kEngineStartTexts = {"0", "2", "2000"};

constexpr int kEngineStartDelayMs = 2000;

void OpenInDesktop(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

engine::ClassObjectFactory DefaultEngineFactory() {
    return engine::ComponentFactory(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/quillmark_engine"));
}

}  // namespace

TFsudoku_main::TFsudoku_main(MainWindowOptions options)
    : programDirOption_(options.programDir),
      dialogs_(options.dialogs ? std::move(options.dialogs)
                               : std::make_unique<app::QtDialogs>(this)),
      engine_(options.engineFactory ? std::move(options.engineFactory) : DefaultEngineFactory()),
      tickClock_(options.tickClock ? std::move(options.tickClock) : game::SteadyTickCount),
      openAddress_(options.openAddress ? std::move(options.openAddress) : OpenInDesktop) {
    setObjectName(QStringLiteral("Fsudoku_main"));
    setWindowTitle(QStringLiteral("Quillmark"));
    setFixedSize(kClientWidth, kClientHeight);
    BuildComposition();
    ConnectHandlers();
    FormCreate();
}

TFsudoku_main::~TFsudoku_main() {
    // The board's children (an open cell editor) close after this window's own parts are
    // gone; their last events must not reach the handlers.
    StringGrid->blockSignals(true);
}

void TFsudoku_main::FormCreate() {
    DisableChrome();
    ProgramDir = programDirOption_.isEmpty() ? QCoreApplication::applicationDirPath() + u'/'
                                             : programDirOption_;
    ConfigPath = ProgramDir + QStringLiteral("config.ini");
    SquaresLocked = false;
    SelectedDigit = QStringLiteral("0");
    EmptyGridText = board::EmptyGridText();
    PuzzleFileName.clear();
    PrintPicturePath = ProgramDir + QStringLiteral("print.jpg");
    app::RemoveCaption(*this);
    GameMode = false;

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
    Timer1->start(kEngineStartDelayMs);
}

void TFsudoku_main::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!activated_) {
        activated_ = true;
        // Runs from the event loop, right after the window has been shown.
        QMetaObject::invokeMethod(this, &TFsudoku_main::FormActivate, Qt::QueuedConnection);
    }
}

void TFsudoku_main::FormActivate() {
    if (configured_) {
        return;
    }
    Run(&TFsudoku_main::StartupSequence);
}

void TFsudoku_main::StartupSequence() {
    if (!QFile::exists(ConfigPath)) {
        WriteDefaultSettings();
    }
    SettingsFile = std::make_unique<app::IniFile>(ConfigPath);
    ReadSettings();
    // A skin that cannot be applied is reported, and the start goes on, so that the player
    // can still choose another skin from the menu.
    Run(&TFsudoku_main::ApplySkin);
    BuildSkinMenu();
    LevelMenuRefresh();
    ShowHintState();
    // After start-up no board cell has the focus.
    StatusBar->setFocus();
    ControlStopwatch(QString());
    configured_ = true;
}

void TFsudoku_main::Timer1Timer() {
    Timer1->stop();
    engine_.Start(kEngineStartTexts);
    Splash_Panel->hide();
    StatusBar->SetPanelText(5, QStringLiteral("Version ") + engine_.CallText("Versione"));
    StatusBar->SetPanelText(3, AccountUser);
    EnableChrome();
}

bool TFsudoku_main::IsReady() const {
    return engine_.IsStarted() && ToolBar->isEnabled();
}

void TFsudoku_main::DisableChrome() {
    cntHeader->BBmenu->setEnabled(false);
    cntHeader->BBminimize->setEnabled(false);
    cntHeader->BBclose->setEnabled(false);
    ToolBar->setEnabled(false);
}

void TFsudoku_main::EnableChrome() {
    cntHeader->BBmenu->setEnabled(true);
    cntHeader->BBminimize->setEnabled(true);
    cntHeader->BBclose->setEnabled(true);
    ToolBar->setEnabled(true);
}

void TFsudoku_main::BBcloseClick() {
    if (GameMode) {
        // The game is given up once, here; the closing window must not count as leaving
        // the program and give it up a second time.
        HookDeactivation(false);
        CallWithGame("RinunciaGiocoLadder");
    }
    close();
}

void TFsudoku_main::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TFsudoku_main::FormClose() {
    HookDeactivation(false);
    engine_.ReleaseClassObject();
}

void TFsudoku_main::Run(const std::function<void()>& handler) {
    app::RunReportingFailure(handler, [this](const QString& text) { ReportError(text); });
}

int TFsudoku_main::EngineNumber(std::string_view operation) {
    bool isNumber = false;
    const int number = Engine().CallText(operation).trimmed().toInt(&isNumber);
    if (!isNumber) {
        throw std::runtime_error("The puzzle engine gave no number for " + std::string(operation));
    }
    return number;
}

void TFsudoku_main::OpenAddress(const QString& address) {
    openAddress_(address);
}

void TFsudoku_main::ReportError(const QString& text) {
    dialogs_->ShowMessage(app::BoxKind::Critical, text);
}
