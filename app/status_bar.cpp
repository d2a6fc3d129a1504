#include "app/status_bar.h"

#include <QHBoxLayout>

namespace app {

namespace {

struct PanelDesign {
    int width;
    bool bold;
    const char* initialText;
};

constexpr std::array<PanelDesign, StatusBar::kPanelCount> kPanels = {{
    {86, false, "Level: Medium"},
    {65, false, "Miss.n.: 81"},
    {80, false, "00 : 00 : 00"},
    {175, true, ""},
    {165, false, "Hint: none"},
    {40, false, "Version ..."},
}};

}  // namespace

StatusBar::StatusBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    setAccessibleName(QStringLiteral("Status bar"));
    setFixedHeight(kHeight);
    setAutoFillBackground(true);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* panel = new QLabel(this);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        // The last panel reaches the bar's right edge, as a status bar's last panel does,
        // so that the whole version text can be read.
        const bool last = i == kPanelCount - 1;
        if (last) {
            panel->setMinimumWidth(kPanels[i].width);
        } else {
            panel->setFixedWidth(kPanels[i].width);
        }
        panel->setAlignment(Qt::AlignCenter);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setTextFormat(Qt::PlainText);
        if (kPanels[i].bold) {
            QFont font = panel->font();
            font.setBold(true);
            panel->setFont(font);
        }
        layout->addWidget(panel, last ? 1 : 0);
        panels_[i] = panel;
        SetPanelText(static_cast<StatusPanel>(i), QString::fromLatin1(kPanels[i].initialText));
    }
}

void StatusBar::SetPanelText(StatusPanel panel, const QString& text) {
    QLabel* label = panels_[static_cast<std::size_t>(panel)];
    label->setText(text);
    // Narrow panels clip their text; the tool tip always shows all of it.
    label->setToolTip(text);
}

void StatusBar::SetColors(const QColor& background, const QColor& text) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, background);
    setPalette(palette);
    for (QLabel* panel : panels_) {
        QPalette panelPalette = panel->palette();
        panelPalette.setColor(QPalette::WindowText, text);
        panel->setPalette(panelPalette);
    }
}

}  // namespace app
