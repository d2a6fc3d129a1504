#pragma once

#include <QString>

namespace engine {

// The sentence the player reads for an engine error code. Codes are compared exactly;
// anything unknown reads "Unexpected Error Occured!". fileName goes into the message for a
// file that cannot be opened, as given (empty leaves two blanks in the sentence).
QString EngineErrorMessage(const QString& code, const QString& fileName);

}  // namespace engine
