#include "app/play_aids_settings.h"

#include "toolkit/atomic_file.h"
#include "toolkit/ini_file.h"

namespace app {

namespace {

const QString kSection = QStringLiteral("aids");

struct AidKey {
    const char* name;
    bool board::PlayAids::*field;
};

constexpr AidKey kKeys[] = {
    {"highlight_houses", &board::PlayAids::highlightHouses},
    {"highlight_same_digits", &board::PlayAids::highlightSameDigits},
    {"mark_mistakes", &board::PlayAids::markMistakes},
};

}  // namespace

void PlayAidsSettings::Load() {
    const toolkit::IniFile file(path_);
    board::PlayAids aids;
    for (const AidKey& key : kKeys) {
        aids.*key.field =
            file.Read(kSection, QString::fromLatin1(key.name), QString()) == QLatin1String("true");
    }
    aids_ = aids;
}

void PlayAidsSettings::Set(const board::PlayAids& aids) {
    QByteArray text = "; The play aids chosen in Quillmark's Options menu.\n[aids]\n";
    for (const AidKey& key : kKeys) {
        text += QByteArray(key.name) + '=' + (aids.*key.field ? "true" : "false") + '\n';
    }
    toolkit::WriteFileAtomically(path_, text);
    aids_ = aids;
}

}  // namespace app
