#include "app/status_bar.h"

#include <QAccessible>
#include <QHBoxLayout>

namespace app {

namespace {

struct PanelDesign {
    int width;
    bool bold;
    const char* initialText;
    // What the panel is for: read as its description. Set as the label's own accessible name,
    // it also keeps the label from announcing changes by itself; the bar announces them.
    const char* purpose;
};

constexpr std::array<PanelDesign, StatusBar::kPanelCount> kPanels = {{
    {86, false, "Level: Medium", "Level"},
    {65, false, "Miss.n.: 81", "Missing numbers"},
    {80, false, "00 : 00 : 00", "Time"},
    {175, true, "", "Player"},
    {165, false, "Hint: none", "Hint"},
    {40, false, "Version ...", "Version"},
}};

}  // namespace

void AnnounceThroughQt(QLabel& panel) {
    QAccessibleEvent event(&panel, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

StatusBar::StatusBar(QWidget* parent, AnnounceNameChange announce)
    : QFrame(parent), announce_(std::move(announce)) {
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
        panel->setAccessibleName(QString::fromLatin1(kPanels[i].purpose));
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
        panel->setText(QString::fromLatin1(kPanels[i].initialText));
        panel->setToolTip(panel->text());
    }
}

void StatusBar::SetPanelText(StatusPanel panel, const QString& text) {
    QLabel* label = panels_[static_cast<std::size_t>(panel)];
    if (label->text() == text) {
        return;
    }
    label->setText(text);
    // Narrow panels clip their text; the tool tip always shows all of it.
    label->setToolTip(text);
    // The time changes every second: announced, it would drown everything else.
    if (panel != StatusPanel::Time && announce_) {
        announce_(*label);
    }
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
