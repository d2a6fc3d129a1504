#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMenu>

#include "board/board_grid.h"
#include "board/cell_layout.h"
#include "tests/support/window_fixture.h"

namespace {

using testing_support::ShownBox;

// Skins made by the test in the window's own program directory.
class Skins : public testing_support::WindowTest {
protected:
    // A skin folder with the standard skin's pictures and the given colour file ("" for
    // none); pictures named in leaveOut are not copied.
    void MakeSkin(const QString& name, const QByteArray& colors = {},
                  const QStringList& leaveOut = {}) {
        const QString folder = ProgramDir() + "skin/" + name + "/";
        ASSERT_TRUE(QDir().mkpath(folder));
        for (const char* picture : {"header.jpg", "header_left.jpg", "header_right.jpg"}) {
            if (!leaveOut.contains(QLatin1String(picture))) {
                QFile::copy(QStringLiteral(QUILLMARK_SKIN_DIR "/default/") + picture,
                            folder + picture);
            }
        }
        if (!colors.isEmpty()) {
            QFile file(folder + "colors.ini");
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(colors);
        }
    }
    void UseSkin(const QString& name) {
        WriteConfig("[param]\r\nskin=" + name.toUtf8() +
                    "\r\nlevel=Medium\r\nhint=true\r\nuser=\r\npwd=\r\nmail=");
    }
    QStringList SkinItems(bool checkedOnly = false) {
        QStringList captions;
        for (QAction* item : Find<QMenu>("Skin1").actions()) {
            if (!checkedOnly || item->isChecked()) {
                captions << item->text();
            }
        }
        return captions;
    }
};

TEST_F(Skins, ASkinWithoutAColourFileShowsEveryStandardColour) {
    MakeSkin("plain");
    UseSkin("plain");
    TFsudoku_main& window = ShowConfigured();
    EXPECT_TRUE(Boxes().shown.empty());
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0x99, 0x00, 0x00));
    EXPECT_EQ(Find<QWidget>("ToolBar").palette().color(QPalette::Window), QColor(0xc2, 0, 0));
    EXPECT_EQ(Find<QLabel>("StatusPanel0").palette().color(QPalette::WindowText),
              QColor(0xe8, 0xe7, 0xe8));
}

TEST_F(Skins, AColourFileWithOnlyTheDigitColourChangesOnlyThat) {
    MakeSkin("white", "[Colors]\r\nGRID_FONT = #ffffff\r\n");
    UseSkin("white");
    TFsudoku_main& window = ShowReady();
    Enter(4, 4, u'8');
    const QImage board = Board().grab().toImage();
    const QRect cell = board::CellRect(4, 4).translated(1, 1);
    int white = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x <= cell.right(); ++x) {
            white += board.pixelColor(x, y) == Qt::white ? 1 : 0;
        }
    }
    EXPECT_GT(white, 20);
    EXPECT_EQ(board.pixelColor(cell.topLeft() + QPoint(5, 21)), QColor(0xf1, 0x77, 0x77));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0x99, 0x00, 0x00));
}

TEST_F(Skins, TheSubmenuListsDefaultFirstThenTheOthersFromTheLastName) {
    for (const char* name : {"blue", "default", "Green", "Default"}) {
        MakeSkin(QString::fromLatin1(name));
    }
    UseSkin("Green");
    ShowConfigured();
    EXPECT_EQ(SkinItems(), QStringList({"default", "Green", "Default", "blue"}));
    EXPECT_EQ(SkinItems(true), QStringList({"Green"}));
}

TEST_F(Skins, AChosenSkinIsAppliedAndStaysAfterARestartWithOneCheckMark) {
    MakeSkin("default");
    MakeSkin("teal", "[colors]\r\nwindow_color=#008080\r\n");
    UseSkin("default");
    TFsudoku_main& window = ShowReady();
    Find<QMenu>("Skin1").actions().last()->trigger();
    EXPECT_EQ(SkinItems(true), QStringList({"teal"}));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0x00, 0x80, 0x80));

    MakeWindow();
    ShowConfigured();
    EXPECT_EQ(Window().palette().color(QPalette::Window), QColor(0x00, 0x80, 0x80));
    EXPECT_EQ(SkinItems(true), QStringList({"teal"}));
}

TEST_F(Skins, AnUnreadableHeaderPictureIsReportedOnceAndTheStartGoesOn) {
    MakeSkin("default");
    MakeSkin("torn", {}, {"header.jpg"});
    UseSkin("torn");
    ShowConfigured();
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].kind, ShownBox::Kind::Critical);
    EXPECT_TRUE(Boxes().shown[0].text.contains(ProgramDir() + "skin/torn/header.jpg"));
    // The rest of the start ran: the player can still choose another skin.
    EXPECT_EQ(SkinItems(), QStringList({"default", "torn"}));
    EXPECT_TRUE(MenuItem("Medium1").isChecked());
    EXPECT_EQ(Panel(app::StatusPanel::Hint), QStringLiteral("Hint none"));
}

TEST_F(Skins, AMalformedColourIsReportedWhereItIsApplied) {
    MakeSkin("smudged", "[colors]\r\nstatus_bar=#12zz56\r\n");
    UseSkin("smudged");
    ShowConfigured();
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_TRUE(Boxes().shown[0].text.contains(QStringLiteral("#12zz56")));
}

}  // namespace
