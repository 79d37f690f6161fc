#include "corekit/lkeeper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <variant>
#include <vector>

namespace
{

// A keeper held in memory, typed as the real stores are, to exercise the interface's own helpers.
class MemoryKeeper final : public LKeeper
{
public:
    using Value = std::variant<std::uint32_t, std::string, std::vector<unsigned char>>;

    bool Exists(const LString &section, const LString &key, bool) override
    {
        return m_values.count(name(section, key));
    }
    int GetInt(const LString &section, const LString &key, std::uint32_t &value, bool) override
    {
        return get(section, key, value);
    }
    int GetString(const LString &section, const LString &key, LString &value, bool) override
    {
        std::string text;
        const int result = get(section, key, text);
        if (result == L_OK)
            value = text.c_str();
        return result;
    }
    int GetBinary(const LString &section, const LString &key, LBinary &value, bool) override
    {
        std::vector<unsigned char> bytes;
        const int result = get(section, key, bytes);
        if (result == L_OK)
            value.assign(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        return result;
    }
    int SetInt(const LString &section, const LString &key, std::uint32_t value, bool) override
    {
        m_values[name(section, key)] = value;
        return L_OK;
    }
    int SetString(const LString &section, const LString &key, const LString &value, bool) override
    {
        m_values[name(section, key)] = std::string(value);
        return L_OK;
    }
    int SetBinary(const LString &section, const LString &key, const LBinary &value, bool) override
    {
        m_values[name(section, key)] = std::vector<unsigned char>(value.data(), value.data() + value.size());
        return L_OK;
    }

private:
    static std::string name(const LString &section, const LString &key)
    {
        return std::string(section) + "/" + std::string(key);
    }
    template<typename T>
    int get(const LString &section, const LString &key, T &value)
    {
        const auto found = m_values.find(name(section, key));
        if (found == m_values.end())
            return L_NOTFOUND;
        if (!std::holds_alternative<T>(found->second))
            return L_WRONGTYPE;
        value = std::get<T>(found->second);
        return L_OK;
    }

    std::map<std::string, Value> m_values;
};

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
