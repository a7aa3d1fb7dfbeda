// One model, two ways in: a change made through a control API operation
// and the same change made by a CLI command meet the same rules and leave
// the same switch. Static routes, static ARP entries, helper addresses and
// the routing interfaces, each through both paths and in both orders.
#include <arpa/inet.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/openclt/openclt.h"
#include "platform/openclt/wire.h"
#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/ops.h"
#include "sim/state.h"

namespace {

using sim::SwitchState;

template <class T>
std::string bytes(const T& v)
{
    return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}

std::string u32(uint32_t v) { return bytes(v); }

uint32_t ipv4(const char* text)
{
    in_addr a;
    EXPECT_EQ(inet_pton(AF_INET, text, &a), 1) << text;
    return ntohl(a.s_addr);
}

InetAddr addrOf(const char* text)
{
    InetAddr a{};
    if (strchr(text, ':')) {
        a.family = kFamilyIpv6;
        EXPECT_EQ(inet_pton(AF_INET6, text, a.addr), 1) << text;
    } else {
        a.family = kFamilyIpv4;
        uint32_t v = ipv4(text);
        memcpy(a.addr, &v, 4);
    }
    return a;
}

InetPrefix prefixOf(const char* text, uint32_t len)
{
    InetAddr a = addrOf(text);
    InetPrefix p{};
    p.family = a.family;
    memcpy(p.addr, a.addr, 16);
    p.pfxLen = len;
    return p;
}

// One control API call as the switch serves it: the catalog row's argument
// kinds, the bytes given for each argument; true in *changed when the call
// changed the model.
int32_t api(SwitchState& st, const char* name, const std::vector<std::string>& data, bool* changed = nullptr)
{
    const openclt::OpInfo* op = openclt::findOp(name);
    EXPECT_TRUE(op) << name;
    if (!op)
        return 1;
    std::vector<openclt::WireArg> args(static_cast<size_t>(op->argc));
    for (size_t i = 0; i < args.size(); ++i) {
        args[i].kind = op->kinds[i];
        args[i].data = i < data.size() ? data[i] : std::string(4, '\0');
        args[i].cap = 256;
    }
    sim::Call c{op, args, st};
    int32_t rc = sim::runOp(c);
    if (changed)
        *changed = c.changed;
    return rc;
}

std::string cli(SwitchState& st, const std::string& lines, bool* changed = nullptr)
{
    return sim::cli::runScript(st, "configure\n" + lines + "\nexit\n", changed);
}

bool refused(const std::string& answer) { return answer.find("% Invalid input") != std::string::npos; }

std::string show(const SwitchState& st, const char* command)
{
    std::string out;
    EXPECT_EQ(sim::cli::runShow(st, command, &out), 0) << command;
    return out;
}

// VLAN 10's routing interface (37) with 192.168.10.1/24, made through the API.
SwitchState routedSwitch()
{
    SwitchState st = sim::defaultSwitch();
    EXPECT_EQ(api(st, "rpcclt_openapiRtrVlanIntfCreate", {u32(10)}), 0);
    EXPECT_EQ(api(st, "rpcclt_openapiRtrIntfIpAddrAdd",
                  {u32(kFamilyIpv4), u32(37), u32(1), bytes(prefixOf("192.168.10.1", 24)), u32(0)}),
              0);
    return st;
}

// --- Static routes -------------------------------------------------------

struct RouteStep {
    const char* net;
    uint32_t len;
    const char* hop;
    uint32_t pref;
};

// What became of a change, in terms both paths share.
enum Verdict { kChanged, kAsItWas, kRefused };
const char* const kVerdictNames[] = {"changed", "as it was", "refused"};

Verdict apiRouteAdd(SwitchState& st, const RouteStep& r)
{
    bool changed = false;
    int32_t rc = api(st, "rpcclt_openapiIpRouteAdd",
                     {u32(kFamilyIpv4), bytes(prefixOf(r.net, r.len)), bytes(addrOf(r.hop)), u32(r.pref), u32(0)},
                     &changed);
    EXPECT_EQ(changed, rc == 0);
    // The API names a route that is there as asked "exists".
    return rc == 0 ? kChanged : rc == kOpenExists ? kAsItWas : kRefused;
}

std::string maskText(uint32_t len)
{
    uint32_t m = len == 0 ? 0 : 0xffffffffu << (32 - len);
    return std::to_string(m >> 24) + "." + std::to_string(m >> 16 & 255) + "." + std::to_string(m >> 8 & 255) + "." +
           std::to_string(m & 255);
}

Verdict cliRouteAdd(SwitchState& st, const RouteStep& r)
{
    bool changed = false;
    std::string line = std::string("ip route ") + r.net + " " + maskText(r.len) + " " + r.hop;
    if (r.pref != 1)
        line += " " + std::to_string(r.pref);
    std::string answer = cli(st, line, &changed);
    if (refused(answer))
        return kRefused;
    return changed ? kChanged : kAsItWas;
}

// The lines of static routes in "show ip route", with the further next
// hops under them.
std::string staticLines(const std::string& table)
{
    std::istringstream in(table);
    std::string line, out;
    bool inStatic = false;
    while (std::getline(in, line)) {
        if (line.rfind("S ", 0) == 0)
            inStatic = true;
        else if (line.empty() || line[0] != ' ')
            inStatic = false;
        if (inStatic)
            out += line + "\n";
    }
    return out;
}

typedef Verdict (*RouteAdder)(SwitchState&, const RouteStep&);

// A route added through one path and then changed through the other gives
// the same verdict and the same route table, whichever path goes first.
TEST(UnifiedStaticRoutes, BothPathsInBothOrdersGiveOneAnswerAndOneTable)
{
    const RouteStep first = {"10.99.0.0", 16, "192.168.10.2", 5};
    struct Row {
        const char* what;
        RouteStep second;
        Verdict verdict;
        const char* table;  // the static route's lines of "show ip route"
    } rows[] = {
        {"the same route again", {"10.99.0.0", 16, "192.168.10.2", 5}, kAsItWas,
         "S      10.99.0.0/16 [5/0] via 192.168.10.2,   vlan 10\n"},
        {"the same gateway, a new preference", {"10.99.0.0", 16, "192.168.10.2", 9}, kChanged,
         "S      10.99.0.0/16 [9/0] via 192.168.10.2,   vlan 10\n"},
        {"a second gateway", {"10.99.0.0", 16, "192.168.10.3", 5}, kChanged,
         "S      10.99.0.0/16 [5/0] via 192.168.10.2,   vlan 10\n"
         "                          via 192.168.10.3,   vlan 10\n"},
        {"host bits in the network", {"10.99.7.7", 16, "192.168.10.2", 5}, kAsItWas,
         "S      10.99.0.0/16 [5/0] via 192.168.10.2,   vlan 10\n"},
        {"a longer prefix is another route", {"10.99.0.0", 24, "192.168.10.2", 5}, kChanged,
         "S      10.99.0.0/16 [5/0] via 192.168.10.2,   vlan 10\n"
         "S      10.99.0.0/24 [5/0] via 192.168.10.2,   vlan 10\n"},
        {"the prefix of a connected route", {"192.168.10.0", 24, "192.168.10.2", 5}, kRefused,
         "S      10.99.0.0/16 [5/0] via 192.168.10.2,   vlan 10\n"},
        {"preference out of range", {"10.99.0.0", 16, "192.168.10.2", 256}, kRefused,
         "S      10.99.0.0/16 [5/0] via 192.168.10.2,   vlan 10\n"},
    };
    const RouteAdder adders[2] = {apiRouteAdd, cliRouteAdd};
    const char* const paths[2] = {"API", "CLI"};
    for (const Row& row : rows) {
        std::string tables[2];
        for (int order = 0; order < 2; ++order) {
            SCOPED_TRACE(std::string(row.what) + ": " + paths[order] + " then " + paths[1 - order]);
            SwitchState st = routedSwitch();
            ASSERT_EQ(adders[order](st, first), kChanged);
            EXPECT_EQ(kVerdictNames[adders[1 - order](st, row.second)], kVerdictNames[row.verdict]);
            std::string table = show(st, "show ip route");
            EXPECT_EQ(staticLines(table), row.table) << table;
            tables[order] = table;
        }
        EXPECT_EQ(tables[0], tables[1]) << row.what;
    }
}

// Neither path takes a gateway the switch cannot forward to: loopback,
// 0/8, multicast and reserved addresses; nothing changes.
TEST(UnifiedStaticRoutes, GatewaysNoSwitchForwardsToAreRefusedOnBothPaths)
{
    for (const char* hop : {"127.0.0.1", "127.255.255.254", "0.0.0.0", "0.1.2.3", "224.0.0.5", "239.1.1.1",
                            "240.0.0.1", "255.255.255.255"}) {
        SCOPED_TRACE(hop);
        SwitchState st = routedSwitch();
        std::string before = sim::stateText(st);
        EXPECT_EQ(apiRouteAdd(st, {"10.99.0.0", 16, hop, 1}), kRefused);
        std::string answer = cli(st, std::string("ip route 10.99.0.0 255.255.0.0 ") + hop);
        EXPECT_NE(answer.find("% Invalid input detected at '^' marker."), std::string::npos) << answer;
        EXPECT_EQ(sim::stateText(st), before);
    }
    // The same for IPv6 gateways through the API.
    for (const char* hop : {"::1", "::", "ff02::1"}) {
        SwitchState st = routedSwitch();
        EXPECT_EQ(api(st, "rpcclt_openapiIpRouteAdd",
                      {u32(kFamilyIpv6), bytes(prefixOf("2001:db8::", 32)), bytes(addrOf(hop)), u32(1), u32(0)}),
                  kOpenInvalidParam)
            << hop;
        EXPECT_TRUE(st.routing.routes.size() == 1) << hop;  // the connected route only
    }
    // A gateway in no routing interface's subnet is a route without an interface.
    SwitchState st = routedSwitch();
    EXPECT_EQ(apiRouteAdd(st, {"10.99.0.0", 16, "10.1.1.1", 1}), kChanged);
    EXPECT_NE(show(st, "show ip route").find("S      10.99.0.0/16 [1/0] via 10.1.1.1\n"), std::string::npos);
}

// Removing through either path: a whole route or one gateway, and the
// answers for what is not there.
TEST(UnifiedStaticRoutes, RemovalAnswersAlikeOnBothPaths)
{
    struct Row {
        const char* cli;      // "no ip route ..." arguments
        const char* apiHop;   // the API's next hop ("0.0.0.0": the whole route)
        const char* prefix;
        uint32_t len;
        int32_t apiStatus;
        bool cliRefused;
        size_t hopsLeft;      // of 10.99.0.0/16, which starts with two
    } rows[] = {
        {"10.99.0.0 255.255.0.0 192.168.10.3", "192.168.10.3", "10.99.0.0", 16, 0, false, 1},
        {"10.99.0.0 255.255.0.0", "0.0.0.0", "10.99.0.0", 16, 0, false, 0},
        {"10.99.0.0 255.255.0.0 192.168.10.9", "192.168.10.9", "10.99.0.0", 16, kOpenNotFound, true, 2},
        {"10.98.0.0 255.255.0.0", "0.0.0.0", "10.98.0.0", 16, kOpenNotFound, true, 2},
        {"192.168.10.0 255.255.255.0", "0.0.0.0", "192.168.10.0", 24, kOpenNotFound, true, 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.cli);
        SwitchState viaApi = routedSwitch();
        ASSERT_EQ(cliRouteAdd(viaApi, {"10.99.0.0", 16, "192.168.10.2", 1}), kChanged);
        ASSERT_EQ(apiRouteAdd(viaApi, {"10.99.0.0", 16, "192.168.10.3", 1}), kChanged);
        SwitchState viaCli = viaApi;
        EXPECT_EQ(api(viaApi, "rpcclt_openapiIpRouteDel",
                      {u32(kFamilyIpv4), bytes(prefixOf(r.prefix, r.len)), bytes(addrOf(r.apiHop)), u32(0)}),
                  r.apiStatus);
        EXPECT_EQ(refused(cli(viaCli, std::string("no ip route ") + r.cli)), r.cliRefused);
        EXPECT_EQ(sim::stateText(viaApi), sim::stateText(viaCli));
        size_t hops = 0;
        for (const sim::Route& route : viaApi.routing.routes)
            if (route.rec.protoId == sim::kProtoStatic)
                hops += route.hops.size();
        EXPECT_EQ(hops, r.hopsLeft);
    }
}

// --- ARP and helper addresses ------------------------------------------------

TEST(UnifiedArp, StaticEntriesMeetTheSameRulesOnBothPaths)
{
    struct Row {
        const char* ip;
        const char* mac;
        bool ok;
    } rows[] = {
        {"192.168.10.7", "00:11:22:33:44:55", true},
        {"10.5.5.5", "00:11:22:33:44:55", false},      // in no routing interface's subnet
        {"192.168.10.7", "01:00:5e:00:00:01", false},  // a group address
        {"192.168.10.7", "00:00:00:00:00:00", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.ip) + " " + r.mac);
        SwitchState viaApi = routedSwitch(), viaCli = routedSwitch();
        MacAddr mac;
        unsigned b[6];
        sscanf(r.mac, "%x:%x:%x:%x:%x:%x", &b[0], &b[1], &b[2], &b[3], &b[4], &b[5]);
        for (int i = 0; i < 6; ++i)
            mac.octet[i] = static_cast<uint8_t>(b[i]);
        EXPECT_EQ(api(viaApi, "rpcclt_openapiArpEntryAdd", {u32(ipv4(r.ip)), bytes(mac)}) == 0, r.ok);
        EXPECT_EQ(!refused(cli(viaCli, std::string("arp ") + r.ip + " " + r.mac)), r.ok);
        EXPECT_EQ(sim::stateText(viaApi), sim::stateText(viaCli));
    }
    // The static table holds 128 entries, whichever path filled it.
    SwitchState st = sim::defaultSwitch();
    ASSERT_EQ(api(st, "rpcclt_openapiRtrVlanIntfCreate", {u32(10)}), 0);
    ASSERT_EQ(api(st, "rpcclt_openapiRtrIntfIpAddrAdd",
                  {u32(kFamilyIpv4), u32(37), u32(1), bytes(prefixOf("10.0.0.1", 16)), u32(0)}),
              0);
    MacAddr mac = {{0, 0x11, 0x22, 0x33, 0x44, 0x55}};
    for (uint32_t i = 0; i < sim::kArpStaticMax; ++i) {
        std::string ip = "10.0." + std::to_string(1 + i / 200) + "." + std::to_string(1 + i % 200);
        if (i % 2)
            ASSERT_EQ(api(st, "rpcclt_openapiArpEntryAdd", {u32(ipv4(ip.c_str())), bytes(mac)}), 0) << ip;
        else
            ASSERT_FALSE(refused(cli(st, "arp " + ip + " 00:11:22:33:44:55"))) << ip;
    }
    EXPECT_EQ(api(st, "rpcclt_openapiArpEntryAdd", {u32(ipv4("10.0.9.9")), bytes(mac)}), kOpenInvalidParam);
    EXPECT_NE(cli(st, "arp 10.0.9.9 00:11:22:33:44:55").find("the static ARP table is full."), std::string::npos);
}

TEST(UnifiedHelper, ServersMeetTheSameRulesOnBothPaths)
{
    struct Row {
        const char* server;
        uint32_t port;
        bool ok;
    } rows[] = {
        {"10.1.1.1", 67, true},  {"10.1.1.1", 0, true},     {"0.0.0.0", 67, false}, {"127.0.0.1", 67, false},
        {"224.0.0.9", 67, false}, {"10.1.1.1", 65536, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.server) + " " + std::to_string(r.port));
        SwitchState viaApi = sim::defaultSwitch(), viaCli = sim::defaultSwitch();
        EXPECT_EQ(api(viaApi, "rpcclt_openapiIpHelperAddressAdd", {u32(ipv4(r.server)), u32(r.port)}) == 0, r.ok);
        EXPECT_EQ(!refused(cli(viaCli, std::string("ip helper-address ") + r.server + " " + std::to_string(r.port))),
                  r.ok);
        EXPECT_EQ(sim::stateText(viaApi), sim::stateText(viaCli));
    }
    // An address that is there already: the API says so, the CLI repeats it
    // without fault; neither adds a second.
    SwitchState st = sim::defaultSwitch();
    bool changed = true;
    ASSERT_FALSE(refused(cli(st, "ip helper-address 10.1.1.1 67")));
    EXPECT_EQ(api(st, "rpcclt_openapiIpHelperAddressAdd", {u32(ipv4("10.1.1.1")), u32(67)}, &changed), kOpenExists);
    EXPECT_FALSE(changed);
    EXPECT_FALSE(refused(cli(st, "ip helper-address 10.1.1.1 67", &changed)));
    EXPECT_FALSE(changed);
    EXPECT_EQ(st.routing.helper.global.size(), 1u);
}

// --- Routing interfaces ------------------------------------------------------

// The interface settings of the CLI and of the API are one entry per
// interface: each path reads what the other set, and deleting a VLAN
// routing interface takes its CLI settings with it.
TEST(UnifiedRoutingInterfaces, OneSetSeenByBothPaths)
{
    SwitchState st = routedSwitch();
    ASSERT_FALSE(refused(sim::cli::runScript(
        st, "configure\ninterface 1/0/5\nbandwidth 50000\nip local-proxy-arp\nexit\ninterface vlan 10\n"
            "no ip gratuitous-arp\nexit\nexit\n",
        nullptr)));
    std::vector<std::string> out = {u32(kFamilyIpv4), u32(5), u32(0)};
    const openclt::OpInfo* op = openclt::findOp("rpcclt_openapiIntfBandwidthGet");
    ASSERT_TRUE(op);
    std::vector<openclt::WireArg> args(3);
    for (size_t i = 0; i < 3; ++i) {
        args[i].kind = op->kinds[i];
        args[i].data = out[i];
    }
    sim::Call get{op, args, st};
    ASSERT_EQ(sim::runOp(get), 0);
    EXPECT_EQ(get.u32(2), 50000u);
    EXPECT_EQ(api(st, "rpcclt_openapiRtrIntfIpProxyArpModeSet", {u32(5), u32(1)}), 0);
    EXPECT_EQ(api(st, "rpcclt_openapiRtrIntfIpAddrAdd",
                  {u32(kFamilyIpv4), u32(5), u32(1), bytes(prefixOf("10.5.0.1", 24)), u32(0)}),
              0);
    std::string shown = show(st, "show ip interface 1/0/5");
    using sim::cli::labelLine;
    for (const std::string& line :
         {labelLine("Primary IP Address", "10.5.0.1/255.255.255.0"), labelLine("Bandwidth", "50000 kbps"),
          labelLine("Proxy ARP", "Enabled"), labelLine("Local Proxy ARP", "Enabled")})
        EXPECT_NE(shown.find(line), std::string::npos) << line << shown;
    ASSERT_EQ(st.routing.intfs.size(), 2u);  // 5 and 37, one entry each
    EXPECT_EQ(st.routing.intfs[5].addrs.size(), 1u);
    EXPECT_EQ(st.routing.intfs[37].gratArp, 0u);

    // The state file keeps both sides and loads them into the one entry.
    ASSERT_TRUE(sim::saveState(st, "/tmp/unified.json"));
    SwitchState back;
    ASSERT_TRUE(sim::loadState(&back, "/tmp/unified.json"));
    EXPECT_EQ(sim::stateText(back), sim::stateText(st));

    EXPECT_EQ(api(st, "rpcclt_openapiRtrVlanIntfDelete", {u32(10)}), 0);
    EXPECT_EQ(st.routing.intfs.count(37), 0u);
    EXPECT_NE(cli(st, "interface vlan 10\nno ip gratuitous-arp\nexit").find("the VLAN has no routing interface."),
              std::string::npos);
}

// A file of an older simulator lists the CLI's interface settings apart
// from the routing interfaces: they load into the same entries.
TEST(UnifiedRoutingInterfaces, OlderFilesLoadIntoTheOneSet)
{
    FILE* f = fopen("/tmp/unified.json", "w");
    ASSERT_TRUE(f);
    fputs("{\"units\":[{}],\"routing\":{\"intfs\":[{\"intIfNum\":5,\"ipMtu\":1400}]},"
          "\"ipv4Cli\":{\"intfs\":[{\"intIfNum\":5,\"bandwidth\":700},{\"intIfNum\":6,\"gratArp\":0}]}}",
          f);
    fclose(f);
    SwitchState st;
    std::string why;
    ASSERT_TRUE(sim::loadState(&st, "/tmp/unified.json", &why)) << why;
    ASSERT_EQ(st.routing.intfs.size(), 2u);
    EXPECT_EQ(st.routing.intfs[5].ipMtu, 1400u);
    EXPECT_EQ(st.routing.intfs[5].bandwidth, 700u);
    EXPECT_EQ(st.routing.intfs[6].intIfNum, 6u);
    EXPECT_EQ(st.routing.intfs[6].gratArp, 0u);
}

}  // namespace
