#include "app/tool_bar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <stdexcept>

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

QStringList ToolBar::ButtonNames() const {
    QStringList names;
    for (QAction* action : actions()) {
        names << action->objectName();
    }
    return names;
}

}  // namespace app
