#include "help/help_commands.h"

#include "engine/puzzle_engine.h"
#include "help/about_box.h"
#include "help/product_info.h"
#include "toolkit/dialogs.h"
#include "toolkit/sentences.h"

namespace help {

HelpCommands::HelpCommands(engine::PuzzleEngine& engine, toolkit::Dialogs& dialogs,
                           OpenAddress open)
    : engine_(engine), dialogs_(dialogs), open_(std::move(open)) {}

void HelpCommands::OpenSite() {
    open_(QString::fromLatin1(kSiteAddress));
}

void HelpCommands::OpenForum() {
    open_(QString::fromLatin1(kForumAddress));
}

bool HelpCommands::OfferNewerVersion() {
    const QString download = engine_.CheckVersion();
    if (download.isEmpty()) {
        return false;
    }
    if (dialogs_.Confirm(sentences::kDownloadNewVersion)) {
        open_(download);
    }
    return true;
}

void HelpCommands::CheckForUpdates() {
    if (!OfferNewerVersion()) {
        dialogs_.ShowMessage(toolkit::BoxKind::Information, sentences::kNoNewVersion);
    }
}

void HelpCommands::ShowAbout(QWidget* parent, std::function<std::optional<QString>()> version) {
    TFabout about(std::move(version), open_, parent);
    about.exec();
}

}  // namespace help
