#pragma once

#include <QAction>
#include <QHash>
#include <QMenu>

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

private:
    QMenu* menu_;
    QHash<QString, QAction*> items_;
    QList<QAction*> shortcutItems_;
};

}  // namespace app
