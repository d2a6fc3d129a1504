#include <gtest/gtest.h>

#include "engine/engine_errors.h"
#include "tests/support/window_fixture.h"

namespace engine {
namespace {

TEST(EngineErrorMessage, GivesEachCodeItsSentence) {
    const std::pair<const char*, const char*> table[] = {
        {"ERRORE_FORMATO_O_INSUFFICIENTI_VALORI", "You need to insert at least 15 values"},
        {"ERRORE_FILE_NON_ESISTE", "The file doesn't exist!"},
        {"ERROR_NOT_ENABLED_ONLINE", "User not enabled for online games!"},
        {"ERRORE_NON_LADDER", "User not enabled for online games!"},
        {"ERRORE_NON_COMPLETATA", "Incorrect solution!"},
        {"ERRORE_NUOVO", "Unexpected Error Occured!"},
        {"erroRE_NON_COMPLETATA", "Unexpected Error Occured!"},
        {"ERRORE_NON_COMPLETATA ", "Unexpected Error Occured!"},
    };
    for (const auto& [code, message] : table) {
        EXPECT_EQ(EngineErrorMessage(QString::fromLatin1(code), QString()),
                  QString::fromLatin1(message))
            << code;
    }
}

TEST(EngineErrorMessage, NamesTheFileThatCannotBeOpenedAsGiven) {
    EXPECT_EQ(EngineErrorMessage(QStringLiteral("ERRORE_APERTURA_FILE"),
                                 QStringLiteral("/home/ada/my puzzle.txt")),
              QStringLiteral("The file /home/ada/my puzzle.txt can't be open!"));
    EXPECT_EQ(EngineErrorMessage(QStringLiteral("ERRORE_APERTURA_FILE"), QString()),
              QStringLiteral("The file  can't be open!"));
}

using ShowEngineError = testing_support::WindowTest;

TEST_F(ShowEngineError, ShowsOneErrorBoxAndKeepsItsText) {
    TFsudoku_main& window = MakeWindow();
    window.ShowEngineError(QStringLiteral("ERRORE_NON_COMPLETATA"), QString());
    ASSERT_EQ(Boxes().shown.size(), 1u);
    EXPECT_EQ(Boxes().shown[0].kind, testing_support::ShownBox::Kind::Error);
    EXPECT_EQ(Boxes().shown[0].text, QStringLiteral("Incorrect solution!"));
    EXPECT_EQ(window.LastMessageText, QStringLiteral("Incorrect solution!"));
}

}  // namespace
}  // namespace engine
