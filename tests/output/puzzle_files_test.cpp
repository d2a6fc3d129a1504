#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <fstream>

#include "board/grid_text.h"
#include "output/save_path.h"
#include "tests/support/window_fixture.h"

namespace {

using testing_support::ShownBox;

TEST(SavePath, AddsTheDefaultExtensionOnlyToANameWithout) {
    EXPECT_EQ(output::WithDefaultSuffix("/p/puzzle", "txt"), "/p/puzzle.txt");
    EXPECT_EQ(output::WithDefaultSuffix("/p/puzzle.sud", "txt"), "/p/puzzle.sud");
    EXPECT_EQ(output::WithDefaultSuffix("/my.puzzles/p", "jpg"), "/my.puzzles/p.jpg");
    EXPECT_EQ(output::WithDefaultSuffix("/p/.hidden", "txt"), "/p/.hidden.txt");
}

class PuzzleFiles : public testing_support::WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        ShowReady();
        ASSERT_TRUE(QDir().mkpath(Folder()));
    }
    QString Folder() { return ProgramDir() + "puzzles/"; }
    void NewPuzzle() {
        if (EngineGrid() != board::EmptyGridText()) {
            Boxes().AnswerNextConfirmations({true});  // clear the board
        }
        Window().Puzzle1Click();
    }
    QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(PuzzleFiles, APuzzleSavedAsLoadsBackLockedWithTheStopwatchRestarted) {
    NewPuzzle();
    const QString saved = EngineGrid();
    Boxes().saveAnswers = {Folder() + "monday"};
    ToolButton("ToolButton2").click();  // Save: no name yet
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::SaveDialog, "Save the Quillmark puzzle"}));
    EXPECT_EQ(Boxes().saveRequests.back().filter, QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(Boxes().saveRequests.back().directory, QDir::currentPath());
    ASSERT_TRUE(QFile::exists(Folder() + "monday.txt"));

    NewPuzzle();
    ticks = 4242;
    Boxes().AnswerNextConfirmations({true});
    Boxes().openAnswers = {Folder() + "monday.txt"};
    Window().Load1Click();
    EXPECT_EQ(Boxes().Texts().mid(Boxes().Texts().size() - 2),
              QStringList({"Do you want clear the grid and load a new file?", QString()}));
    EXPECT_EQ(EngineGrid(), saved);
    EXPECT_EQ(FilledCells(), 81 - saved.count(u'0'));
    EXPECT_TRUE(MenuItem("Locksquares1").isChecked());
    EXPECT_TRUE(StopwatchRunning());
    ticks = 4242 + 1000;  // counted from the load
    EXPECT_TRUE(testing_support::WaitFor(
        [&] { return Panel(app::StatusPanel::Time) == QStringLiteral("00 : 00 : 01"); }));
}

TEST_F(PuzzleFiles, SaveReusesTheSaveAsNameAfterANewPuzzleOrALoad) {
    NewPuzzle();
    Boxes().saveAnswers = {Folder() + "kept.txt"};
    Window().SavePuzzleAs1Click();
    std::ofstream(QString(Folder() + "other.txt").toStdString())
        << "53..7....6..195....98....6.8...6...34..8.3..17...2...6.6....28....419..5....8..79";

    NewPuzzle();
    Window().Savepuzzle1Click();
    Boxes().AnswerNextConfirmations({true});
    Boxes().openAnswers = {Folder() + "other.txt"};
    Window().Load1Click();
    const std::size_t dialogsBefore = Boxes().saveRequests.size();
    Window().Savepuzzle1Click();
    EXPECT_EQ(Boxes().saveRequests.size(), dialogsBefore);
    // The loaded puzzle went to the Save As name, not to the file it came from.
    EXPECT_TRUE(Contents(Folder() + "kept.txt").contains("53..7...."));
}

TEST_F(PuzzleFiles, ReplacingAnExistingFileIsAskedFirst) {
    NewPuzzle();
    QFile existing(Folder() + "taken.txt");
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("mine");
    existing.close();
    Boxes().saveAnswers = {Folder() + "taken"};
    Window().SavePuzzleAs1Click();  // answered No
    EXPECT_EQ(Boxes().shown.back(),
              (ShownBox{ShownBox::Kind::Confirmation,
                        "taken.txt already exists.\nDo you want to replace it?"}));
    EXPECT_EQ(Contents(Folder() + "taken.txt"), "mine");
    Window().Savepuzzle1Click();  // no name was kept: Save asks for one
    EXPECT_EQ(Boxes().shown.back().kind, ShownBox::Kind::SaveDialog);

    Boxes().saveAnswers = {Folder() + "taken.txt"};
    Boxes().AnswerNextConfirmations({true});
    Window().SavePuzzleAs1Click();
    EXPECT_NE(Contents(Folder() + "taken.txt"), "mine");
}

TEST_F(PuzzleFiles, LoadAnsweredNoChangesNothingAndYesEmptiesEvenWhenCancelled) {
    NewPuzzle();
    const QString before = EngineGrid();
    Window().Load1Click();  // No
    EXPECT_EQ(EngineGrid(), before);
    EXPECT_TRUE(Boxes().openRequests.empty());

    Boxes().AnswerNextConfirmations({true});
    Window().Load1Click();  // Yes, then the open dialog is cancelled
    EXPECT_EQ(EngineGrid(), board::EmptyGridText());
    EXPECT_EQ(FilledCells(), 0);

    Boxes().shown.clear();
    Window().Load1Click();  // an empty board: straight to the dialog
    EXPECT_EQ(Boxes().shown, (std::vector<ShownBox>{{ShownBox::Kind::OpenDialog, QString()}}));
}

TEST_F(PuzzleFiles, EngineErrorsAreShownNamingTheFileWhereItCannotBeOpened) {
    Boxes().openAnswers = {Folder()};  // a folder is no file the engine can open
    Window().Load1Click();
    EXPECT_EQ(Boxes().shown.back().text, "The file " + Folder() + " can't be open!");

    std::ofstream(QString(Folder() + "few.txt").toStdString()) << "123456789";
    Boxes().openAnswers = {Folder() + "few.txt"};
    Window().Load1Click();
    EXPECT_EQ(Boxes().shown.back().text, QStringLiteral("You need to insert at least 15 values"));
    EXPECT_FALSE(StopwatchRunning());

    NewPuzzle();
    Boxes().saveAnswers = {Folder() + "no/such/folder/p.txt"};
    Window().SavePuzzleAs1Click();
    EXPECT_EQ(Boxes().shown.back().text,
              "The file " + Folder() + "no/such/folder/p.txt can't be open!");
    // The name is kept although the save failed: Save tries it again without asking.
    Window().Savepuzzle1Click();
    EXPECT_EQ(Boxes().shown.back().text,
              "The file " + Folder() + "no/such/folder/p.txt can't be open!");
}

}  // namespace
