#include "app/tool_bar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionComplex>
#include <stdexcept>

#include "appearance/color_contrast.h"
#include "toolkit/icons.h"

namespace app {

namespace {

using toolkit::Icon;
using toolkit::MakeDigitIcon;
using toolkit::MakeIcon;

enum class Style { Divider, Push, Check, Pen };

struct ButtonDesign {
    const char* name;
    const char* hint;
    Style style;
    Icon icon;
    int digit;  // for a digit pen, 1 to 9
};

// Left to right, as the player sees them.
constexpr ButtonDesign kButtons[] = {
    {"ToolButton3", "", Style::Divider, Icon::Load, 0},
    {"ToolButton1", "Load", Style::Push, Icon::Load, 0},
    {"ToolButton2", "Save", Style::Push, Icon::Save, 0},
    {"ToolButton4", "Print", Style::Push, Icon::Print, 0},
    {"ToolButton6", "", Style::Divider, Icon::Load, 0},
    {"ToolButton5", "New on-line challenge", Style::Push, Icon::Challenge, 0},
    {"ToolButton7", "New puzzle", Style::Push, Icon::NewPuzzle, 0},
    {"ToolButton_blank", "Empty grid", Style::Push, Icon::EmptyGrid, 0},
    {"ToolButton8", "Confirm grid", Style::Push, Icon::Confirm, 0},
    {"ToolButton9", "", Style::Divider, Icon::Load, 0},
    {"ToolButton_lock", "Lock squares", Style::Check, Icon::Lock, 0},
    {"ToolButton_hint", "Show hint", Style::Check, Icon::Hint, 0},
    {"ToolButton12", "", Style::Divider, Icon::Load, 0},
    {"ToolButton_canc", "", Style::Pen, Icon::Eraser, 0},
    {"ToolButton_1", "", Style::Pen, Icon::Load, 1},
    {"ToolButton_2", "", Style::Pen, Icon::Load, 2},
    {"ToolButton_3", "", Style::Pen, Icon::Load, 3},
    {"ToolButton_4", "", Style::Pen, Icon::Load, 4},
    {"ToolButton_5", "", Style::Pen, Icon::Load, 5},
    {"ToolButton_6", "", Style::Pen, Icon::Load, 6},
    {"ToolButton_7", "", Style::Pen, Icon::Load, 7},
    {"ToolButton_8", "", Style::Pen, Icon::Load, 8},
    {"ToolButton_9", "", Style::Pen, Icon::Load, 9},
    {"ToolButton10", "", Style::Divider, Icon::Load, 0},
};

// The application's look for the buttons, and a frame around the one the keyboard is on, in
// black or white, whichever reads on the bar.
class KeyboardFocusStyle : public QProxyStyle {
public:
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        if (control == CC_ToolButton && (option->state & State_HasFocus)) {
            const QColor ink = appearance::InkFor(option->palette.color(QPalette::Button));
            painter->save();
            painter->setPen(QPen(ink, 1));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->drawRect(option->rect.adjusted(1, 1, -2, -2));
            painter->restore();
        }
    }
};

QWidget* MakeDivider(QWidget* parent) {
    auto* divider = new QWidget(parent);
    divider->setFixedSize(8, ToolBar::kHeight);
    auto* layout = new QHBoxLayout(divider);
    layout->setContentsMargins(0, 2, 0, 2);
    auto* line = new QFrame(divider);
    line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    layout->addWidget(line, 0, Qt::AlignHCenter);
    return divider;
}

// The pen buttons carry no tool tip; assistive technology still gets a name for each.
QString PenName(const ButtonDesign& design) {
    return design.digit == 0 ? QStringLiteral("Eraser pen")
                             : QStringLiteral("Digit %1 pen").arg(design.digit);
}

}  // namespace

ToolBar::ToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("ToolBar"));
    setAccessibleName(QStringLiteral("Tool bar"));
    setMovable(false);
    setFloatable(false);
    setIconSize({16, 16});
    setFixedHeight(kHeight);
    setContentsMargins(0, 0, 0, 0);
    layout()->setContentsMargins(0, 0, 0, 0);
    layout()->setSpacing(0);

    auto* focusStyle = new KeyboardFocusStyle;
    focusStyle->setParent(this);
    penGroup_ = new QActionGroup(this);
    penGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);

    for (const ButtonDesign& design : kButtons) {
        const QString name = QString::fromLatin1(design.name);
        if (design.style == Style::Divider) {
            QAction* divider = addWidget(MakeDivider(this));
            divider->setObjectName(name);
            continue;
        }
        auto* action = new QAction(this);
        action->setObjectName(name);
        action->setIcon(design.digit > 0 ? MakeDigitIcon(design.digit) : MakeIcon(design.icon));
        action->setToolTip(QString::fromLatin1(design.hint));
        action->setCheckable(design.style != Style::Push);
        action->setEnabled(false);
        addAction(action);

        QToolButton* button = Button(name);
        button->setObjectName(name);
        button->setFocusPolicy(Qt::TabFocus);
        button->setStyle(focusStyle);
        button->installEventFilter(this);
        button->setFixedSize(23, kHeight);
        button->setAutoRaise(true);
        if (design.style == Style::Pen) {
            penGroup_->addAction(action);
            penActions_[design.digit] = action;
            button->setAccessibleName(PenName(design));
        } else {
            button->setAccessibleName(QString::fromLatin1(design.hint));
            button->setAccessibleDescription(QString::fromLatin1(design.hint));
        }
    }
}

QAction* ToolBar::Action(const QString& buttonName) const {
    for (QAction* action : actions()) {
        if (action->objectName() == buttonName &&
            qobject_cast<QToolButton*>(widgetForAction(action)) != nullptr) {
            return action;
        }
    }
    throw std::out_of_range("The tool bar has no button " + buttonName.toStdString());
}

QToolButton* ToolBar::Button(const QString& buttonName) const {
    for (QAction* action : actions()) {
        if (action->objectName() == buttonName) {
            return qobject_cast<QToolButton*>(widgetForAction(action));
        }
    }
    return nullptr;
}

QList<QToolButton*> ToolBar::EnabledButtons() const {
    QList<QToolButton*> buttons;
    for (QAction* action : actions()) {
        auto* button = qobject_cast<QToolButton*>(widgetForAction(action));
        if (button != nullptr && button->isEnabled() && button->focusPolicy() != Qt::NoFocus) {
            buttons << button;
        }
    }
    return buttons;
}

bool ToolBar::FocusButton() {
    const QList<QToolButton*> buttons = EnabledButtons();
    if (buttons.isEmpty()) {
        return false;
    }
    QToolButton* target =
        buttons.contains(lastFocused_.data()) ? lastFocused_.data() : buttons.first();
    target->setFocus(Qt::TabFocusReason);
    return true;
}

bool ToolBar::HasFocusedButton() const {
    const QWidget* focused = window()->focusWidget();
    return focused != nullptr && focused->parentWidget() == this;
}

bool ToolBar::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (button == nullptr) {
        return QToolBar::eventFilter(watched, event);
    }
    if (event->type() == QEvent::FocusIn) {
        lastFocused_ = button;
    } else if (event->type() == QEvent::KeyPress) {
        const QList<QToolButton*> buttons = EnabledButtons();
        const qsizetype at = buttons.indexOf(button);
        const auto* key = static_cast<QKeyEvent*>(event);
        if (at < 0 || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            return false;
        }
        switch (key->key()) {
            case Qt::Key_Left:
            case Qt::Key_Up:
                buttons[(at + buttons.size() - 1) % buttons.size()]->setFocus(Qt::TabFocusReason);
                return true;
            case Qt::Key_Right:
            case Qt::Key_Down:
                buttons[(at + 1) % buttons.size()]->setFocus(Qt::TabFocusReason);
                return true;
            case Qt::Key_Home:
                buttons.first()->setFocus(Qt::TabFocusReason);
                return true;
            case Qt::Key_End:
                buttons.last()->setFocus(Qt::TabFocusReason);
                return true;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                button->click();
                return true;
            default:
                return false;
        }
    }
    return QToolBar::eventFilter(watched, event);
}

QStringList ToolBar::ButtonNames() const {
    QStringList names;
    for (QAction* action : actions()) {
        names << action->objectName();
    }
    return names;
}

}  // namespace app
