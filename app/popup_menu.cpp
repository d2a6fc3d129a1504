#include "app/popup_menu.h"

#include <optional>
#include <stdexcept>

#include "toolkit/icons.h"

namespace app {

namespace {

using toolkit::Icon;
using toolkit::MakeIcon;

enum class Kind { Submenu, Item, Check, Separator };

struct ItemDesign {
    const char* name;
    const char* parent;  // nullptr: the menu's top level
    Kind kind;
    const char* caption;
    std::optional<Icon> icon;
};

// In the order the player sees them.
const ItemDesign kItems[] = {
    {"File1", nullptr, Kind::Submenu, "File", std::nullopt},
    {"New1", "File1", Kind::Submenu, "New", std::nullopt},
    {"Challenge1", "New1", Kind::Item, "Online Challenge", Icon::Challenge},
    {"Puzzle1", "New1", Kind::Item, "Puzzle", Icon::NewPuzzle},
    {"EmptyGrid1", "New1", Kind::Item, "Empty Grid", Icon::EmptyGrid},
    {"N1", "File1", Kind::Separator, "", std::nullopt},
    {"Load1", "File1", Kind::Item, "Load...", Icon::Load},
    {"Savepuzzle1", "File1", Kind::Item, "Save Puzzle...", Icon::Save},
    {"SavePuzzleAs1", "File1", Kind::Item, "Save Puzzle As...", std::nullopt},
    {"SavePuzzleImage1", "File1", Kind::Item, "Save Puzzle Image", std::nullopt},
    {"N2", "File1", Kind::Separator, "", std::nullopt},
    {"Print1", "File1", Kind::Item, "Print...", Icon::Print},
    {"N3", "File1", Kind::Separator, "", std::nullopt},
    {"Close1", "File1", Kind::Item, "Close", Icon::Close},
    {"Actions1", nullptr, Kind::Submenu, "Actions", std::nullopt},
    {"Showsolution1", "Actions1", Kind::Item, "Show solution", std::nullopt},
    {"ShowHint1", "Actions1", Kind::Check, "Show Hint", Icon::Hint},
    {"Locksquares1", "Actions1", Kind::Check, "Lock Squares", Icon::Lock},
    {"ConfirmGrid1", "Actions1", Kind::Item, "Confirm Grid", Icon::Confirm},
    {"N6", "Actions1", Kind::Separator, "", std::nullopt},
    {"Pause1", "Actions1", Kind::Check, "Pause", std::nullopt},
    {"FillInAllNotes1", "Actions1", Kind::Item, "Fill In All Notes", std::nullopt},
    {"ClearAllNotes1", "Actions1", Kind::Item, "Clear All Notes", std::nullopt},
    {"ExplainNextStep1", "Actions1", Kind::Item, "Explain Next Step", std::nullopt},
    {"ApplyNextStep1", "Actions1", Kind::Item, "Apply Next Step", std::nullopt},
    {"Options1", nullptr, Kind::Submenu, "Options", std::nullopt},
    {"Level1", "Options1", Kind::Submenu, "Level", std::nullopt},
    {"Easy1", "Level1", Kind::Check, "Easy", std::nullopt},
    {"Medium1", "Level1", Kind::Check, "Medium", std::nullopt},
    {"Hard1", "Level1", Kind::Check, "Hard", std::nullopt},
    {"Skin1", "Options1", Kind::Submenu, "Skin", std::nullopt},
    {"Default1", "Skin1", Kind::Check, "default", std::nullopt},
    {"PlayAids1", "Options1", Kind::Submenu, "Play Aids", std::nullopt},
    {"HighlightHouses1", "PlayAids1", Kind::Check, "Highlight Row, Column and Box", std::nullopt},
    {"HighlightSameDigits1", "PlayAids1", Kind::Check, "Highlight Same Digits", std::nullopt},
    {"MarkMistakes1", "PlayAids1", Kind::Check, "Mark Mistakes", std::nullopt},
    {"Help1", nullptr, Kind::Submenu, "Help", std::nullopt},
    {"QuillmarkSite1", "Help1", Kind::Item, "Quillmark Site", std::nullopt},
    {"QuillmarkForum1", "Help1", Kind::Item, "Quillmark Forum", std::nullopt},
    {"N4", "Help1", Kind::Separator, "", std::nullopt},
    {"Checkforupdates1", "Help1", Kind::Item, "Check for updates", Icon::Update},
    {"N5", "Help1", Kind::Separator, "", std::nullopt},
    {"About1", "Help1", Kind::Item, "About", Icon::About},
};

// The keys of the menu's commands, shown at the right of their items. They follow the
// desktop's conventions where there are any; Ctrl with a digit stays free for the board.
struct ItemShortcut {
    const char* name;
    QKeyCombination keys;
    QKeyCombination alternative = {};
};

const ItemShortcut kShortcuts[] = {
    {"Challenge1", Qt::CTRL | Qt::SHIFT | Qt::Key_N},
    {"Puzzle1", Qt::CTRL | Qt::Key_N},
    {"EmptyGrid1", Qt::CTRL | Qt::SHIFT | Qt::Key_Delete},
    {"Load1", Qt::CTRL | Qt::Key_O},
    {"Savepuzzle1", Qt::CTRL | Qt::Key_S},
    {"SavePuzzleAs1", Qt::CTRL | Qt::SHIFT | Qt::Key_S},
    {"SavePuzzleImage1", Qt::CTRL | Qt::Key_E},
    {"Print1", Qt::CTRL | Qt::Key_P},
    {"Close1", Qt::CTRL | Qt::Key_Q},
    {"Showsolution1", Qt::CTRL | Qt::Key_R},
    {"ShowHint1", Qt::CTRL | Qt::Key_H},
    {"Locksquares1", Qt::CTRL | Qt::Key_L},
    {"ConfirmGrid1", Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter},
    {"Pause1", QKeyCombination(Qt::Key_F8), QKeyCombination(Qt::Key_Pause)},
    {"FillInAllNotes1", Qt::CTRL | Qt::SHIFT | Qt::Key_A},
    {"ClearAllNotes1", Qt::CTRL | Qt::SHIFT | Qt::Key_Backspace},
    {"ExplainNextStep1", QKeyCombination(Qt::Key_F9)},
    {"ApplyNextStep1", Qt::SHIFT | Qt::Key_F9},
    {"Easy1", Qt::ALT | Qt::Key_1},
    {"Medium1", Qt::ALT | Qt::Key_2},
    {"Hard1", Qt::ALT | Qt::Key_3},
    {"HighlightHouses1", QKeyCombination(Qt::Key_F5)},
    {"HighlightSameDigits1", QKeyCombination(Qt::Key_F6)},
    {"MarkMistakes1", QKeyCombination(Qt::Key_F7)},
    {"QuillmarkSite1", Qt::CTRL | Qt::Key_F1},
    {"QuillmarkForum1", Qt::CTRL | Qt::SHIFT | Qt::Key_F1},
    {"Checkforupdates1", Qt::CTRL | Qt::Key_U},
    {"About1", QKeyCombination(Qt::Key_F1)},
};

}  // namespace

PopupMenu::PopupMenu(QWidget* parent) : QObject(parent), menu_(new QMenu(parent)) {
    menu_->setObjectName(QStringLiteral("Menu"));
    QHash<QString, QMenu*> menus;
    for (const ItemDesign& design : kItems) {
        QMenu* owner = design.parent ? menus.value(QString::fromLatin1(design.parent)) : menu_;
        const QString name = QString::fromLatin1(design.name);
        const QString caption = QString::fromLatin1(design.caption);
        QAction* action = nullptr;
        switch (design.kind) {
            case Kind::Submenu: {
                QMenu* submenu = owner->addMenu(caption);
                submenu->setObjectName(name);
                menus.insert(name, submenu);
                action = submenu->menuAction();
                break;
            }
            case Kind::Separator:
                action = owner->addSeparator();
                break;
            case Kind::Item:
            case Kind::Check:
                action = owner->addAction(caption);
                action->setCheckable(design.kind == Kind::Check);
                action->setEnabled(false);
                break;
        }
        action->setObjectName(name);
        if (design.icon) {
            action->setIcon(MakeIcon(*design.icon));
        }
        items_.insert(name, action);
    }
    for (const ItemShortcut& shortcut : kShortcuts) {
        QAction* item = Item(QString::fromLatin1(shortcut.name));
        QList<QKeySequence> keys{QKeySequence(shortcut.keys)};
        if (shortcut.alternative != QKeyCombination()) {
            keys << QKeySequence(shortcut.alternative);
        }
        item->setShortcuts(keys);
        shortcutItems_ << item;
    }
}

QString ItemCaption(const QAction* item) {
    QString caption = item->text();
    const qsizetype mark = caption.indexOf(u'&');
    if (mark >= 0) {
        caption.remove(mark, 1);
    }
    return caption;
}

QAction* PopupMenu::Item(const QString& name) const {
    QAction* item = items_.value(name);
    if (item == nullptr) {
        throw std::out_of_range("The menu has no item " + name.toStdString());
    }
    return item;
}

std::array<QAction*, 3> PopupMenu::Levels() const {
    return {Item(QStringLiteral("Easy1")), Item(QStringLiteral("Medium1")),
            Item(QStringLiteral("Hard1"))};
}

QMenu* PopupMenu::Submenu(const QString& name) const {
    QMenu* submenu = Item(name)->menu();
    if (submenu == nullptr) {
        throw std::out_of_range("The menu item " + name.toStdString() + " has no submenu");
    }
    return submenu;
}

}  // namespace app
