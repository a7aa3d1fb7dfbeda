// Process log: line layout, level file, rotation.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <regex>
#include <string>

#include "runtime/log.h"
#include "tests/support/harness.h"

namespace {

using harness::readFile;

class LogTest : public testing::Test {
protected:
    void SetUp() override
    {
        logClose();
        unlink(logtest::kLevelFile);
        unlink(logtest::kLogFile);
        unlink(logtest::kOldLogFile);
    }
    void TearDown() override { logClose(); }
};

TEST_F(LogTest, LineLayout)
{
    logOpen("oxel_cgi", kLogToFile, 8);
    logPrint(3, "[%s:%d] 403 Forbidden\n", "httpdProcessRequest", 42);
    logClose();
    std::string text = readFile(logtest::kLogFile);
    EXPECT_TRUE(std::regex_match(text, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \(ERROR\): oxel_cgi: )"
                                                  R"(\[httpdProcessRequest:42\] 403 Forbidden\n)")))
        << text;
}

TEST_F(LogTest, NewLevelFileHoldsSixAndFiltersDebug)
{
    logOpen("oxel_cgi", kLogToFile, 8);
    EXPECT_EQ(readFile(logtest::kLevelFile), std::string("6\0\0\0", 4));
    struct stat st;
    ASSERT_EQ(stat(logtest::kLevelFile, &st), 0);
    logPrint(7, "debug\n");
    logPrint(6, "info\n");
    logClose();
    std::string text = readFile(logtest::kLogFile);
    EXPECT_EQ(text.find("debug"), std::string::npos);
    EXPECT_NE(text.find("(INFO): oxel_cgi: info\n"), std::string::npos);
}

TEST_F(LogTest, LevelDigitSetsThreshold)
{
    const struct {
        char digit;
        const char* kept;
        const char* dropped;
    } cases[] = {{'3', "(ERROR)", "(WARN)"}, {'7', "(DEBUG)", "none"}, {'x', "(INFO)", "(DEBUG)"}};
    for (const auto& c : cases) {
        SetUp();
        harness::writeFile(logtest::kLevelFile, std::string(1, c.digit) + "   ");
        logOpen("oxel_cgi", kLogToFile, 8);
        for (int level = 3; level <= 7; ++level)
            logPrint(level, "level %d\n", level);
        logClose();
        std::string text = readFile(logtest::kLogFile);
        EXPECT_NE(text.find(c.kept), std::string::npos) << c.digit;
        EXPECT_EQ(text.find(c.dropped), std::string::npos) << c.digit;
    }
}

TEST_F(LogTest, DigitWrittenLaterTakesEffectAtOnce)
{
    logOpen("oxel_cgi", kLogToFile, 8);
    logPrint(7, "before\n");
    harness::writeFile(logtest::kLevelFile, "7   ");
    logPrint(7, "after\n");
    logClose();
    std::string text = readFile(logtest::kLogFile);
    EXPECT_EQ(text.find("before"), std::string::npos);
    EXPECT_NE(text.find("after"), std::string::npos);
}

TEST_F(LogTest, RotatesPastOneMebibyte)
{
    harness::writeFile(logtest::kOldLogFile, "older generation");
    harness::writeFile(logtest::kLogFile, std::string(logtest::kRotateBytes - 100, 'x'));
    logOpen("oxel_cgi", kLogToFile, 8);
    logPrint(3, "%s\n", std::string(200, 'y').c_str());
    logPrint(3, "fresh line\n");
    logClose();
    std::string old = readFile(logtest::kOldLogFile);
    EXPECT_EQ(old.size(), logtest::kRotateBytes - 100 + 201 + std::string("0000-00-00 00:00:00.000 (ERROR): oxel_cgi: ").size());
    std::string cur = readFile(logtest::kLogFile);
    EXPECT_NE(cur.find("fresh line"), std::string::npos);
    EXPECT_EQ(cur.find("yyyy"), std::string::npos);
}

TEST_F(LogTest, NoRotationAtExactlyTheLimit)
{
    std::string prefix = "0000-00-00 00:00:00.000 (ERROR): oxel_cgi: ";
    harness::writeFile(logtest::kLogFile, std::string(logtest::kRotateBytes - prefix.size() - 2, 'x'));
    logOpen("oxel_cgi", kLogToFile, 8);
    logPrint(3, "z\n");
    logClose();
    EXPECT_FALSE(harness::fileExists(logtest::kOldLogFile));
    EXPECT_EQ(readFile(logtest::kLogFile).size(), static_cast<size_t>(logtest::kRotateBytes));
}

TEST_F(LogTest, StdoutMaskWritesToStdout)
{
    logOpen("tool", kLogToStdout, 8);
    testing::internal::CaptureStdout();
    logPrint(3, "to stdout\n");
    fflush(stdout);
    std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("(ERROR): tool: to stdout\n"), std::string::npos);
    EXPECT_FALSE(harness::fileExists(logtest::kLogFile));
}

}  // namespace
