#pragma once

#include <QFrame>
#include <QLabel>
#include <array>
#include <functional>

namespace app {

// The six panels of the status bar, left to right.
enum class StatusPanel { Level, MissingCount, Time, User, Hint, Version };

// Tells assistive technology that a panel's text, its accessible name, has changed.
using AnnounceNameChange = std::function<void(QLabel& panel)>;
void AnnounceThroughQt(QLabel& panel);

// The status bar: six centred panels, numbered from 0, each a label whose text is the
// panel's text (level, missing numbers, time, user, hint, engine version). Assistive
// technology reads a panel's text as its name and what it is for as its description, and hears
// every change of a panel but the ticking time.
class StatusBar : public QFrame {
    Q_OBJECT

public:
    static constexpr int kPanelCount = 6;
    static constexpr int kHeight = 19;

    explicit StatusBar(QWidget* parent = nullptr, AnnounceNameChange announce = AnnounceThroughQt);

    void SetPanelText(StatusPanel panel, const QString& text);

    // The bar's background and the text colour of every panel.
    void SetColors(const QColor& background, const QColor& text);

private:
    std::array<QLabel*, kPanelCount> panels_{};
    AnnounceNameChange announce_;
};

}  // namespace app
