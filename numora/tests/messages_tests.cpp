// The message hook: installing, replacing and restoring the default.
#include "numora.h"

#include <gtest/gtest.h>

namespace {
void firstHook(const char *, const char *) {}
void secondHook(const char *, const char *) {}
}  // namespace

TEST(MessageHook, InstallReturnsThePreviousHookAndNullRestoresTheDefault) {
    EXPECT_EQ(SetNumoraMessageHook(firstHook), nullptr);
    EXPECT_EQ(SetNumoraMessageHook(secondHook), &firstHook);
    EXPECT_EQ(SetNumoraMessageHook(nullptr), &secondHook);
    EXPECT_EQ(SetNumoraMessageHook(nullptr), nullptr);
}
