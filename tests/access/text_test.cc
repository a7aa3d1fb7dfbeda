// Text helpers of the access layer: UTF-8 clean-up and unit/slot/port texts.
#include <gtest/gtest.h>

#include <string>

#include "access/cli_bridge.h"
#include "access/intf_notation.h"

namespace {

std::string sanitized(const std::string& in)
{
    std::string buf = in;
    buf.push_back('\0');
    utf8Sanitize(&buf[0]);
    return std::string(buf.c_str());
}

TEST(Utf8Sanitize, KeepsValidAndDropsInvalidSequences)
{
    EXPECT_EQ(sanitized("\xC3\xA9"), "\xC3\xA9");
    EXPECT_EQ(sanitized("a\xC0\x80z"), "az");              // overlong NUL: both bytes
    EXPECT_EQ(sanitized("a\xED\xA0\x80z"), "az");          // surrogate: all three
    EXPECT_EQ(sanitized("a\x80z"), "az");                  // stray continuation byte
    EXPECT_EQ(sanitized("\xE2\x82\xAC"), "\xE2\x82\xAC");  // U+20AC
    EXPECT_EQ(sanitized("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");
    EXPECT_EQ(sanitized("\xE0\x80\x80x"), "x");          // overlong three-byte
    EXPECT_EQ(sanitized("\xF0\x80\x80\x80x"), "x");      // overlong four-byte
    EXPECT_EQ(sanitized("\xF4\x90\x80\x80x"), "x");      // beyond U+10FFFF
    EXPECT_EQ(sanitized("\xF8\x88\x80\x80\x80x"), "x");  // 0xF8 and its stray followers
    EXPECT_EQ(sanitized("\xFFok"), "ok");
    EXPECT_EQ(sanitized("\xC3"), "");                    // lead byte at the end
    EXPECT_EQ(sanitized("\xC3\x41"), "A");               // lead byte alone, the scan resumes
    EXPECT_EQ(sanitized("\xE2\x82\x41"), "A");           // lead and continuation dropped one by one
    EXPECT_EQ(sanitized("plain ascii\t\n"), "plain ascii\t\n");
    EXPECT_EQ(utf8Sanitize(nullptr), nullptr);
    char text[] = "x\x80y";
    EXPECT_EQ(utf8Sanitize(text), text);
}

TEST(UnitSlotPortParse, TwoAndThreeNumbers)
{
    uint32_t u = 9, s = 9, p = 9;
    EXPECT_EQ(unitSlotPortParse("3/7", &u, &s, &p), 0);
    EXPECT_EQ(u, 1u);
    EXPECT_EQ(s, 3u);
    EXPECT_EQ(p, 7u);
    EXPECT_EQ(unitSlotPortParse("2/0/15", &u, &s, &p), 0);
    EXPECT_EQ(u, 2u);
    EXPECT_EQ(s, 0u);
    EXPECT_EQ(p, 15u);
    for (const char* other : {"lag 3", "7", "", "/3/4", "-1/2", "a/b/c", "99999999999/1"}) {
        u = s = p = 5;
        EXPECT_EQ(unitSlotPortParse(other, &u, &s, &p), 0) << other;
        EXPECT_EQ(u + s + p, 15u) << other;
    }
    EXPECT_EQ(unitSlotPortParse(nullptr, &u, &s, &p), 0);
    EXPECT_EQ(unitSlotPortParse("1/2/3", nullptr, &s, &p), 0);
}

}  // namespace
