#include <gtest/gtest.h>

#include "automation/errors.h"
#include "automation/propertybag.h"

using namespace automation;

TEST(PropertyBag, WriteOmitsValuesEqualToTheSaveDefault) {
    PropertyBag bag;
    bag.write("MarginLeft", Variant(20.0f), Variant(20.0f));
    EXPECT_FALSE(bag.contains("MarginLeft"));
    bag.write("MarginLeft", Variant(30.0f), Variant(20.0f));
    EXPECT_EQ(bag.read("MarginLeft", Variant(25.0f)).toR4(), 30.0f);
    bag.write("MarginLeft", Variant(20.0f), Variant(20.0f));
    EXPECT_FALSE(bag.contains("MarginLeft"));
    EXPECT_EQ(bag.read("MarginLeft", Variant(25.0f)).toR4(), 25.0f);
}

TEST(PropertyBag, TextFormRoundTripsEveryType) {
    PropertyBag bag;
    bag.write("BorderStyle", Variant(int16_t(2)));
    bag.write("BackColor", Variant(int32_t(0xFFFFFF)));
    bag.write("MarginRight", Variant(40.5f));
    bag.write("Ratio", Variant(0.1));
    bag.write("Flag", Variant(true));
    bag.write("TitleX", Variant("Ti\"me\\ 时间"));
    bag.write("MouseIcon", Variant(Picture{{0x42, 0x4d, 0x00, 0xff}}));
    PropertyBag back = PropertyBag::fromText(bag.toText());
    ASSERT_EQ(back.entries().size(), bag.entries().size());
    for (std::size_t i = 0; i < bag.entries().size(); ++i) {
        EXPECT_EQ(back.entries()[i].first, bag.entries()[i].first);
        EXPECT_EQ(back.entries()[i].second.type(), bag.entries()[i].second.type()) << bag.entries()[i].first;
        EXPECT_TRUE(back.entries()[i].second.sameValue(bag.entries()[i].second)) << bag.entries()[i].first;
    }
}

TEST(PropertyBag, DesignTimeTextParses) {
    PropertyBag bag = PropertyBag::fromText(
        "# Graphane1 on Form1\n"
        "BorderStyle = I2 2\n\n"
        "MarginRight = R4 40\n"
        "TitleX = String \"Time\"\n");
    EXPECT_EQ(bag.read("BorderStyle", Variant()).toI2(), 2);
    EXPECT_EQ(bag.read("MarginRight", Variant()).toR4(), 40.0f);
    EXPECT_EQ(bag.read("TitleX", Variant()).toString(), "Time");
}

TEST(PropertyBag, MalformedTextRaises380) {
    for (const char *text :
         {"NoEquals\n", "K = I2 abc\n", "K = I2 70000\n", "K = Bogus 1\n", "K = String x\n"}) {
        try {
            PropertyBag::fromText(text);
            ADD_FAILURE() << text;
        } catch (const Error &e) {
            EXPECT_TRUE(e.number() == err::InvalidPropertyValue || e.number() == err::Overflow) << text;
        }
    }
}
