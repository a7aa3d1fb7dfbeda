// Envelope rendering, result messages and the switch status translation.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/envelope.h"

namespace {

std::string render(ResultCode code, const char* member, const char* data)
{
    char* text = nullptr;
    EXPECT_EQ(responseJsonRreallocStr(code, member, data, &text), 0);
    std::string s = text ? text : "";
    free(text);
    return s;
}

TEST(Envelope, SuccessWithDataMemberFirst)
{
    EXPECT_EQ(render(0, "ospfConfig", "{\"mode\":\"enable\",\"n\":5}"),
              "{\n\t\"ospfConfig\":\t{\n\t\t\"mode\":\t\"enable\",\n\t\t\"n\":\t5\n\t},\n"
              "\t\"resp\":\t{\n\t\t\"respCode\":\t0,\n\t\t\"respMsg\":\t\"Success\",\n\t\t\"status\":\t\"success\"\n\t}\n}");
}

TEST(Envelope, FailureNeverCarriesData)
{
    EXPECT_EQ(render(17002, "mvr", "{\"a\":1}"),
              "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t17002,\n\t\t\"respMsg\":\t\"Unsupported Feature\",\n"
              "\t\t\"status\":\t\"fail\"\n\t}\n}");
}

TEST(Envelope, MissingDataTextGivesOnlyResp)
{
    EXPECT_EQ(render(0, "ip", nullptr),
              "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t0,\n\t\t\"respMsg\":\t\"Success\",\n\t\t\"status\":\t\"success\"\n\t}\n}");
}

TEST(Envelope, UnparsableDataFailsAndKeepsPreviousText)
{
    char* text = strdup("previous");
    EXPECT_EQ(responseJsonRreallocStr(0, "ip", "{broken", &text), 10000);
    EXPECT_STREQ(text, "previous");
    free(text);
}

TEST(Envelope, ReplacesAndFreesPreviousText)
{
    char* text = strdup("previous");
    EXPECT_EQ(responseJsonRreallocStr(0, nullptr, nullptr, &text), 0);
    EXPECT_EQ(std::string(text).rfind("{\n\t\"resp\"", 0), 0u);
    free(text);
}

TEST(Envelope, BufferVariantRequiresDataAndFitsBuffer)
{
    char buf[1024] = {0};
    EXPECT_EQ(responseJsonStr(0, "ip", nullptr, buf, sizeof buf), -1);
    EXPECT_EQ(responseJsonStr(0, nullptr, nullptr, buf, sizeof buf), 0);
    EXPECT_EQ(std::string(buf), render(0, nullptr, nullptr));
    char small[16] = {0};
    EXPECT_EQ(responseJsonStr(0, nullptr, nullptr, small, sizeof small), -1);
    EXPECT_EQ(small[0], '\0');
}

struct MsgCase {
    ResultCode code;
    const char* msg;
    friend void PrintTo(const MsgCase& c, std::ostream* os) { *os << c.code; }
};

class ResultMessages : public testing::TestWithParam<MsgCase> {};

TEST_P(ResultMessages, LookedUpByCode)
{
    EXPECT_STREQ(respMsgGet(GetParam().code), GetParam().msg);
}

INSTANTIATE_TEST_SUITE_P(Table, ResultMessages,
                         testing::Values(MsgCase{0, "Success"}, MsgCase{10003, "Invalid argument"},
                                         MsgCase{10027, "Disable PTP Mode"}, MsgCase{11000, ""},
                                         MsgCase{17002, "Unsupported Feature"},
                                         MsgCase{-7, "Failed to allocate memory"},
                                         MsgCase{-302, "Invalid REST API request"},
                                         MsgCase{1, "Error code unknown"}, MsgCase{10013, "Error code unknown"}));

TEST(Envelope, UnknownCodeStillAnswered)
{
    EXPECT_NE(render(1, nullptr, nullptr).find("\"respMsg\":\t\"Error code unknown\",\n\t\t\"status\":\t\"fail\""),
              std::string::npos);
}

TEST(OpenResultTranslate, StatusTable)
{
    const struct {
        int status;
        ResultCode code;
    } cases[] = {{0, 0},         {-22, 10003}, {-24, 10011}, {-28, 17002}, {-29, 10023}, {-23, 10000},
                 {-1, 10000},    {-30, 10000}, {5, 10000},   {-1000, 10000}};
    for (const auto& c : cases)
        EXPECT_EQ(OpenResultTranslate(c.status), c.code) << c.status;
}

}  // namespace
