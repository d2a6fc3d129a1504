#include "help/about_box.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include "help/about_pictures.h"
#include "help/product_info.h"
#include "toolkit/picture_button.h"
#include "toolkit/remove_caption.h"

namespace help {

namespace {

// A label that opens its address when clicked.
class LinkLabel : public QLabel {
public:
    LinkLabel(const QString& text, std::function<void()> open, QWidget* parent)
        : QLabel(text, parent), open_(std::move(open)) {}

protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        open_();
    }

private:
    std::function<void()> open_;
};

QFrame* Rule(QWidget* parent, int x, int y, int width) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    line->setGeometry(x, y, width, 2);
    return line;
}

}  // namespace

TFabout::TFabout(std::function<std::optional<QString>()> version,
                 std::function<void(const QString&)> openAddress, QWidget* parent)
    : QDialog(parent), version_(std::move(version)), openAddress_(std::move(openAddress)) {
    setObjectName(QStringLiteral("Fabout"));
    setWindowTitle(QStringLiteral("About Quillmark"));
    setFixedSize(410, 238);
    setModal(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(ProgramPicture());
    picture->setGeometry(4, 4, 152, 177);
    auto* logo = new QLabel(this);
    logo->setPixmap(NamePicture());
    logo->setGeometry(174, 5, 165, 33);
    logo->setAccessibleName(QStringLiteral("Quillmark"));

    lblVersion = AddLabel(QStringLiteral("Version: 1.00"), {178, 37}, true);
    AddLabel(QStringLiteral("Visit Quillmark site:"), {177, 67}, true);
    siteLink =
        AddLink(QString::fromLatin1(kSiteAddress), QString::fromLatin1(kSiteAddress), {196, 89});
    Rule(this, 160, 114, 244);
    AddLabel(QStringLiteral("Visit Quillmark forum:"), {177, 132}, true);
    forumLink =
        AddLink(QString::fromLatin1(kForumAddress), QString::fromLatin1(kForumAddress), {196, 156});
    Rule(this, 6, 186, 398);
    AddLabel(QString::fromLatin1(kLegalNoticeFirstLine), {7, 196}, false);
    AddLabel(QString::fromLatin1(kLegalNoticeSecondLine), {7, 212}, false);
    AddLabel(QStringLiteral("Contact:"), {221, 196}, true);
    contactLink =
        AddLink(QString::fromLatin1(kContactAddress),
                QStringLiteral("mailto:") + QString::fromLatin1(kContactAddress), {240, 212});

    BBclose = new toolkit::PictureButton(toolkit::Icon::Close, QStringLiteral("Close"), this);
    BBclose->setObjectName(QStringLiteral("BBclose"));
    BBclose->move(388, 3);
    connect(BBclose, &QAbstractButton::clicked, this, &TFabout::BBcloseClick);

    FormCreate();
}

void TFabout::FormCreate() {
    toolkit::RemoveCaption(*this);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TFabout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        FormActivate();
    }
}

void TFabout::FormActivate() {
    if (std::optional<QString> version = version_()) {
        lblVersion->setText(QStringLiteral("Version: ") + *version);
        lblVersion->adjustSize();
    }
}

void TFabout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // The edge around the whole client area, in place of a window frame.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(rect().adjusted(1, 1, -2, -2));
}

QLabel* TFabout::AddLabel(const QString& text, QPoint place, bool bold) {
    return Place(new QLabel(text, this), place, bold);
}

QLabel* TFabout::Place(QLabel* label, QPoint place, bool bold) {
    label->setTextFormat(Qt::PlainText);
    if (bold) {
        QFont font = label->font();
        font.setBold(true);
        label->setFont(font);
    }
    label->move(place);
    label->adjustSize();
    return label;
}

QLabel* TFabout::AddLink(const QString& shown, const QString& address, QPoint place) {
    QLabel* link = Place(new LinkLabel(
                             shown, [this, address] { openAddress_(address); }, this),
                         place, false);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, Qt::blue);
    link->setPalette(palette);
    link->setCursor(Qt::PointingHandCursor);
    link->adjustSize();
    link->setAccessibleDescription(address);
    return link;
}

}  // namespace help
