// Fuzz target: the INI reader and the settings rewriter take any bytes without crashing, and
// a setting written into any file reads back as written.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "app/settings_text.h"
#include "toolkit/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    toolkit::FindIniValue(content, QStringLiteral("colors"), QStringLiteral("grid1"));
    toolkit::FindIniValue(content, QStringLiteral("param"), QStringLiteral("skin"));

    const QByteArray rewritten =
        app::WithSetting(content, QStringLiteral("level"), QStringLiteral("Hard"));
    std::optional<QString> level =
        toolkit::FindIniValue(rewritten, QStringLiteral("param"), QStringLiteral("level"));
    // The rewritten (or added) line is the first "level" line of any [param] section.
    if (!level || *level != QStringLiteral("Hard")) {
        std::abort();
    }
    return 0;
}
