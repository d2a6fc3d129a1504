// The Help submenu: the about box, the web links and the update check.

#include "app/main_window.h"
#include "help/about_box.h"
#include "help/product_info.h"

void TFsudoku_main::About1Click() {
    // A failing engine is reported by the default error report; the box keeps its text.
    auto version = [this]() -> std::optional<QString> {
        std::optional<QString> text;
        Run([this, &text] { text = Engine().CallText("Versione"); });
        return text;
    };
    help::TFabout about(
        version, [this](const QString& address) { OpenAddress(address); }, this);
    about.exec();
}

void TFsudoku_main::QuillmarkSite1Click() {
    OpenAddress(QString::fromLatin1(help::kSiteAddress));
}

void TFsudoku_main::QuillmarkForum1Click() {
    OpenAddress(QString::fromLatin1(help::kForumAddress));
}

void TFsudoku_main::Checkforupdates1Click() {
    const QString download = Engine().CallText("VerificaVersione");
    if (download.isEmpty()) {
        Dialogs().ShowMessage(app::BoxKind::Information,
                              QStringLiteral("No new version is available for update."));
        return;
    }
    if (Dialogs().Confirm(QStringLiteral(
            "A new version is available for update. Do you want download it now?"))) {
        OpenAddress(download);
    }
}
