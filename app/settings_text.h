#pragma once

#include <QByteArray>
#include <QString>

namespace app {

// The settings file a first start writes: seven CR LF separated lines, no line break after
// the last.
QByteArray DefaultSettingsText();

// The settings file's text with one setting of section [param] holding value. The lines are
// taken as they are (empty lines before the first other line dropped) and joined by the
// file's own line end (CR LF, LF or CR; CR LF for a file of one line) with no line break after
// the last, in the file's own encoding (its byte-order mark kept). In the setting's line (its name
// matched without regard to case) only the value changes, blanks around it kept; every other line
// stays byte for byte. A missing line is added at the end of the section, a missing section at the
// end of the text.
QByteArray WithSetting(const QByteArray& fileText, const QString& key, const QString& value);

}  // namespace app
