#pragma once

#include <QAction>
#include <QActionGroup>
#include <QToolBar>
#include <QToolButton>
#include <array>

namespace app {

// The tool bar under the header: flat 23-pixel buttons with 16-pixel pictures, 8-pixel
// dividers, and the pen group (eraser and digits 1 to 9), in which at most one button is down
// and all may be up. Every button starts disabled; the main window enables a button when it
// gives it a handler.
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

    // The pen buttons: index 0 is the eraser, 1 to 9 the digits.
    QAction* PenAction(int index) const { return penActions_[index]; }
    QActionGroup* PenGroup() const { return penGroup_; }

    // Every button and divider name, left to right.
    QStringList ButtonNames() const;

private:
    QActionGroup* penGroup_;
    std::array<QAction*, 10> penActions_{};
};

}  // namespace app
