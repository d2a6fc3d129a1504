#pragma once

#include <QAction>
#include <QActionGroup>
#include <QPointer>
#include <QToolBar>
#include <QToolButton>
#include <array>

namespace app {

// The tool bar under the header: flat 23-pixel buttons with 16-pixel pictures, 8-pixel
// dividers, and the pen group (eraser and digits 1 to 9), in which at most one button is down
// and all may be up. Every button starts disabled; the main window enables a button when it
// gives it a handler. From the keyboard the bar is one stop: the arrows move between its
// enabled buttons, Space or Return presses one; a mouse click leaves the focus where it was.
class ToolBar : public QToolBar {
    Q_OBJECT

public:
    static constexpr int kHeight = 22;

    explicit ToolBar(QWidget* parent);

    // The action behind the button of that name ("ToolButton7", "ToolButton_lock", ...);
    // raises std::out_of_range for a divider or a name the tool bar does not have.
    QAction* Action(const QString& buttonName) const;
    // The button widget of that name, or nullptr for a divider or an unknown name.
    QToolButton* Button(const QString& buttonName) const;

    QAction* HintButton() const { return Action(QStringLiteral("ToolButton_hint")); }
    QAction* LockButton() const { return Action(QStringLiteral("ToolButton_lock")); }

    // The pen buttons: index 0 is the eraser, 1 to 9 the digits.
    QAction* PenAction(int index) const { return penActions_[index]; }
    QActionGroup* PenGroup() const { return penGroup_; }

    // Every button and divider name, left to right.
    QStringList ButtonNames() const;

    // Gives the keyboard focus to the button that had it last, or else to the first enabled
    // one; false when no button is enabled.
    bool FocusButton();
    bool HasFocusedButton() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The enabled buttons, left to right.
    QList<QToolButton*> EnabledButtons() const;

    QActionGroup* penGroup_;
    std::array<QAction*, 10> penActions_{};
    QPointer<QToolButton> lastFocused_;
};

}  // namespace app
