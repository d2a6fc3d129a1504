#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/engine_link.h"
#include "tests/support/recording_engine.h"

namespace engine {
namespace {

const std::vector<std::string> kStartTexts = {"0", "2", "2000"};

TEST(EngineLink, StartsTheBuiltComponentAndCallsByName) {
    EngineLink link(testing_support::BuiltComponent());
    EXPECT_FALSE(link.IsStarted());
    link.Start(kStartTexts);
    EXPECT_TRUE(link.IsStarted());
    EXPECT_TRUE(link.HoldsClassObject());
    EXPECT_EQ(link.CallText("Versione"), QStringLiteral(QUILLMARK_VERSION));
}

TEST(EngineLink, ErrorsRaisedInsideTheComponentAreCaughtByTheirType) {
    EngineLink link(testing_support::BuiltComponent());
    link.Start(kStartTexts);
    EXPECT_THROW(link.CallText("NoSuchOperation"), DispatchError);
    EXPECT_THROW(link.CallText("Versione", {std::string("surplus")}), DispatchError);
}

TEST(EngineLink, TheEngineOutlivesItsClassObject) {
    EngineLink link(testing_support::BuiltComponent());
    link.Start(kStartTexts);
    link.ReleaseClassObject();
    EXPECT_FALSE(link.HoldsClassObject());
    EXPECT_EQ(link.CallText("Versione"), QStringLiteral(QUILLMARK_VERSION));
}

TEST(EngineLink, AMissingComponentFailsWithTheSystemsTextAndStaysUnstarted) {
    EngineLink link(ComponentFactory(QStringLiteral("/nonexistent/quillmark_engine")));
    try {
        link.Start(kStartTexts);
        FAIL() << "no error raised";
    } catch (const std::runtime_error& error) {
        EXPECT_TRUE(QString::fromUtf8(error.what()).contains(QStringLiteral("quillmark_engine")))
            << error.what();
    }
    EXPECT_FALSE(link.IsStarted());
    EXPECT_THROW(link.CallText("Versione"), std::runtime_error);
}

TEST(EngineLink, ALibraryWithoutTheEntryPointFails) {
    // The C library is loadable but is no engine component.
    EngineLink link(ComponentFactory(QStringLiteral("libc.so.6")));
    EXPECT_THROW(link.Start(kStartTexts), std::runtime_error);
    EXPECT_FALSE(link.IsStarted());
}

TEST(ResultText, TurnsEveryResultKindIntoText) {
    EXPECT_EQ(ResultText(Variant{}), QString());
    EXPECT_EQ(ResultText(Variant{std::int32_t{-42}}), QStringLiteral("-42"));
    EXPECT_EQ(ResultText(Variant{std::string("ERRORE_X")}), QStringLiteral("ERRORE_X"));
    EXPECT_THROW(ResultText(Variant{std::shared_ptr<Dispatch>()}), std::runtime_error);
}

}  // namespace
}  // namespace engine
