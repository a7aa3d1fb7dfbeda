// The IPv6, router advertisement and IP helper CLI pieces on their own: the
// parsing of show output, the text templates, and the simulated CLI's
// commands and show layouts for them.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <string>

#include "access/cli_text.h"
#include "access/show_parse_routing.h"
#include "routing/cli_ipv6.h"
#include "sim/cli_engine.h"
#include "sim/state.h"

namespace {

using showparse::convertValue;
using showparse::HelperEntry;

uint32_t labelMode(const std::string& text, const char* label)
{
    std::string v;
    return clitext::labelValue(text, label, &v) ? convertValue(v, showparse::kMode) : 0;
}

TEST(Ipv6Parse, LabelWithDottedLeaderAtLineStart)
{
    EXPECT_EQ(labelMode("IPv6 Unicast Routing Mode..................... Enable\n", "IPv6 Unicast Routing Mode"), 1u);
    EXPECT_EQ(labelMode("IPv6 Unicast Routing Mode..................... Disable\n", "IPv6 Unicast Routing Mode"),
              0u);
    EXPECT_EQ(labelMode("   IPv6 Unicast Routing Mode: Enable", "IPv6 Unicast Routing Mode"), 1u);
}

TEST(Ipv6Parse, LabelInsideAnotherLineIsNotTaken)
{
    std::string v;
    EXPECT_FALSE(clitext::labelValue("Note: IPv6 Unicast Routing Mode.... Enable\n", "IPv6 Unicast Routing Mode", &v));
    // The search goes on to a later line that does start with the label.
    std::string text = "Note: IPv6 Unicast Routing Mode.... Enable\nIPv6 Unicast Routing Mode...... Disable\n";
    EXPECT_TRUE(clitext::labelValue(text, "IPv6 Unicast Routing Mode", &v));
    EXPECT_EQ(v, "Disable");
    EXPECT_EQ(labelMode(text, "IPv6 Unicast Routing Mode"), 0u);
}

TEST(Ipv6Parse, Conversions)
{
    EXPECT_EQ(convertValue("600", showparse::kThirdOf), 198u);
    EXPECT_EQ(convertValue("4", showparse::kThirdOf), 1u);
    EXPECT_EQ(convertValue("4294967295", showparse::kThirdOf), 1417339207u);  // no overflow on the way
    EXPECT_EQ(convertValue("High", showparse::kPreference), 1u);
    EXPECT_EQ(convertValue("low", showparse::kPreference), 2u);
    EXPECT_EQ(convertValue("Medium", showparse::kPreference), 0u);
    EXPECT_EQ(convertValue("", showparse::kPreference), 0u);
    EXPECT_EQ(convertValue("True", showparse::kYesNo), 1u);
    EXPECT_EQ(convertValue("yes", showparse::kMode), 1u);
    EXPECT_EQ(convertValue("Disabled", showparse::kEnableText), 0u);
    EXPECT_EQ(convertValue("1024 pps", showparse::kNumber), 1024u);
    EXPECT_EQ(convertValue("pps", showparse::kNumber), 0u);
}

TEST(Ipv6Parse, TemplatesTakeOneValue)
{
    EXPECT_EQ(ip6cli::fillTemplate("ipv6 mtu %u", "1400"), "ipv6 mtu 1400");
    EXPECT_EQ(ip6cli::fillTemplate("configure\nip helper source-interface %s\nexit\n", "1/0/5"),
              "configure\nip helper source-interface 1/0/5\nexit\n");
    EXPECT_EQ(ip6cli::fillTemplate("ipv6 enable", "7"), "ipv6 enable");
    // Only the first placeholder is filled; a value's own "%u" stays text.
    EXPECT_EQ(ip6cli::fillTemplate("a %u b %u", "%u"), "a %u b %u");
}

TEST(Ipv6Parse, HelperTableLines)
{
    std::string text =
        "Maximum Hop Count.............................. 4\n"
        "Source Interface............................... None\n"
        "\n"
        "Interface                UDP Port        Server Address  Discard  Hit Count\n"
        "------------------------ --------------- --------------- -------  ---------\n"
        "Any                      dhcp            10.1.1.1        No       0\n"
        "1/0/5                    domain          10.2.2.2        No       12\n"
        "lag 2                    DNS             10.3.3.3        No       0\n"
        "1/0/6                    4011            0.0.0.0         Yes      3\n"
        "1/0/7                    dhcp            not-an-address  No       0\n";
    std::vector<HelperEntry> e = showparse::helperEntries(text);
    ASSERT_EQ(e.size(), 4u);
    EXPECT_EQ(e[0].intf, "Any");
    EXPECT_EQ(e[0].udpPort, 67u);
    EXPECT_EQ(e[0].server, 0x0a010101u);
    EXPECT_FALSE(e[0].discard);
    EXPECT_EQ(e[1].intf, "1/0/5");
    EXPECT_EQ(e[1].udpPort, 53u);
    EXPECT_EQ(e[1].hits, 12u);
    EXPECT_EQ(e[2].intf, "lag 2");
    EXPECT_EQ(e[2].udpPort, 53u);
    EXPECT_EQ(e[3].udpPort, 4011u);
    EXPECT_TRUE(e[3].discard);
    EXPECT_EQ(e[3].hits, 3u);
}

TEST(Ipv6Parse, UdpPortWords)
{
    EXPECT_EQ(showparse::udpPortOf("DHCP"), 67u);
    EXPECT_EQ(showparse::udpPortOf("Domain"), 53u);
    EXPECT_EQ(showparse::udpPortOf("dns"), 53u);
    EXPECT_EQ(showparse::udpPortOf("69"), 69u);
    EXPECT_EQ(showparse::udpPortOf("tftp"), 0u);
}

TEST(Ipv6Parse, VlanLines)
{
    std::string brief =
        "vlan 3 before the separator does not count\n"
        "Interface       Mode      IPv6 Address/Length\n"
        "--------------- --------  -----------------\n"
        "vlan 0          Enabled\n"
        "VLAN 12         Enabled   2001:db8::1/64\n"
        "vlan 20         Disabled\n";
    EXPECT_EQ(showparse::firstVlanLine(brief), 12u);
    EXPECT_EQ(showparse::firstVlanLine("Interface\n-----\n"), 0u);
    EXPECT_EQ(showparse::firstVlanLine("vlan 5\n"), 0u);
    std::string vlans =
        "MAC Address used by Routing VLANs: 02:1A:2B:00:00:01\n\n"
        "VLAN ID  Logical Interface\n"
        "-------  -----------------\n"
        "10       vlan 10\n"
        " 15      indented lines do not begin with a digit\n"
        "20       vlan 20\n";
    EXPECT_EQ(showparse::nextVlanLine(vlans, 0), 10u);
    EXPECT_EQ(showparse::nextVlanLine(vlans, 10), 20u);
    EXPECT_EQ(showparse::nextVlanLine(vlans, 14), 20u);
    EXPECT_EQ(showparse::nextVlanLine(vlans, 20), 0u);
}

TEST(Ipv6Parse, CliRefusals)
{
    EXPECT_TRUE(clitext::cliRefused("(KX810-A) (Config)#ipv6 hop-limit 300\n                          ^\n"
                                    "% Invalid input detected at '^' marker.\n"));
    EXPECT_TRUE(clitext::cliRefused("(KX810-A) #frob\n% Unrecognized command.\n"));
    EXPECT_FALSE(clitext::cliRefused("(KX810-A) #configure\n(KX810-A) (Config)#exit\n"));
}

// --- The simulated CLI -------------------------------------------------------

std::string show(const sim::SwitchState& st, const std::string& command)
{
    std::string out;
    EXPECT_EQ(sim::cli::runShow(st, command, &out), 0) << command;
    return out;
}

std::string labelOf(const std::string& text, const char* label)
{
    std::string v;
    clitext::labelValue(text, label, &v);
    return v;
}

TEST(Ipv6Sim, GlobalSettingsShowInTheBrief)
{
    sim::SwitchState st = sim::defaultSwitch();
    bool changed = false;
    sim::cli::runScript(st,
                        "configure\nipv6 unicast-routing\nipv6 hop-limit 32\nipv6 nud backoff-multiple 4\n"
                        "ipv6 unresolved-traffic rate-limit 500\nipv6 neighbors dynamicrenew\nexit\n",
                        &changed);
    EXPECT_TRUE(changed);
    std::string b = show(st, "show ipv6 brief");
    EXPECT_NE(b.find("IPv6 Unicast Routing Mode..................... Enable\n"), std::string::npos) << b;
    EXPECT_EQ(labelOf(b, "IPv6 Hop Limit"), "32");
    EXPECT_EQ(labelOf(b, "IPv6 NUD Exponential Backoff Multiple"), "4");
    EXPECT_EQ(labelOf(b, "IPv6 Unresolved Data Rate Limit"), "500 pps");
    EXPECT_EQ(labelOf(b, "IPv6 Neighbors Dynamic Renew"), "Enable");
}

TEST(Ipv6Sim, ValuesOutOfRangeAreRefusedAndChangeNothing)
{
    sim::SwitchState st = sim::defaultSwitch();
    std::string before = sim::stateText(st);
    bool changed = true;
    std::string a = sim::cli::runScript(st,
                                        "configure\nipv6 hop-limit 300\nipv6 nud backoff-multiple 0\n"
                                        "bootpdhcprelay maxhopcount 17\ninterface vlan 1\nipv6 mtu 9000\n"
                                        "ipv6 nd ra-interval 2\nipv6 nd prefix 2001:db8::/129 10 5\n"
                                        "ipv6 nd prefix 2001:db8::/64 5 10\nipv6 nd prefix fe80::1%eth0/64 10 5\n"
                                        "exit\ninterface 1/0/5\nipv6 enable\nexit\ninterface vlan 7\nexit\nexit\n",
                                        &changed);
    EXPECT_FALSE(changed) << a;
    EXPECT_EQ(sim::stateText(st), before);
    size_t refusals = 0;
    for (size_t p = a.find("% Invalid input"); p != std::string::npos; p = a.find("% Invalid input", p + 1))
        ++refusals;
    EXPECT_EQ(refusals, 10u) << a;
}

TEST(Ipv6Sim, InterfaceSettingsShowPerVlan)
{
    sim::SwitchState st = sim::defaultSwitch();
    sim::cli::runScript(st,
                        "configure\ninterface vlan 1\nipv6 enable\nipv6 nd ra-interval 300\nipv6 nd router-preference "
                        "high\nipv6 nd managed-config-flag\nipv6 mtu 1400\nno auto-state\n"
                        "ipv6 nd prefix 2001:DB8:0::/64 2592000 604800 no-onlink\nexit\nexit\n",
                        nullptr);
    std::string v = show(st, "show ipv6 interface vlan 1");
    EXPECT_EQ(labelOf(v, "IPv6 Enable Mode"), "Enabled");
    EXPECT_EQ(labelOf(v, "IPv6 Operational Mode"), "Disabled");  // unicast routing is off
    EXPECT_EQ(labelOf(v, "Router Advertisement Interval"), "300");
    EXPECT_EQ(labelOf(v, "Router Advertisement Router Preference"), "High");
    EXPECT_EQ(labelOf(v, "Router Advertisement Managed Config Flag"), "Enabled");
    EXPECT_EQ(labelOf(v, "Interface Maximum Transmit Unit"), "1400");
    EXPECT_EQ(labelOf(v, "Auto-State Mode"), "Disabled");
    EXPECT_NE(v.find("Prefix 2001:db8::/64\n"), std::string::npos) << v;
    EXPECT_EQ(labelOf(v, "Onlink Flag"), "Disabled");
    // A VLAN the switch does not have is a refused value.
    std::string out;
    EXPECT_EQ(sim::cli::runShow(st, "show ipv6 interface vlan 9", &out), kOpenInvalidParam);
    // The interface lists: VLAN 1 has IPv6 enabled.
    EXPECT_NE(show(st, "show ipv6 interface brief").find("\nvlan 1          Disabled  \n"), std::string::npos);
    EXPECT_NE(show(st, "show ipv6 vlan").find("\n1        vlan 1"), std::string::npos);
}

TEST(Ipv6Sim, RelayCommandsAndTheirShows)
{
    sim::SwitchState st = sim::defaultSwitch();
    sim::cli::runScript(st,
                        "configure\nbootpdhcprelay maxhopcount 8\nip helper enable\nip helper source-interface 1/0/3\n"
                        "ip helper-address 10.1.1.1 67\ninterface 1/0/5\nip dhcp relay information server-override\n"
                        "exit\nexit\n",
                        nullptr);
    std::string h = show(st, "show ip helper-address");
    EXPECT_EQ(labelOf(h, "Maximum Hop Count"), "8");
    EXPECT_EQ(labelOf(h, "Admin Mode"), "Enable");
    EXPECT_EQ(labelOf(h, "Source Interface"), "1/0/3");
    EXPECT_EQ(st.ipv6.relay.intfs[5].serverOverride, 1u);
    std::vector<HelperEntry> e = showparse::helperEntries(h);
    ASSERT_EQ(e.size(), 1u);
    EXPECT_EQ(e[0].intf, "Any");
    EXPECT_EQ(e[0].server, 0x0a010101u);
    EXPECT_EQ(labelOf(show(st, "show ip helper statistics"), "DHCP client messages received"), "18");
    sim::cli::runScript(st, "clear ip helper statistics\nconfigure\nno ip helper-address 10.1.1.1 67\nexit\n", nullptr);
    EXPECT_EQ(labelOf(show(st, "show ip helper statistics"), "DHCP client messages received"), "0");
    EXPECT_TRUE(showparse::helperEntries(show(st, "show ip helper-address")).empty());
}

TEST(Ipv6Sim, StateFileKeepsTheSettings)
{
    sim::SwitchState st = sim::defaultSwitch();
    sim::cli::runScript(st,
                        "configure\nipv6 unicast-routing\nbootpdhcprelay minwaittime 20\ninterface vlan 1\n"
                        "ipv6 nd suppress-ra\nipv6 nd prefix 2001:db8::/48 100 50 no-autoconfig\nexit\n"
                        "interface 1/0/4\nno auto-state\nbootpdhcprelay cidoptionmode\nexit\n"
                        "exit\nclear ip helper statistics\n",
                        nullptr);
    std::string text = sim::stateText(st);
    cJSON* root = cJSON_Parse(text.c_str());
    ASSERT_TRUE(root);
    sim::SwitchState back = sim::defaultSwitch();
    sim::ipv6FromJson(root, &back.ipv6);
    cJSON_Delete(root);
    EXPECT_EQ(sim::stateText(back), text);
    EXPECT_EQ(back.ipv6.vlans[1].prefixes.size(), 1u);
    EXPECT_EQ(back.ipv6.vlans[1].prefixes[0].autonomous, 0u);
    EXPECT_EQ(sim::autoStateOf(back, 4), 0u);
    EXPECT_EQ(back.ipv6.relay.counters[0], 0u);
    // An older file without the section keeps the defaults.
    sim::SwitchState old = sim::defaultSwitch();
    cJSON* empty = cJSON_CreateObject();
    sim::ipv6FromJson(empty, &old.ipv6);
    cJSON_Delete(empty);
    EXPECT_EQ(sim::stateText(old), sim::stateText(sim::defaultSwitch()));
}

}  // namespace
