#pragma once

#include <QString>

#include "board/play_aids.h"

namespace app {

// The player's play aids, kept between runs in a small file of their own beside config.ini,
// which they never touch. A missing, broken or foreign file reads as every aid off, and a
// value other than "true" reads as off; nothing is written until the player changes an aid.
class PlayAidsSettings {
public:
    explicit PlayAidsSettings(QString path) : path_(std::move(path)) {}

    void Load();
    const board::PlayAids& Aids() const { return aids_; }

    // Writes the whole file with the new choice, through a temporary file, and only then holds
    // it. Raises std::runtime_error naming the file when it cannot be written; the aids held
    // then stay as they were.
    void Set(const board::PlayAids& aids);

private:
    QString path_;
    board::PlayAids aids_;
};

}  // namespace app
