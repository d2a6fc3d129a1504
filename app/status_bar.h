#pragma once

#include <QFrame>
#include <QLabel>
#include <array>

namespace app {

// The status bar: six centred panels, numbered from 0, each a label whose text is the
// panel's text (level, missing numbers, time, user, hint, engine version).
class StatusBar : public QFrame {
    Q_OBJECT

public:
    static constexpr int kPanelCount = 6;
    static constexpr int kHeight = 19;

    explicit StatusBar(QWidget* parent = nullptr);

    // index is 0 to 5.
    void SetPanelText(int index, const QString& text);
    QString PanelText(int index) const;
    QLabel* Panel(int index) const { return panels_[index]; }

    // The bar's background and the text colour of every panel.
    void SetColors(const QColor& background, const QColor& text);

private:
    std::array<QLabel*, kPanelCount> panels_{};
};

}  // namespace app
