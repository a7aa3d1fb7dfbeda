// Text converters: the limits every reader and parser shares.
#include <gtest/gtest.h>

#include <string>

#include "runtime/text_convert.h"

namespace {

struct NumberCase {
    const char* text;
    bool whole, prefix;
    uint32_t value;
};

TEST(TextConvert, NumbersWholeAndPrefix)
{
    const NumberCase cases[] = {
        {"0", true, true, 0},           {"4294967295", true, true, 4294967295u},
        {"4294967296", false, false, 0}, {"12abc", false, true, 12},
        {"", false, false, 0},          {"-1", false, false, 0},
        {" 5", false, false, 0},        {"007", true, true, 7},
        {"99999999999999999999", false, false, 0},
    };
    for (const NumberCase& c : cases) {
        uint32_t w = 77, p = 77;
        EXPECT_EQ(conv::parseU32(c.text, &w), c.whole) << c.text;
        EXPECT_EQ(conv::parseU32Prefix(c.text, &p), c.prefix) << c.text;
        if (c.whole) {
            EXPECT_EQ(w, c.value) << c.text;
        }
        if (c.prefix) {
            EXPECT_EQ(p, c.value) << c.text;
        }
    }
    EXPECT_EQ(conv::decimalLoose("42 packets"), 42u);
    EXPECT_EQ(conv::decimalLoose("none"), 0u);
}

TEST(TextConvert, Ipv4RefusesWhatIsNotADottedAddress)
{
    uint32_t v = 0;
    EXPECT_TRUE(conv::parseIpv4("10.1.2.3", &v));
    EXPECT_EQ(v, 0x0a010203u);
    EXPECT_EQ(conv::ipv4Text(v), "10.1.2.3");
    for (const char* bad : {"", "10.1.2", "10.1.2.256", "10.1.2.3 ", "010.001.002.003x", "1.2.3.4\n",
                            "255.255.255.2555", "a.b.c.d"})
        EXPECT_FALSE(conv::parseIpv4(bad, &v)) << bad;
    // 16 characters: refused, not cut to a valid 15-character address.
    EXPECT_FALSE(conv::parseIpv4("192.168.100.2001", &v));
}

TEST(TextConvert, Ipv6RoundTrip)
{
    uint8_t b[16];
    ASSERT_TRUE(conv::parseIpv6("2001:DB8::1", b));
    EXPECT_EQ(conv::ipv6Text(b), "2001:db8::1");
    EXPECT_FALSE(conv::parseIpv6("2001:db8::1::2", b));
    EXPECT_FALSE(conv::parseIpv6(std::string(50, '1'), b));
    EXPECT_FALSE(conv::parseIpv6("", b));
}

TEST(TextConvert, Masks)
{
    EXPECT_EQ(conv::maskLength(0xffffff00u), 24u);
    EXPECT_EQ(conv::maskLength(0), 0u);
    EXPECT_EQ(conv::maskLength(0xffffffffu), 32u);
    EXPECT_EQ(conv::maskOfLength(0), 0u);
    EXPECT_EQ(conv::maskOfLength(1), 0x80000000u);
    EXPECT_EQ(conv::maskOfLength(32), 0xffffffffu);
    EXPECT_EQ(conv::maskOfLength(40), 0xffffffffu);
    EXPECT_TRUE(conv::maskContiguous(0xfffffe00u));
    EXPECT_FALSE(conv::maskContiguous(0xff00ff00u));
}

TEST(TextConvert, MacSeparatorsAndCase)
{
    uint8_t m[6];
    ASSERT_TRUE(conv::parseMac("00-1A-2b-3C-4d-5E", m));
    EXPECT_EQ(conv::macText(m), "00:1a:2b:3c:4d:5e");
    for (const char* bad : {"00:1a:2b:3c:4d", "00:1a:2b-3c:4d:5e", "00:1a:2b:3c:4d:5g", "001a2b3c4d5e00000",
                            "00:1a:2b:3c:4d:5e:", "0:01a:2b:3c:4d:5e", "00.1a.2b.3c.4d.5e"})
        EXPECT_FALSE(conv::parseMac(bad, m)) << bad;
}

}  // namespace
