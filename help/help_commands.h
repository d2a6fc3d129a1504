#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace engine {
class PuzzleEngine;
}

namespace toolkit {
class Dialogs;
}

namespace help {

// Opens a web, mail or download address with the desktop's program for it.
using OpenAddress = std::function<void(const QString&)>;

// The Help submenu: the web links, the update check and the about box.
class HelpCommands {
public:
    // engine and dialogs must outlive the commands.
    HelpCommands(engine::PuzzleEngine& engine, toolkit::Dialogs& dialogs, OpenAddress open);

    void OpenSite();
    void OpenForum();
    // Asks the engine for a newer version; when there is one, offers its download (opened only
    // on Yes) and returns true.
    bool OfferNewerVersion();
    // The same, telling the player when the program is up to date.
    void CheckForUpdates();
    // The about box, modal over parent, made for this showing and released after it. version
    // gives the engine's version text, or nothing to keep the box's designed text.
    void ShowAbout(QWidget* parent, std::function<std::optional<QString>()> version);

private:
    engine::PuzzleEngine& engine_;
    toolkit::Dialogs& dialogs_;
    OpenAddress open_;
};

}  // namespace help
