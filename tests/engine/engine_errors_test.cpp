#include <gtest/gtest.h>

#include <QSet>

#include "engine/engine_errors.h"
#include "tests/support/window_fixture.h"

namespace engine {
namespace {

TEST(EngineErrorMessage, KnownCodesHaveSentencesOfTheirOwnAndAnyOtherTextTheFallback) {
    const QString fallback = EngineErrorMessage(QStringLiteral("ERRORE_NUOVO"), QString());
    EXPECT_EQ(fallback, QStringLiteral("Unexpected Error Occured!"));
    QSet<QString> serverSentences;
    for (const char* code :
         {"ERRORE_FORMATO_O_INSUFFICIENTI_VALORI", "ERRORE_FILE_NON_ESISTE", "ERRORE_APERTURA_FILE",
          "ERROR_NOT_ENABLED_ONLINE", "ERRORE_NON_LADDER", "ERRORE_NON_COMPLETATA",
          "ERRORE_SERVER_NON_RAGGIUNGIBILE", "ERRORE_SERVER_OCCUPATO", "ERRORE_RISPOSTA_SERVER",
          "ERRORE_CERTIFICATO_SERVER_NON_VALIDO", "ERRORE_INDIRIZZO_SERVER_NON_VALIDO",
          "ERRORE_TESTO_NON_UTF8"}) {
        const QString sentence = EngineErrorMessage(QString::fromLatin1(code), QString());
        EXPECT_NE(sentence, fallback) << code;
        if (QLatin1String(code).contains(QLatin1String("SERVER")) ||
            QLatin1String(code).contains(QLatin1String("UTF8"))) {
            serverSentences.insert(sentence);
        }
    }
    // Each of the engine's own codes for the game server tells its own story.
    EXPECT_EQ(serverSentences.size(), 6);
    // Codes are compared exactly.
    for (const char* code : {"erroRE_NON_COMPLETATA", "ERRORE_NON_COMPLETATA ", ""}) {
        EXPECT_EQ(EngineErrorMessage(QString::fromLatin1(code), QString()), fallback) << code;
    }
    // The file that cannot be opened is named as given.
    EXPECT_EQ(EngineErrorMessage(QStringLiteral("ERRORE_APERTURA_FILE"),
                                 QStringLiteral("/home/ada/my %1 puzzle.txt")),
              QStringLiteral("The file /home/ada/my %1 puzzle.txt can't be open!"));
}

using ShowEngineError = testing_support::WindowTest;

TEST_F(ShowEngineError, ShowsOneErrorBox) {
    MakeWindow().ShowEngineError(QStringLiteral("ERRORE_NON_COMPLETATA"), QString());
    EXPECT_EQ(Boxes().shown, (std::vector<testing_support::ShownBox>{
                                 {testing_support::ShownBox::Kind::Error, "Incorrect solution!"}}));
}

}  // namespace
}  // namespace engine
