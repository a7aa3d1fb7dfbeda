// Fixture of the switch access tests: a simulated switch (default or from a
// prepared model), a registered client, the process log, and the check that
// no work file outlives a test.
#pragma once

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include <memory>
#include <string>
#include <vector>

#include "access/cli_bridge.h"
#include "runtime/log.h"
#include "sim/state.h"
#include "tests/support/harness.h"

namespace accesstest {

inline std::vector<std::string> workFiles()
{
    std::vector<std::string> names;
    DIR* d = opendir(OXEL_TMP_DIR);
    if (!d)
        return names;
    while (dirent* e = readdir(d))
        if (strcmp(e->d_name, ".") != 0 && strcmp(e->d_name, "..") != 0)
            names.push_back(e->d_name);
    closedir(d);
    return names;
}

/// Lines of the simulator's call log that name an operation.
inline std::vector<std::string> callsOf(harness::Simulator& sim, const std::string& op)
{
    std::vector<std::string> out;
    std::string all = sim.ctl({"calls"});
    size_t start = 0;
    while (start < all.size()) {
        size_t nl = all.find('\n', start);
        std::string line = all.substr(start, nl - start);
        if (line.compare(0, op.size() + 1, op + " ") == 0)
            out.push_back(line);
        start = nl == std::string::npos ? all.size() : nl + 1;
    }
    return out;
}

/// The quoted texts of a call log line, in order.
inline std::vector<std::string> quotedTexts(const std::string& line)
{
    std::vector<std::string> out;
    size_t p = 0;
    while ((p = line.find('"', p)) != std::string::npos) {
        size_t q = line.find('"', p + 1);
        if (q == std::string::npos)
            break;
        out.push_back(line.substr(p + 1, q - p - 1));
        p = q + 1;
    }
    return out;
}

class AccessTest : public testing::Test {
protected:
    void SetUp() override
    {
        harness::writeFile("/tmp/devmgr_log_level", "7");
        logOpen("oxel_cgi", kLogToFile, 8);
    }
    void TearDown() override
    {
        if (sim_) {
            openapiClientTearDown(&h);
            EXPECT_EQ(workFiles(), std::vector<std::string>()) << "work files left behind";
        }
        logClose();
    }
    /// Starts the simulator with the default switch, or with `st`.
    void start(const sim::SwitchState* st = nullptr)
    {
        std::vector<std::string> args;
        if (st) {
            harness::writeFile("/tmp/switch.json", sim::stateText(*st));
            args = {"--state", "/tmp/switch.json"};
        }
        sim_.reset(new harness::Simulator(args));
        ASSERT_TRUE(sim_->ok());
        ASSERT_EQ(openapiClientRegister("access_test", &h), 0);
    }
    harness::Simulator& sim() { return *sim_; }
    std::string log() { return harness::readFile(logtest::kLogFile); }
    /// Runs a show command through the bridge and returns its text.
    std::string show(const std::string& command)
    {
        const char* path = OXEL_TMP_DIR "test_show";
        EXPECT_EQ(cliShowExecuteToFile(&h, command.c_str(), path), 0) << command;
        std::string text = harness::readFile(path);
        unlink(path);
        return text;
    }
    /// The first line of a show output that begins with `start`.
    static std::string lineOf(const std::string& text, const std::string& start)
    {
        size_t p = 0;
        while (p < text.size()) {
            size_t nl = text.find('\n', p);
            std::string line = text.substr(p, nl == std::string::npos ? std::string::npos : nl - p);
            if (line.compare(0, start.size(), start) == 0)
                return line;
            p = nl == std::string::npos ? text.size() : nl + 1;
        }
        return std::string();
    }
    /// The CLI's transcript of the scripts applied since the last clear.
    std::string history() { return sim().ctl({"cli-history"}); }
    /// Number of scripts applied since the call log was last cleared.
    size_t applies() { return callsOf(sim(), "openapiTxtCfgApply").size(); }
    void clearLogs()
    {
        sim().ctl({"clear-calls"});
        sim().ctl({"clear-cli-history"});
    }

    std::unique_ptr<harness::Simulator> sim_;
    OpenClientHandle h;
};

/// A label line as the CLI prints it: dotted leader, value at column 47.
inline std::string labelLine(const std::string& label, const std::string& value)
{
    return label + std::string(46 - label.size(), '.') + " " + value + "\n";
}

/// The default switch with another model on unit 1 (one that has PTP).
inline sim::SwitchState switchOfModel(const char* model)
{
    sim::SwitchState st = sim::defaultSwitch();
    st.units[0].model = model;
    return st;
}

}  // namespace accesstest
