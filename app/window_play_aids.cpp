// The play aids and the commands beside them: the player's choices in Options > Play Aids,
// kept in their own file, and Pause, Fill In All Notes, Clear All Notes, Explain Next Step and
// Apply Next Step in Actions, with the rating and the step's sentence beside the board.

#include <QAccessible>
#include <QLabel>

#include "app/main_window.h"
#include "app/play_aids_settings.h"
#include "app/popup_menu.h"
#include "board/board_grid.h"
#include "board/board_session.h"
#include "game/online_game.h"
#include "game/stopwatch.h"

namespace {

struct AidItem {
    QAction* (app::PopupMenu::*item)() const;
    bool board::PlayAids::*aid;
};

constexpr AidItem kAidItems[] = {
    {&app::PopupMenu::HighlightHouses, &board::PlayAids::highlightHouses},
    {&app::PopupMenu::HighlightSameDigits, &board::PlayAids::highlightSameDigits},
    {&app::PopupMenu::MarkMistakes, &board::PlayAids::markMistakes},
};

}  // namespace

void TFsudoku_main::ConnectPlayAids() {
    // The aid items are enabled once the start-up sequence has read the player's choices.
    for (const AidItem& aid : kAidItems) {
        connect((Menu->*aid.item)(), &QAction::triggered, this, [this, field = aid.aid] {
            Run([this, field] { TogglePlayAid(field); });
            // A choice that could not be stored leaves the mark as it was, not as clicked.
            ShowPlayAidChecks();
        });
    }
    connect(Menu->Pause(), &QAction::triggered, this, [this] {
        Run(&TFsudoku_main::Pause1Click);
        ShowPauseState();
    });
    Wire(Menu->FillInAllNotes(), &TFsudoku_main::FillInAllNotes1Click);
    Wire(Menu->ClearAllNotes(), &TFsudoku_main::ClearAllNotes1Click);
    Wire(Menu->ExplainNextStep(), &TFsudoku_main::ExplainNextStep1Click);
    Wire(Menu->ApplyNextStep(), &TFsudoku_main::ApplyNextStep1Click);
    connect(board_, &board::BoardSession::explanationChanged, this,
            &TFsudoku_main::ShowExplanation);
    connect(board_, &board::BoardSession::ratingChanged, this, &TFsudoku_main::ShowRating);
    connect(stopwatch_, &game::Stopwatch::stateChanged, this, [this] {
        board_->SetPaused(stopwatch_->IsPaused());
        ShowPauseState();
    });
    connect(StringGrid, &board::BoardGrid::coverClicked, this,
            [this] { Run([this] { stopwatch_->Resume(); }); });
    ShowPauseState();
}

void TFsudoku_main::LoadPlayAids() {
    playAids_->Load();
    board_->SetAids(playAids_->Aids());
    for (const AidItem& aid : kAidItems) {
        (Menu->*aid.item)()->setEnabled(true);
    }
    ShowPlayAidChecks();
}

void TFsudoku_main::TogglePlayAid(bool board::PlayAids::*aid) {
    board::PlayAids aids = playAids_->Aids();
    aids.*aid = !(aids.*aid);
    playAids_->Set(aids);
    board_->SetAids(playAids_->Aids());
}

void TFsudoku_main::ShowPlayAidChecks() {
    for (const AidItem& aid : kAidItems) {
        (Menu->*aid.item)()->setChecked(playAids_->Aids().*aid.aid);
    }
}

void TFsudoku_main::Pause1Click() {
    if (stopwatch_->IsPaused()) {
        stopwatch_->Resume();
    } else {
        stopwatch_->Pause();
    }
}

void TFsudoku_main::FillInAllNotes1Click() {
    board_->FillInAllNotes();
}

void TFsudoku_main::ClearAllNotes1Click() {
    board_->ClearAllNotes();
}

void TFsudoku_main::ExplainNextStep1Click() {
    board_->ExplainNextStep();
}

void TFsudoku_main::ApplyNextStep1Click() {
    board_->ApplyNextStep();
}

namespace {

// A side panel shows text, and is read out with it as its description, heard when it changes.
void ShowSideText(QLabel& panel, const QString& text) {
    panel.setText(text);
    panel.setAccessibleDescription(text);
    panel.setVisible(!text.isEmpty());
    QAccessibleEvent changed(&panel, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
}

}  // namespace

void TFsudoku_main::ShowRating(const QString& caption) {
    ShowSideText(*Rating_Panel, caption);
}

void TFsudoku_main::ShowExplanation(const QString& sentence) {
    ShowSideText(*Step_Panel, sentence);
}

void TFsudoku_main::ShowPauseState() {
    // The server keeps an online game's time, so it cannot be paused here.
    const bool online = onlineGame_->IsRunning();
    QAction* pause = Menu->Pause();
    pause->setEnabled(!online && (stopwatch_->IsRunning() || stopwatch_->IsPaused()));
    pause->setChecked(stopwatch_->IsPaused());
    Menu->FillInAllNotes()->setEnabled(!online);
    Menu->ClearAllNotes()->setEnabled(!online);
    Menu->ExplainNextStep()->setEnabled(!online);
    Menu->ApplyNextStep()->setEnabled(!online);
}
