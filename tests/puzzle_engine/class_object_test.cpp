#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "puzzle_engine/class_object.h"
#include "puzzle_engine/start_options.h"
#include "puzzle_engine/version.h"

namespace puzzle_engine {
namespace {

using engine::DispatchError;
using engine::Variant;

std::shared_ptr<engine::Dispatch> MakeEngine(std::vector<Variant> startTexts) {
    ClassObject classObject;
    Variant made = classObject.Invoke("", startTexts);
    return std::get<std::shared_ptr<engine::Dispatch>>(made);
}

TEST(ClassObject, DefaultMemberWithTheStartTextsMakesAnEngineThatKnowsItsVersion) {
    auto engine = MakeEngine({std::string("0"), std::string("2"), std::string("2000")});
    ASSERT_NE(engine, nullptr);
    std::vector<Variant> none;
    EXPECT_EQ(std::get<std::string>(engine->Invoke("Versione", none)), kVersion);
}

TEST(ClassObject, RefusesCallsItCannotUnderstand) {
    ClassObject classObject;
    std::vector<Variant> three = {std::string("0"), std::string("2"), std::string("2000")};
    EXPECT_THROW(classObject.Invoke("Create", three), DispatchError);

    std::vector<Variant> two = {std::string("0"), std::string("2")};
    EXPECT_THROW(classObject.Invoke("", two), DispatchError);

    std::vector<Variant> numbers = {0, 2, 2000};
    EXPECT_THROW(classObject.Invoke("", numbers), DispatchError);

    std::vector<Variant> notNumbers = {std::string("zero"), std::string("2"), std::string("2000")};
    EXPECT_THROW(classObject.Invoke("", notNumbers), DispatchError);
}

TEST(ClassObject, ErrorsSayWhatWasWrong) {
    ClassObject classObject;
    std::vector<Variant> numbers = {0, 2, 2000};
    try {
        classObject.Invoke("", numbers);
        FAIL() << "no error raised";
    } catch (const DispatchError& error) {
        EXPECT_STREQ(error.what(), "engine creation: argument 1 must be a text, not an integer");
    }
}

TEST(EngineObject, UnknownOperationsAndSurplusArgumentsRaise) {
    auto engine = MakeEngine({std::string("0"), std::string("2"), std::string("2000")});
    std::vector<Variant> none;
    try {
        engine->Invoke("versione", none);
        FAIL() << "no error raised";
    } catch (const DispatchError& error) {
        EXPECT_STREQ(error.what(), "the puzzle engine has no operation named 'versione'");
    }
    std::vector<Variant> one = {std::string("x")};
    EXPECT_THROW(engine->Invoke("Versione", one), DispatchError);
}

TEST(StartOptions, ReadsThreeDecimalNumbers) {
    auto options = ParseStartOptions("0", "2", "2000");
    ASSERT_TRUE(options);
    EXPECT_EQ(options->seed, 0u);
    EXPECT_EQ(options->protocolVersion, 2u);
    EXPECT_EQ(options->serverTimeoutMs, 2000u);

    EXPECT_EQ(ParseStartOptions("18446744073709551615", "2", "1")->seed, 18446744073709551615ull);
}

TEST(StartOptions, RefusesAnythingButPlainDecimals) {
    EXPECT_FALSE(ParseStartOptions("", "2", "2000"));
    EXPECT_FALSE(ParseStartOptions("-1", "2", "2000"));
    EXPECT_FALSE(ParseStartOptions("+1", "2", "2000"));
    EXPECT_FALSE(ParseStartOptions("0", "2 ", "2000"));
    EXPECT_FALSE(ParseStartOptions("0", "2", "0x10"));
    EXPECT_FALSE(ParseStartOptions("0", "2", "4294967296"));
    EXPECT_FALSE(ParseStartOptions("18446744073709551616", "2", "2000"));
}

}  // namespace
}  // namespace puzzle_engine
