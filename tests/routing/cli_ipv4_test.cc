// pathgate's CLI-backed IPv4 routes against one simulated switch over
// several requests: static routes through "ip route" seen by the route table
// views and the switch-API lookups, IP interface views and setters, ARP,
// statistics, the scripts sent, refused request texts, and the work files.
#include <cjson/cJSON.h>
#include <dirent.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/routing/work_names.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using harness::envelope;
using harness::Json;
using harness::callsTo;
using harness::codeOf;
using harness::dataOf;
using harness::request;
using harness::workFiles;

const std::string kRouting = "/api/v2/routing/routing/";
const std::string kConfig = "/api/v2/routing/routing-config/";
const std::string kTable = "/api/v2/routing/ip-route-table/";
const std::string kArp = "/api/v2/routing/routing-arptable/";
const std::string kStats = "/api/v2/routing/routing-stats/";
const char* const kWorkDir = "/mnt/application/oxel/tmp";

class CliIpv4 : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    void TearDown() override { EXPECT_EQ(workFiles(), std::vector<std::string>()); }
    // VLAN 10 as routing interface 37 with three subnets.
    void vlanWithAddresses()
    {
        ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=10")), 0);
        for (const char* a : {"192.168.10.1/24", "10.20.0.1/16", "172.16.5.1/24"})
            ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-addr",
                                     std::string("{\"af\":1,\"intf\":37,\"ipAddr\":\"") + a + "\"}")),
                      0)
                << a;
    }
    // Every request leaves the work directory as it found it: empty.
    harness::CgiResult req(const std::string& method, const std::string& uri, const std::string& body = "")
    {
        harness::CgiResult r = request(method, uri, body);
        EXPECT_EQ(workFiles(), std::vector<std::string>()) << method << " " << uri;
        return r;
    }
    std::string history() { return routing_test::historyByStem(sim.ctl({"cli-history"})); }
    harness::Simulator sim;
};

std::string routeBody(const std::string& dest, int len, int pref, const std::string& hop)
{
    std::string b = "{\"route\":{\"destPfx\":\"" + dest + "\",\"pfxLen\":" + std::to_string(len);
    if (pref >= 0)
        b += ",\"pref\":" + std::to_string(pref);
    b += "}";
    if (!hop.empty())
        b += ",\"nextHops\":[{\"nhAddr\":\"" + hop + "\",\"ifNum\":0}]";
    return b + "}";
}

// --- Route table -----------------------------------------------------------

TEST_F(CliIpv4, StaticRouteThroughTheCliIsSeenByTheTableAndTheSwitchApi)
{
    vlanWithAddresses();
    harness::CgiResult add = req("POST", kRouting + "route", routeBody("10.99.0.0", 16, 5, "192.168.10.2"));
    EXPECT_EQ(codeOf(add), 0);
    EXPECT_EQ(add.out.back(), '\n');
    EXPECT_NE(history().find("--- /mnt/application/oxel/tmp/oxel_in_rtr_routeadd\n"
                             "(KX810-A) #ip route 10.99.0.0 255.255.0.0 192.168.10.2 5\n"),
              std::string::npos)
        << history();

    harness::CgiResult next = req("POST", kTable + "entry-get-next",
                                  "{\"routeDest\":\"10.20.0.0\",\"routeMask\":\"255.255.0.0\",\"routeProto\":3}");
    EXPECT_EQ(codeOf(next), 0);
    EXPECT_NE(next.out.back(), '\n');
    EXPECT_EQ(dataOf(next, "ipRouteTable"),
              "{\"routeDest\":\"10.99.0.0\",\"routeMask\":\"255.255.0.0\",\"routeProto\":3,\"routePref\":0}");

    std::string q = "?routeDest=10.99.0.0&routeMask=255.255.0.0&routeProto=3";
    EXPECT_EQ(dataOf(req("GET", kTable + "next-hop-addr" + q), "ipRouteTable"), "{\"nextHopAddr\":\"192.168.10.2\"}");
    EXPECT_EQ(dataOf(req("GET", kTable + "next-hop-intf" + q), "ipRouteTable"), "{\"nextHopIntf\":\"vlan 10\"}");
    EXPECT_EQ(dataOf(req("GET", kTable + "metric" + q), "ipRouteTable"), "{\"metric\":0}");
    EXPECT_EQ(codeOf(req("GET", kTable + "metric?routeDest=10.99.0.0&routeMask=255.255.0.0&routeProto=1")), 10023);

    // The switch API sees the same route.
    harness::CgiResult look = req("POST", kRouting + "best-route-lookup", "{\"destAddr\":\"10.99.4.5\"}");
    EXPECT_EQ(dataOf(look, "routing"),
              "{\"route\":{\"destPfx\":\"10.99.0.0\",\"pfxLen\":16,\"routeType\":2,\"protoId\":2,\"rejectRoute\":0,"
              "\"discardRoute\":0,\"pref\":5,\"metric\":0,\"numNextHops\":1,\"leakedRoute\":0,\"rfc5549Route\":0,"
              "\"unnumberedRoute\":0},\"nextHops\":[{\"nhAddr\":\"192.168.10.2\",\"ifNum\":37}]}");
    EXPECT_EQ(codeOf(req("POST", kRouting + "prefix-find", "{\"destPrefix\":\"10.99.0.0\",\"pfxLen\":16}")), 0);

    // And the CLI view of the static routes.
    std::string want = "{\"route\":{\"destPfx\":\"10.99.0.0\",\"pfxLen\":16,\"routeType\":0,\"protoId\":0,"
                       "\"rejectRoute\":0,\"discardRoute\":0,\"pref\":5,\"metric\":0,\"numNextHops\":1,"
                       "\"leakedRoute\":0,\"rfc5549Route\":0,\"unnumberedRoute\":0},"
                       "\"nextHops\":[{\"nhAddr\":\"192.168.10.2\",\"ifNum\":37}]}";
    EXPECT_EQ(dataOf(req("GET", kRouting + "best-route-next"), "routing"), want);
    EXPECT_EQ(dataOf(req("GET", kRouting + "route-next?destPfx=0.0.0.0&pfxLen=0"), "routing"), want);
    EXPECT_EQ(codeOf(req("GET", kRouting + "route-next?destPfx=10.99.0.0&pfxLen=16")), 10023);
}

TEST_F(CliIpv4, GetNextTakesTheLongerPrefixOfTheSameNetwork)
{
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=10")), 0);
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=20")), 0);
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-addr", "{\"af\":1,\"intf\":37,\"ipAddr\":\"10.1.1.1/8\"}")), 0);
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-addr", "{\"af\":1,\"intf\":38,\"ipAddr\":\"10.0.0.1/24\"}")), 0);
    harness::CgiResult r = req("POST", kTable + "entry-get-next",
                               "{\"routeDest\":\"10.0.0.0\",\"routeMask\":\"255.0.0.0\",\"routeProto\":1}");
    EXPECT_EQ(dataOf(r, "ipRouteTable"),
              "{\"routeDest\":\"10.0.0.0\",\"routeMask\":\"255.255.255.0\",\"routeProto\":1,\"routePref\":0}");
    // An empty start takes the first line; the end of the table is 10023 with a newline.
    EXPECT_EQ(dataOf(req("POST", kTable + "entry-get-next", "{\"routeDest\":\"\"}"), "ipRouteTable"),
              "{\"routeDest\":\"10.0.0.0\",\"routeMask\":\"255.0.0.0\",\"routeProto\":1,\"routePref\":0}");
    harness::CgiResult end = req("POST", kTable + "entry-get-next",
                                 "{\"routeDest\":\"10.0.0.0\",\"routeMask\":\"255.255.255.0\",\"routeProto\":0}");
    EXPECT_EQ(codeOf(end), 10023);
    EXPECT_EQ(end.out.back(), '\n');
    EXPECT_EQ(codeOf(req("POST", kTable + "entry-get-next", "{\"routeDest\":\"10.0.0.0\",\"routeProto\":3}")), 10023);
    EXPECT_EQ(dataOf(req("GET", kTable + "next-hop-intf?routeDest=10.0.0.0&routeMask=255.255.255.0&routeProto=1"),
                     "ipRouteTable"),
              "{\"nextHopIntf\":\"vlan 20\"}");
    EXPECT_EQ(dataOf(req("GET", kTable + "next-hop-addr?routeDest=10.0.0.0&routeMask=255.0.0.0&routeProto=0"),
                     "ipRouteTable"),
              "{\"nextHopAddr\":\"0.0.0.0\"}");
    EXPECT_EQ(dataOf(req("GET", kTable + "metric?routeDest=10.0.0.0&routeMask=255.0.0.0&routeProto=1"), "ipRouteTable"),
              "{\"metric\":1}");
}

TEST_F(CliIpv4, PreferenceOneSendsTheLineWithoutAPreference)
{
    vlanWithAddresses();
    sim.ctl({"clear-cli-history"});
    ASSERT_EQ(codeOf(req("POST", kRouting + "route", routeBody("10.98.0.0", 16, 1, "192.168.10.2"))), 0);
    ASSERT_EQ(codeOf(req("POST", kRouting + "route-add-vr", routeBody("10.97.0.0", 16, -1, "192.168.10.3"))), 0);
    ASSERT_EQ(codeOf(req("POST", kRouting + "route", routeBody("10.96.0.0", 16, 2, "192.168.10.4"))), 0);
    EXPECT_EQ(history(), "--- /mnt/application/oxel/tmp/oxel_in_rtr_routeadd\n"
                         "(KX810-A) #ip route 10.98.0.0 255.255.0.0 192.168.10.2\n"
                         "--- /mnt/application/oxel/tmp/oxel_in_rtr_routeaddvr\n"
                         "(KX810-A) #ip route 10.97.0.0 255.255.0.0 192.168.10.3\n"
                         "--- /mnt/application/oxel/tmp/oxel_in_rtr_routeadd\n"
                         "(KX810-A) #ip route 10.96.0.0 255.255.0.0 192.168.10.4 2\n");
}

TEST_F(CliIpv4, ModifyAndDeleteSendTheNoForms)
{
    vlanWithAddresses();
    ASSERT_EQ(codeOf(req("POST", kRouting + "route", routeBody("10.99.0.0", 16, 5, "192.168.10.2"))), 0);
    sim.ctl({"clear-cli-history"});
    ASSERT_EQ(codeOf(req("POST", kRouting + "route-mod", routeBody("10.99.0.0", 16, 7, "172.16.5.9"))), 0);
    std::string look = dataOf(req("POST", kRouting + "best-route-lookup", "{\"destAddr\":\"10.99.4.5\"}"), "routing");
    EXPECT_NE(look.find("\"pref\":7"), std::string::npos) << look;
    EXPECT_NE(look.find("[{\"nhAddr\":\"172.16.5.9\",\"ifNum\":37}]"), std::string::npos) << look;
    harness::CgiResult del = req("POST", kRouting + "route-del", "{\"route\":{\"destPfx\":\"10.99.0.0\",\"pfxLen\":16}}");
    EXPECT_EQ(codeOf(del), 0);
    EXPECT_EQ(del.out.back(), '\n');
    EXPECT_EQ(history(), "--- /mnt/application/oxel/tmp/oxel_in_rtr_routemod\n"
                         "(KX810-A) #no ip route 10.99.0.0 255.255.0.0\n"
                         "(KX810-A) (Config)#ip route 10.99.0.0 255.255.0.0 172.16.5.9 7\n"
                         "--- /mnt/application/oxel/tmp/oxel_in_rtr_routedel\n"
                         "(KX810-A) #no ip route 10.99.0.0 255.255.0.0\n");
    EXPECT_EQ(codeOf(req("POST", kRouting + "best-route-lookup", "{\"destAddr\":\"10.99.4.5\"}")), 10023);
    EXPECT_EQ(codeOf(req("GET", kRouting + "best-route-next")), 10023);
}

// --- Refused request texts ---------------------------------------------------

TEST_F(CliIpv4, RequestTextsThatAreNotOneValueAreRefusedBeforeAnyScript)
{
    vlanWithAddresses();
    struct Case {
        const char* method;
        std::string uri, body;
    } cases[] = {
        {"POST", kRouting + "route", "{route:"},
        {"POST", kRouting + "route", ""},
        {"POST", kRouting + "route", routeBody("10.99.0.0\\nexit", 16, 1, "192.168.10.2")},
        {"POST", kRouting + "route", routeBody("10.99.0.0", 16, 1, "192.168.10.2\\r\\nno ip route 0.0.0.0 0.0.0.0")},
        {"POST", kRouting + "route", routeBody("10.99.0.0", 16, 1, "192.168.10.2\\t")},
        {"POST", kRouting + "route", routeBody("10.99.0.0", 16, 1, "")},
        {"POST", kRouting + "route", routeBody("10.99.0.0", 40, 1, "192.168.10.2")},
        {"POST", kRouting + "route", routeBody("10.99.0.0", 16, 300, "192.168.10.2")},
        {"POST", kRouting + "route", routeBody("2001:db8::", 32, 1, "192.168.10.2")},
        {"POST", kRouting + "route", routeBody("10.99.0.0", 16, 1, "fe80::1")},
        {"POST", kRouting + "route", "{\"route\":\"10.99.0.0\"}"},
        {"POST", kRouting + "route-add-vr", routeBody("10.99.0.0 255.255.0.0 1.1.1.1", 16, 1, "192.168.10.2")},
        {"POST", kRouting + "route-mod", routeBody("10.99.0.0", 16, 1, "192.168.10.2\\u001b")},
        {"POST", kRouting + "route-del", "{\"route\":{\"destPfx\":\"10.99.0.0\\n\",\"pfxLen\":16}}"},
        {"POST", kRouting + "route-del", "{\"route\":{\"destPfx\":\"10.99.0.0\",\"pfxLen\":-1}}"},
        {"POST", kConfig + "rtr-ip-arp-entry-purge", "{\"ipAddr\":\"10.20.0.9\\nclear arp-switch\"}"},
        {"POST", kConfig + "rtr-ip-arp-entry-purge", "{\"ipAddr\":\"10.20.0.999\"}"},
        {"POST", kConfig + "rtr-ip-arp-entry-purge", "{\"ipAddr\":7}"},
        {"DELETE", kConfig + "ip-map-static-arp?ipAddress=10.20.0.9%0a", ""},
        {"DELETE", kConfig + "ip-map-static-arp", ""},
        {"POST", kConfig + "ip-map-static-arp", "{\"ipAddress\":\"10.20.0.9\",\"macAddr\":\"00:11:22:33:44:5\\n\"}"},
        {"POST", kConfig + "ip-map-static-arp", "{\"ipAddress\":\"10.20.0.9\",\"macAddr\":\"00:11:22:33:44:zz\"}"},
        {"POST", kConfig + "ip-map-static-arp", "{\"ipAddress\":\"10.20.0.9\\r\",\"macAddr\":\"00:11:22:33:44:55\"}"},
        {"POST", kConfig + "ip-map-static-arp", "{\"ipAddress\":\"10.20.0.9\"}"},
        {"PUT", kConfig + "rtr-ip-arp-cache-size", "{\"cacheSize\":\"512\\n\"}"},
        {"PUT", kConfig + "rtr-ip-arp-cache-size", "{\"cacheSize\":-1}"},
        {"PUT", kConfig + "rtr-ip-arp-retries", "{}"},
        {"PUT", kConfig + "rtr-ip-arp-resp-time", "{\"timeout\":1.5}"},
        {"PUT", kConfig + "rtr-ip-arp-age-time", "[1]"},
        {"PUT", kConfig + "rtr-ip-arp-dynamic-renew", "{\"dynRenewMode\":{\"a\":1}}"},
        {"PUT", kConfig + "if-bandwidth?ifNum=5", "{\"bandwidth\":\"100\\nexit\"}"},
        {"PUT", kConfig + "if-bandwidth?ifNum=5", "{}"},
        {"PUT", kConfig + "rtr-local-proxy-arp-mode?intIfNum=5", "{\"localProxyArpMode\":[\"enable\"]}"},
        {"PUT", kConfig + "rtr-grat-arp?intIfNum=5", "not json"},
        {"PUT", kConfig + "rtr-ip-unnumbered-grat-arp?intIfNum=5", ""},
        {"PUT", kConfig + "ip-rtr-intf-auto-state-mode?ifNum=5", "{\"mode\":"},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = req(c.method, c.uri, c.body);
        EXPECT_EQ(codeOf(r), 10003) << c.method << " " << c.uri << " " << c.body;
        EXPECT_EQ(r.out.back(), '\n') << c.uri;
    }
    EXPECT_EQ(callsTo(sim, "openapiTxtCfgApply"), 0);
    EXPECT_EQ(history(), "");
}

// --- IP interface ------------------------------------------------------------------

TEST_F(CliIpv4, InterfaceSettersRoundTripThroughShowIpInterface)
{
    std::string c = kConfig;
    EXPECT_EQ(dataOf(req("GET", c + "rtr-local-proxy-arp-mode?intIfNum=5"), "routingConfig"),
              "{\"localProxyArpMode\":\"disable\"}");
    harness::CgiResult put = req("PUT", c + "rtr-local-proxy-arp-mode?intIfNum=5", "{\"localProxyArpMode\":\"enable\"}");
    EXPECT_EQ(codeOf(put), 0);
    EXPECT_EQ(put.out.back(), '\n');
    EXPECT_EQ(dataOf(req("GET", c + "rtr-local-proxy-arp-mode?intIfNum=5"), "routingConfig"),
              "{\"localProxyArpMode\":\"enable\"}");
    EXPECT_EQ(dataOf(req("GET", c + "rtr-local-proxy-arp-mode?intIfNum=6"), "routingConfig"),
              "{\"localProxyArpMode\":\"disable\"}");

    ASSERT_EQ(codeOf(req("PUT", c + "ip-rtr-intf-auto-state-mode?ifNum=5", "{\"mode\":\"disable\"}")), 0);
    EXPECT_EQ(dataOf(req("GET", c + "ip-rtr-intf-auto-state-mode?ifNum=5"), "routingConfig"), "{\"mode\":\"disable\"}");
    ASSERT_EQ(codeOf(req("PUT", c + "ip-rtr-intf-auto-state-mode?ifNum=5", "{\"mode\":\"enable\"}")), 0);
    EXPECT_EQ(dataOf(req("GET", c + "ip-rtr-intf-auto-state-mode?ifNum=5"), "routingConfig"), "{\"mode\":\"enable\"}");

    EXPECT_EQ(dataOf(req("GET", c + "if-bandwidth?ifNum=5"), "routingConfig"), "{\"bandwidth\":1000000}");
    ASSERT_EQ(codeOf(req("PUT", c + "if-bandwidth?ifNum=5", "{\"bandwidth\":50000}")), 0);
    EXPECT_EQ(dataOf(req("GET", c + "if-bandwidth?ifNum=5"), "routingConfig"), "{\"bandwidth\":50000}");
    EXPECT_EQ(dataOf(req("GET", c + "if-bw?ifNum=5"), "routingConfig"), "{\"bandwidth\":50000}");

    ASSERT_EQ(codeOf(req("PUT", c + "rtr-grat-arp?intIfNum=5", "{\"gratArpState\":\"disable\"}")), 0);
    ASSERT_EQ(codeOf(req("PUT", c + "rtr-ip-unnumbered-grat-arp?intIfNum=5", "{\"isEnabled\":true}")), 0);

    // Switch-API setters change what the CLI shows.
    ASSERT_EQ(codeOf(req("PUT", c + "rtr-intf-ip-proxy-arp-mode", "{\"intf\":5,\"ipProxyArpMode\":1}")), 0);
    ASSERT_EQ(codeOf(req("PUT", c + "rtr-intf-mtu", "{\"af\":1,\"intf\":5,\"MTU\":1400}")), 0);
    ASSERT_EQ(codeOf(req("PUT", c + "rtr-intf-ip-net-dir-broadcast-mode", "{\"intf\":5,\"ipNetBroadcastMode\":1}")), 0);
    ASSERT_EQ(codeOf(req("PUT", c + "rtr-intf-ip-redirects-mode", "{\"intf\":5,\"redirectsMode\":0}")), 0);
    ASSERT_EQ(codeOf(req("PUT", c + "rtr-intf-ip-dest-unreachable-mode", "{\"intf\":5,\"unreachableMode\":0}")), 0);
    ASSERT_EQ(codeOf(req("PUT", c + "rtr-intf-rtr-admin-mode", "{\"intf\":5,\"routingMode\":0}")), 0);
    EXPECT_EQ(dataOf(req("GET", c + "rtr-intf-ip-proxy-arp-mode?intIfNum=5"), "routingConfig"),
              "{\"ipProxyArpMode\":\"enable\"}");
    EXPECT_EQ(dataOf(req("GET", c + "intf-ipv4-mtu?ifNum=5"), "routingConfig"), "{\"ipMtu\":1400}");
    EXPECT_EQ(dataOf(req("GET", c + "intf-effective-ip-mtu?ifNum=5"), "routingConfig"), "{\"ipMtu\":1400}");
    EXPECT_EQ(dataOf(req("GET", c + "ip-net-direct-bcasts?ifNum=5"), "routingConfig"), "{\"mode\":\"enable\"}");
    EXPECT_EQ(dataOf(req("GET", c + "ip-map-if-icmp-redirects-mode?ifNum=5"), "routingConfig"), "{\"mode\":\"disable\"}");
    EXPECT_EQ(dataOf(req("GET", c + "ip-map-icmp-unreachables-mode?ifNum=5"), "routingConfig"), "{\"mode\":\"disable\"}");
    EXPECT_EQ(dataOf(req("GET", c + "ip-rtr-intf-mode?ifNum=5"), "routingConfig"), "{\"mode\":\"disable\"}");
    EXPECT_EQ(dataOf(req("GET", c + "ip-rtr-intf-oper-mode?ifNum=5"), "routingConfig"), "{\"mode\":\"disable\"}");

    EXPECT_NE(history().find("--- /mnt/application/oxel/tmp/oxel_in_rcfg_localProxyArp\n"
                             "(KX810-A) #interface 1/0/5\n"
                             "(KX810-A) (Interface 1/0/5)#ip local-proxy-arp\n"
                             "(KX810-A) (Interface 1/0/5)#exit\n"),
              std::string::npos)
        << history();
    for (const char* line : {"#no auto-state\n", "#bandwidth 50000\n", "#no ip gratuitous-arp\n",
                             "#ip unnumbered gratuitous-arp\n"})
        EXPECT_NE(history().find(line), std::string::npos) << line;

    // The state file keeps what the CLI changed.
    Json state(sim.ctl({"dump"}));
    const cJSON* intf = cJSON_GetArrayItem(
        cJSON_GetObjectItemCaseSensitive(cJSON_GetObjectItemCaseSensitive(state.root, "ipv4Cli"), "intfs"), 0);
    ASSERT_TRUE(intf);
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(intf, "bandwidth")->valueint, 50000);
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(intf, "localProxyArp")->valueint, 1);
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(intf, "gratArp")->valueint, 0);
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(intf, "unnumberedGratArp")->valueint, 1);
}

TEST_F(CliIpv4, InterfacesWithoutUnitSlotPortAreUnsupported)
{
    vlanWithAddresses();
    EXPECT_EQ(codeOf(req("GET", kConfig + "if-bandwidth?ifNum=37")), 17002);
    EXPECT_EQ(codeOf(req("PUT", kConfig + "if-bandwidth?ifNum=37", "{\"bandwidth\":10}")), 17002);
    EXPECT_EQ(codeOf(req("GET", kConfig + "ip-rtr-intf-mode?ifNum=999")), 10003);
    EXPECT_EQ(callsTo(sim, "openapiTxtCfgApply"), 0);
}

TEST_F(CliIpv4, AddressMethodOfAnInterface)
{
    EXPECT_EQ(dataOf(req("GET", kRouting + "rtr-intf-ip-addr-method?intf=5"), "routing"),
              "{\"addrMethod\":0,\"clientIdEnable\":0}");
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-addr", "{\"af\":1,\"intf\":5,\"ipAddr\":\"10.5.0.1/24\"}")), 0);
    EXPECT_EQ(dataOf(req("GET", kRouting + "rtr-intf-ip-addr-method?intf=5"), "routing"),
              "{\"addrMethod\":1,\"clientIdEnable\":0}");
    // Port 5 has no link; port 3 has one.
    EXPECT_EQ(dataOf(req("GET", kConfig + "ip-rtr-intf-oper-mode?ifNum=5"), "routingConfig"), "{\"mode\":\"disable\"}");
    ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-addr", "{\"af\":1,\"intf\":3,\"ipAddr\":\"10.3.0.1/24\"}")), 0);
    EXPECT_EQ(dataOf(req("GET", kConfig + "ip-rtr-intf-oper-mode?ifNum=3"), "routingConfig"), "{\"mode\":\"enable\"}");
}

// --- ARP -------------------------------------------------------------------------------

TEST_F(CliIpv4, ArpSettingsRoundTrip)
{
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-cache-size"), "routingArptable"), "{\"cacheSize\":896}");
    ASSERT_EQ(codeOf(req("PUT", kConfig + "rtr-ip-arp-cache-size", "{\"cacheSize\":1024}")), 0);
    ASSERT_EQ(codeOf(req("PUT", kConfig + "rtr-ip-arp-retries", "{\"count\":6}")), 0);
    ASSERT_EQ(codeOf(req("PUT", kConfig + "rtr-ip-arp-resp-time", "{\"timeout\":3}")), 0);
    ASSERT_EQ(codeOf(req("PUT", kConfig + "rtr-ip-arp-age-time", "{\"timeout\":600}")), 0);
    ASSERT_EQ(codeOf(req("PUT", kConfig + "rtr-ip-arp-dynamic-renew", "{\"dynRenewMode\":\"enable\"}")), 0);
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-cache-size"), "routingArptable"), "{\"cacheSize\":1024}");
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-num-retries"), "routingArptable"), "{\"numRetries\":6}");
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-response-time"), "routingArptable"), "{\"responseTime\":3}");
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-age-time"), "routingArptable"), "{\"ageTime\":600}");
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-dynamic-renew-mode"), "routingArptable"), "{\"dynamicRenewMode\":1}");
    EXPECT_EQ(dataOf(req("GET", kConfig + "rtr-ip-arp-dynamic-renew"), "routingConfig"), "{\"dynRenewMode\":1}");
    ASSERT_EQ(codeOf(req("PUT", kConfig + "rtr-ip-arp-dynamic-renew", "{\"dynRenewMode\":\"disable\"}")), 0);
    EXPECT_EQ(dataOf(req("GET", kConfig + "rtr-ip-arp-dynamic-renew"), "routingConfig"), "{\"dynRenewMode\":0}");
    std::string h = history();
    for (const char* line : {"#arp cachesize 1024\n", "#arp retries 6\n", "#arp resptime 3\n", "#arp timeout 600\n",
                             "#arp dynamicrenew\n", "#no arp dynamicrenew\n"})
        EXPECT_NE(h.find(line), std::string::npos) << line << h;
    EXPECT_NE(h.find("--- /mnt/application/oxel/tmp/oxel_in_rcfg_arpCache\n"), std::string::npos);
}

TEST_F(CliIpv4, ArpEntriesAndCounters)
{
    vlanWithAddresses();
    ASSERT_EQ(codeOf(req("POST", kConfig + "ip-map-static-arp",
                         "{\"ipAddress\":\"192.168.10.7\",\"macAddr\":\"00:1A:2B:3C:4D:5E\"}")),
              0);
    ASSERT_EQ(codeOf(req("POST", kRouting + "kernel-arp?stkIfIndex=137",
                         "{\"vrfId\":0,\"destAddr\":\"10.20.0.9\",\"mac\":\"00:11:22:33:44:55\",\"state\":1}")),
              0);
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-total-entry-count-info"), "routingArptable"), "{\"current\":2,\"peak\":2}");
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-static-entry-count-info"), "routingArptable"),
              "{\"configured\":1,\"active\":1,\"max\":128}");
    EXPECT_EQ(dataOf(req("GET", kConfig + "ip-arp-cache-stats"), "routingConfig"),
              "{\"cacheCurrent\":2,\"cachePeak\":2,\"staticMax\":128}");

    EXPECT_EQ(dataOf(req("GET", kArp + "arp-entry-vrf-next?ipAddr=0.0.0.0"), "routingArptable"),
              "{\"intf\":37,\"ipAddr\":\"10.20.0.9\"}");
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-entry-vrf-with-mac-next?ipAddr=10.20.0.9"), "routingArptable"),
              "{\"intf\":37,\"ipAddr\":\"192.168.10.7\",\"macAddr\":\"00:1a:2b:3c:4d:5e\"}");
    EXPECT_EQ(codeOf(req("GET", kArp + "arp-entry-vrf-next?ipAddr=192.168.10.7")), 10023);
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-entry-info?ipAddr=192.168.10.7"), "routingArptable"),
              "{\"type\":1,\"age\":0,\"ipAddr\":\"192.168.10.7\",\"vrfId\":0,\"macAddr\":\"00:1a:2b:3c:4d:5e\","
              "\"vlanId\":10,\"intIfNum\":37,\"hits\":0}");
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-entry-info?ipAddr=10.20.0.9"), "routingArptable"),
              "{\"type\":0,\"age\":0,\"ipAddr\":\"10.20.0.9\",\"vrfId\":0,\"macAddr\":\"00:11:22:33:44:55\","
              "\"vlanId\":10,\"intIfNum\":37,\"hits\":0}");
    EXPECT_EQ(codeOf(req("GET", kArp + "arp-entry-info?ipAddr=10.20.0.10")), 10023);

    // The switch API sees the static entry the CLI added.
    EXPECT_EQ(dataOf(req("GET", kConfig + "arp-entry-next?intf=37&ipAddr=10.20.0.9"), "routingConfig"),
              "{\"intf\":37,\"ipAddr\":\"192.168.10.7\",\"macAddr\":\"00:1a:2b:3c:4d:5e\"}");

    // Clearing the cache leaves the static entry; deleting it leaves none.
    harness::CgiResult clr = req("DELETE", kConfig + "rtr-ip-arp-cache?gateway=true");
    EXPECT_EQ(codeOf(clr), 0);
    EXPECT_EQ(clr.out.back(), '\n');
    EXPECT_EQ(dataOf(req("GET", kArp + "arp-total-entry-count-info"), "routingArptable"), "{\"current\":1,\"peak\":2}");
    ASSERT_EQ(codeOf(req("DELETE", kConfig + "ip-map-static-arp?ipAddress=192.168.10.7")), 0);
    EXPECT_EQ(codeOf(req("GET", kArp + "arp-entry-vrf-next?ipAddr=0.0.0.0")), 10023);
    ASSERT_EQ(codeOf(req("DELETE", kConfig + "rtr-arp-switch")), 0);
    ASSERT_EQ(codeOf(req("POST", kConfig + "rtr-ip-arp-entry-purge", "{\"ipAddr\":\"10.20.0.9\"}")), 0);
    std::string h = history();
    for (const char* line : {"oxel_in_rcfg_staticArpAdd\n(KX810-A) #arp 192.168.10.7 00:1a:2b:3c:4d:5e\n",
                             "oxel_in_rcfg_arpClear\n(KX810-A) #clear arp-cache gateway\n",
                             "oxel_in_rcfg_staticArpDel\n(KX810-A) #no arp 192.168.10.7\n",
                             "oxel_in_rcfg_arpSwClear\n(KX810-A) #clear arp-switch\n",
                             "oxel_in_rcfg_arpPurge\n(KX810-A) #no arp 10.20.0.9\n"})
        EXPECT_NE(h.find(line), std::string::npos) << line << h;
    ASSERT_EQ(codeOf(req("DELETE", kConfig + "rtr-ip-arp-cache")), 0);
    EXPECT_NE(history().find("#clear arp-cache\n"), std::string::npos);
}

TEST_F(CliIpv4, AFailedShowAnswersPerGroupAndLeavesNoFile)
{
    sim.ctl({"fault", "openapiCliShowExecuteToFile", "-1"});
    EXPECT_EQ(codeOf(req("GET", kArp + "arp-age-time")), 17002);
    EXPECT_EQ(codeOf(req("GET", kConfig + "ip-arp-cache-stats")), 17002);
    EXPECT_EQ(codeOf(req("GET", kArp + "arp-entry-info?ipAddr=1.2.3.4")), 17002);
    EXPECT_EQ(codeOf(req("GET", kRouting + "rtr-ipv4-stats")), 10000);
    EXPECT_EQ(codeOf(req("GET", kStats + "ipv4-route-table-stats")), 10000);
    EXPECT_EQ(codeOf(req("GET", kConfig + "if-bw?ifNum=5")), 10000);
    harness::CgiResult r = req("POST", kTable + "entry-get-next", "{}");
    EXPECT_EQ(codeOf(r), 10000);
    EXPECT_EQ(r.out.back(), '\n');
    sim.ctl({"clear-faults"});
    sim.ctl({"fault", "openapiTxtCfgApply", "-1"});
    EXPECT_EQ(codeOf(req("PUT", kConfig + "rtr-ip-arp-retries", "{\"count\":3}")), 10000);
    EXPECT_EQ(codeOf(req("POST", kRouting + "route-del", "{\"route\":{\"destPfx\":\"10.0.0.0\",\"pfxLen\":8}}")), 10000);
}

// --- Statistics ---------------------------------------------------------------------------

TEST_F(CliIpv4, RouteSummaryCounters)
{
    vlanWithAddresses();
    ASSERT_EQ(codeOf(req("POST", kRouting + "route", routeBody("10.99.0.0", 16, 1, "192.168.10.2"))), 0);
    ASSERT_EQ(codeOf(req("POST", kRouting + "route", routeBody("10.99.0.0", 16, 1, "192.168.10.3"))), 0);
    EXPECT_EQ(dataOf(req("GET", kStats + "num-ecmp-routes"), "routingStats"), "{\"count\":1}");
    EXPECT_EQ(dataOf(req("GET", kStats + "ipv4-route-table-stats"), "routingStats"),
              "{\"bestRoutes\":4,\"bestRoutesHigh\":4,\"altRoutes\":0,\"leakedRoutes\":0,\"leakedRoutesValid\":false,"
              "\"mplsRoutes\":0,\"mplsRoutesValid\":false,\"rfc5549Routes\":0,\"rfc5549RoutesValid\":false,"
              "\"rejectRoutes\":0,\"rejectRoutesValid\":true,\"adds\":0,\"mods\":0,\"dels\":0,\"invalidAdds\":0,"
              "\"unresAdds\":0,\"failedAdds\":0,\"activeLocals\":3,\"resvLocals\":0,\"nextHops\":2,"
              "\"nextHopsHigh\":2,\"ecmpRoutes\":1,\"nextHopGroups\":1,\"nhGroupsHigh\":1,\"ecmpGroups\":1,"
              "\"ecmpGroupsHigh\":1,\"ecmpTruncs\":0,\"ecmpRetries\":0,\"hwFailureRoutes\":0,\"kernelFailedAdds\":0,"
              "\"numRoutes\":\"\",\"ecmpHisto\":\"\"}");
    std::string v6 = dataOf(req("GET", kStats + "ipv6-route-table-stats"), "routingStats");
    const std::string tail = ",\"numRoutes\":\"\",\"ecmpHisto\":\"\",\"prefixesNo\":\"\"}";
    EXPECT_EQ(v6.rfind(tail), v6.size() - tail.size()) << v6;
    EXPECT_EQ(v6.rfind("{\"bestRoutes\":0,\"bestRoutesHigh\":0,\"altRoutes\":0,", 0), 0u) << v6;
    EXPECT_EQ(dataOf(req("GET", kStats + "num-ipv6-prefixes"), "routingStats"), "{\"count\":0}");
}

}  // namespace

// The IPv4 counters of a switch that has been routing for a while.
TEST(CliIpv4Stats, CountersOfShowIpStats)
{
    unlink("/tmp/ipv4_stats_state.json");
    {
        harness::Simulator blank({"--state", "/tmp/ipv4_stats_state.json"});
        (void)blank;
    }
    std::string state = harness::readFile("/tmp/ipv4_stats_state.json");
    ASSERT_FALSE(state.empty());
    size_t at = state.find("\"IpInReceives\":\t\"0\"");
    ASSERT_NE(at, std::string::npos) << state.substr(0, 200);
    state.replace(at, strlen("\"IpInReceives\":\t\"0\""), "\"IpInReceives\":\t\"12345678901\"");
    at = state.find("\"IpOutNoRoutes\":\t\"0\"");
    ASSERT_NE(at, std::string::npos);
    state.replace(at, strlen("\"IpOutNoRoutes\":\t\"0\""), "\"IpOutNoRoutes\":\t\"7\"");
    harness::writeFile("/tmp/ipv4_stats_state.json", state);
    harness::Simulator sim({"--state", "/tmp/ipv4_stats_state.json"});
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    harness::CgiResult r = request("GET", kRouting + "rtr-ipv4-stats");
    EXPECT_EQ(codeOf(r), 0);
    EXPECT_NE(r.out.back(), '\n');
    std::string d = dataOf(r, "routing");
    EXPECT_EQ(d.rfind("{\"ipInReceives\":12345678901,\"ipInHdrErrors\":0,", 0), 0u) << d;
    EXPECT_NE(d.find(",\"ipNoRoutes\":7,"), std::string::npos) << d;
    EXPECT_NE(d.find(",\"icmpOutAddrMaskReps\":0}"), std::string::npos) << d;
    Json j(d);
    EXPECT_EQ(cJSON_GetArraySize(j.root), 44);
}

namespace {

// --- Registration of every CLI row of these directories ----------------------

struct CliRow {
    std::string dir, leaf, method, handler;
};

// The CLI rows of these directories' table files: a row names its directory
// by the DIRECTORY line of its file.
std::vector<CliRow> cliRows()
{
    std::vector<CliRow> rows;
    for (const char* f : {"routes_ip_route_table.def", "routes_routing.def", "routes_routing_arptable.def",
                          "routes_routing_config.def", "routes_routing_stats.def"}) {
        std::istringstream in(harness::readFile(harness::sourcePath(std::string("routing/") + f)));
        std::string line, dirPath;
        while (std::getline(in, line)) {
            if (line.rfind("DIRECTORY(", 0) == 0) {
                size_t a = line.find('"') + 1;
                dirPath = line.substr(a, line.find('"', a) - a);
                continue;
            }
            if (line.rfind("CLI(", 0) != 0)
                continue;
            CliRow r;
            r.dir = dirPath;
            size_t a = line.find('"') + 1, b = line.find('"', a);
            r.leaf = line.substr(a, b - a);
            a = b + 3;
            b = line.find(',', a);
            r.method = line.substr(a, b - a);
            a = b + 2;
            b = line.find(',', a);
            r.handler = line.substr(a, b - a);
            rows.push_back(r);
        }
    }
    return rows;
}

TEST(CliIpv4Table, EveryRowIsRegisteredAndAnswersOneEnvelope)
{
    std::vector<CliRow> rows = cliRows();
    EXPECT_EQ(rows.size(), 57u);
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    for (const CliRow& r : rows) {
        bool write = r.method != "GET";
        harness::CgiResult res = request(r.method, r.dir + "/" + r.leaf, write ? "{}" : "");
        std::string where = r.method + " " + r.dir + "/" + r.leaf;
        EXPECT_EQ(res.status, 0) << where;
        auto e = envelope(res);
        const cJSON* resp = cJSON_GetObjectItemCaseSensitive(e->root, "resp");
        ASSERT_TRUE(cJSON_IsObject(resp)) << where << res.out;
        int code = cJSON_GetObjectItemCaseSensitive(resp, "respCode")->valueint;
        EXPECT_STREQ(cJSON_GetObjectItemCaseSensitive(resp, "status")->valuestring, code == 0 ? "success" : "fail")
            << where;
        // Reads end without a newline; writes, and the route walk when it fails, with one.
        bool walk = r.leaf == "entry-get-next";
        EXPECT_EQ(res.out.back() == '\n', write && (!walk || code != 0)) << where;
        EXPECT_EQ(workFiles(), std::vector<std::string>()) << where;
    }
}

TEST(CliIpv4Table, EveryHandlerIsExported)
{
    std::string syms = harness::exportedSymbols("pathgate");
    if (syms.empty())
        GTEST_SKIP() << "no nm to read the dynamic symbols";
    for (const CliRow& r : cliRows())
        EXPECT_NE(syms.find(" T " + r.handler + "\n"), std::string::npos) << r.handler;
}

}  // namespace
