#pragma once

#include <QAction>
#include <QHash>
#include <QMenu>
#include <array>

namespace app {

// A menu item's caption without the first "&" a menu may add as an access-key mark.
QString ItemCaption(const QAction* item);

// The program's only menu, a popup menu opened from the header: File, Actions, Options and
// Help with their items, each named as in the window design ("Puzzle1", "Locksquares1",
// ...). Every item starts disabled; the main window enables an item when it gives it a
// handler.
class PopupMenu : public QObject {
    Q_OBJECT

public:
    explicit PopupMenu(QWidget* parent);

    QMenu* Menu() const { return menu_; }
    // The item of that name (an action or a submenu's action); raises std::out_of_range for
    // a name the menu does not have.
    QAction* Item(const QString& name) const;
    QMenu* Submenu(const QString& name) const;
    // The items that carry keys; their keys work where the actions are added to a window.
    const QList<QAction*>& ShortcutItems() const { return shortcutItems_; }

    // The items the window shows a state on, besides running their commands.
    QAction* ShowHint() const { return Item(QStringLiteral("ShowHint1")); }
    QAction* LockSquares() const { return Item(QStringLiteral("Locksquares1")); }
    // Easy, Medium and Hard.
    std::array<QAction*, 3> Levels() const;
    QMenu* Skins() const { return Submenu(QStringLiteral("Skin1")); }
    QAction* DefaultSkin() const { return Item(QStringLiteral("Default1")); }
    QAction* HighlightHouses() const { return Item(QStringLiteral("HighlightHouses1")); }
    QAction* HighlightSameDigits() const { return Item(QStringLiteral("HighlightSameDigits1")); }
    QAction* MarkMistakes() const { return Item(QStringLiteral("MarkMistakes1")); }
    QAction* Pause() const { return Item(QStringLiteral("Pause1")); }
    QAction* FillInAllNotes() const { return Item(QStringLiteral("FillInAllNotes1")); }
    QAction* ClearAllNotes() const { return Item(QStringLiteral("ClearAllNotes1")); }
    QAction* ExplainNextStep() const { return Item(QStringLiteral("ExplainNextStep1")); }
    QAction* ApplyNextStep() const { return Item(QStringLiteral("ApplyNextStep1")); }

private:
    QMenu* menu_;
    QHash<QString, QAction*> items_;
    QList<QAction*> shortcutItems_;
};

}  // namespace app
