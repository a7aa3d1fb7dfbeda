// The simulated CLI on its own: modes, the command table's matching and
// messages, show layouts, the work-path rules and the state file section.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/openclt/openclt.h"
#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/state.h"
#include "tests/support/harness.h"

namespace {

using sim::SwitchState;

std::string run(SwitchState& st, const std::string& script, bool* changed = nullptr)
{
    return sim::cli::runScript(st, script, changed);
}

TEST(CliEngine, ModesAndPrompts)
{
    SwitchState st = sim::defaultSwitch();
    std::string a = run(st,
                        "configure\ninterface 0/3\nexit\ninterface 1/0/4\nend\nconfig\ninterface lag 2\nexit\n"
                        "interface vlan 1\nexit\nexit\nvlan database\nexit\nexit\n");
    EXPECT_EQ(a,
              "(KX810-A) #configure\n"
              "(KX810-A) (Config)#interface 0/3\n"
              "(KX810-A) (Interface 0/3)#exit\n"
              "(KX810-A) (Config)#interface 1/0/4\n"
              "(KX810-A) (Interface 1/0/4)#end\n"
              "(KX810-A) #config\n"
              "(KX810-A) (Config)#interface lag 2\n"
              "(KX810-A) (Interface lag 2)#exit\n"
              "(KX810-A) (Config)#interface vlan 1\n"
              "(KX810-A) (Interface vlan 1)#exit\n"
              "(KX810-A) (Config)#exit\n"
              "(KX810-A) #vlan database\n"
              "(KX810-A) (Vlan)#exit\n"
              "(KX810-A) #exit\n");
}

TEST(CliEngine, BlankLinesCommentsAndCarriageReturnsAreSkipped)
{
    SwitchState st = sim::defaultSwitch();
    EXPECT_EQ(run(st, "\n   \n! a comment\r\nconfig\r\nexit"), "(KX810-A) #config\n(KX810-A) (Config)#exit\n");
}

TEST(CliEngine, UnknownCommandsAndRefusedValues)
{
    SwitchState st = sim::defaultSwitch();
    bool changed = true;
    std::string a = run(st, "config\nfrobnicate now\nip frobnicate\ninterface 0/77\nspeed auto\n", &changed);
    EXPECT_FALSE(changed);
    EXPECT_NE(a.find("(Config)#frobnicate now\n% Unrecognized command.\n"), std::string::npos) << a;
    // The caret stands under the first word that fits no row.
    EXPECT_NE(a.find("(KX810-A) (Config)#ip frobnicate\n" + std::string(22, ' ') +
                     "^\n% Invalid input detected at '^' marker.\n"),
              std::string::npos)
        << a;
    EXPECT_NE(a.find("(KX810-A) (Config)#interface 0/77\n" + std::string(29, ' ') + "^\n"), std::string::npos) << a;
    // "speed" is an interface command: in global configuration it is unknown.
    EXPECT_NE(a.find("(Config)#speed auto\n% Unrecognized command.\n"), std::string::npos) << a;
    EXPECT_EQ(sim::stateText(st), sim::stateText(sim::defaultSwitch()));
}

TEST(CliEngine, IncompleteAndOverlongCommandsAreInvalidInput)
{
    SwitchState st = sim::defaultSwitch();
    std::string a = run(st, "config\nport-channel\nport-channel auto now\n");
    EXPECT_NE(a.find("(Config)#port-channel\n" + std::string(32, ' ') + "^\n% Invalid input"), std::string::npos)
        << a;
    EXPECT_NE(a.find("(Config)#port-channel auto now\n" + std::string(37, ' ') + "^\n% Invalid input"),
              std::string::npos)
        << a;
    EXPECT_EQ(st.system.lagAutoMode, 0u);
}

TEST(CliEngine, ConfigurationWithoutConfigureLine)
{
    SwitchState st = sim::defaultSwitch();
    bool changed = false;
    std::string a = run(st, "port-channel auto\nenvironment fan control mode quiet\ninterface 0/5\n"
                            "flowcontrol symmetric\nexit\nexit\n", &changed);
    EXPECT_TRUE(changed);
    // The first such line leaves exec mode for global configuration.
    EXPECT_EQ(a,
              "(KX810-A) #port-channel auto\n"
              "(KX810-A) (Config)#environment fan control mode quiet\n"
              "(KX810-A) (Config)#interface 0/5\n"
              "(KX810-A) (Interface 0/5)#flowcontrol symmetric\n"
              "(KX810-A) (Interface 0/5)#exit\n"
              "(KX810-A) (Config)#exit\n");
    EXPECT_EQ(st.interfaces[5].flowControl, 1u);
    EXPECT_EQ(st.system.lagAutoMode, 1u);
    EXPECT_EQ(st.system.fanControlMode, 2u);
}

TEST(CliEngine, KeywordsIgnoreCase)
{
    SwitchState st = sim::defaultSwitch();
    std::string a = run(st, "CONFIG\nEnvironment Fan Control Mode QUIET\nexit\n");
    EXPECT_EQ(a.find("% "), std::string::npos) << a;
    EXPECT_EQ(st.system.fanControlMode, 2u);
}

TEST(CliEngine, SpeedRules)
{
    SwitchState st = sim::defaultSwitch();
    std::string a = run(st,
                        "config\ninterface 0/1\nspeed 100 half-duplex\nexit\ninterface 0/2\nspeed 10000 full-duplex\n"
                        "exit\ninterface 0/25\nspeed 10000 full-duplex\nexit\ninterface 0/26\nspeed 100 full-duplex\n"
                        "exit\ninterface lag 1\nspeed auto\nexit\nexit\n");
    EXPECT_EQ(st.interfaces[1].speedMbps, 100u);
    EXPECT_EQ(st.interfaces[1].fullDuplex, 0u);
    EXPECT_EQ(st.interfaces[1].autoNeg, 0u);
    EXPECT_EQ(st.interfaces[2].speedMbps, 1000u);  // a copper port has no 10G
    EXPECT_EQ(st.interfaces[25].speedMbps, 10000u);
    EXPECT_EQ(st.interfaces[26].speedMbps, 10000u);  // an SFP+ port has no 100M
    EXPECT_NE(a.find("(Interface lag 1)#speed auto\n% Invalid input: the command applies to physical ports only.\n"),
              std::string::npos)
        << a;
    run(st, "config\ninterface 0/1\nspeed auto\n");
    EXPECT_EQ(st.interfaces[1].speedMbps, 1000u);
    EXPECT_EQ(st.interfaces[1].autoNeg, 1u);
}

TEST(CliEngine, ManagementInterface)
{
    SwitchState st = sim::defaultSwitch();
    std::string a = run(st,
                        "config\nip management vlan 1 192.168.5.7 255.255.255.0\nip default-gateway 192.168.5.1\n"
                        "ip management vlan 1 192.168.5.0 255.255.255.0\nip management vlan 1 224.0.0.1 255.0.0.0\n"
                        "ip default-gateway 192.168.5.7\nexit\n");
    EXPECT_EQ(st.system.mgmtMethod, "Manual");
    EXPECT_EQ(st.system.mgmtAddress, "192.168.5.7");
    EXPECT_EQ(st.system.defaultGateway, "192.168.5.1");
    size_t refusals = 0;
    for (size_t p = 0; (p = a.find("% Invalid input", p)) != std::string::npos; ++p)
        ++refusals;
    EXPECT_EQ(refusals, 3u) << a;
    run(st, "config\nno ip default-gateway\nip management vlan 1 dhcp\n");
    EXPECT_EQ(st.system.defaultGateway, "0.0.0.0");
    EXPECT_EQ(st.system.mgmtMethod, "DHCP");
    EXPECT_EQ(st.system.mgmtAddress, "0.0.0.0");
}

TEST(CliEngine, VlanDatabase)
{
    SwitchState st = sim::defaultSwitch();
    st.vlans[30] = sim::Vlan{30, "", false};
    std::string a = run(st, "vlan database\nvlan 10\nvlan makestatic 30\nvlan makestatic 31\nvlan 4094\nexit\n");
    EXPECT_TRUE(st.vlans.count(10));
    EXPECT_EQ(st.vlans[10].name, "VLAN0010");
    EXPECT_TRUE(st.vlans[30].isStatic);
    EXPECT_FALSE(st.vlans.count(31));
    EXPECT_FALSE(st.vlans.count(4094));
    size_t refusals = 0;
    for (size_t p = 0; (p = a.find("% Invalid input", p)) != std::string::npos; ++p)
        ++refusals;
    EXPECT_EQ(refusals, 2u) << a;
}

TEST(CliEngine, PtpNeedsASingleUnitOutsideTheKx810Family)
{
    SwitchState st = sim::defaultSwitch();
    std::string a = run(st, "config\ninterface 0/1\nptp clock e2e-transparent\n");
    EXPECT_NE(a.find("% Invalid input: the PTP transparent clock is not supported on this switch.\n"),
              std::string::npos);
    EXPECT_EQ(st.interfaces[1].ptpTransparent, 0u);
    st.units[0].model = "KX850-P";
    run(st, "config\ninterface 0/1\nptp clock e2e-transparent\nexit\ninterface vlan 1\nptp clock e2e-transparent\n");
    EXPECT_EQ(st.interfaces[1].ptpTransparent, 1u);
    st.units.push_back(sim::Unit{2, "KX850-P", ""});
    a = run(st, "config\ninterface 0/1\nno ptp clock e2e-transparent\n");
    EXPECT_NE(a.find("% Invalid input"), std::string::npos);
    EXPECT_EQ(st.interfaces[1].ptpTransparent, 1u);
}

// Lines of table words, numbers, port texts and raw bytes in random order:
// the CLI answers them all and neither a script nor a show command breaks it.
TEST(CliEngine, RandomInputNeverBreaksTheCli)
{
    static const char* const kWords[] = {"config", "configure", "interface", "0/3", "1/0/25", "lag", "vlan", "9",
                                         "exit", "end", "speed", "auto", "100", "half-duplex", "no", "ip",
                                         "management", "dhcp", "10.0.0.1", "255.0.0.0", "default-gateway",
                                         "database", "makestatic", "ptp", "clock", "e2e-transparent", "poe",
                                         "timer", "schedule", "show", "/", "//", "0/", "4294967296", "{a|b}", "<uint>"};
    unsigned seed = 12345;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    for (int round = 0; round < 300; ++round) {
        std::string script;
        for (int line = 0; line < 20; ++line) {
            int n = static_cast<int>(next() % 7);
            for (int w = 0; w < n; ++w) {
                if (next() % 5 == 0)
                    script += static_cast<char>(next() % 256);
                else
                    script += kWords[next() % (sizeof kWords / sizeof kWords[0])];
                script += next() % 9 == 0 ? "\t" : " ";
            }
            script += "\n";
        }
        SwitchState st = sim::defaultSwitch();
        std::string answer = run(st, script);
        EXPECT_FALSE(answer.empty() && script.find_first_not_of(" \t\n") != std::string::npos);
        std::string out;
        sim::cli::runShow(st, script.substr(0, script.find('\n')), &out);
    }
}

TEST(CliShow, UnknownCommandsAndValues)
{
    SwitchState st = sim::defaultSwitch();
    std::string out = "untouched";
    EXPECT_EQ(sim::cli::runShow(st, "show frobnicate", &out), kOpenUnsupported);
    EXPECT_EQ(sim::cli::runShow(st, "", &out), kOpenUnsupported);
    EXPECT_EQ(sim::cli::runShow(st, "config", &out), kOpenUnsupported);
    EXPECT_EQ(out, "untouched");
    EXPECT_EQ(sim::cli::runShow(st, "SHOW VLAN", &out), 0);
    EXPECT_NE(out.find("default"), std::string::npos);
}

TEST(CliShow, LabelLinesPutTheValueAtColumn47)
{
    EXPECT_EQ(sim::cli::labelLine("Method", "DHCP"), "Method" + std::string(40, '.') + " DHCP\n");
    std::string longLabel(60, 'L');
    EXPECT_EQ(sim::cli::labelLine(longLabel, "v"), longLabel + ". v\n");
    SwitchState st = sim::defaultSwitch();
    std::string out;
    ASSERT_EQ(sim::cli::runShow(st, "show ip management", &out), 0);
    std::string vlanLine = out.substr(out.find("IPv4 Management Interface"));
    EXPECT_EQ(vlanLine.substr(47, 6), "vlan 1");
    EXPECT_EQ(vlanLine[52], '1');
}

TEST(CliShow, BootvarHasFourteenHeaderLines)
{
    SwitchState st = sim::defaultSwitch();
    std::string out;
    ASSERT_EQ(sim::cli::runShow(st, "show bootvar", &out), 0);
    size_t p = 0;
    for (int i = 0; i < 14; ++i)
        p = out.find('\n', p) + 1;
    EXPECT_EQ(out.substr(p), "    1     4.1.2.7     4.1.1.3             image1             image1\n");
}

TEST(CliShow, EnvironmentTablesFollowTheFanMode)
{
    SwitchState st = sim::defaultSwitch();
    st.system.fanControlMode = 2;
    std::string out;
    ASSERT_EQ(sim::cli::runShow(st, "show environment", &out), 0);
    EXPECT_NE(out.find("\nTemperature Sensors:\n"), std::string::npos);
    EXPECT_NE(out.find("\nFans:\n"), std::string::npos);
    EXPECT_NE(out.find("1     1    Fan-1                 Fixed     6000         40%         Operational\n"),
              std::string::npos)
        << out;
    // The description column is 16 characters wide.
    EXPECT_NE(out.find("\n1        1       MAC               44          Normal          47\n"), std::string::npos)
        << out;
}

TEST(CliPaths, OnlyFilesUnderTheTwoDirectories)
{
    for (const char* ok : {"/tmp/x", "/tmp/a/b", "/mnt/application/oxel/tmp/oxel_out_show_bootvar"})
        EXPECT_TRUE(sim::cliPathAllowed(ok)) << ok;
    for (const char* bad : {"", "/", "/tmp", "/tmp/", "/tmp//x", "/tmp/./x", "/tmp/../etc/passwd", "/tmp/a/..",
                            "/mnt/application/oxel/x", "/etc/passwd", "tmp/x", "/tmpx/y",
                            "/mnt/application/oxel/tmp/../tmp2/x"})
        EXPECT_FALSE(sim::cliPathAllowed(bad)) << bad;
}

TEST(CliPaths, ReadRefusesOtherThanRegularFiles)
{
    mkdir("/tmp/adir", 0755);
    std::string text;
    EXPECT_FALSE(sim::cliFileRead("/tmp/adir", &text));
    EXPECT_FALSE(sim::cliFileRead("/tmp/absent", &text));
    harness::writeFile("/tmp/big", std::string((1 << 20) + 1, 'x'));
    EXPECT_FALSE(sim::cliFileRead("/tmp/big", &text));
    harness::writeFile("/tmp/small", "config\n");
    EXPECT_TRUE(sim::cliFileRead("/tmp/small", &text));
    EXPECT_EQ(text, "config\n");
}

TEST(CliState, SettingsSurviveTheStateFile)
{
    SwitchState st = sim::defaultSwitch();
    run(st,
        "config\nip management vlan 1 10.0.0.2 255.0.0.0\nip default-gateway 10.0.0.1\nport-channel auto\n"
        "environment fan control mode off\ninterface 0/2\nspeed 10 half-duplex\nflowcontrol symmetric\n"
        "poe timer schedule night\n");
    st.units[0].image2 = "4.0.0.1";
    ASSERT_TRUE(sim::saveState(st, "/tmp/state.json"));
    SwitchState back;
    ASSERT_TRUE(sim::loadState(&back, "/tmp/state.json"));
    EXPECT_EQ(sim::stateText(back), sim::stateText(st));
    EXPECT_EQ(back.interfaces[2].speedMbps, 10u);
    EXPECT_EQ(back.interfaces[2].poeSchedule, "night");
    EXPECT_EQ(back.system.defaultGateway, "10.0.0.1");
    EXPECT_EQ(back.units[0].image2, "4.0.0.1");
}

}  // namespace

namespace {

// "sdm prefer" takes a template's full name and applies it at once; any
// other name is refused as invalid input and changes nothing.
TEST(CliEngine, SdmPreferTakesTemplateNamesOnly)
{
    struct Case {
        const char* line;
        bool takes;
        uint32_t id;
    } cases[] = {
        {"sdm prefer ipv4-routing data-center", true, 3},
        {"sdm prefer data-center-plus", true, 4},
        {"sdm prefer DUAL-IPV4-AND-IPV6 default", true, 0},
        {"sdm prefer dual-ipv4-and-ipv6 data-center", true, 1},
        {"sdm prefer ipv4-routing", false, 0},
        {"sdm prefer data-center", false, 0},
        {"sdm prefer ipv4-routing default extra", false, 0},
        {"sdm prefer default", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        SwitchState st = sim::defaultSwitch();
        st.sysModel.sdmTemplate = 2;
        bool changed = false;
        std::string a = run(st, std::string("configure\n") + c.line + "\nexit\n", &changed);
        EXPECT_EQ(a.find("% Invalid input") == std::string::npos && a.find("% Unrecognized") == std::string::npos,
                  c.takes) << a;
        EXPECT_EQ(st.sysModel.sdmTemplate, c.takes ? c.id : 2u);
        EXPECT_EQ(changed, c.takes);
        std::string show;
        ASSERT_EQ(sim::cli::runShow(st, "show sdm prefer", &show), 0);
        EXPECT_NE(show.find(std::string("current template is \"") + sim::sdmTemplateInfo(st.sysModel.sdmTemplate)->name +
                            "\""),
                  std::string::npos) << show;
        // The IPv4-only templates list no IPv6 tables.
        EXPECT_EQ(show.find("IPv6 Unicast Routes") != std::string::npos, sim::sdmTemplateInfo(st.sysModel.sdmTemplate)->ipv6);
    }
}

}  // namespace
