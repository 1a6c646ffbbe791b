// Number texts: the general format of tick labels and range fields, and the readout format.
#include <gtest/gtest.h>

#include "numberformat.h"

using graphane::generalFormat;
using graphane::readoutFormat;

TEST(GeneralFormat, PlainNumbersWithoutLeadingZeroOrTrailingZeros) {
    EXPECT_EQ(generalFormat(0.5f), ".5");
    EXPECT_EQ(generalFormat(-0.25f), "-.25");
    EXPECT_EQ(generalFormat(0.0f), "0");
    EXPECT_EQ(generalFormat(-0.0f), "0");
    EXPECT_EQ(generalFormat(10.0f), "10");
    EXPECT_EQ(generalFormat(100.0f), "100");
    EXPECT_EQ(generalFormat(2.5f), "2.5");
    EXPECT_EQ(generalFormat(-200.0f), "-200");
    EXPECT_EQ(generalFormat(1234567.0f), "1234567");
}

TEST(GeneralFormat, SinglesRoundToSevenDigits) {
    EXPECT_EQ(generalFormat(0.1f), ".1");  // not .100000001
    EXPECT_EQ(generalFormat(13.653333f), "13.65333");
    EXPECT_EQ(generalFormat(1.0f / 3.0f), ".3333333");
    EXPECT_EQ(generalFormat(0.0001f), ".0001");
}

TEST(GeneralFormat, ExponentFormBeyondThePlainForm) {
    EXPECT_EQ(generalFormat(12345678.0f), "1.234568E+07");
    EXPECT_EQ(generalFormat(1e15f), "1E+15");
    EXPECT_EQ(generalFormat(0.00001f), "1E-05");
    EXPECT_EQ(generalFormat(-1.5e-5f), "-1.5E-05");
    EXPECT_EQ(generalFormat(1e-30f), "1E-30");
}

TEST(GeneralFormat, DoublesKeepFifteenDigits) {
    EXPECT_EQ(generalFormat(0.01), ".01");
    EXPECT_EQ(generalFormat(1000.0), "1000");
    EXPECT_EQ(generalFormat(123456789012345.0), "123456789012345");
    EXPECT_EQ(generalFormat(1e15), "1E+15");
    EXPECT_EQ(generalFormat(double(0.1f)), ".100000001490116");
}

TEST(ReadoutFormat, DecimalsFollowTheMagnitude) {
    EXPECT_EQ(readoutFormat(12345.678f), "12345.68");
    EXPECT_EQ(readoutFormat(0.5f), "0.50");
    EXPECT_EQ(readoutFormat(5.0f), "5.0000");
    EXPECT_EQ(readoutFormat(2000000.0f), "2000000");
    EXPECT_EQ(readoutFormat(1000.0f), "1000.0000");    // 1 up to 1000
    EXPECT_EQ(readoutFormat(1000.5f), "1000.500");     // above 1000
    EXPECT_EQ(readoutFormat(150000.25f), "150000.2");  // "0.0"
    EXPECT_EQ(readoutFormat(-0.05f), "-0.05");
    EXPECT_EQ(readoutFormat(0.005f), "0.005");
    EXPECT_EQ(readoutFormat(0.0005f), "0.0005");
    EXPECT_EQ(readoutFormat(0.00005f), "0.00005");
    EXPECT_EQ(readoutFormat(0.000005f), "0.000005");
    EXPECT_EQ(readoutFormat(0.0f), "0");
    EXPECT_EQ(readoutFormat(0.0000001f), "1E-07");
    EXPECT_EQ(readoutFormat(2500000.5f), "2500000");  // whole number, halves to even
}
