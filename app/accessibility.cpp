#include "app/accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleObject>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>
#include <QMenu>

#include "app/status_bar.h"
#include "app/tool_bar.h"

namespace app {

namespace {

// The pens, the lock and the hint are check buttons: with the check-box role a screen reader
// says whether each is on, where a push button's role would leave it unsaid.
class ToolButtonAccessible : public QAccessibleWidget {
public:
    explicit ToolButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button,
                            button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button) {}

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.checkable = Button()->isCheckable();
        state.checked = Button()->isChecked();
        state.pressed = Button()->isDown();
        return state;
    }

    QStringList actionNames() const override {
        QStringList names{pressAction()};
        if (Button()->isCheckable()) {
            names << toggleAction();
        }
        return names + QAccessibleWidget::actionNames();
    }

    void doAction(const QString& action) override {
        if (action == pressAction() || action == toggleAction()) {
            Button()->click();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }

private:
    QAbstractButton* Button() const { return static_cast<QAbstractButton*>(widget()); }
};

class StatusPanelAccessible : public QAccessibleWidget {
public:
    explicit StatusPanelAccessible(QLabel* panel)
        : QAccessibleWidget(panel, QAccessible::StaticText) {}

    QString text(QAccessible::Text kind) const override {
        const auto* panel = static_cast<const QLabel*>(widget());
        switch (kind) {
            case QAccessible::Name:
                return panel->text();
            case QAccessible::Description:
                return panel->accessibleName();
            default:
                return QAccessibleWidget::text(kind);
        }
    }
};

// The application, with its open popup menus among its children: each menu already names the
// application as its parent, but Qt leaves popups out of the application's children, so the
// menu was missing from the tree. A submenu is a child of its item, as Qt has it.
class ApplicationWithPopups : public QAccessibleApplication {
public:
    int childCount() const override {
        return QAccessibleApplication::childCount() + static_cast<int>(OpenMenus().size());
    }

    QAccessibleInterface* child(int index) const override {
        const int windows = QAccessibleApplication::childCount();
        if (index < windows) {
            return QAccessibleApplication::child(index);
        }
        const QList<QMenu*> menus = OpenMenus();
        return index - windows < menus.size()
                   ? QAccessible::queryAccessibleInterface(menus[index - windows])
                   : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        const qsizetype menu =
            child != nullptr ? OpenMenus().indexOf(qobject_cast<QMenu*>(child->object())) : -1;
        return menu >= 0 ? QAccessibleApplication::childCount() + static_cast<int>(menu)
                         : QAccessibleApplication::indexOfChild(child);
    }

private:
    static QList<QMenu*> OpenMenus() {
        QList<QMenu*> menus;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* menu = qobject_cast<QMenu*>(window);
            if (menu != nullptr && menu->isVisible() && !IsSubmenu(*menu)) {
                menus << menu;
            }
        }
        return menus;
    }

    static bool IsSubmenu(const QMenu& menu) {
        for (QObject* holder : menu.menuAction()->associatedObjects()) {
            if (qobject_cast<QMenu*>(holder) != nullptr) {
                return true;
            }
        }
        return false;
    }
};

// Qt asks a factory once per class from the most derived one up: ours answer at the first ask.
bool FirstAsk(const QString& className, const QObject* object) {
    return className == QLatin1String(object->metaObject()->className());
}

QAccessibleInterface* ApplicationFactory(const QString& className, QObject* object) {
    return object == qApp && FirstAsk(className, object) ? new ApplicationWithPopups : nullptr;
}

QAccessibleInterface* WidgetFactory(const QString& className, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || !FirstAsk(className, object)) {
        return nullptr;
    }
    QWidget* parent = widget->parentWidget();
    if (auto* button = qobject_cast<QAbstractButton*>(widget);
        button != nullptr && qobject_cast<ToolBar*>(parent) != nullptr) {
        return new ToolButtonAccessible(button);
    }
    if (auto* panel = qobject_cast<QLabel*>(widget);
        panel != nullptr && qobject_cast<StatusBar*>(parent) != nullptr) {
        return new StatusPanelAccessible(panel);
    }
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    // Factories installed later are asked first, and the application installs Qt's own widget
    // factory as it starts: the application's interface can be ours from the start, the
    // widgets' only from after it. Installing a factory again changes nothing.
    QAccessible::installFactory(QCoreApplication::instance() != nullptr ? WidgetFactory
                                                                        : ApplicationFactory);
}

}  // namespace app
