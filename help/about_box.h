#pragma once

#include <QDialog>
#include <QLabel>
#include <functional>
#include <optional>

namespace toolkit {
class PictureButton;
}

namespace help {

// The about box: the program's pictures, the engine's version, links to the site, the forum
// and the contact address. It is made for each showing and released after it.
class TFabout : public QDialog {
    Q_OBJECT

public:
    // version asks the engine for its version text, nothing when it could not tell (the box
    // then keeps its designed text); openAddress opens a web or mail address.
    TFabout(std::function<std::optional<QString>()> version,
            std::function<void(const QString&)> openAddress, QWidget* parent = nullptr);

    void FormCreate();
    // Shows the engine's version; runs once, when the box is first shown.
    void FormActivate();
    void BBcloseClick() { accept(); }

    QLabel* lblVersion = nullptr;
    QLabel* siteLink = nullptr;
    QLabel* forumLink = nullptr;
    QLabel* contactLink = nullptr;
    toolkit::PictureButton* BBclose = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* AddLabel(const QString& text, QPoint place, bool bold);
    QLabel* Place(QLabel* label, QPoint place, bool bold);
    QLabel* AddLink(const QString& shown, const QString& address, QPoint place);

    std::function<std::optional<QString>()> version_;
    std::function<void(const QString&)> openAddress_;
    bool activated_ = false;
};

}  // namespace help
