#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "appearance/skin_menu.h"
#include "appearance/skins.h"
#include "tests/support/qt_printers.h"
#include "tests/support/scratch_dir.h"

namespace appearance {
namespace {

class SkinMenu : public ::testing::Test {
protected:
    QString Root() const { return QString::fromStdString(scratch_.Path().string()); }
    void MakeDirectories(const QStringList& names) {
        for (const QString& name : names) {
            ASSERT_TRUE(QDir(Root()).mkpath(name)) << name.toStdString();
        }
    }

    testing_support::ScratchDir scratch_;
};

TEST_F(SkinMenu, ListsDirectoriesWithoutHiddenOnesOrderedWithoutRegardToCase) {
    MakeDirectories({"Green", "blue", "default", ".hidden", "Default", "ocean/inner"});
    QFile file(QDir(Root()).filePath("aqua.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();

    // Names equal but for case keep a fixed order, upper case first.
    EXPECT_EQ(ListSkinDirectories(Root()),
              QStringList({"blue", "Default", "default", "Green", "ocean"}));
    EXPECT_EQ(ListSkinDirectories(Root() + "/ocean"), QStringList({"inner"}));
    EXPECT_TRUE(ListSkinDirectories(Root() + "/missing").isEmpty());
}

TEST_F(SkinMenu, SeveralSkinFoldersListEachNameOnceAndTheFirstHoldingOneWins) {
    MakeDirectories({"mine/blue", "mine/default", "shipped/default", "shipped/night"});
    const QStringList roots{Root() + "/mine", Root() + "/shipped"};
    EXPECT_EQ(ListSkinDirectories(roots), QStringList({"blue", "default", "night"}));
    Skins skins(roots);
    skins.Choose(QStringLiteral("default"));
    EXPECT_EQ(skins.Folder(), Root() + "/mine/default/");
    skins.Choose(QStringLiteral("night"));
    EXPECT_EQ(skins.Folder(), Root() + "/shipped/night/");
}

TEST_F(SkinMenu, TakesNamesFromTheLastToTheFirst) {
    const SkinMenuItems withDefault = SkinMenuOrder({"blue", "default", "Green"});
    EXPECT_EQ(withDefault.extraItems, QStringList({"Green", "blue"}));
    EXPECT_TRUE(withDefault.defaultItemActive);

    const SkinMenuItems withoutDefault = SkinMenuOrder({"blue", "Green"});
    EXPECT_EQ(withoutDefault.extraItems, QStringList({"Green", "blue"}));
    EXPECT_FALSE(withoutDefault.defaultItemActive);

    const SkinMenuItems none = SkinMenuOrder({});
    EXPECT_TRUE(none.extraItems.isEmpty());
    EXPECT_FALSE(none.defaultItemActive);
}

TEST_F(SkinMenu, CapitalDefaultIsASkinOfItsOwn) {
    const SkinMenuItems capitalOnly = SkinMenuOrder({"blue", "Default", "Green"});
    EXPECT_EQ(capitalOnly.extraItems, QStringList({"Green", "Default", "blue"}));
    EXPECT_FALSE(capitalOnly.defaultItemActive);

    const SkinMenuItems both = SkinMenuOrder({"blue", "Default", "default", "Green"});
    EXPECT_EQ(both.extraItems, QStringList({"Green", "Default", "blue"}));
    EXPECT_TRUE(both.defaultItemActive);
}

TEST_F(SkinMenu, SkinEndsTheWalk) {
    const SkinMenuItems afterSkin = SkinMenuOrder({"alpha", "default", "skin", "zebra"});
    EXPECT_EQ(afterSkin.extraItems, QStringList({"zebra"}));
    // "default" stands before "skin", so the walk never reaches it.
    EXPECT_FALSE(afterSkin.defaultItemActive);

    EXPECT_TRUE(SkinMenuOrder({"skin"}).extraItems.isEmpty());
    // Only the exact name ends it.
    EXPECT_EQ(SkinMenuOrder({"Skin", "zebra"}).extraItems, QStringList({"zebra", "Skin"}));
}

TEST_F(SkinMenu, MenuFollowsTheDirectoriesOnDisk) {
    MakeDirectories({"blue", "default", "Green", "Default", ".git"});
    const SkinMenuItems items = SkinMenuOrder(ListSkinDirectories(Root()));
    EXPECT_EQ(items.extraItems, QStringList({"Green", "Default", "blue"}));
    EXPECT_TRUE(items.defaultItemActive);

    // "skin" sorts after the others: only names after it are left.
    MakeDirectories({"skin", "zebra"});
    const SkinMenuItems afterSkin = SkinMenuOrder(ListSkinDirectories(Root()));
    EXPECT_EQ(afterSkin.extraItems, QStringList({"zebra"}));
    EXPECT_FALSE(afterSkin.defaultItemActive);
}

TEST_F(SkinMenu, ChecksTheItemOfTheCurrentSkin) {
    const SkinMenuItems items = SkinMenuOrder({"blue", "Default", "Green"});
    // The first item carries the check for "default" even when no such directory exists.
    EXPECT_EQ(CheckedSkinItem(items, "default"), 0);
    EXPECT_EQ(CheckedSkinItem(items, "Green"), 1);
    EXPECT_EQ(CheckedSkinItem(items, "Default"), 2);
    EXPECT_EQ(CheckedSkinItem(items, "blue"), 3);
    EXPECT_EQ(CheckedSkinItem(items, "Blue"), std::nullopt);
    EXPECT_EQ(CheckedSkinItem(items, "night"), std::nullopt);
    EXPECT_EQ(CheckedSkinItem(items, ""), std::nullopt);
}

}  // namespace
}  // namespace appearance
