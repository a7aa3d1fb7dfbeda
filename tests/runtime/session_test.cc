// Session and privilege check.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "runtime/route_tree.h"
#include "runtime/session.h"
#include "tests/support/harness.h"

namespace {

using harness::fileExists;
using harness::readFile;
using harness::writeSession;

RouteEntry entry(uint32_t method, int protection)
{
    RouteEntry e{};
    e.method = method;
    e.protection = protection;
    return e;
}

const long kNow = 100000;

struct PrivCase {
    const char* name;
    const char* content;
    uint32_t method;
    int protection;
    int result;
    friend void PrintTo(const PrivCase& c, std::ostream* os) { *os << c.name; }
};

class Privileges : public testing::TestWithParam<PrivCase> {};

TEST_P(Privileges, Rules)
{
    const PrivCase& c = GetParam();
    writeSession("s1", c.content);
    RouteEntry e = entry(c.method, c.protection);
    EXPECT_EQ(checkSessionAt("s1", "", &e, kNow), c.result);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Privileges,
    testing::Values(PrivCase{"AdminGet", "admin\n99990\n", kMethodGet, 1, 0},
                    PrivCase{"AdminPutLevel2", "admin\n99990\n", kMethodPut, 2, 0},
                    PrivCase{"RoGet", "bob\n99990\nro\n", kMethodGet, 1, 0},
                    PrivCase{"RoPut", "bob\n99990\nro\n", kMethodPut, 1, -1},
                    PrivCase{"RoPost", "bob\n99990\nro\n", kMethodPost, 1, -1},
                    PrivCase{"RoDelete", "bob\n99990\nro\n", kMethodDelete, 1, -1},
                    PrivCase{"RoLevel2", "bob\n99990\nro\n", kMethodGet, 2, -1},
                    PrivCase{"RwPut", "bob\n99990\nrw\n", kMethodPut, 1, 0},
                    PrivCase{"RwDelete", "bob\n99990\nrw\n", kMethodDelete, 1, 0},
                    PrivCase{"RwLevel2", "bob\n99990\nrw\n", kMethodGet, 2, -1},
                    PrivCase{"CapitalRwInvalid", "bob\n99990\nRW\n", kMethodGet, 1, -1},
                    PrivCase{"MissingPrivilege", "bob\n99990\n", kMethodGet, 1, -1},
                    PrivCase{"AdminWithoutNewlineIsNotAdmin", "admin", kMethodGet, 1, -1},
                    PrivCase{"AdminUppercaseIsUser", "Admin\n99990\nrw\n", kMethodGet, 1, 0}),
    [](const testing::TestParamInfo<PrivCase>& i) { return std::string(i.param.name); });

TEST(Session, MissingFileOrUnusableIdentifierIsRefused)
{
    RouteEntry e = entry(kMethodGet, 1);
    mkdir("/tmp/session", 0755);
    harness::writeFile("/tmp/outside", "admin\n0\n");
    EXPECT_EQ(checkSessionAt("nope", nullptr, &e, kNow), -1);
    EXPECT_EQ(checkSessionAt(nullptr, nullptr, &e, kNow), -1);
    EXPECT_EQ(checkSessionAt("", nullptr, &e, kNow), -1);
    EXPECT_EQ(checkSessionAt("../outside", nullptr, &e, kNow), -1);
    EXPECT_EQ(checkSessionAt(".", nullptr, &e, kNow), -1);
    EXPECT_EQ(checkSessionAt("..", nullptr, &e, kNow), -1);
    EXPECT_EQ(readFile("/tmp/outside"), "admin\n0\n");
}

TEST(Session, IdleLimitBoundary)
{
    RouteEntry e = entry(kMethodGet, 1);
    writeSession("edge", "admin\n" + std::to_string(kNow - 7200) + "\n");
    EXPECT_EQ(checkSessionAt("edge", "", &e, kNow), 0);
    EXPECT_TRUE(fileExists("/tmp/session/edge"));
    writeSession("late", "admin\n" + std::to_string(kNow - 7201) + "\n");
    EXPECT_EQ(checkSessionAt("late", "", &e, kNow), -1);
    EXPECT_FALSE(fileExists("/tmp/session/late"));
}

TEST(Session, ZeroOrTextStampNeverExpires)
{
    RouteEntry e = entry(kMethodGet, 1);
    writeSession("zero", "admin\n0\n");
    EXPECT_EQ(checkSessionAt("zero", "", &e, kNow * 10), 0);
    writeSession("text", "admin\nsoon\n");
    EXPECT_EQ(checkSessionAt("text", "", &e, kNow * 10), 0);
}

TEST(Session, HugeOrNegativeStampsBehaveAlikeOnEveryWordSize)
{
    RouteEntry e = entry(kMethodGet, 1);
    writeSession("neg", "admin\n-2147483000\n");
    EXPECT_EQ(checkSessionAt("neg", "", &e, kNow), -1);
    writeSession("big", "admin\n99999999999\n");
    EXPECT_EQ(checkSessionAt("big", "", &e, kNow), 0);
}

TEST(Session, RefreshRewritesAdminFile)
{
    RouteEntry e = entry(kMethodGet, 1);
    writeSession("a1", "admin\n99000\nleftover lines\nmore\n");
    EXPECT_EQ(checkSessionAt("a1", nullptr, &e, kNow), 0);
    EXPECT_EQ(readFile("/tmp/session/a1"), "admin\n100000\na1");
}

TEST(Session, RefreshRewritesUserFile)
{
    RouteEntry e = entry(kMethodGet, 1);
    writeSession("u1", "bob\n99000\nro\n");
    EXPECT_EQ(checkSessionAt("u1", nullptr, &e, kNow), 0);
    EXPECT_EQ(readFile("/tmp/session/u1"), "bob\n100000\nro\nu1");
}

TEST(Session, RefreshMarkerLeavesFileUntouched)
{
    RouteEntry e = entry(kMethodGet, 1);
    for (const char* marker : {"", "1", "no"}) {
        writeSession("m1", "bob\n99000\nrw\n");
        EXPECT_EQ(checkSessionAt("m1", marker, &e, kNow), 0);
        EXPECT_EQ(readFile("/tmp/session/m1"), "bob\n99000\nrw\n") << marker;
    }
}

TEST(Session, RefusedRequestLeavesStampAndFile)
{
    RouteEntry e = entry(kMethodPut, 1);
    writeSession("r1", "bob\n10\nro\n");
    EXPECT_EQ(checkSessionAt("r1", nullptr, &e, kNow), -1);
    EXPECT_EQ(readFile("/tmp/session/r1"), "bob\n10\nro\n");
}

TEST(Session, UnreadableClockRefuses)
{
    RouteEntry e = entry(kMethodGet, 1);
    writeSession("c1", "admin\n0\n");
    EXPECT_EQ(checkSessionAt("c1", nullptr, &e, -1), -1);
    EXPECT_EQ(readFile("/tmp/session/c1"), "admin\n0\n");
}

}  // namespace
