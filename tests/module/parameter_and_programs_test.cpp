// The bus selection as the host sees it: one parameter and seventeen programs.
#include <cmath>
#include <cstdio>
#include <limits>

#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using BusSelection = ModuleTest;

std::string busName(int n) {
    char name[32];
    std::snprintf(name, sizeof name, "Moltrax Bus %d", n);
    return name;
}

TEST_F(BusSelection, EveryStepOfTheParameterIsOneBus) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    for (int n = 16; n >= 0; --n) {
        instance->setParameter(static_cast<float>(n) * 0.0625f);
        EXPECT_EQ(instance->program(), n);
        EXPECT_EQ(instance->getParameter(), static_cast<float>(n) / 16.0f);
        char display[8];
        std::snprintf(display, sizeof display, "%.2d", n);
        EXPECT_EQ(instance->text(effGetParamDisplay), n == 0 ? std::string("Off") : std::string(display));
        EXPECT_EQ(instance->text(effGetProgramName), n == 0 ? std::string(" <Not Connected>") : busName(n));
    }
}

TEST_F(BusSelection, ValuesBetweenStepsRoundDown) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    instance->setParameter(0.5f);
    EXPECT_EQ(instance->program(), 8);
    EXPECT_EQ(instance->text(effGetParamDisplay), "08");
    instance->setParameter(1.0f);
    EXPECT_EQ(instance->program(), 16);
    instance->setParameter(0.12f);
    EXPECT_EQ(instance->program(), 1);
    instance->setParameter(0.0624999f);  // just below a step still names it
    EXPECT_EQ(instance->program(), 1);
    instance->setParameter(0.9999999f);
    EXPECT_EQ(instance->program(), 16);
    instance->setParameter(0.06f);
    EXPECT_EQ(instance->program(), 0);
    EXPECT_EQ(instance->getParameter(), 0.0f);
    EXPECT_EQ(instance->text(effGetParamDisplay), "Off");
}

TEST_F(BusSelection, ParameterTextsIgnoreTheIndex) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    instance->selectBus(3);
    for (VstInt32 index : {0, 1, 5}) {
        EXPECT_EQ(instance->text(effGetParamName, index), "Bus Selection");
        EXPECT_EQ(instance->text(effGetParamLabel, index), "");
        EXPECT_EQ(instance->text(effGetParamDisplay, index), "03");
        EXPECT_EQ(instance->getParameter(index), 0.1875f);
    }
    instance->setParameter(0.25f, 3);
    EXPECT_EQ(instance->program(), 4);
}

TEST_F(BusSelection, ProgramsSelectBuses) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->dispatch(effSetProgram, 0, 16), 0);
    EXPECT_EQ(instance->program(), 16);
    EXPECT_EQ(instance->getParameter(), 1.0f);
    EXPECT_EQ(instance->text(effGetProgramName), "Moltrax Bus 16");
    for (VstIntPtr refused : {17, 40, 1000, -1, -3}) {
        EXPECT_EQ(instance->dispatch(effSetProgram, 0, refused), 0);
        EXPECT_EQ(instance->program(), 16) << refused;
    }
    EXPECT_EQ(instance->dispatch(effSetProgram, 0, 0), 0);
    EXPECT_EQ(instance->program(), 0);
    EXPECT_EQ(instance->text(effGetProgramName), " <Not Connected>");
}

TEST_F(BusSelection, ProgramNamesAreFixed) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    for (VstInt32 index = 0; index <= 16; ++index) {
        VstIntPtr result = 0;
        EXPECT_EQ(instance->text(effGetProgramNameIndexed, index, &result),
                  index == 0 ? std::string(" <Not Connected>") : busName(index));
        EXPECT_EQ(result, 1);
    }
    char name[kTextBufferSize];
    std::snprintf(name, sizeof name, "Moltrax Bus 12");
    EXPECT_EQ(instance->dispatch(effGetProgramNameIndexed, 12, 3, name), 1) << "the category is ignored";
    const std::string untouched(kTextBufferSize, kTextMarker);
    for (VstInt32 index : {17, -1, 100}) {
        VstIntPtr result = 1;
        EXPECT_EQ(instance->text(effGetProgramNameIndexed, index, &result), untouched) << index;
        EXPECT_EQ(result, 0);
    }
    instance->dispatch(effSetProgram, 0, 2);
    char renamed[] = "My Bus";
    EXPECT_EQ(instance->dispatch(effSetProgramName, 0, 0, renamed), 0);
    EXPECT_EQ(instance->text(effGetProgramName), "Moltrax Bus 2");
}

TEST_F(BusSelection, TypedText) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    auto type = [&](const char* text) {
        return instance->dispatch(effString2Parameter, 0, 0, const_cast<char*>(text));
    };
    EXPECT_EQ(type("12"), 1);
    EXPECT_EQ(instance->program(), 12);
    EXPECT_EQ(instance->getParameter(), 0.75f);
    EXPECT_EQ(type("abc"), 1);
    EXPECT_EQ(instance->program(), 0);
    EXPECT_EQ(type(" 16"), 1);
    EXPECT_EQ(instance->program(), 16);
    for (const char* rejected : {"17", "-3", "4294967295", "99999999999"}) {
        EXPECT_EQ(type(rejected), 0) << rejected;
        EXPECT_EQ(instance->program(), 16) << rejected;
    }
    EXPECT_EQ(instance->dispatch(effString2Parameter, 0, 0, nullptr), 0);
    EXPECT_EQ(instance->program(), 16);
}

TEST_F(BusSelection, HostChangesAreNotEchoedToTheHost) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    HostLog::clear();
    instance->setParameter(0.5f);
    instance->dispatch(effSetProgram, 0, 3);
    char text[] = "9";
    instance->dispatch(effString2Parameter, 0, 0, text);
    EXPECT_TRUE(HostLog::calls().empty());
}

// A host value outside 0..1 is clamped to the nearest end and NaN is ignored;
// either way the effect keeps working and passes its audio through.
TEST_F(BusSelection, ValuesOutsideTheRangeClampAndLeaveAWorkingEffect) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const struct {
        float value;
        VstIntPtr program;
    } cases[] = {{2.0f, 16},      {-0.0625f, 0}, {1.5f, 16},      {-0.07f, 0}, {1e30f, 16},       {-1.0f, 0},
                 {kInfinity, 16}, {-1e30f, 0},   {-kInfinity, 0}, {0.25f, 4},  {std::nanf(""), 4}};
    for (const auto& [value, program] : cases) {
        instance->setParameter(value);
        EXPECT_EQ(instance->program(), program) << value;
        EXPECT_TRUE(std::isfinite(instance->getParameter())) << value;
        const std::string name = instance->text(effGetProgramName);
        EXPECT_LT(name.size(), kTextBufferSize) << value;
        EXPECT_LT(instance->text(effGetParamDisplay).size(), kTextBufferSize) << value;
        AudioBlock block(32);
        instance->processReplacing(block);
        for (int c = 0; c < kChannels; ++c) EXPECT_EQ(block.outputChannel(c), block.inputChannel(c)) << value;
    }
    for (VstIntPtr program : {VstIntPtr{-1}, VstIntPtr{-100}, VstIntPtr{INT32_MIN}}) {
        instance->dispatch(effSetProgram, 0, program);
        EXPECT_LT(instance->text(effGetProgramName).size(), kTextBufferSize);
        AudioBlock block(32);
        instance->processReplacing(block);
        for (int c = 0; c < kChannels; ++c)
            EXPECT_EQ(block.outputChannel(c), block.inputChannel(c)) << program;
    }
}

}  // namespace
}  // namespace druvo_test
