// The message hook: installing, replacing and restoring the default.
#include "sigmora.h"

#include <gtest/gtest.h>

namespace {
void firstHook(const char *, const char *) {}
void secondHook(const char *, const char *) {}
}  // namespace

TEST(MessageHook, InstallReturnsThePreviousHookAndNullRestoresTheDefault) {
    EXPECT_EQ(SetMessageHook(firstHook), nullptr);
    EXPECT_EQ(SetMessageHook(secondHook), &firstHook);
    EXPECT_EQ(SetMessageHook(nullptr), &secondHook);
    EXPECT_EQ(SetMessageHook(nullptr), nullptr);
}
