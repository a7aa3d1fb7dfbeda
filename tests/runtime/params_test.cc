// Request parameter readers.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "runtime/params.h"

namespace {

// Points standard input at a file holding `body`.
void feedStdin(const std::string& body)
{
    FILE* f = fopen("/tmp/stdin.txt", "w");
    fwrite(body.data(), 1, body.size(), f);
    fclose(f);
    ASSERT_NE(freopen("/tmp/stdin.txt", "r", stdin), nullptr);
}

std::string takeText(char* p)
{
    std::string s = p ? p : "<none>";
    free(p);
    return s;
}

TEST(RequestDataGet, QueryForGetAndDelete)
{
    setenv("REQUEST_METHOD", "GET", 1);
    setenv("QUERY_STRING", "a=1&b=2", 1);
    EXPECT_EQ(takeText(requestDataGet()), "a=1&b=2");
    setenv("REQUEST_METHOD", "DELETE", 1);
    unsetenv("QUERY_STRING");
    EXPECT_EQ(takeText(requestDataGet()), "");
    setenv("REQUEST_METHOD", "get", 1);
    EXPECT_EQ(takeText(requestDataGet()), "<none>");
    unsetenv("REQUEST_METHOD");
    EXPECT_EQ(takeText(requestDataGet()), "<none>");
}

TEST(RequestDataGet, QueryCutAt8192)
{
    setenv("REQUEST_METHOD", "GET", 1);
    setenv("QUERY_STRING", std::string(9000, 'q').c_str(), 1);
    EXPECT_EQ(takeText(requestDataGet()).size(), 8192u);
}

TEST(RequestDataGet, BodyOfContentLength)
{
    setenv("REQUEST_METHOD", "PUT", 1);
    feedStdin("{\"a\":1}tail");
    setenv("CONTENT_LENGTH", "7", 1);
    EXPECT_EQ(takeText(requestDataGet()), "{\"a\":1}");
}

TEST(RequestDataGet, ShortBodyGivesWhatArrived)
{
    setenv("REQUEST_METHOD", "POST", 1);
    feedStdin("abc");
    setenv("CONTENT_LENGTH", "100", 1);
    EXPECT_EQ(takeText(requestDataGet()), "abc");
}

TEST(RequestDataGet, OddContentLengths)
{
    setenv("REQUEST_METHOD", "POST", 1);
    feedStdin("abc");
    unsetenv("CONTENT_LENGTH");
    EXPECT_EQ(takeText(requestDataGet()), "");
    setenv("CONTENT_LENGTH", "xyz", 1);
    EXPECT_EQ(takeText(requestDataGet()), "");
    setenv("CONTENT_LENGTH", "-5", 1);
    EXPECT_EQ(takeText(requestDataGet()), "<none>");
    setenv("CONTENT_LENGTH", "99999999999", 1);
    EXPECT_EQ(takeText(requestDataGet()), "<none>");
}

TEST(ParamList, SplitKeepsPiecesAndEndsWithEmptySlot)
{
    std::string text;
    for (int i = 0; i < 25; ++i)
        text += (i ? "&k" : "k") + std::to_string(i) + "=" + std::to_string(i);
    char** list = paramListSplit(text.c_str());
    int n = 0;
    while (list[n])
        ++n;
    EXPECT_EQ(n, 25);
    EXPECT_STREQ(list[24], "k24=24");
    paramListFree(list);
}

TEST(ParamList, EmptyTextIsOneEmptyPiece)
{
    char** list = paramListSplit("");
    ASSERT_NE(list[0], nullptr);
    EXPECT_STREQ(list[0], "");
    EXPECT_EQ(list[1], nullptr);
    paramListFree(list);
}

TEST(ParamList, FindIsSubstringAndNeedsEquals)
{
    char** list = paramListSplit("a=1&b&vid=5&c=x=y");
    EXPECT_STREQ(paramListFind("a", list), "1");
    EXPECT_EQ(paramListFind("b", list), nullptr);
    EXPECT_STREQ(paramListFind("id", list), "5");
    EXPECT_STREQ(paramListFind("c", list), "x=y");
    EXPECT_EQ(paramListFind("zz", list), nullptr);
    EXPECT_EQ(paramListU32("vid", list), 5u);
    paramListFree(list);
    char** list2 = paramListSplit("a=1&b");
    EXPECT_EQ(paramListFind("b", list2), nullptr);
    EXPECT_STREQ(paramListFind("a", list2), "1");
    paramListFree(list2);
}

TEST(ExactReader, NameMustStartPieceAndBeFollowedByEquals)
{
    setenv("QUERY_STRING", "xintIfNum=9&ipAddr=10.1.2.3&intIfNum=12abc", 1);
    EXPECT_EQ(queryExactU32("intIfNum"), 12u);
    EXPECT_EQ(queryExactIpv4("ipAddr"), 0x0a010203u);
    setenv("QUERY_STRING", "intIfNum=7&ipAddr=10.1.2.3", 1);
    EXPECT_EQ(queryExactU32("intIfNum"), 7u);
    setenv("QUERY_STRING", "myintIfNum=7", 1);
    EXPECT_EQ(queryExactU32("intIfNum"), 0u);
    EXPECT_FALSE(queryExactHas("intIfNum"));
    setenv("QUERY_STRING", "ipAddr=300.1.1.1", 1);
    EXPECT_EQ(queryExactIpv4("ipAddr"), 0u);
    // At most 15 characters of the value are taken.
    setenv("QUERY_STRING", "ipAddr=192.168.100.200trailing", 1);
    EXPECT_EQ(queryExactIpv4("ipAddr"), 0xc0a864c8u);
    setenv("QUERY_STRING", "ipAddr=1.2.3.4&x=1", 1);
    EXPECT_EQ(queryExactIpv4("ipAddr"), 0x01020304u);
    unsetenv("QUERY_STRING");
    EXPECT_EQ(queryExactU32("intIfNum"), 0u);
}

TEST(ExactReader, NumbersReadAsA32BitSwitchReadsThem)
{
    // The same on 32-bit and 64-bit hosts: too large saturates, negatives wrap.
    const struct {
        const char* query;
        uint32_t value;
    } cases[] = {{"n=4294967295", 4294967295u}, {"n=4294967296", 4294967295u}, {"n=99999999999", 4294967295u},
                 {"n=-1", 4294967295u},         {"n=-2", 4294967294u},         {"n=x5", 0u},
                 {"n=12x", 12u}};
    for (const auto& c : cases) {
        setenv("QUERY_STRING", c.query, 1);
        EXPECT_EQ(queryExactU32("n"), c.value) << c.query;
        char** list = paramListSplit(c.query);
        EXPECT_EQ(paramListU32("n", list), c.value) << c.query;
        paramListFree(list);
    }
}

TEST(JsonMembers, LookupIgnoresCase)
{
    cJSON* req = cJSON_Parse("{\"Mode\":\"enable\",\"INTF\":5,\"bad\":true}");
    char buf[8];
    EXPECT_EQ(getStrAndCpyTo(req, "mode", buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "enable");
    int32_t v = 0;
    EXPECT_EQ(getIntAndCpyTo(req, "intf", &v), 0);
    EXPECT_EQ(v, 5);
    EXPECT_EQ(getStrAndCpyTo(req, "absent", buf, sizeof buf), 10003);
    EXPECT_EQ(getIntAndCpyTo(req, "absent", &v), 10003);
    // Only string members are copied as texts.
    EXPECT_EQ(getStrAndCpyTo(req, "bad", buf, sizeof buf), 10003);
    cJSON_Delete(req);
}

}  // namespace
