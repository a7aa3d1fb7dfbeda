// pathgate's switch-API routes over several requests against one simulated
// switch: table walks, route records, route changes, status translation,
// the default-VRF rule and the registration of every route of the tables.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"
#include "tests/support/route_list.h"

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
const std::string kOspf = "/api/v2/routing/ospf-config/";

class Routing : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    void vlanWithAddresses()
    {
        ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-vlan-intf?vlanId=10")), 0);
        for (const char* a : {"192.168.10.1/24", "10.20.0.1/16", "172.16.5.1/24"})
            ASSERT_EQ(codeOf(request("POST", kConfig + "rtr-intf-ip-addr",
                                     std::string("{\"af\":1,\"intf\":37,\"ipAddr\":\"") + a + "\"}")),
                      0)
                << a;
    }
    harness::Simulator sim;
};

TEST_F(Routing, TypicalRequestCallsTheSwitchOnceWithInterfaceAndValue)
{
    harness::CgiResult r = request("PUT", kOspf + "map-intf-admin-mode", "{\"intf\":5,\"mode\":\"enable\"}");
    EXPECT_EQ(codeOf(r), 0);
    EXPECT_EQ(r.out.back(), '\n');
    std::string calls = sim.ctl({"calls"});
    EXPECT_NE(calls.find("rpcclt_openapiOspfMapIntfAdminModeSet 5 1 = 0"), std::string::npos) << calls;
    EXPECT_EQ(callsTo(sim, "rpcclt_openapiOspfMapIntfAdminModeSet"), 1);
}

TEST_F(Routing, BadBodiesMakeNoSwitchCall)
{
    for (const char* body : {"{intf:5", "", "[1]", "null", "{\"intf\":\"five\",\"mode\":\"enable\"}",
                             "{\"intf\":5,\"mode\":7}", "{\"intf\":-5,\"mode\":\"enable\"}"}) {
        harness::CgiResult r = request("PUT", kOspf + "map-intf-admin-mode", body);
        EXPECT_EQ(codeOf(r), 10003) << body;
    }
    EXPECT_EQ(callsTo(sim, "rpcclt_openapiOspfMapIntfAdminModeSet"), 0);
    EXPECT_EQ(codeOf(request("POST", kRouting + "kernel-route-add-vr", "{\"route\":{\"destPfx\":\"1.2.3\"}}")), 10003);
    EXPECT_EQ(callsTo(sim, "rpcclt_openapiKernelRouteAddVr"), 0);
}

TEST_F(Routing, AddressTableWalksFromTheFirstEntryToTheEnd)
{
    vlanWithAddresses();
    std::vector<std::string> seen;
    std::string body = "{}";
    for (int i = 0; i < 10; ++i) {
        harness::CgiResult r = request("POST", "/api/v2/routing/ip/address-entry-get-next", body);
        if (codeOf(r) != 0) {
            EXPECT_EQ(codeOf(r), 10023);
            EXPECT_EQ(r.out.back(), '\n');  // a failing POST ends in a newline
            break;
        }
        EXPECT_NE(r.out.back(), '\n');
        body = dataOf(r, "ip");
        seen.push_back(body);
    }
    std::vector<std::string> want = {"{\"ipAddr\":\"10.20.0.1\",\"intIfNum\":37}",
                                     "{\"ipAddr\":\"172.16.5.1\",\"intIfNum\":37}",
                                     "{\"ipAddr\":\"192.168.10.1\",\"intIfNum\":37}"};
    EXPECT_EQ(seen, want);
}

TEST_F(Routing, RouteAddLookupDeleteThroughRouteRecords)
{
    vlanWithAddresses();
    std::string route = "{\"destPfx\":\"10.99.0.0\",\"pfxLen\":16,\"routeType\":2,\"protoId\":3,\"pref\":110,"
                        "\"metric\":20,\"numNextHops\":7}";
    std::string hops = "[{\"nhAddr\":\"192.168.10.2\",\"ifNum\":37},{\"nhAddr\":\"192.168.10.3\",\"ifNum\":37}]";
    harness::CgiResult add =
        request("POST", kRouting + "kernel-route-add-vr", "{\"vrfId\":0,\"route\":" + route + ",\"nextHops\":" + hops + "}");
    EXPECT_EQ(codeOf(add), 0);
    EXPECT_EQ(add.out.back(), '\n');

    // The count sent is the length of the list, not the member.
    std::string want = "{\"route\":{\"destPfx\":\"10.99.0.0\",\"pfxLen\":16,\"routeType\":2,\"protoId\":3,"
                       "\"rejectRoute\":0,\"discardRoute\":0,\"pref\":110,\"metric\":20,\"numNextHops\":2,"
                       "\"leakedRoute\":0,\"rfc5549Route\":0,\"unnumberedRoute\":0},\"nextHops\":"
                       "[{\"nhAddr\":\"192.168.10.2\",\"ifNum\":37},{\"nhAddr\":\"192.168.10.3\",\"ifNum\":37}]}";
    harness::CgiResult look = request("POST", kRouting + "best-route-lookup", "{\"destAddr\":\"10.99.4.5\"}");
    EXPECT_EQ(codeOf(look), 0);
    EXPECT_EQ(dataOf(look, "routing"), want);
    harness::CgiResult find = request("POST", kRouting + "prefix-find", "{\"destPrefix\":\"10.99.0.0\",\"pfxLen\":16}");
    EXPECT_EQ(dataOf(find, "routing"), want);
    EXPECT_EQ(codeOf(request("POST", kRouting + "prefix-find-vr",
                             "{\"vrfId\":0,\"destPrefix\":\"10.99.0.0\",\"pfxLen\":16}")),
              0);

    // Walking the best routes from the start reaches the new route after the connected ones.
    std::string body = "{\"family\":1}";
    bool reached = false;
    for (int i = 0; i < 10 && !reached; ++i) {
        harness::CgiResult r = request("POST", kRouting + "best-route-next-get-vr", body);
        ASSERT_EQ(codeOf(r), 0);
        reached = dataOf(r, "routing") == want;
        body = "{\"family\":1,\"route\":" + dataOf(r, "routing").substr(9, dataOf(r, "routing").find(",\"nextHops\"") - 9) + "}";
    }
    EXPECT_TRUE(reached);

    EXPECT_EQ(codeOf(request("POST", kRouting + "kernel-route-add-vr", "{\"route\":" + route + "}")), 10011);
    EXPECT_EQ(codeOf(request("POST", kRouting + "kernel-route-del-vr", "{\"route\":" + route + "}")), 0);
    EXPECT_EQ(codeOf(request("POST", kRouting + "best-route-lookup", "{\"destAddr\":\"10.99.4.5\"}")), 10023);
    EXPECT_EQ(codeOf(request("POST", kRouting + "kernel-route-del-vr", "{\"route\":" + route + "}")), 10023);
}

TEST_F(Routing, SixtyNextHopsSendFortyEight)
{
    vlanWithAddresses();
    std::string hops = "[";
    for (int i = 0; i < 60; ++i)
        hops += std::string(i ? "," : "") + "{\"nhAddr\":\"192.168.10." + std::to_string(i + 2) + "\",\"ifNum\":37}";
    hops += "]";
    ASSERT_EQ(codeOf(request("POST", kRouting + "kernel-route-add-vr",
                             "{\"route\":{\"destPfx\":\"10.50.0.0\",\"pfxLen\":16,\"numNextHops\":60},\"nextHops\":" +
                                 hops + "}")),
              0);
    harness::CgiResult look = request("POST", kRouting + "best-route-lookup", "{\"destAddr\":\"10.50.0.1\"}");
    auto e = envelope(look);
    const cJSON* data = cJSON_GetObjectItemCaseSensitive(e->root, "routing");
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(cJSON_GetObjectItemCaseSensitive(data, "route"), "numNextHops")->valueint,
              48);
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(data, "nextHops");
    ASSERT_EQ(cJSON_GetArraySize(list), 48);
    EXPECT_STREQ(cJSON_GetObjectItemCaseSensitive(cJSON_GetArrayItem(list, 47), "nhAddr")->valuestring,
                 "192.168.10.49");
}

TEST_F(Routing, RouteChangesComeInOrderAtMostFiftyAtATime)
{
    harness::CgiResult reg = request("POST", kRouting + "best-route-event-register",
                                     "{\"family\":1,\"pid\":7,\"clientName\":\"watcher\"}");
    ASSERT_EQ(codeOf(reg), 0);
    ASSERT_EQ(dataOf(reg, "routing"), "{\"clientId\":1}");
    vlanWithAddresses();  // three connected routes
    for (int i = 0; i < 55; ++i)
        ASSERT_EQ(codeOf(request("POST", kRouting + "kernel-route-add-vr",
                                 "{\"route\":{\"destPfx\":\"10.100." + std::to_string(i) + ".0\",\"pfxLen\":24}}")),
                  0);
    harness::CgiResult one = request("GET", kRouting + "best-route-change-next?clientId=1");
    EXPECT_EQ(codeOf(one), 0);
    EXPECT_EQ(dataOf(one, "routing").rfind("{\"chType\":1,\"route\":{\"destPfx\":\"192.168.10.0\",\"pfxLen\":24", 0), 0u)
        << dataOf(one, "routing");
    auto count = [&](const harness::CgiResult& r) {
        auto e = envelope(r);
        return cJSON_GetArraySize(
            cJSON_GetObjectItemCaseSensitive(cJSON_GetObjectItemCaseSensitive(e->root, "routing"), "routeChanges"));
    };
    harness::CgiResult many = request("POST", kRouting + "best-route-change-next-get-mult", "{\"clientId\":1,\"numChanges\":80}");
    EXPECT_EQ(codeOf(many), 0);
    EXPECT_EQ(count(many), 50);
    harness::CgiResult few = request("POST", kRouting + "best-route-change-next-get-mult", "{\"clientId\":1,\"numChanges\":3}");
    EXPECT_EQ(count(few), 3);
    harness::CgiResult rest = request("POST", kRouting + "best-route-change-next-get-mult", "{\"clientId\":1}");
    EXPECT_EQ(count(rest), 4);
    EXPECT_EQ(codeOf(request("GET", kRouting + "best-route-change-next?clientId=1")), 10023);
}

// Switch statuses and the result codes they answer, for one getter and one setter.
TEST_F(Routing, SwitchStatusTranslation)
{
    const struct {
        const char* status;
        int code;
    } kTable[] = {{"0", 0}, {"-22", 10003}, {"-24", 10011}, {"-28", 17002}, {"-29", 10023}, {"-5", 10000}};
    for (const auto& t : kTable) {
        sim.ctl({"fault", "rpcclt_openapiOspfMapIntfAdminModeGet", t.status, "1"});
        harness::CgiResult g = request("GET", kOspf + "map-intf-admin-mode?intf=5");
        EXPECT_EQ(codeOf(g), t.code) << t.status;
        EXPECT_NE(g.out.back(), '\n');
        EXPECT_EQ(dataOf(g, "ospfConfig").empty(), t.code != 0) << t.status;
        sim.ctl({"fault", "rpcclt_openapiOspfMapIntfAdminModeSet", t.status, "1"});
        harness::CgiResult s = request("PUT", kOspf + "map-intf-admin-mode", "{\"intf\":5,\"mode\":\"enable\"}");
        EXPECT_EQ(codeOf(s), t.code) << t.status;
        EXPECT_EQ(s.out.back(), '\n');
    }
    // Injected statuses left the stored mode alone.
    EXPECT_EQ(dataOf(request("GET", kOspf + "map-intf-admin-mode?intf=5"), "ospfConfig"), "{\"mode\":\"disable\"}");
}

// Every route whose body names a vrfId answers 17002 for VRF 1 without reaching the switch.
TEST_F(Routing, DefaultVrfOnly)
{
    const struct {
        const char* leaf;
        const char* op;
    } kRows[] = {
        {"protocol-register", "RoutingProtocolRegister"},   {"protocol-deregister", "RoutingProtocolDeregister"},
        {"best-route-next-get-vr", "BestRouteNextGetVr"},   {"prefix-find-vr", "PrefixFindVr"},
        {"arp-resolve", "ArpResolve"},                      {"best-route-event-register", "BestRouteEventRegister"},
        {"router-event-register", "RouterEventRegister"},   {"router-event-deregister", "RouterEventDeregister"},
        {"router-event-acknowledge", "RouterEventAcknowledge"}, {"rtr-intf-next-get-vrf", "RtrIntfNextGetVrf"},
        {"startup-status-vr", "RoutingStartupStatusVr"},    {"best-route-event-register-vr", "BestRouteEventRegisterVr"},
        {"kernel-route-add-vr", "KernelRouteAddVr"},        {"route-mod-vr", "RouteModVr"},
        {"route-del-vr", "RouteDelVr"},                     {"kernel-route-del-vr", "KernelRouteDelVr"},
        {"rtr-admin-mode-get-vrf", "RtrAdminModeGetVrf"},   {"ip-map-nsf-route-source", "IpMapNsfRouteSource"},
        {"ip-map-initial-routes-done", "IpMapInitialRoutesDone"},
        {"ip-router-preference-get-vr?index=1", "IpRouterPreferenceGetVr"},
        {"kernel-arp?stkIfIndex=105", "KernelArpAdd"},
    };
    for (const auto& r : kRows) {
        std::string body = "{\"vrfId\":1,\"route\":{\"destPfx\":\"10.0.0.0\",\"pfxLen\":8},\"clientName\":\"c\"}";
        harness::CgiResult res = request("POST", kRouting + r.leaf, body);
        EXPECT_EQ(codeOf(res), 17002) << r.leaf;
        EXPECT_EQ(callsTo(sim, std::string("rpcclt_openapi") + r.op), 0) << r.leaf;
        res = request("POST", kRouting + r.leaf, "{\"vrfId\":0,\"route\":{\"destPfx\":\"10.0.0.0\",\"pfxLen\":8}}");
        EXPECT_NE(codeOf(res), 17002) << r.leaf;
        EXPECT_EQ(callsTo(sim, std::string("rpcclt_openapi") + r.op), 1) << r.leaf;
    }
}

TEST_F(Routing, ModelChangesAreInTheStateFile)
{
    vlanWithAddresses();
    ASSERT_EQ(codeOf(request("PUT", kOspf + "map-intf-hello-interval", "{\"intf\":37,\"seconds\":3}")), 0);
    Json state(sim.ctl({"dump"}));
    const cJSON* routing = cJSON_GetObjectItemCaseSensitive(state.root, "routing");
    ASSERT_TRUE(cJSON_IsObject(routing));
    EXPECT_EQ(cJSON_GetArraySize(cJSON_GetObjectItemCaseSensitive(routing, "routes")), 3);
    const cJSON* ointf = cJSON_GetArrayItem(
        cJSON_GetObjectItemCaseSensitive(cJSON_GetObjectItemCaseSensitive(routing, "ospf"), "intfs"), 0);
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(ointf, "helloInterval")->valueint, 3);
}

// --- Registration of every switch-API and fixed route of the tables -------

struct TableRow {
    std::string method, dir, leaf, handler, cls;
};

// pathgate's switch-API and fixed routes from the list of every route.
std::vector<TableRow> tableRows()
{
    std::vector<TableRow> rows;
    for (const harness::ListedRoute& l : harness::routeList())
        if (l.program == "pathgate" && l.cls != "stub" && l.cls != "CLI")
            rows.push_back(TableRow{l.method, l.dir, l.leaf, l.handler, l.cls});
    return rows;
}

TEST(RoutingTable, CountsOfTheTables)
{
    std::vector<TableRow> rows = tableRows();
    EXPECT_EQ(rows.size(), 168u);
    int fixed = 0;
    for (const TableRow& r : rows)
        fixed += r.cls == "fixed";
    EXPECT_EQ(fixed, 15);
}

TEST(RoutingTable, EveryRowIsRegisteredAndAnswersOneEnvelope)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    for (const TableRow& r : tableRows()) {
        bool write = r.method != "GET";
        harness::CgiResult res = request(r.method, r.dir + "/" + r.leaf, write ? "{}" : "");
        std::string where = r.method + " " + r.dir + "/" + r.leaf;
        EXPECT_EQ(res.status, 0) << where;
        ASSERT_EQ(res.out.compare(0, strlen(harness::kJsonHeader), harness::kJsonHeader), 0) << where << res.out;
        auto e = envelope(res);
        const cJSON* resp = cJSON_GetObjectItemCaseSensitive(e->root, "resp");
        ASSERT_TRUE(cJSON_IsObject(resp)) << where << res.out;
        int code = cJSON_GetObjectItemCaseSensitive(resp, "respCode")->valueint;
        EXPECT_STREQ(cJSON_GetObjectItemCaseSensitive(resp, "status")->valuestring, code == 0 ? "success" : "fail")
            << where;
        // Reads end without a newline; writes (and failing POST walks) with one.
        if (r.cls != "iterator" || code != 0) {
            EXPECT_EQ(res.out.back() == '\n', write) << where;
        }
    }
}

TEST(RoutingTable, EveryHandlerIsExported)
{
    std::string syms = harness::exportedSymbols("pathgate");
    if (syms.empty())
        GTEST_SKIP() << "no nm to read the dynamic symbols";
    for (const TableRow& r : tableRows())
        EXPECT_NE(syms.find(" T " + r.handler + "\n"), std::string::npos) << r.handler;
}

}  // namespace
