// The show and text-configuration bridges against the simulated switch: cut
// arguments, missing arguments, stale files, refused paths, the CLI's
// answers to unknown commands and refused values, and the work-file helpers
// (a TempFile's name of its own and its removal).
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "access/cli_bridge.h"
#include "platform/openclt/openclt.h"
#include "tests/access/access_fixture.h"

namespace {

using accesstest::AccessTest;
using accesstest::callsOf;
using accesstest::quotedTexts;

class CliBridge : public AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        start();
    }
};

TEST_F(CliBridge, ShowCutsCommandAt254AndPathAt95Characters)
{
    const std::string dir = OXEL_TMP_DIR;
    for (size_t len : {253u, 254u, 255u, 300u}) {
        sim().ctl({"clear-calls"});
        std::string command = "show " + std::string(len - 5, 'x');
        EXPECT_EQ(cliShowExecuteToFile(&h, command.c_str(), (dir + "out").c_str()), 10000);
        std::vector<std::string> calls = callsOf(sim(), "openapiCliShowExecuteToFile");
        ASSERT_EQ(calls.size(), 1u);
        EXPECT_EQ(quotedTexts(calls[0]).at(0).size(), len < 254 ? len : 254u) << len;
    }
    for (size_t len : {94u, 95u, 96u, 100u}) {
        sim().ctl({"clear-calls"});
        std::string path = dir + std::string(len - dir.size(), 'p');
        EXPECT_EQ(cliShowExecuteToFile(&h, "show vlan", path.c_str()), 0);
        std::vector<std::string> calls = callsOf(sim(), "openapiCliShowExecuteToFile");
        ASSERT_EQ(calls.size(), 1u);
        std::string reached = quotedTexts(calls[0]).at(1);
        EXPECT_EQ(reached, path.substr(0, 95)) << len;
        EXPECT_TRUE(harness::fileExists(reached));
        unlink(reached.c_str());
    }
}

TEST_F(CliBridge, MissingCommandOrPathGives10003WithoutCall)
{
    sim().ctl({"clear-calls"});
    EXPECT_EQ(cliShowExecuteToFile(&h, nullptr, OXEL_TMP_DIR "x"), 10003);
    EXPECT_EQ(cliShowExecuteToFile(&h, "show vlan", nullptr), 10003);
    EXPECT_EQ(txtCfgApply(&h, nullptr, OXEL_TMP_DIR "x"), 10003);
    EXPECT_EQ(txtCfgNDCApply(&h, OXEL_TMP_DIR "x", nullptr), 10003);
    EXPECT_EQ(txtCfgNDCApplyUnCompress(&h, nullptr, nullptr), 10003);
    std::string calls = sim().ctl({"calls"});
    EXPECT_EQ(calls.find("openapiCliShowExecuteToFile"), std::string::npos) << calls;
    EXPECT_EQ(calls.find("openapiTxtCfg"), std::string::npos) << calls;
    std::string text = log();
    EXPECT_NE(text.find("[cliShowExecuteToFile:"), std::string::npos);
    EXPECT_NE(text.find("] cliShowExecuteToFile: Invalid argument\r\n"), std::string::npos);
    EXPECT_NE(text.find("[txtCfgNDCApplyUnCompress:"), std::string::npos);
    EXPECT_NE(text.find("] txtCfgApply: Invalid argument\r\n"), std::string::npos);
}

TEST_F(CliBridge, StaleOutputRemovedEvenWhenCommandFails)
{
    const char* path = OXEL_TMP_DIR "oxel_out_show_stale";
    harness::writeFile(path, "old output\n");
    EXPECT_EQ(cliShowExecuteToFile(&h, "show no-such-thing", path), 10000);
    EXPECT_FALSE(harness::fileExists(path));
    EXPECT_NE(log().find("] Execute show cmd faile, result:-28\r\n"), std::string::npos);
    // A path cut to 95 characters: the uncut name the caller opens goes too.
    std::string longPath = OXEL_TMP_DIR + std::string(80, 'q');
    harness::writeFile(longPath, "old output\n");
    EXPECT_EQ(cliShowExecuteToFile(&h, "show vlan", longPath.c_str()), 0);
    EXPECT_FALSE(harness::fileExists(longPath));
    unlink(longPath.substr(0, 95).c_str());
}

TEST_F(CliBridge, ShowRefusesPathsOutsideItsDirectories)
{
    mkdir("/mnt/secret", 0755);
    ASSERT_EQ(symlink("/mnt/secret", "/tmp/dirlink"), 0);
    ASSERT_EQ(symlink("/mnt/secret/target", "/tmp/filelink"), 0);
    for (const char* path : {"/mnt/secret/x", "/tmp/../mnt/secret/x", OXEL_TMP_DIR "../x", "/tmp/dirlink/x",
                             "/tmp/filelink", "relative/x", "/tmp/", ""}) {
        sim().ctl({"clear-calls"});
        EXPECT_EQ(cliShowExecuteToFile(&h, "show vlan", path), 10000) << path;
        std::vector<std::string> calls = callsOf(sim(), "openapiCliShowExecuteToFile");
        ASSERT_EQ(calls.size(), 1u) << path;
        EXPECT_NE(calls[0].find("= -"), std::string::npos) << calls[0];
    }
    EXPECT_FALSE(harness::fileExists("/mnt/secret/x"));
    EXPECT_FALSE(harness::fileExists("/mnt/secret/target"));
    EXPECT_FALSE(harness::fileExists("/mnt/application/oxel/x"));
    // /tmp itself is one of the two directories.
    EXPECT_EQ(cliShowExecuteToFile(&h, "show vlan", "/tmp/show_vlan_out"), 0);
    EXPECT_NE(harness::readFile("/tmp/show_vlan_out").find("default"), std::string::npos);
}

TEST_F(CliBridge, ApplyWritesTheCliAnswerAndLogsItsNames)
{
    const char* in = OXEL_TMP_DIR "t_in";
    const char* out = OXEL_TMP_DIR "t_out";
    harness::writeFile(in, "config\nport-channel auto\nexit\n");
    EXPECT_EQ(txtCfgApply(&h, in, out), 0);
    EXPECT_EQ(harness::readFile(out),
              "(KX810-A) #config\n(KX810-A) (Config)#port-channel auto\n(KX810-A) (Config)#exit\n");
    // The bridge neither creates nor removes files.
    EXPECT_TRUE(harness::fileExists(in));
    EXPECT_NE(log().find(std::string("] inputName=") + in + ", outputName=" + out + "\n"), std::string::npos);
    unlink(in);
    unlink(out);
}

TEST_F(CliBridge, ApplyFailureGives10000WithTheSwitchCode)
{
    const char* in = OXEL_TMP_DIR "t_in";
    const char* out = OXEL_TMP_DIR "t_out";
    harness::writeFile(in, "config\nexit\n");
    sim().ctl({"fault", "openapiTxtCfgApply", "-5"});
    sim().ctl({"fault", "openapiTxtCfgNDCApply", "-7"});
    EXPECT_EQ(txtCfgApply(&h, in, out), 10000);
    EXPECT_EQ(txtCfgNDCApply(&h, in, out), 10000);
    EXPECT_EQ(txtCfgNDCApplyUnCompress(&h, in, out), 10000);
    std::string text = log();
    EXPECT_NE(text.find("] Bad return code trying to apply the configuration. (result = -5)\n"), std::string::npos);
    EXPECT_NE(text.find("[txtCfgNDCApply:"), std::string::npos);
    EXPECT_NE(text.find("[txtCfgNDCApplyUnCompress:"), std::string::npos);
    // An answer file the switch cannot write fails the call before any
    // command runs.
    sim().ctl({"clear-faults"});
    harness::writeFile(in, "config\nport-channel auto\nexit\n");
    EXPECT_EQ(txtCfgApply(&h, in, OXEL_TMP_DIR "no_such_dir/out"), 10000);
    EXPECT_EQ(sim().ctl({"dump"}).find("\"lagAutoMode\":\t1"), std::string::npos);
    EXPECT_EQ(history(), "");
    // An input the switch cannot read is a failure too.
    unlink(in);
    EXPECT_EQ(txtCfgApply(&h, in, out), 10000);
    EXPECT_FALSE(harness::fileExists(out));
}

TEST_F(CliBridge, UnknownCommandAndRefusedValueChangeNothing)
{
    const char* in = OXEL_TMP_DIR "t_in";
    const char* out = OXEL_TMP_DIR "t_out";
    std::string before = sim().ctl({"dump"});
    harness::writeFile(in,
                       "config\n"
                       "bogus command\n"
                       "environment fan control mode turbo\n"
                       "ip management vlan 1 10.0.0.1 255.0.255.0\n"
                       "ip management vlan 4000 dhcp\n"
                       "ip default-gateway 0.0.0.0\n"
                       "interface 0/3\n"
                       "speed 7 full-duplex\n"
                       "speed 1000 half-duplex\n"
                       "poe timer schedule bad;name\n"
                       "ptp clock e2e-transparent\n"
                       "exit\n"
                       "interface 0/99\n"
                       "interface lag 9\n"
                       "exit\n");
    EXPECT_EQ(txtCfgApply(&h, in, out), 0);
    std::string answer = harness::readFile(out);
    EXPECT_NE(answer.find("(KX810-A) (Config)#bogus command\n% Unrecognized command.\n"), std::string::npos)
        << answer;
    // The caret stands under the refused value: prompt (26 characters) + 6.
    EXPECT_NE(answer.find("(KX810-A) (Interface 0/3)#speed 7 full-duplex\n" + std::string(32, ' ') +
                          "^\n% Invalid input detected at '^' marker.\n"),
              std::string::npos)
        << answer;
    EXPECT_NE(answer.find("#ptp clock e2e-transparent\n% Invalid input: the PTP transparent clock is not supported"),
              std::string::npos)
        << answer;
    size_t refusals = 0;
    for (size_t p = 0; (p = answer.find("\n% ", p)) != std::string::npos; ++p)
        ++refusals;
    EXPECT_EQ(refusals, 11u) << answer;
    EXPECT_EQ(sim().ctl({"dump"}), before);
    unlink(in);
    unlink(out);
}

TEST_F(CliBridge, WriteToFileChecksItsArguments)
{
    EXPECT_EQ(writeToFile(nullptr, "x"), 10003);
    EXPECT_EQ(writeToFile(OXEL_TMP_DIR "w", nullptr), 10003);
    EXPECT_EQ(writeToFile(OXEL_TMP_DIR "no_such_dir/w", "x"), 10000);
    std::string text = log();
    EXPECT_NE(text.find("[writeToFile:"), std::string::npos);
    EXPECT_NE(text.find("] Content error...\r\n"), std::string::npos);
    EXPECT_NE(text.find("] Open dir error..." OXEL_TMP_DIR "no_such_dir/w\r\n"), std::string::npos);
    // A text that did not reach the disk whole is a failure, not a script.
    EXPECT_EQ(writeToFile("/dev/full", "config\nexit\n"), 10000);
    EXPECT_NE(log().find("] Write error.../dev/full\r\n"), std::string::npos);
    EXPECT_EQ(writeToFile(OXEL_TMP_DIR "w", "config\nexit\n"), 0);
    EXPECT_EQ(harness::readFile(OXEL_TMP_DIR "w"), "config\nexit\n");
    unlink(OXEL_TMP_DIR "w");
}

TEST_F(CliBridge, TempSuffixIsNonNegativeAndVaries)
{
    int first = tempFileSuffixGet();
    EXPECT_GE(first, 0);
    bool varied = false;
    for (int i = 0; i < 20 && !varied; ++i) {
        usleep(1000);
        int next = tempFileSuffixGet();
        EXPECT_GE(next, 0);
        varied = next != first;
    }
    EXPECT_TRUE(varied);
}

TEST_F(CliBridge, TempFilesLiveApartAndGoWithTheirHolders)
{
    const std::string own = OXEL_TMP_DIR "oxel_out_x_" + std::to_string(getpid()) + "_";
    std::set<std::string> names;
    {
        std::vector<std::unique_ptr<TempFile>> live;
        for (int i = 0; i < 200; ++i) {
            live.emplace_back(new TempFile("oxel_out_x"));
            std::string path = live.back()->path();
            EXPECT_EQ(path.compare(0, own.size(), own), 0) << path;
            EXPECT_TRUE(names.insert(path).second) << path << " named twice";
            if (i % 2 == 0)
                harness::writeFile(path, "show output");  // half are written, half never are
        }
        // A script and its answer share one number.
        TempFile in("oxel_in_rtr_routeadd");
        TempFile out("oxel_out_rtr_routeadd", in);
        std::string tail = std::string(in.path()).substr(strlen(OXEL_TMP_DIR "oxel_in_rtr_routeadd"));
        EXPECT_EQ(out.path(), OXEL_TMP_DIR "oxel_out_rtr_routeadd" + tail);
        EXPECT_EQ(names.count(in.path()), 0u);
        EXPECT_FALSE(accesstest::workFiles().empty());
    }
    EXPECT_EQ(accesstest::workFiles(), std::vector<std::string>());
}

TEST_F(CliBridge, TempFileOfTheLongestStemReachesTheShowBridgeWhole)
{
    for (size_t len : {kTempStemMax, kTempStemMax + 1, kTempStemMax + 40}) {
        std::string stem(len, 's');
        std::string path;
        {
            TempFile f(stem.c_str());
            path = f.path();
            EXPECT_EQ(path.find(std::string(kTempStemMax, 's') + "_"), strlen(OXEL_TMP_DIR)) << len;
            EXPECT_LT(path.size(), kCliShowPathBufSize) << len;
            ASSERT_EQ(cliShowExecuteToFile(&h, "show vlan", f.path()), 0) << len;
            EXPECT_TRUE(harness::fileExists(path)) << len;
        }
        EXPECT_FALSE(harness::fileExists(path)) << len;
    }
}

}  // namespace
