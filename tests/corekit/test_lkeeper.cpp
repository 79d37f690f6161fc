#include "corekit/lkeeper.h"

#include "tests/support/memorykeeper.h"

#include <gtest/gtest.h>

using namespace corekit;

namespace
{

using nimbreltest::MemoryKeeper;

TEST(LKeeper, initWritesOnlyWhereNothingIsStored)
{
    MemoryKeeper keeper;
    std::uint32_t number = 77;
    EXPECT_EQ(keeper.GetInt("General", "Interval", number, false), L_NOTFOUND);
    EXPECT_EQ(number, 77u);

    EXPECT_EQ(keeper.InitInt("General", "Interval", 15, false), L_OK);
    EXPECT_EQ(keeper.InitInt("General", "Interval", 30, false), L_OK);
    EXPECT_EQ(keeper.GetInt("General", "Interval", number, false), L_OK);
    EXPECT_EQ(number, 15u);

    keeper.SetString("General", "Units", "wrong", false);
    EXPECT_EQ(keeper.InitInt("General", "Units", 1, false), L_OK);
    EXPECT_EQ(keeper.GetInt("General", "Units", number, false), L_WRONGTYPE);
    EXPECT_EQ(number, 15u);

    keeper.SetString("Internet", "ProxyLocation", "", false);
    EXPECT_EQ(keeper.InitString("Internet", "ProxyLocation", "proxy:8080", false), L_OK);
    LString text("x");
    EXPECT_EQ(keeper.GetString("Internet", "ProxyLocation", text, false), L_OK);
    EXPECT_STREQ(text, "");

    const unsigned char record[4] = {1, 2, 3, 4};
    EXPECT_EQ(keeper.InitBinary("General", "Font", LBinary(record, 4), false), L_OK);
    const unsigned char other[2] = {9, 9};
    EXPECT_EQ(keeper.InitBinary("General", "Font", LBinary(other, 2), false), L_OK);
    LBinary stored;
    EXPECT_EQ(keeper.GetBinary("General", "Font", stored, false), L_OK);
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored.data()[3], 4);
}

TEST(LKeeper, keepsAllThirtyTwoBitsOfAnInteger)
{
    MemoryKeeper keeper;
    keeper.SetInt("General", "ForegroundColor", static_cast<std::uint32_t>(-1), false);
    std::uint32_t value = 0;
    EXPECT_EQ(keeper.GetInt("General", "ForegroundColor", value, false), L_OK);
    EXPECT_EQ(static_cast<std::int32_t>(value), -1);
}

TEST(LBinary, assignReplacesTheBlock)
{
    unsigned char font[60];
    for (int i = 0; i < 60; ++i)
        font[i] = static_cast<unsigned char>(i);
    LBinary binary;
    EXPECT_EQ(binary.size(), 0u);
    EXPECT_EQ(binary.data(), nullptr);
    binary.assign(font, 60);
    EXPECT_EQ(binary.size(), 60u);
    EXPECT_EQ(binary.data()[59], 59);
    binary.assign(font + 10, 5);
    EXPECT_EQ(binary.size(), 5u);
    EXPECT_EQ(binary.data()[0], 10);
    LBinary copy(binary);
    copy.data()[0] = 99;
    EXPECT_EQ(binary.data()[0], 10);
    copy = binary;
    EXPECT_EQ(copy.data()[0], 10);
    binary.reserve(0);
    EXPECT_EQ(binary.size(), 0u);
}

} // namespace
