#pragma once

#include <QFrame>
#include <QLabel>
#include <array>

namespace app {

// The six panels of the status bar, left to right.
enum class StatusPanel { Level, MissingCount, Time, User, Hint, Version };

// The status bar: six centred panels, numbered from 0, each a label whose text is the
// panel's text (level, missing numbers, time, user, hint, engine version).
class StatusBar : public QFrame {
    Q_OBJECT

public:
    static constexpr int kPanelCount = 6;
    static constexpr int kHeight = 19;

    explicit StatusBar(QWidget* parent = nullptr);

    void SetPanelText(StatusPanel panel, const QString& text);

    // The bar's background and the text colour of every panel.
    void SetColors(const QColor& background, const QColor& text);

private:
    std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace app
