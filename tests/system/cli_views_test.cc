// coregate's views of the switch's show output (environment, version, boot
// images, processes and memory, service port, clock, up time) and its CLI
// settings (fan quiet mode, time zone acronym), against the simulated switch:
// what a PUT changes the next GET reads back, a value that would not stay one
// word of one CLI line never reaches the CLI, a line the CLI refuses answers
// a failure, and no work file outlives its request.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;

harness::CgiResult core(const std::string& method, const std::string& path, const std::string& body = "",
                        const std::string& query = "")
{
    harness::CgiRequest r;
    r.program = "coregate";
    r.method = method;
    r.uri = "/api/v2/system/" + path;
    r.body = body;
    r.query = query;
    return harness::runCgi(r);
}

int scriptCalls(harness::Simulator& sim) { return callsTo(sim, "rpcclt_openapiTxtCfgApply"); }

class CliViews : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    // A read's data under `member`, checked to answer 0 without a newline
    // and to leave no work file behind.
    std::string read(const std::string& path, const char* member, const std::string& query = "")
    {
        harness::CgiResult r = core(path == "switch-cpu/task-util" ? "POST" : "GET", path, "", query);
        EXPECT_EQ(codeOf(r), 0) << path << "\n" << r.out;
        EXPECT_TRUE(harness::workFiles().empty()) << path;
        return dataOf(r, member);
    }
    int put(const std::string& path, const std::string& body)
    {
        harness::CgiResult w = core("PUT", path, body);
        EXPECT_EQ(w.out.empty() ? '\0' : w.out.back(), '\n') << path;
        EXPECT_TRUE(harness::workFiles().empty()) << path << " " << body;
        return codeOf(w);
    }
    harness::Simulator sim;
};

// One rendering of each show command, read by every view that reads it.
TEST_F(CliViews, EveryViewOfTheDefaultSwitch)
{
    const struct {
        const char* path;
        const char* member;
        const char* query;
        const char* data;
    } views[] = {
        {"boxs/temp-range", "boxs", "", "{\"minTemp\":0,\"maxTemp\":85}"},
        {"boxs/general-temp", "boxs", "", "{\"genTemp\":40}"},
        {"boxs/temp-sensor-max-temp", "boxs", "sensorNum=1", "{\"maxTemperature\":43}"},
        {"boxs/temp-sensor-max-temp", "boxs", "sensorNum=2", "{\"maxTemperature\":49}"},
        {"boxs/fan-control-mode", "boxs", "", "{\"fanControlMode\":\"normal\"}"},
        {"boxs/cpld-version", "boxs", "", "{\"cpldVersion\":\"0x0c\"}"},
        {"common/hardware-version", "common", "", "{\"version\":\"KX810-A\"}"},
        {"stacking/unit-mgr-model-identifier", "stacking", "",
         "{\"modelId\":\"KX810-A\",\"preconfigModelId\":\"KX810-A\"}"},
        {"stacking/unit-mgr-detect-code-ver-running", "stacking", "",
         "{\"codeVersion\":{\"release\":4,\"version\":1,\"maint_level\":2,\"build_num\":7}}"},
        {"stacking/unit-mgr-detect-code-ver-flash", "stacking", "",
         "{\"codeVersion\":{\"release\":4,\"version\":1,\"maint_level\":2,\"build_num\":7}}"},
        {"image/version-and-name", "image", "unit=1",
         "{\"activeImageVersion\":\"4.1.2.7\",\"backupImageVersion\":\"4.1.1.3\",\"currentActiveImage\":\"image1\","
         "\"nextActiveImage\":\"image1\"}"},
        {"system/serv-port-mac-address", "system", "", "{\"macAddress\":\"00:1E:C9:00:00:02\"}"},
        {"timezone/acronym", "timezone", "", "{\"acronym\":\"UTC\"}"},
    };
    for (const auto& v : views)
        EXPECT_EQ(read(v.path, v.member, v.query), v.data) << v.path << "?" << v.query;

    // Views whose values move: memory adds up, the up time is a count of seconds.
    harness::Json mem(read("system/memory-info", "system"), harness::Ending::Bare);
    ASSERT_TRUE(mem.root) << mem.why;
    double total = cJSON_GetObjectItem(mem.root, "memTotal")->valuedouble;
    EXPECT_EQ(total, 1073741824.0);
    EXPECT_EQ(total, cJSON_GetObjectItem(mem.root, "memAlloc")->valuedouble +
                         cJSON_GetObjectItem(mem.root, "memFree")->valuedouble);
    harness::Json up(read("stacking/unit-mgr-unit-up-time", "stacking"), harness::Ending::Bare);
    ASSERT_TRUE(up.root) << up.why;
    EXPECT_TRUE(cJSON_IsNumber(cJSON_GetObjectItem(up.root, "upTime")));
    harness::Json task(read("switch-cpu/task-util", "switchCpu"), harness::Ending::Bare);
    ASSERT_TRUE(task.root) << task.why;
    std::string text = cJSON_GetStringValue(cJSON_GetObjectItem(task.root, "data"));
    EXPECT_NE(text.find("free   "), std::string::npos) << text;
    EXPECT_NE(text.find("Total CPU Utilization"), std::string::npos) << text;
}

TEST_F(CliViews, ViewsOfWhatTheSwitchDoesNotHaveFail)
{
    const struct {
        const char* path;
        const char* query;
    } views[] = {{"boxs/temp-sensor-max-temp", "sensorNum=3"}, {"boxs/temp-sensor-max-temp", ""},
                 {"image/version-and-name", "unit=2"}};
    for (const auto& v : views) {
        harness::CgiResult r = core("GET", v.path, "", v.query);
        EXPECT_EQ(codeOf(r), 10000) << v.path << "?" << v.query << "\n" << r.out;
        EXPECT_EQ(r.out.back(), '}') << v.path;
        EXPECT_TRUE(harness::workFiles().empty());
    }
}

// A switch whose show commands fail: the views answer 10000 without data,
// except the fan mode, which answers the fans' normal mode.
TEST_F(CliViews, FailedShowCommands)
{
    sim.ctl({"fault", "openapiCliShowExecuteToFile", "-1"});
    for (const char* path : {"boxs/temp-range", "common/hardware-version", "system/memory-info",
                             "stacking/unit-mgr-unit-up-time", "timezone/acronym"}) {
        harness::CgiResult r = core("GET", path);
        EXPECT_EQ(codeOf(r), 10000) << path << "\n" << r.out;
        EXPECT_EQ(dataOf(r, path == std::string("timezone/acronym") ? "timezone" : "x"), "") << path;
    }
    harness::CgiResult r = core("GET", "boxs/fan-control-mode");
    EXPECT_EQ(codeOf(r), 0) << r.out;
    EXPECT_EQ(dataOf(r, "boxs"), "{\"fanControlMode\":\"normal\"}");
    EXPECT_TRUE(harness::workFiles().empty());
}

TEST_F(CliViews, FanQuietModeRoundTrips)
{
    const struct {
        const char* body;
        const char* after;
        const char* line;  // the CLI line the switch was sent
    } steps[] = {
        {"{\"fanControlMode\":\"quiet\"}", "quiet", "#fan quiet\n"},
        {"{\"fanControlMode\":\"normal\"}", "normal", "#no fan quiet\n"},
        {"{\"fanControlMode\":\"quiet\"}", "quiet", "#fan quiet\n"},
        {"{\"fanControlMode\":\"QUIET\"}", "normal", "#no fan quiet\n"},
        {"{\"fanControlMode\":\"loud\"}", "normal", "#no fan quiet\n"},
    };
    for (const auto& s : steps) {
        sim.ctl({"clear-cli-history"});
        ASSERT_EQ(put("boxs/fan-control-mode", s.body), 0) << s.body;
        EXPECT_EQ(read("boxs/fan-control-mode", "boxs"), std::string("{\"fanControlMode\":\"") + s.after + "\"}")
            << s.body;
        std::string history = sim.ctl({"cli-history"});
        EXPECT_NE(history.find(std::string("(Config)") + s.line), std::string::npos) << history;
    }
    // The quiet fans turn slower, and the sensors run warmer.
    put("boxs/fan-control-mode", "{\"fanControlMode\":\"quiet\"}");
    EXPECT_EQ(read("boxs/general-temp", "boxs"), "{\"genTemp\":44}");

    int before = scriptCalls(sim);
    for (const char* bad : {"{\"fanControlMode\":1}", "{}", "not json", "{\"fanControlMode\":null}"})
        EXPECT_EQ(put("boxs/fan-control-mode", bad), 10003) << bad;
    EXPECT_EQ(scriptCalls(sim), before);
    EXPECT_EQ(read("boxs/fan-control-mode", "boxs"), "{\"fanControlMode\":\"quiet\"}");
}

TEST_F(CliViews, TimeZoneAcronymRoundTripsAndOnlyOneWordReachesTheCli)
{
    for (const char* zone : {"EST", "A", "CEST", "UTC"}) {
        ASSERT_EQ(put("timezone/acronym", std::string("{\"acronym\":\"") + zone + "\"}"), 0) << zone;
        EXPECT_EQ(read("timezone/acronym", "timezone"), std::string("{\"acronym\":\"") + zone + "\"}");
    }
    put("timezone/acronym", "{\"acronym\":\"PST\"}");

    int before = scriptCalls(sim);
    const char* refused[] = {
        "{\"acronym\":\"E\\nS\"}",          "{\"acronym\":\"EST\\nreload\"}", "{\"acronym\":\"E S\"}",
        "{\"acronym\":\"E\\tS\"}",          "{\"acronym\":\"ABCDEF\"}",       "{\"acronym\":\"\"}",
        "{\"acronym\":5}",                  "{}",                             "[1]",
        "{\"acronym\":\"EST\\r\"}",
    };
    for (const char* body : refused)
        EXPECT_EQ(put("timezone/acronym", body), 10003) << body;
    EXPECT_EQ(scriptCalls(sim), before) << "no refused value reaches the switch";

    // One word the switch itself refuses: the CLI says so, and so does the answer.
    for (const char* body : {"{\"acronym\":\"E;S\"}", "{\"acronym\":\"E5T\"}"})
        EXPECT_EQ(put("timezone/acronym", body), 10003) << body;
    EXPECT_EQ(read("timezone/acronym", "timezone"), "{\"acronym\":\"PST\"}");
}

// The template change runs inside the configuration mode, as every script does.
TEST_F(CliViews, TemplateChangeIsFramedAsConfiguration)
{
    sim.ctl({"clear-cli-history"});
    ASSERT_EQ(put("sdm/next-active-template", "{\"templateId\":\"sdm_template_v4_default\"}"), 0);
    std::string history = sim.ctl({"cli-history"});
    EXPECT_NE(history.find("#configure\n"), std::string::npos) << history;
    EXPECT_NE(history.find("(Config)#sdm prefer ipv4-routing default\n"), std::string::npos) << history;
}

// What the time zone and the fans are set to survives in the saved
// configuration the switch starts from.
TEST(CliViewsState, SettingsAreWrittenIntoTheRunningConfiguration)
{
    harness::writeAdminSession();
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    ASSERT_EQ(codeOf(core("PUT", "timezone/acronym", "{\"acronym\":\"CET\"}")), 0);
    ASSERT_EQ(codeOf(core("PUT", "boxs/fan-control-mode", "{\"fanControlMode\":\"quiet\"}")), 0);
    ASSERT_EQ(codeOf(core("POST", "cli-script/show-execute-to-file",
                          "{\"showCliCommand\":\"show running-config\",\"fileName\":\"run.txt\"}")),
              0);
    std::string shown = harness::readFile("/mnt/application/oxel/tmp/run.txt");
    EXPECT_NE(shown.find("clock timezone 0:00 zone CET\n"), std::string::npos) << shown;
    EXPECT_NE(shown.find("environment fan control mode quiet\n"), std::string::npos) << shown;
}

}  // namespace
