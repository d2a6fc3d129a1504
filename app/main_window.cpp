#include "app/main_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "app/accessibility.h"
#include "app/error_report.h"
#include "app/header_bar.h"
#include "app/play_aids_settings.h"
#include "app/popup_menu.h"
#include "app/settings.h"
#include "app/status_bar.h"
#include "app/tool_bar.h"
#include "appearance/skins.h"
#include "board/board_grid.h"
#include "board/board_session.h"
#include "board/hints.h"
#include "engine/engine_errors.h"
#include "engine/puzzle_engine.h"
#include "game/online_game.h"
#include "game/puzzle_commands.h"
#include "game/stopwatch.h"
#include "help/help_commands.h"
#include "output/picture_commands.h"
#include "output/puzzle_files.h"
#include "toolkit/qt_dialogs.h"
#include "toolkit/remove_caption.h"
#include "toolkit/sentences.h"

namespace {

// The engine's start texts: generator seed ("0": drawn from entropy), ladder protocol
// version, server timeout in ms.
const std::vector<std::string> kEngineStartTexts = {"0", "2", "2000"};

constexpr int kEngineStartDelayMs = 2000;

void OpenInDesktop(const QString& address) {
    QDesktopServices::openUrl(QUrl(address));
}

// The engine component beside the executable in the build folder, else where the installed
// layout puts it relative to the executable.
engine::ClassObjectFactory DefaultEngineFactory() {
    const QString built = QCoreApplication::applicationDirPath() + QStringLiteral("/");
    const QString folder = QFileInfo::exists(built + QStringLiteral("libquillmark_engine.so"))
                               ? built
                               : built + QStringLiteral(QUILLMARK_INSTALLED_ENGINE_DIR "/");
    return engine::ComponentFactory(folder + QStringLiteral("quillmark_engine"));
}

app::ProgramPaths PathsOf(const MainWindowOptions& options) {
    if (!options.programDir.isEmpty()) {
        return app::PathsIn(options.programDir);
    }
    return app::PathsFor(QCoreApplication::applicationDirPath() + u'/',
                         QStringLiteral(QUILLMARK_INSTALLED_SKIN_DIR));
}

}  // namespace

TFsudoku_main::TFsudoku_main(MainWindowOptions options)
    : dialogs_(options.dialogs ? std::move(options.dialogs)
                               : std::make_unique<toolkit::QtDialogs>(this)),
      openAddress_(options.openAddress ? std::move(options.openAddress) : OpenInDesktop),
      engineLink_(options.engineFactory ? std::move(options.engineFactory)
                                        : DefaultEngineFactory()),
      engine_(std::make_unique<engine::PuzzleEngine>(engineLink_)),
      paths_(PathsOf(options)) {
    app::InstallAccessibility();
    setObjectName(QStringLiteral("Fsudoku_main"));
    setWindowTitle(QStringLiteral("Quillmark"));
    setFixedSize(kClientWidth, kClientHeight);
    MakeFeatures(options);
    BuildComposition();
    picture_ = new output::PictureCommands(*StringGrid, skins_->Colors(), *dialogs_,
                                           paths_.scratchFolder + QStringLiteral("print.jpg"),
                                           options.printerAvailable
                                               ? std::move(options.printerAvailable)
                                               : output::PictureCommands::SystemHasPrinter,
                                           this);
    ConnectHandlers();
    FormCreate();
}

TFsudoku_main::~TFsudoku_main() {
    // The board's children (an open cell editor) close after this window's own parts are
    // gone; their last events must not reach the handlers.
    StringGrid->blockSignals(true);
}

void TFsudoku_main::MakeFeatures(MainWindowOptions& options) {
    settings_ = std::make_unique<app::Settings>(paths_.configPath);
    playAids_ = std::make_unique<app::PlayAidsSettings>(paths_.playAidsPath);
    skins_ = std::make_unique<appearance::Skins>(paths_.skinRoots);
    help_ = std::make_unique<help::HelpCommands>(*engine_, *dialogs_, openAddress_);
    board_ = new board::BoardSession(*engine_, this);
    hints_ = new board::Hints(*engine_, this);
    stopwatch_ = new game::Stopwatch(
        options.tickClock ? std::move(options.tickClock) : game::SteadyTickCount, this);
    onlineGame_ = new game::OnlineGame(*engine_, *board_, *stopwatch_, *help_, *dialogs_, this);
    puzzle_ =
        new game::PuzzleCommands(*engine_, *board_, *stopwatch_, *onlineGame_, *dialogs_, this);
    files_ = new output::PuzzleFiles(*engine_, *board_, *dialogs_, this);
}

void TFsudoku_main::FormCreate() {
    DisableChrome();
    toolkit::RemoveCaption(*this);
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
    settings_->Load();
    skins_->Choose(settings_->SkinName());
    hints_->SetOn(settings_->Hint());
    // A skin that cannot be applied is reported, and the start goes on, so that the player
    // can still choose another skin from the menu.
    Run(&TFsudoku_main::ApplySkin);
    BuildSkinMenu();
    LevelMenuRefresh();
    ShowHintState();
    LoadPlayAids();
    // After start-up no board cell has the focus.
    StatusBar->setFocus();
    stopwatch_->Control(QString());
    configured_ = true;
}

void TFsudoku_main::Timer1Timer() {
    Timer1->stop();
    engineLink_.Start(kEngineStartTexts);
    Splash_Panel->hide();
    StatusBar->SetPanelText(app::StatusPanel::Version,
                            sentences::kVersionPanel + engine_->Version());
    StatusBar->SetPanelText(app::StatusPanel::User, settings_->Account().user);
    EnableChrome();
}

bool TFsudoku_main::IsReady() const {
    return engineLink_.IsStarted() && ToolBar->isEnabled();
}

void TFsudoku_main::DisableChrome() {
    cntHeader->BBmenu->setEnabled(false);
    cntHeader->BBminimize->setEnabled(false);
    cntHeader->BBclose->setEnabled(false);
    ToolBar->setEnabled(false);
    // The keys wait for the engine too.
    for (QAction* action : Menu->ShortcutItems() + windowKeys_) {
        removeAction(action);
    }
}

void TFsudoku_main::EnableChrome() {
    cntHeader->BBmenu->setEnabled(true);
    cntHeader->BBminimize->setEnabled(true);
    cntHeader->BBclose->setEnabled(true);
    ToolBar->setEnabled(true);
    addActions(Menu->ShortcutItems() + windowKeys_);
}

void TFsudoku_main::BBcloseClick() {
    if (onlineGame_->IsRunning()) {
        onlineGame_->ForfeitOnClose();
    }
    close();
}

bool TFsudoku_main::focusNextPrevChild(bool next) {
    const bool toToolBar = focusWidget() == StringGrid || (!ToolBar->HasFocusedButton() && !next);
    if (!toToolBar || !ToolBar->FocusButton()) {
        StringGrid->setFocus(Qt::TabFocusReason);
    }
    return true;
}

void TFsudoku_main::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TFsudoku_main::FormClose() {
    disconnect(qApp, &QGuiApplication::applicationStateChanged, this,
               &TFsudoku_main::OnApplicationStateChanged);
    engineLink_.ReleaseClassObject();
}

void TFsudoku_main::ShowEngineError(const QString& code, const QString& fileName) {
    dialogs_->ShowMessage(toolkit::BoxKind::Error, engine::EngineErrorMessage(code, fileName));
}

void TFsudoku_main::ShowWait(const QString& caption) {
    Splash_Panel->setText(caption);
    Splash_Panel->show();
    // Painted before the engine blocks the window.
    QCoreApplication::processEvents();
}

void TFsudoku_main::Run(const std::function<void()>& handler) {
    app::RunReportingFailure(handler, [this](const QString& text) { ReportError(text); });
}

void TFsudoku_main::ReportError(const QString& text) {
    dialogs_->ShowMessage(toolkit::BoxKind::Critical, text);
}
