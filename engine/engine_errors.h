#pragma once

#include <QString>

namespace engine {

// The sentence the player reads for an engine error code. Codes are compared exactly; the
// engine's own codes for the game server (unreachable, busy, a garbled answer, an untrusted
// certificate, a bad address, text that is not UTF-8) each tell what happened; anything
// unknown reads "Unexpected Error Occured!". fileName goes into the message for a
// file that cannot be opened, as given (empty leaves two blanks in the sentence).
QString EngineErrorMessage(const QString& code, const QString& fileName);

}  // namespace engine
