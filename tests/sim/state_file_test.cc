// State files of the wrong shape: switchsim refuses each at start with a
// message naming the place of the fault and exit status 1, and leaves the
// file as it was; and whatever shape a member of a saved state is given,
// loading it refuses the file at that member or loads it, never more.
#include <cjson/cJSON.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

#include <functional>
#include <string>
#include <vector>

#include "runtime/raii.h"
#include "sim/state.h"
#include "tests/support/harness.h"

namespace {

const char* const kState = "/tmp/state.json";

struct SimRun {
    int status = -1;  // -1: still running after the bound (then killed)
    std::string err;
};

// Runs switchsim with `args`, its standard error captured; a simulator
// that starts detaches, and is stopped again.
SimRun runSwitchsim(const std::vector<std::string>& args)
{
    std::vector<std::string> cmd = harness::emulatorPrefix();
    cmd.push_back(harness::programPath("switchsim"));
    cmd.insert(cmd.end(), {"--detach", "--pidfile", "/tmp/started.pid"});
    cmd.insert(cmd.end(), args.begin(), args.end());
    int err[2];
    SimRun r;
    if (pipe(err) != 0)
        return r;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(err[1], 2);
        close(err[0]);
        close(err[1]);
        std::vector<char*> argv;
        for (std::string& s : cmd)
            argv.push_back(&s[0]);
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(err[1]);
    fcntl(err[0], F_SETFL, O_NONBLOCK);
    int st = 0;
    bool ended = false;
    for (int i = 0; i < 1000 && !ended; ++i) {
        char buf[4096];
        ssize_t n;
        while ((n = read(err[0], buf, sizeof buf)) > 0)
            r.err.append(buf, static_cast<size_t>(n));
        ended = waitpid(pid, &st, WNOHANG) == pid;
        if (!ended)
            usleep(10000);
    }
    char buf[4096];
    ssize_t n;
    while ((n = read(err[0], buf, sizeof buf)) > 0)
        r.err.append(buf, static_cast<size_t>(n));
    close(err[0]);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &st, 0);
        return r;
    }
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    if (harness::fileExists("/tmp/started.pid")) {
        kill(static_cast<pid_t>(std::stol(harness::readFile("/tmp/started.pid"))), SIGTERM);
        unlink("/tmp/started.pid");
        for (int i = 0; i < 200 && harness::fileExists("/tmp/switchsim.sock"); ++i)
            usleep(10000);
    }
    return r;
}

struct BadFile {
    std::string text;
    std::string fault;  // the start of the reason given: the place and what was wrong
};

// One unit, as every state has, and a member of the shape given.
std::string withUnit(const std::string& members) { return "{\"units\":[{}]," + members + "}"; }

const std::string kHex88(88, '0');  // a route record

const std::vector<BadFile>& badFiles()
{
    static const std::vector<BadFile> rows = {
        // Not a JSON object.
        {"", "no JSON text"},
        {"{ \"units\": [", "no JSON text"},
        {"{\"units\":[{}]} trailing", "no JSON text"},
        {std::string("{\"units\":[{}]}\0{}", 16), "no JSON text"},
        {"null", "the file: an object expected, found null"},
        {"[]", "the file: an object expected, found an array"},
        {"\"state\"", "the file: an object expected, found a text"},
        {"7", "the file: an object expected, found 7"},
        // Units.
        {"{\"units\":[]}", "units: at least one unit expected"},
        {"{\"units\":null}", "units: an array expected, found null"},
        {"{\"units\":{}}", "units: an array expected, found an object"},
        {"{\"units\":[5]}", "units[0]: an object expected, found 5"},
        {"{\"units\":[null]}", "units[0]: an object expected, found null"},
        {"{\"units\":[{\"model\":5}]}", "units[0].model: a text expected, found 5"},
        {"{\"units\":[{\"serial\":null}]}", "units[0].serial: a text expected, found null"},
        {"{\"units\":[{\"number\":-1}]}", "units[0].number: a whole number from 0 to 4294967295 expected, found -1"},
        {"{\"units\":[{\"number\":1.5}]}", "units[0].number: a whole number"},
        {"{\"units\":[{\"number\":4294967296}]}", "units[0].number: a whole number"},
        {"{\"units\":[{\"number\":1e999}]}", "units[0].number: a whole number"},
        {"{\"units\":[{\"number\":\"1\"}]}", "units[0].number: a whole number"},
        {"{\"units\":[{},{\"image1\":[]}]}", "units[1].image1: a text expected, found an array"},
        // Interfaces.
        {withUnit("\"interfaces\":{}"), "interfaces: an array expected, found an object"},
        {withUnit("\"interfaces\":[{\"intIfNum\":\"5\"}]"), "interfaces[0].intIfNum: a whole number"},
        {withUnit("\"interfaces\":[{\"type\":3}]"), "interfaces[0].type: 0, 1 or 2 expected"},
        {withUnit("\"interfaces\":[{},{\"name\":[\"x\"]}]"), "interfaces[1].name: a text expected"},
        {withUnit("\"interfaces\":[{\"intIfNum\":1,\"maxSpeedMbps\":\"fast\"}]"),
         "interfaces[0].maxSpeedMbps: a whole number"},
        {withUnit("\"interfaces\":[{\"intIfNum\":1,\"poeSchedule\":false}]"),
         "interfaces[0].poeSchedule: a text expected, found false"},
        // VLANs.
        {withUnit("\"vlans\":[{\"static\":1}]"), "vlans[0].static: true or false expected, found 1"},
        {withUnit("\"vlans\":[{\"id\":\"10\"}]"), "vlans[0].id: a whole number"},
        // Application key store.
        {"{\"units\":[{}],\"appDbs\":[{}]}", "appDbs: an object expected, found an array"},
        {withUnit("\"appDbs\":{\"app\":\"x\"}"), "appDbs.app: an object expected, found a text"},
        {withUnit("\"appDbs\":{\"app\":{\"key\":5}}"), "appDbs.app.key: a text expected, found 5"},
        // Values of the generic setters.
        {"{\"units\":[{}],\"values\":[[\"00\"]]}", "values: an object expected, found an array"},
        {withUnit("\"values\":{\"k\":\"00\"}"), "values.k: an array expected, found a text"},
        {withUnit("\"values\":{\"k\":[1]}"), "values.k[0]: bytes as lower-case hex digits expected, found 1"},
        {withUnit("\"values\":{\"k\":[\"00\",\"0g\"]}"), "values.k[1]: bytes as lower-case hex digits"},
        {withUnit("\"values\":{\"k\":[\"abc\"]}"), "values.k[0]: bytes as lower-case hex digits"},
        // Global settings.
        {withUnit("\"system\":[]"), "system: an object expected, found an array"},
        {withUnit("\"system\":{\"mgmtVlan\":\"1\"}"), "system.mgmtVlan: a whole number"},
        {withUnit("\"system\":{\"mgmtAddress\":10}"), "system.mgmtAddress: a text expected, found 10"},
        // Routing.
        {withUnit("\"routing\":[]"), "routing: an object expected, found an array"},
        {withUnit("\"routing\":{\"intfs\":[{\"addrs\":{}}]}"), "routing.intfs[0].addrs: an array expected"},
        {withUnit("\"routing\":{\"intfs\":[{\"addrs\":[{\"addr\":\"00\"}]}]}"),
         "routing.intfs[0].addrs[0].addr: 16 bytes as 32 lower-case hex digits expected, found a text"},
        {withUnit("\"routing\":{\"routes\":[{}]}"), "routing.routes[0].record: missing"},
        {withUnit("\"routing\":{\"routes\":[{\"record\":\"00\"}]}"), "routing.routes[0].record: 44 bytes"},
        {withUnit("\"routing\":{\"routes\":[{\"record\":\"" + kHex88 + "\",\"nextHops\":[\"00\"]}]}"),
         "routing.routes[0].nextHops[0]: 24 bytes"},
        {withUnit("\"routing\":{\"arp\":[{\"mac\":\"0011\"}]}"), "routing.arp[0].mac: 6 bytes"},
        {withUnit("\"routing\":{\"arp\":[{\"ip\":null}]}"), "routing.arp[0].ip: a whole number"},
        {"{\"units\":[{}],\"routing\":{\"ospf\":{\"traps\":[1]}}}",
         "routing.ospf.traps: an object expected, found an array"},
        {withUnit("\"routing\":{\"ospf\":{\"traps\":{\"1\":\"on\"}}}"), "routing.ospf.traps.1: a whole number"},
        {withUnit("\"routing\":{\"ospf\":{\"traps\":{\"one\":1}}}"),
         "routing.ospf.traps.one: a member name of decimal digits expected"},
        {withUnit("\"routing\":{\"ospf\":{\"traps\":{\"4294967296\":1}}}"),
         "routing.ospf.traps.4294967296: a member name"},
        {withUnit("\"routing\":{\"ospf\":{\"areas\":[[1,2,3]]}}"),
         "routing.ospf.areas[0]: an array of 4 numbers expected, found an array"},
        {withUnit("\"routing\":{\"ospf\":{\"areas\":[[1,2,3,\"x\"]]}}"), "routing.ospf.areas[0][3]: a whole number"},
        {withUnit("\"routing\":{\"ospf\":{\"networks\":[1]}}"),
         "routing.ospf.networks[0]: an array expected, found 1"},
        {withUnit("\"routing\":{\"ospf\":{\"intfs\":[{\"metricByTos\":{\"0\":-2}}]}}"),
         "routing.ospf.intfs[0].metricByTos.0: a whole number"},
        {withUnit("\"routing\":{\"ospf\":5}"), "routing.ospf: an object expected, found 5"},
        {withUnit("\"routing\":{\"ipHelper\":{\"global\":[[1]]}}"), "routing.ipHelper.global[0]: an array of 2"},
        {withUnit("\"routing\":{\"ipHelper\":{\"perIntf\":[[1,2]]}}"), "routing.ipHelper.perIntf[0]: an array of 3"},
        {withUnit("\"routing\":{\"router\":{\"pref4\":{\"-1\":5}}}"), "routing.router.pref4.-1: a member name"},
        {withUnit("\"routing\":{\"protocols\":[{\"name\":1}]}"), "routing.protocols[0].name: a text expected"},
        {withUnit("\"routing\":{\"routeTypes\":{}}"), "routing.routeTypes: an array expected"},
        {withUnit("\"routing\":{\"clients\":[{\"pending\":[5]}]}"), "routing.clients[0].pending[0]: 1204 bytes"},
        {withUnit("\"routing\":{\"nextClientId\":-3}"), "routing.nextClientId: a whole number"},
        // IPv6 and DHCP relay.
        {withUnit("\"ipv6\":[]"), "ipv6: an object expected, found an array"},
        {withUnit("\"ipv6\":{\"global\":{\"hopLimit\":true}}"), "ipv6.global.hopLimit: a whole number"},
        {withUnit("\"ipv6\":{\"vlans\":{\"ten\":{}}}"), "ipv6.vlans.ten: a member name of decimal digits expected"},
        {withUnit("\"ipv6\":{\"vlans\":{\"10\":[]}}"), "ipv6.vlans.10: an object expected, found an array"},
        {withUnit("\"ipv6\":{\"vlans\":{\"10\":{\"prefixes\":[{}]}}}"), "ipv6.vlans.10.prefixes[0].prefix: missing"},
        {withUnit("\"ipv6\":{\"vlans\":{\"10\":{\"prefixes\":[{\"prefix\":\"\"}]}}}"),
         "ipv6.vlans.10.prefixes[0].prefix: an IPv6 prefix expected"},
        {withUnit("\"ipv6\":{\"portAutoState\":{\"1\":\"off\"}}"), "ipv6.portAutoState.1: a whole number"},
        {withUnit("\"ipv6\":{\"relay\":{\"counters\":[1,2,3,4,5,6,7,8,9,10,11,12]}}"),
         "ipv6.relay.counters[11]: at most 11 counters expected"},
        {withUnit("\"ipv6\":{\"relay\":{\"intfs\":{\"1\":{\"cidOption\":true}}}}"),
         "ipv6.relay.intfs.1.cidOption: a whole number"},
        // IPv4 settings of the CLI.
        {withUnit("\"ipv4Cli\":5"), "ipv4Cli: an object expected, found 5"},
        {withUnit("\"ipv4Cli\":{\"arp\":{\"retries\":-1}}"), "ipv4Cli.arp.retries: a whole number"},
        {withUnit("\"ipv4Cli\":{\"intfs\":[{\"bandwidth\":1e20}]}"), "ipv4Cli.intfs[0].bandwidth: a whole number"},
        {withUnit("\"ipv4Cli\":{\"ipStats\":{\"IpInReceives\":\"99999999999999999999999\"}}"),
         "ipv4Cli.ipStats.IpInReceives: a counter"},
        {withUnit("\"ipv4Cli\":{\"ipStats\":{\"IpInDiscards\":\"12x\"}}"), "ipv4Cli.ipStats.IpInDiscards: a counter"},
        {withUnit("\"ipv4Cli\":{\"ipStats\":{\"IpInDiscards\":-1}}"), "ipv4Cli.ipStats.IpInDiscards: a counter"},
    };
    return rows;
}

// Each file is refused by switchsim (exit 1, the reason on standard error,
// no socket) and by the loader, with the same reason, and stays as it was.
TEST(StateFile, EveryMalformedFileIsRefusedAndLeftAsItWas)
{
    for (const BadFile& f : badFiles()) {
        SCOPED_TRACE(f.text);
        harness::writeFile(kState, f.text);
        SimRun r = runSwitchsim({"--state", kState});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err.rfind(std::string("switchsim: ") + kState + " is not a state file: " + f.fault, 0), 0u)
            << r.err;
        EXPECT_EQ(harness::readFile(kState), f.text);
        EXPECT_FALSE(harness::fileExists(std::string(kState) + ".tmp"));
        EXPECT_FALSE(harness::fileExists("/tmp/switchsim.sock"));

        sim::SwitchState st = sim::defaultSwitch();
        std::string why;
        EXPECT_FALSE(sim::loadState(&st, kState, &why));
        EXPECT_EQ(why.rfind(f.fault, 0), 0u) << why;
        EXPECT_EQ(sim::stateText(st), sim::stateText(sim::defaultSwitch()));  // untouched
    }
}

// Files of an older simulator lack later members and sections: they load,
// and what they lack keeps its default.
TEST(StateFile, MembersAbsentFromOlderFilesKeepTheirDefaults)
{
    for (const char* text : {"{\"units\":[{}]}", "{\"units\":[{\"number\":1}],\"routing\":{}}",
                             "{\"units\":[{}],\"ipv6\":{},\"ipv4Cli\":{\"ipStats\":{\"IpInReceives\":7}}}"}) {
        SCOPED_TRACE(text);
        harness::writeFile(kState, text);
        SimRun r = runSwitchsim({"--state", kState});
        EXPECT_EQ(r.status, 0) << r.err;
        sim::SwitchState st;
        std::string why;
        ASSERT_TRUE(sim::loadState(&st, kState, &why)) << why;
        EXPECT_EQ(st.units.size(), 1u);
        EXPECT_EQ(st.routing.ospf.autoCost, 100u);
        EXPECT_EQ(st.ipv6.global.hopLimit, 64u);
    }
}

// The areas a file lacks are those of a fresh switch, not empty ones: a file
// saved before the multicast forwarding database and the trap log existed
// loads them as a new switch has them, and an empty object is a new switch.
TEST(StateFile, AreasAbsentFromOlderFilesAreThoseOfAFreshSwitch)
{
    const std::string fresh = sim::stateText(sim::defaultSwitch());
    JsonPtr older(cJSON_Parse(fresh.c_str()));
    ASSERT_TRUE(older);
    for (const char* area : {"mfdb", "logging", "snooping", "mvr"}) {
        ASSERT_TRUE(cJSON_GetObjectItem(older.get(), area)) << area;
        cJSON_DeleteItemFromObject(older.get(), area);
    }
    CStr text(cJSON_Print(older.get()));
    for (const std::string& file : {std::string(text.get()), std::string("{}")}) {
        harness::writeFile(kState, file);
        sim::SwitchState st;
        std::string why;
        ASSERT_TRUE(sim::loadState(&st, kState, &why)) << why;
        EXPECT_EQ(sim::stateText(st), fresh);
    }
}

TEST(StateFile, AbsentOrUnreadableFile)
{
    sim::SwitchState st;
    std::string why;
    EXPECT_FALSE(sim::loadState(&st, "/tmp/absent.json", &why));
    EXPECT_EQ(why, "it cannot be read");
    // An absent file is created with the default switch.
    SimRun r = runSwitchsim({"--state", "/tmp/absent.json"});
    EXPECT_EQ(r.status, 0) << r.err;
    ASSERT_TRUE(sim::loadState(&st, "/tmp/absent.json", &why)) << why;
    EXPECT_EQ(sim::stateText(st), sim::stateText(sim::defaultSwitch()));
    // A directory in its place is refused.
    mkdir("/tmp/dir.json", 0755);
    r = runSwitchsim({"--state", "/tmp/dir.json"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("is not a state file"), std::string::npos) << r.err;
}

// A switch with an entry of every record kind the state file keeps.
sim::SwitchState everyRecordKind()
{
    sim::SwitchState st = sim::defaultSwitch();
    for (uint32_t i = 3; i <= 36; ++i)
        if (i != 29)
            st.interfaces.erase(i);
    st.vlans[10] = sim::Vlan{10, "ten", false};
    st.appDbs["webui"]["theme"] = "dark";
    st.values["rpcclt_openapiWidgetSet|05000000"] = {"ab", std::string("\0\1", 2)};
    sim::RoutingModel& r = st.routing;
    sim::RouterIntf ri;
    ri.intIfNum = 37;
    ri.vlanId = 10;
    ri.addrs.push_back(sim::IntfAddr{});
    ri.bandwidth = 100000;  // a CLI setting: the interface is in ipv4Cli.intfs too
    r.intfs[37] = ri;
    sim::Route route;
    route.rec.family = kFamilyIpv4;
    route.hops.push_back(NextHop{});
    r.routes.push_back(route);
    r.arp[0x0a000001] = sim::ArpEntry{};
    r.ospf.traps[1] = 1;
    r.ospf.areas[0] = sim::OspfArea{};
    sim::OspfIntf oi;
    oi.metricByTos[0] = 10;
    r.ospf.intfs[5] = oi;
    r.ospf.networks.push_back(sim::OspfNetwork{1, 2, 3, 4});
    r.helper.global.insert({1, 67});
    r.helper.perIntf.insert(std::make_tuple(5u, 1u, 67u));
    r.helper.discards.insert({5, 67});
    r.router.pref4[1] = 110;
    r.router.pref6[1] = 110;
    sim::EventClient c;
    c.pending.push_back(RouteChange{});
    r.clients[1] = c;
    sim::Ipv6Intf v6;
    v6.prefixes.push_back(sim::RaPrefix{"2001:db8::", 64, 100, 50, 1, 1});
    st.ipv6.vlans[10] = v6;
    st.ipv6.portAutoState[4] = 0;
    st.ipv6.relay.intfs[4] = sim::RelayIntf{};
    st.mgmt.networkV6.prefixes.push_back(std::string(17, '\x20'));
    st.mgmt.termLength[1] = 40;
    return st;
}

// Calls `f` with every node below the root, its parent and its place as
// the loader names it.
void eachNode(cJSON* node, const std::string& path, const std::function<void(cJSON*, cJSON*, const std::string&)>& f)
{
    int i = 0;
    cJSON* child;
    cJSON_ArrayForEach(child, node)
    {
        std::string at = cJSON_IsArray(node) ? path + "[" + std::to_string(i++) + "]"
                                             : (path.empty() ? "" : path + ".") + child->string;
        f(node, child, at);
        eachNode(child, at, f);
    }
}

// Every member of a saved state, given each other shape in turn: the file
// either loads or is refused at that very member (or the list it empties);
// nothing else is blamed, nothing crashes.
TEST(StateFile, AnyShapeOfAnyMemberIsReadOrRefusedThere)
{
    cJSON* saved = cJSON_Parse(sim::stateText(everyRecordKind()).c_str());
    ASSERT_TRUE(saved);
    std::vector<std::string> places;
    eachNode(saved, "", [&](cJSON*, cJSON*, const std::string& at) { places.push_back(at); });
    ASSERT_GT(places.size(), 300u);
    const char* const shapes[] = {"null", "\"x\"", "-1", "1.5", "true", "[]", "{}", "[1]", "{\"1\":{}}"};
    size_t refused = 0, loaded = 0;
    for (size_t k = 0; k < places.size(); ++k) {
        for (const char* shape : shapes) {
            cJSON* copy = cJSON_Duplicate(saved, 1);
            size_t n = 0;
            cJSON *parent = nullptr, *node = nullptr;
            eachNode(copy, "", [&](cJSON* p, cJSON* c, const std::string&) {
                if (n++ == k) {
                    parent = p;
                    node = c;
                }
            });
            ASSERT_TRUE(node);
            if (cJSON_IsObject(parent))
                cJSON_ReplaceItemInObjectCaseSensitive(parent, node->string, cJSON_Parse(shape));
            else
                cJSON_ReplaceItemViaPointer(parent, node, cJSON_Parse(shape));
            char* text = cJSON_PrintUnformatted(copy);
            cJSON_Delete(copy);
            harness::writeFile(kState, text);
            free(text);
            sim::SwitchState st;
            std::string why;
            if (sim::loadState(&st, kState, &why)) {
                ++loaded;
                continue;
            }
            ++refused;
            const std::string& at = places[k];
            bool there = why.rfind(at + ":", 0) == 0 || why.rfind(at + ".", 0) == 0 || why.rfind(at + "[", 0) == 0;
            EXPECT_TRUE(there) << at << " = " << shape << ": " << why;
        }
    }
    cJSON_Delete(saved);
    EXPECT_GT(refused, loaded);
}

}  // namespace
