#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"

namespace MX::platform {
namespace {

struct Shown {
    int count = 0;
    std::string text;
    std::string caption;
    unsigned style = 0;
};
Shown gShown;

void recordBox(const char* text, const char* caption, unsigned style) {
    ++gShown.count;
    gShown.text = text;
    gShown.caption = caption;
    gShown.style = style;
}

void otherBox(const char*, const char*, unsigned) {}

class ErrorBox : public ::testing::Test {
protected:
    void SetUp() override {
        gShown = {};
        previous = setErrorBoxHandler(recordBox);
    }
    void TearDown() override { setErrorBoxHandler(previous); }
    ErrorBoxHandler previous = nullptr;
};

TEST_F(ErrorBox, HandlerReceivesTheBox) {
    showErrorBox("text\n\nmore", "druvo (2).dll", kErrorBoxStyle);
    EXPECT_EQ(gShown.count, 1);
    EXPECT_EQ(gShown.text, "text\n\nmore");
    EXPECT_EQ(gShown.caption, "druvo (2).dll");
    EXPECT_EQ(gShown.style, 0x1010u);
}

TEST_F(ErrorBox, NullTextsReachTheHandlerAsEmpty) {
    showErrorBox(nullptr, nullptr, 0);
    EXPECT_EQ(gShown.count, 1);
    EXPECT_EQ(gShown.text, "");
    EXPECT_EQ(gShown.caption, "");
}

TEST_F(ErrorBox, ReplacingTheHandlerReturnsThePreviousOne) {
    EXPECT_EQ(setErrorBoxHandler(otherBox), &recordBox);
    showErrorBox("t", "c", 0);
    EXPECT_EQ(gShown.count, 0);
}

}  // namespace
}  // namespace MX::platform
