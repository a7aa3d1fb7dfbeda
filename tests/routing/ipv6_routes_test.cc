// pathgate's CLI-backed IPv6, router advertisement and IP helper routes over
// several requests against one simulated switch: round trips through the
// switch's CLI, the exact texts it receives, refused requests that apply
// nothing, the work files and the state file.
#include <cjson/cJSON.h>
#include <dirent.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/routing/work_names.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;
using harness::request;
using harness::workFiles;

const std::string kIp6 = "/api/v2/routing/ip6map/";
const std::string kRadv = "/api/v2/routing/ip6radv/";
const std::string kHelper = "/api/v2/routing/iphelper/";
const std::string kConfig = "/api/v2/routing/routing-config/";
const char* const kWorkDir = "/mnt/application/oxel/tmp";

class Ipv6Routes : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    std::string history() { return routing_test::historyByStem(sim.ctl({"cli-history"})); }
    void clearHistory() { sim.ctl({"clear-cli-history"}); }
    int applies()
    {
        std::istringstream calls(sim.ctl({"calls"}));
        std::string line;
        int n = 0;
        while (std::getline(calls, line))
            n += line.rfind("openapiTxtCfgApply ", 0) == 0 ? 1 : 0;
        return n;
    }
    // PUT (or another write) that must succeed, then the GET's data object.
    std::string putThenGet(const std::string& method, const std::string& put, const std::string& body,
                           const std::string& get, const char* member)
    {
        harness::CgiResult w = request(method, put, body);
        EXPECT_EQ(codeOf(w), 0) << method << " " << put << " " << body << w.out;
        EXPECT_EQ(w.out.back(), '\n') << put;
        harness::CgiResult r = request("GET", get);
        EXPECT_EQ(codeOf(r), 0) << get << r.out;
        EXPECT_NE(r.out.back(), '\n') << get;
        return dataOf(r, member);
    }
    harness::Simulator sim;
};

TEST_F(Ipv6Routes, GlobalSettingsRoundTrip)
{
    struct Case {
        const char* leaf;
        const char* body;
        const char* want;
    } cases[] = {
        {"ip6-vr-rtr-admin-mode", "{\"mode\":1}", "{\"mode\":1}"},
        {"ip6-vr-rtr-admin-mode", "{\"mode\":2}", "{\"mode\":0}"},
        {"ip6-vr-nbrs-dyn-renew", "{\"mode\":1}", "{\"mode\":1}"},
        {"ip6-vr-nbrs-dyn-renew", "{}", "{\"mode\":0}"},
        {"ip6-vr-nud-backoff-multiple", "{\"val\":3}", "{\"val\":3}"},
        {"ip6-vr-nud-max-unicast-solicits", "{\"val\":5}", "{\"val\":5}"},
        {"ip6-vr-nud-max-mcast-solicits", "{\"val\":7}", "{\"val\":7}"},
        {"ip6-unresolved-rate-limit", "{\"val\":512}", "{\"val\":512}"},
        {"ip6-vr-rtr-default-ttl", "{\"VAL\":\"32\"}", "{\"val\":32}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(putThenGet("PUT", kIp6 + c.leaf, c.body, kIp6 + c.leaf, "ip6map"), c.want) << c.leaf << c.body;
    std::string h = history();
    EXPECT_NE(h.find("--- /mnt/application/oxel/tmp/oxel_in_ip6m_admin\n"), std::string::npos) << h;
    EXPECT_NE(h.find("(Config)#no ipv6 unicast-routing\n"), std::string::npos) << h;
    EXPECT_NE(h.find("(Config)#ipv6 hop-limit 32\n"), std::string::npos) << h;
    EXPECT_EQ(h.find("% "), std::string::npos) << h;
}

TEST_F(Ipv6Routes, ValueTheCliRefusesAnswers10003AndKeepsTheSetting)
{
    harness::CgiResult r = request("PUT", kIp6 + "ip6-vr-rtr-default-ttl", "{\"val\":300}");
    EXPECT_EQ(codeOf(r), 10003) << r.out;
    EXPECT_EQ(dataOf(request("GET", kIp6 + "ip6-vr-rtr-default-ttl"), "ip6map"), "{\"val\":64}");
    // A VLAN the switch does not have.
    EXPECT_EQ(codeOf(request("PUT", kIp6 + "ip6-rtr-intf-mode?ifNum=9", "{\"mode\":1}")), 10003);
    EXPECT_EQ(codeOf(request("GET", kIp6 + "ip6-rtr-intf-mode?ifNum=9")), 10000);
}

TEST_F(Ipv6Routes, InterfaceSettingsRoundTripOnTheQueryVlan)
{
    struct Case {
        const char* leaf;
        const char* query;
        const char* body;
        const char* want;
    } cases[] = {
        {"ip6-rtr-dad-transmits", "intIfNum", "{\"val\":3}", "{\"intIfNum\":1,\"val\":3}"},
        {"ip6-rtr-nd-ns-interval", "intIfNum", "{\"val\":2000}", "{\"intIfNum\":1,\"val\":2000}"},
        {"ip6-rtr-nd-reachable-time", "intIfNum", "{\"val\":30000}", "{\"intIfNum\":1,\"val\":30000}"},
        {"ip6-rtr-intf-icmp-unreachables-mode", "intIfNum", "{\"mode\":0}", "{\"intIfNum\":1,\"mode\":0}"},
        {"ip6-rtr-intf-mode", "ifNum", "{\"mode\":1}", "{\"ifNum\":1,\"mode\":1}"},
        {"ip6-rtr-intf-auto-state-mode", "ifNum", "{\"mode\":0}", "{\"ifNum\":1,\"mode\":0}"},
        {"ip6-rtr-intf-ipv6-mtu", "ifNum", "{\"val\":1400}", "{\"ifNum\":1,\"val\":1400}"},
    };
    for (const Case& c : cases) {
        std::string uri = kIp6 + c.leaf + "?" + c.query + "=1";
        EXPECT_EQ(putThenGet("PUT", uri, c.body, uri, "ip6map"), c.want) << c.leaf;
    }
    EXPECT_EQ(dataOf(request("GET", kIp6 + "ip6-rtr-intf-ipv6-effective-mtu?ifNum=1"), "ip6map"),
              "{\"ifNum\":1,\"val\":1400}");
    EXPECT_EQ(dataOf(request("GET", kIp6 + "ip6-rtr-intf-bandwidth?ifNum=1"), "ip6map"), "{\"ifNum\":1,\"val\":10000}");
    // Operational once unicast routing is on as well.
    EXPECT_EQ(dataOf(request("GET", kIp6 + "ip6-rtr-intf-oper-mode?ifNum=1"), "ip6map"), "{\"ifNum\":1,\"mode\":0}");
    EXPECT_EQ(putThenGet("PUT", kIp6 + "ip6-vr-rtr-admin-mode", "{\"mode\":1}", kIp6 + "ip6-rtr-intf-oper-mode?ifNum=1",
                         "ip6map"),
              "{\"ifNum\":1,\"mode\":1}");
}

TEST_F(Ipv6Routes, ZeroSendsTheNoForms)
{
    struct Case {
        std::string uri;
        const char* set;
        const char* clear;
        const char* noLine;
        const char* after;
    } cases[] = {
        {kIp6 + "ip6-rtr-nd-ns-interval?intIfNum=1", "{\"val\":2000}", "{\"val\":0}", "no ipv6 nd ns-interval",
         "{\"intIfNum\":1,\"val\":0}"},
        {kIp6 + "ip6-rtr-nd-reachable-time?intIfNum=1", "{\"val\":5000}", "{}", "no ipv6 nd reachable-time",
         "{\"intIfNum\":1,\"val\":0}"},
        {kIp6 + "ip6-rtr-intf-icmp-unreachables-mode?intIfNum=1", "{\"mode\":1}", "{\"mode\":0}",
         "no ipv6 unreachables", "{\"intIfNum\":1,\"mode\":0}"},
        {kIp6 + "ip6-rtr-intf-mode?ifNum=1", "{\"mode\":1}", "{\"mode\":0}", "no ipv6 enable",
         "{\"ifNum\":1,\"mode\":0}"},
        {kIp6 + "ip6-rtr-intf-auto-state-mode?ifNum=1", "{\"mode\":1}", "{}", "no auto-state",
         "{\"ifNum\":1,\"mode\":0}"},
        {kIp6 + "ip6-rtr-intf-ipv6-mtu?ifNum=1", "{\"val\":1400}", "{\"val\":0}", "no ipv6 mtu",
         "{\"ifNum\":1,\"val\":1500}"},
        {kRadv + "ip6-rtr-radv-max-adv-int?ifNum=1", "{\"maxAdvInt\":300}", "{\"maxAdvInt\":0}",
         "no ipv6 nd ra-interval", "{\"maxAdvInt\":600}"},
        {kRadv + "ip6-rtr-radv-adv-mtu?ifNum=1", "{\"advMtu\":1400}", "{}", "no ipv6 nd mtu", "{\"advMtu\":0}"},
        {kRadv + "ip6-rtr-radv-managed-flag?ifNum=1", "{\"managedFlag\":true}", "{\"managedFlag\":false}",
         "no ipv6 nd managed-config-flag", "{\"managedFlag\":false}"},
        {kRadv + "ip6-rtr-radv-other-cfg-flag?ifNum=1", "{\"otherCfgFlag\":true}", "{}",
         "no ipv6 nd other-config-flag", "{\"otherCfgFlag\":false}"},
        {kRadv + "ip6-rtr-radv-suppress?ifNum=1", "{\"suppress\":1}", "{\"suppress\":0}", "no ipv6 nd suppress-ra",
         "{\"suppress\":false}"},
    };
    for (const Case& c : cases) {
        const char* member = c.uri.find("ip6radv") != std::string::npos ? "ip6radv" : "ip6map";
        EXPECT_EQ(codeOf(request("PUT", c.uri, c.set)), 0) << c.uri;
        clearHistory();
        EXPECT_EQ(codeOf(request("PUT", c.uri, c.clear)), 0) << c.uri;
        std::string h = history();
        EXPECT_NE(h.find("(KX810-A) (Interface vlan 1)#" + std::string(c.noLine) + "\n"), std::string::npos)
            << c.uri << "\n" << h;
        EXPECT_EQ(h.find("% "), std::string::npos) << h;
        EXPECT_EQ(dataOf(request("GET", c.uri), member), c.after) << c.uri;
    }
}

TEST_F(Ipv6Routes, NsIntervalZeroSendsExactlyTheNoForm)
{
    ASSERT_EQ(codeOf(request("PUT", kIp6 + "ip6-rtr-nd-ns-interval?intIfNum=1", "{\"val\":0}")), 0);
    EXPECT_EQ(history(),
              "--- /mnt/application/oxel/tmp/oxel_in_ip6m_ns_int\n"
              "(KX810-A) #configure\n"
              "(KX810-A) (Config)#interface vlan 1\n"
              "(KX810-A) (Interface vlan 1)#no ipv6 nd ns-interval\n"
              "(KX810-A) (Interface vlan 1)#exit\n"
              "(KX810-A) (Config)#exit\n");
}

TEST_F(Ipv6Routes, RouterAdvertisementRoundTrip)
{
    EXPECT_EQ(dataOf(request("GET", kRadv + "ip6-rtr-radv-min-adv-int?ifNum=1"), "ip6radv"), "{\"minAdvInt\":198}");
    struct Case {
        const char* leaf;
        const char* method;
        const char* body;
        const char* want;
    } cases[] = {
        {"ip6-rtr-radv-max-adv-int", "PUT", "{\"maxAdvInt\":300}", "{\"maxAdvInt\":300}"},
        {"ip6-rtr-radv-adv-lifetime", "PUT", "{\"advLifetime\":900}", "{\"advLifetime\":900}"},
        {"ip6-rtr-radv-adv-mtu", "PUT", "{\"advMtu\":1400}", "{\"advMtu\":1400}"},
        {"ip6-rtr-radv-rtr-pref", "PUT", "{\"rtrPref\":1}", "{\"rtrPref\":1}"},
        {"ip6-rtr-radv-rtr-pref", "PUT", "{\"rtrPref\":2}", "{\"rtrPref\":2}"},
        {"ip6-rtr-radv-rtr-pref", "PUT", "{\"rtrPref\":9}", "{\"rtrPref\":0}"},
        {"ip6-rtr-radv-managed-flag", "PUT", "{\"managedFlag\":true}", "{\"managedFlag\":true}"},
        {"ip6-rtr-radv-other-cfg-flag", "PUT", "{\"otherCfgFlag\":true}", "{\"otherCfgFlag\":true}"},
        {"ip6-rtr-radv-hop-limit-unspec", "POST", "{\"hopLimitUnspec\":true}", "{\"hopLimitUnspec\":true}"},
        {"ip6-rtr-radv-suppress", "PUT", "{\"suppress\":true}", "{\"suppress\":true}"},
    };
    for (const Case& c : cases) {
        std::string uri = kRadv + c.leaf + "?ifNum=1";
        EXPECT_EQ(putThenGet(c.method, uri, c.body, uri, "ip6radv"), c.want) << c.leaf << c.body;
    }
    EXPECT_EQ(dataOf(request("GET", kRadv + "ip6-rtr-radv-min-adv-int?ifNum=1"), "ip6radv"), "{\"minAdvInt\":99}");
}

TEST_F(Ipv6Routes, PrefixLineWithDefaultsAndFlags)
{
    ASSERT_EQ(codeOf(request("PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1", "{\"prefix\":\"2001:db8:1::\"}")), 0);
    ASSERT_EQ(codeOf(request("PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1",
                             "{\"prefix\":\"2001:db8:2::\",\"plen\":48,\"prefLife\":100,\"validLife\":200,"
                             "\"onLink\":true,\"autonomous\":true}")),
              0);
    std::string h = history();
    EXPECT_NE(h.find("(Interface vlan 1)#ipv6 nd prefix 2001:db8:1::/64 2592000 604800 no-onlink no-autoconfig\n"),
              std::string::npos)
        << h;
    EXPECT_NE(h.find("(Interface vlan 1)#ipv6 nd prefix 2001:db8:2::/48 200 100\n"), std::string::npos) << h;
    EXPECT_EQ(h.find("% "), std::string::npos) << h;
    // An empty prefix sends nothing.
    clearHistory();
    EXPECT_EQ(codeOf(request("PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1", "{\"prefix\":\"\"}")), 0);
    EXPECT_EQ(codeOf(request("PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1", "{}")), 0);
    EXPECT_EQ(history(), "");
}

TEST_F(Ipv6Routes, BadBodiesApplyNothing)
{
    const std::vector<std::pair<std::string, std::string>> writes = {
        {"PUT", kIp6 + "ip6-vr-rtr-admin-mode"},
        {"PUT", kIp6 + "ip6-vr-rtr-default-ttl"},
        {"PUT", kIp6 + "ip6-rtr-nd-ns-interval?intIfNum=1"},
        {"PUT", kIp6 + "ip6-rtr-intf-mode?ifNum=1"},
        {"PUT", kRadv + "ip6-rtr-radv-max-adv-int?ifNum=1"},
        {"PUT", kRadv + "ip6-rtr-radv-rtr-pref?ifNum=1"},
        {"PUT", kRadv + "ip6-rtr-radv-managed-flag?ifNum=1"},
        {"POST", kRadv + "ip6-rtr-radv-hop-limit-unspec?ifNum=1"},
        {"PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1"},
        {"PUT", kHelper + "bootp-dhcp-relay-max-hop-count"},
        {"PUT", kHelper + "admin-mode"},
        {"PUT", kHelper + "bootp-dhcp-relay-server-override-mode"},
        {"PUT", kHelper + "bootp-dhcp-relay-source-interface"},
        {"PUT", kHelper + "bootp-dhcp-relay-intf-server-override?ifNum=5"},
        {"PUT", kHelper + "bootp-dhcp-relayrtr-cid-option-mode?ifNum=5"},
    };
    for (const auto& w : writes)
        for (const char* body : {"", "{val:1", "[1]", "null", "\"text\""}) {
            harness::CgiResult r = request(w.first, w.second, body);
            EXPECT_EQ(codeOf(r), 10003) << w.second << " " << body;
            EXPECT_EQ(r.out.back(), '\n') << w.second;
        }
    // Members of the wrong kind.
    for (const auto& b : std::vector<std::pair<std::string, std::string>>{
             {kIp6 + "ip6-vr-rtr-default-ttl", "{\"val\":\"abc\"}"},
             {kIp6 + "ip6-vr-rtr-default-ttl", "{\"val\":-1}"},
             {kIp6 + "ip6-vr-rtr-default-ttl", "{\"val\":1.5}"},
             {kIp6 + "ip6-vr-rtr-default-ttl", "{\"val\":\"5\\nexit\"}"},
             {kIp6 + "ip6-vr-rtr-admin-mode", "{\"mode\":\"on\"}"},
             {kRadv + "ip6-rtr-radv-prefix?ifNum=1", "{\"prefix\":\"2001:db8::\",\"plen\":129}"},
             {kRadv + "ip6-rtr-radv-prefix?ifNum=1", "{\"prefix\":7}"},
             {kHelper + "admin-mode", "{\"adminMode\":1}"},
         })
        EXPECT_EQ(codeOf(request("PUT", b.first, b.second)), 10003) << b.first << " " << b.second;
    // Queries that name no VLAN or no port.
    for (const char* uri : {"ip6-rtr-intf-mode", "ip6-rtr-intf-mode?ifNum=0", "ip6-rtr-intf-mode?ifNum=4094",
                            "ip6-rtr-intf-mode?xifNum=1", "ip6-rtr-intf-mode?ifNum=-1"})
        EXPECT_EQ(codeOf(request("PUT", kIp6 + uri, "{\"mode\":1}")), 10003) << uri;
    EXPECT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relay-intf-server-override", "{\"mode\":\"enable\"}")),
              10003);
    EXPECT_EQ(applies(), 0);
    EXPECT_EQ(history(), "");
}

TEST_F(Ipv6Routes, ControlCharactersInRequestTextAreRefusedBeforeAnyFile)
{
    for (const char* p : {"2001:db8::\\nexit", "2001:db8::\\r", "2001:db8::\\t", "2001:db8::\\u0001",
                          "\\n2001:db8::", "2001:db8::\\u007f", "2001:db8:: 0 0 no-onlink",
                          "2001:db8::/64", "2001:db8::%eth0"}) {
        std::string body = std::string("{\"prefix\":\"") + p + "\",\"plen\":64}";
        harness::CgiResult r = request("PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1", body);
        EXPECT_EQ(codeOf(r), 10003) << body << r.out;
        EXPECT_TRUE(workFiles().empty());
    }
    EXPECT_EQ(applies(), 0);
    EXPECT_EQ(history(), "");
}

TEST_F(Ipv6Routes, QueryTextReachesTheCliOnlyAsItsNumber)
{
    harness::CgiRequest r;
    r.method = "PUT";
    r.uri = kIp6 + "ip6-rtr-intf-mode";
    r.query = "ifNum=1\nno ipv6 unicast-routing&x=1";
    r.body = "{\"mode\":1}";
    EXPECT_EQ(codeOf(harness::runCgi(r)), 0);
    EXPECT_EQ(history(),
              "--- /mnt/application/oxel/tmp/oxel_in_ip6m_intf_mode\n"
              "(KX810-A) #configure\n"
              "(KX810-A) (Config)#interface vlan 1\n"
              "(KX810-A) (Interface vlan 1)#ipv6 enable\n"
              "(KX810-A) (Interface vlan 1)#exit\n"
              "(KX810-A) (Config)#exit\n");
}

TEST_F(Ipv6Routes, IntfWalkOverVlanRoutingInterfaces)
{
    EXPECT_EQ(codeOf(request("GET", kIp6 + "intf-valid-first")), 10023);
    EXPECT_EQ(codeOf(request("GET", kIp6 + "intf-valid-next?prevIfNum=0")), 10023);
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=20")), 0);
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=10")), 0);
    EXPECT_EQ(dataOf(request("GET", kIp6 + "intf-valid-first"), "ip6map"), "{\"ifNum\":10}");
    EXPECT_EQ(dataOf(request("GET", kIp6 + "intf-valid-next"), "ip6map"), "{\"ifNum\":10}");
    EXPECT_EQ(dataOf(request("GET", kIp6 + "intf-valid-next?prevIfNum=10"), "ip6map"), "{\"ifNum\":20}");
    harness::CgiResult end = request("GET", kIp6 + "intf-valid-next?prevIfNum=20");
    EXPECT_EQ(codeOf(end), 10023);
    EXPECT_NE(end.out.back(), '\n');
}

TEST_F(Ipv6Routes, HelperGlobalSettingsRoundTrip)
{
    struct Case {
        const char* leaf;
        const char* body;
        const char* want;
    } cases[] = {
        {"bootp-dhcp-relay-max-hop-count", "{\"maxHopCount\":8}", "{\"maxHopCount\":8}"},
        {"bootp-dhcp-relay-min-wait-time", "{\"minWaitTime\":10}", "{\"minWaitTime\":10}"},
        {"admin-mode", "{\"adminMode\":\"enable\"}", "{\"adminMode\":\"enable\"}"},
        {"admin-mode", "{\"adminMode\":\"on\"}", "{\"adminMode\":\"disable\"}"},
        {"bootp-dhcp-relay-circuit-id-option-mode", "{\"mode\":\"enable\"}", "{\"mode\":\"enable\"}"},
        {"bootp-dhcp-relay-cid-option-check-mode", "{\"mode\":\"disable\"}", "{\"mode\":\"disable\"}"},
        {"bootp-dhcp-relay-server-override-mode", "{\"mode\":true}", "{\"mode\":true}"},
        {"bootp-dhcp-relay-source-interface", "{\"ifNum\":5}", "{\"ifNum\":5}"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(putThenGet("PUT", kHelper + c.leaf, c.body, kHelper + c.leaf, "iphelper"), c.want) << c.leaf;
    EXPECT_EQ(putThenGet("DELETE", kHelper + "bootp-dhcp-relay-source-interface", "",
                         kHelper + "bootp-dhcp-relay-source-interface", "iphelper"),
              "{\"ifNum\":0}");
    // A VLAN routing interface has no unit/slot/port.
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=10")), 0);
    EXPECT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relay-source-interface", "{\"ifNum\":37}")), 17002);
    EXPECT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relay-source-interface", "{}")), 10003);
}

TEST_F(Ipv6Routes, HelperInterfaceSettingsGoToThePort)
{
    ASSERT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relay-intf-server-override?ifNum=5", "{\"mode\":\"enable\"}")),
              0);
    ASSERT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relayrtr-cid-option-mode?ifNum=5", "{\"mode\":\"disable\"}")),
              0);
    ASSERT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relayrtr-cid-option-check-mode?ifNum=5",
                             "{\"mode\":\"enable\"}")),
              0);
    ASSERT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relay-intf-source-interface?ifNum=5&srcIfNum=6", "")), 0);
    ASSERT_EQ(codeOf(request("DELETE", kHelper + "bootp-dhcp-relay-intf-source-interface?ifNum=5")), 0);
    std::string h = history();
    for (const char* line : {"(Interface 1/0/5)#ip dhcp relay information server-override\n",
                             "(Interface 1/0/5)#no bootpdhcprelay cidoptionmode\n",
                             "(Interface 1/0/5)#bootpdhcprelay servercheckcid\n",
                             "(Interface 1/0/5)#ip helper source-interface 1/0/6\n",
                             "(Interface 1/0/5)#no ip helper source-interface\n"})
        EXPECT_NE(h.find(line), std::string::npos) << line << h;
    EXPECT_EQ(h.find("% "), std::string::npos) << h;
    EXPECT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relay-intf-source-interface?ifNum=5", "")), 10003);
    // The views of these settings stay fixed.
    EXPECT_EQ(dataOf(request("GET", kHelper + "bootp-dhcp-relay-intf-server-override?ifNum=5"), "iphelper"),
              "{\"mode\":\"not_configured\"}");
}

TEST_F(Ipv6Routes, HelperAddressWalkAndRemoval)
{
    auto first = [&] { return request("POST", kHelper + "ih-ip-helper-address-first", "{}"); };
    harness::CgiResult none = first();
    EXPECT_EQ(codeOf(none), 10023);
    EXPECT_EQ(none.out.back(), '\n');
    ASSERT_EQ(codeOf(request("POST", kConfig + "ip-helper-address", "{\"ipAddr\":\"10.1.1.1\",\"udpPort\":67}")), 0);
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-helper-address",
                             "{\"intf\":5,\"ipAddr\":\"10.2.2.2\",\"udpPort\":53}")),
              0);
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-helper-address",
                             "{\"intf\":30,\"ipAddr\":\"10.3.3.3\",\"udpPort\":69}")),
              0);
    std::vector<std::string> seen;
    harness::CgiResult r = first();
    while (codeOf(r) == 0) {
        EXPECT_NE(r.out.back(), '\n');
        seen.push_back(dataOf(r, "iphelper"));
        r = request("POST", kHelper + "ih-ip-helper-address-next", seen.back());
        ASSERT_LT(seen.size(), 10u);
    }
    EXPECT_EQ(codeOf(r), 10023);
    EXPECT_EQ(r.out.back(), '\n');
    std::vector<std::string> want = {
        "{\"intIfNum\":0,\"udpPort\":67,\"serverAddr\":\"10.1.1.1\",\"discard\":false,\"isServerVrfSet\":false,"
        "\"serverVrfName\":\"\",\"hitCount\":0}",
        "{\"intIfNum\":5,\"udpPort\":53,\"serverAddr\":\"10.2.2.2\",\"discard\":false,\"isServerVrfSet\":false,"
        "\"serverVrfName\":\"\",\"hitCount\":0}",
        "{\"intIfNum\":30,\"udpPort\":69,\"serverAddr\":\"10.3.3.3\",\"discard\":false,\"isServerVrfSet\":false,"
        "\"serverVrfName\":\"\",\"hitCount\":0}",
    };
    EXPECT_EQ(seen, want);
    EXPECT_EQ(codeOf(request("POST", kHelper + "ih-ip-helper-address-next", "{not json")), 10003);
    // The addresses of one port, then every one that is listed.
    clearHistory();
    ASSERT_EQ(codeOf(request("DELETE", kHelper + "addresses?ifNum=5")), 0);
    EXPECT_NE(history().find("(Interface 1/0/5)#no ip helper-address\n"), std::string::npos) << history();
    EXPECT_EQ(seen[0], dataOf(first(), "iphelper"));
    clearHistory();
    ASSERT_EQ(codeOf(request("DELETE", kHelper + "addresses")), 0);
    std::string h = history();
    EXPECT_NE(h.find("--- /mnt/application/oxel/tmp/oxel_in_iph_addr_clr_all\n(KX810-A) #configure\n"
                     "(KX810-A) (Config)#no ip helper-address 10.1.1.1 67\n"
                     "(KX810-A) (Config)#no ip helper-address 10.3.3.3 69\n(KX810-A) (Config)#exit\n"),
              std::string::npos)
        << h;
    EXPECT_EQ(dataOf(first(), "iphelper"), seen[2]);  // a port's address is not global
}

TEST_F(Ipv6Routes, HelperStatisticsAndTheirClearing)
{
    std::string before = dataOf(request("GET", kHelper + "statistics"), "iphelper");
    EXPECT_EQ(before,
              "{\"dhcpClientMsgsReceived\":18,\"dhcpClientMsgsRelayed\":18,\"dhcpServerMsgsReceived\":16,"
              "\"dhcpServerMsgsRelayed\":16,\"udpClientMsgsReceived\":4,\"udpClientMsgsRelayed\":4,\"tooManyHops\":1,"
              "\"tooEarly\":0,\"spoofedGiaddr\":0,\"ttlExpired\":0,\"matchDiscardEntry\":2}");
    EXPECT_EQ(putThenGet("DELETE", kHelper + "statistics", "", kHelper + "statistics", "iphelper"),
              "{\"dhcpClientMsgsReceived\":0,\"dhcpClientMsgsRelayed\":0,\"dhcpServerMsgsReceived\":0,"
              "\"dhcpServerMsgsRelayed\":0,\"udpClientMsgsReceived\":0,\"udpClientMsgsRelayed\":0,\"tooManyHops\":0,"
              "\"tooEarly\":0,\"spoofedGiaddr\":0,\"ttlExpired\":0,\"matchDiscardEntry\":0}");
    EXPECT_NE(history().find("--- /mnt/application/oxel/tmp/oxel_in_iph_stat_clr\n(KX810-A) #clear ip helper "
                             "statistics\n"),
              std::string::npos);
}

TEST_F(Ipv6Routes, NoWorkFileIsLeftAfterAnyRequest)
{
    ASSERT_TRUE(workFiles().empty());
    const std::vector<std::vector<std::string>> requests = {
        {"GET", kIp6 + "ip6-vr-rtr-admin-mode"},
        {"PUT", kIp6 + "ip6-vr-rtr-admin-mode", "{\"mode\":1}"},
        {"PUT", kIp6 + "ip6-vr-rtr-admin-mode", "{bad"},
        {"PUT", kIp6 + "ip6-vr-rtr-default-ttl", "{\"val\":999}"},
        {"GET", kIp6 + "ipv6-route-count"},
        {"GET", kIp6 + "intf-valid-first"},
        {"GET", kIp6 + "intf-valid-next?prevIfNum=3"},
        {"GET", kIp6 + "ip6-rtr-dad-transmits?intIfNum=1"},
        {"GET", kIp6 + "ip6-rtr-dad-transmits?intIfNum=9"},
        {"GET", kIp6 + "ip6-rtr-dad-transmits"},
        {"PUT", kIp6 + "ip6-rtr-dad-transmits?intIfNum=1", "{\"val\":2}"},
        {"PUT", kIp6 + "ip6-rtr-dad-transmits?intIfNum=9", "{\"val\":2}"},
        {"GET", kRadv + "ip6-rtr-radv-min-adv-int?ifNum=1"},
        {"PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1", "{\"prefix\":\"2001:db8::\"}"},
        {"PUT", kRadv + "ip6-rtr-radv-prefix?ifNum=1", "{\"prefix\":\"2001:db8::\\n\"}"},
        {"GET", kHelper + "admin-mode"},
        {"PUT", kHelper + "admin-mode", "{\"adminMode\":\"enable\"}"},
        {"GET", kHelper + "statistics"},
        {"DELETE", kHelper + "statistics"},
        {"DELETE", kHelper + "addresses"},
        {"DELETE", kHelper + "addresses?ifNum=5"},
        {"POST", kHelper + "ih-ip-helper-address-first", "{}"},
        {"POST", kHelper + "ih-ip-helper-address-next", "{\"intIfNum\":1}"},
        {"PUT", kHelper + "bootp-dhcp-relay-source-interface", "{\"ifNum\":3}"},
        {"GET", kHelper + "bootp-dhcp-relay-source-interface"},
    };
    for (const auto& q : requests) {
        request(q[0], q[1], q.size() > 2 ? q[2] : "");
        std::vector<std::string> left = workFiles();
        EXPECT_TRUE(left.empty()) << q[0] << " " << q[1] << ": " << (left.empty() ? "" : left.front());
    }
    // A show the switch fails leaves no file either.
    sim.ctl({"fault", "openapiCliShowExecuteToFile", "-1"});
    EXPECT_EQ(codeOf(request("GET", kIp6 + "ip6-vr-rtr-admin-mode")), 10000);
    EXPECT_EQ(codeOf(request("GET", kHelper + "statistics")), 10000);
    sim.ctl({"clear-faults"});
    sim.ctl({"fault", "openapiTxtCfgApply", "-1"});
    EXPECT_EQ(codeOf(request("PUT", kIp6 + "ip6-vr-rtr-admin-mode", "{\"mode\":1}")), 10000);
    EXPECT_TRUE(workFiles().empty());
}

TEST(Ipv6RoutesState, SettingsSurviveARestartOfTheSwitch)
{
    const std::string path = "/tmp/ipv6_state.json";
    {
        harness::Simulator sim({"--state", path});
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
        ASSERT_EQ(codeOf(request("PUT", kRadv + "ip6-rtr-radv-max-adv-int?ifNum=1", "{\"maxAdvInt\":120}")), 0);
        ASSERT_EQ(codeOf(request("PUT", kHelper + "bootp-dhcp-relay-max-hop-count", "{\"maxHopCount\":9}")), 0);
        ASSERT_EQ(codeOf(request("PUT", kIp6 + "ip6-vr-rtr-admin-mode", "{\"mode\":1}")), 0);
    }
    EXPECT_NE(harness::readFile(path).find("\"ipv6\""), std::string::npos);
    harness::Simulator again({"--state", path});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(dataOf(request("GET", kRadv + "ip6-rtr-radv-max-adv-int?ifNum=1"), "ip6radv"), "{\"maxAdvInt\":120}");
    EXPECT_EQ(dataOf(request("GET", kHelper + "bootp-dhcp-relay-max-hop-count"), "iphelper"), "{\"maxHopCount\":9}");
    EXPECT_EQ(dataOf(request("GET", kIp6 + "ip6-vr-rtr-admin-mode"), "ip6map"), "{\"mode\":1}");
}

}  // namespace
