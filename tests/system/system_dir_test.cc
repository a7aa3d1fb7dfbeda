// coregate's "system" directory (host identity, terminal and serial settings,
// network and service ports, telnet, MAC addresses, configuration) against the
// simulated switch: every route answers one envelope with its data member,
// settings read back what was written, refused input changes nothing, the
// sized host name buffer and the address records the switch receives.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"
#include "tests/support/route_list.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;

const std::string kDir = "/api/v2/system/system";

// One request to coregate: `leaf` may carry a query after "?".
harness::CgiResult core(const std::string& method, const std::string& leaf, const std::string& body = "")
{
    harness::CgiRequest r;
    r.program = "coregate";
    r.method = method;
    r.uri = kDir + "/" + leaf;
    size_t q = leaf.find('?');
    if (q != std::string::npos)
        r.query = leaf.substr(q + 1);
    r.body = body;
    return harness::runCgi(r);
}

std::string data(const harness::CgiResult& r) { return dataOf(r, "system"); }

// The names of an object's members in order, "a,b,c".
std::string memberNames(const std::string& object)
{
    harness::Json j(object, harness::Ending::Bare);
    std::string out;
    for (const cJSON* m = j.root ? j.root->child : nullptr; m; m = m->next)
        out += (out.empty() ? "" : ",") + std::string(m->string);
    return out;
}

class SystemDir : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    // A write that must succeed, with the newline of a write.
    void write(const std::string& method, const std::string& leaf, const std::string& body)
    {
        harness::CgiResult w = core(method, leaf, body);
        ASSERT_EQ(codeOf(w), 0) << method << " " << leaf << " " << body << "\n" << w.out;
        ASSERT_EQ(w.out.back(), '\n') << leaf;
    }
    // A read that must succeed: its data object.
    std::string read(const std::string& leaf)
    {
        harness::CgiResult r = core("GET", leaf);
        EXPECT_EQ(codeOf(r), 0) << leaf << "\n" << r.out;
        EXPECT_NE(r.out.back(), '\n') << leaf;
        return data(r);
    }
    harness::Simulator sim;
};

// --- Every route of the directory ------------------------------------------------

// A request each route serves, and the members its data object answers in
// order ("" for writes).
struct RouteCase {
    const char* method;
    const char* leaf;  // with the query of a GET
    const char* body;
    const char* members;
};

const RouteCase kRouteCases[] = {
    {"PUT", "prompt", R"({"systemPrompt":"core-7"})", ""},
    {"GET", "prompt-max-size", nullptr, "promptSize"},
    {"PUT", "hostname", R"({"sysHostName":"core-7"})", ""},
    {"GET", "hostname", nullptr, "sysHostName"},
    {"GET", "hostname-size", nullptr, "hostNameSize"},
    {"GET", "local-unit", nullptr, "unit"},
    {"GET", "name", nullptr, "systemName"},
    {"GET", "name-max-size", nullptr, "systemNameSize"},
    {"PUT", "line-terminal-length", R"({"accessLine":1,"termLength":40})", ""},
    {"GET", "line-terminal-length?accessLine=1", nullptr, "termLength"},
    {"PUT", "line-terminal-length-default", R"({"accessLine":1})", ""},
    {"PUT", "serial-timeout", R"({"serialTimeout":30})", ""},
    {"GET", "serial-timeout", nullptr, "serialTimeout"},
    {"PUT", "serial-timeout-default", "{}", ""},
    {"GET", "network-mgmt-vlan", nullptr, "mgmtVlan"},
    {"PUT", "network-mgmt-vlan", R"({"mgmtVlan":1})", ""},
    {"GET", "network-port-link-state", nullptr, "linkState"},
    {"PUT", "network-port-ipv4-parameters", R"({"ipAddr":"10.0.0.5","netMask":"255.255.255.0","gateway":"10.0.0.1"})",
     ""},
    {"DELETE", "network-port-ipv4-parameters", nullptr, ""},
    {"GET", "network-port-ipv4-addr", nullptr, "ipAddr,netMask"},
    {"GET", "network-port-gateway-ipv4-addr", nullptr, "gateway"},
    {"PUT", "network-port-ipv6-admin-mode", R"({"adminMode":"enable"})", ""},
    {"GET", "network-port-ipv6-admin-mode", nullptr, "adminMode"},
    {"PUT", "network-port-ipv6-auto-config-mode", R"({"autoConfigMode":"enable"})", ""},
    {"GET", "network-port-ipv6-auto-config-mode", nullptr, "autoConfigMode"},
    {"PUT", "network-port-ipv6-protocol-mode", R"({"protoMode":2})", ""},
    {"GET", "network-port-ipv6-protocol-mode", nullptr, "protoMode"},
    {"PUT", "network-port-ipv6-prefix", R"({"ipv6Addr":"2001:db8::5/64"})", ""},
    {"PUT", "network-port-ipv6-gateway", R"({"gateway":"2001:db8::1"})", ""},
    {"GET", "network-port-ipv6-gateway", nullptr, "gateway"},
    {"GET", "network-port-ipv6-addresses-next", nullptr, "ipv6Addr"},
    {"DELETE", "network-port-ipv6-prefix", nullptr, ""},
    {"PUT", "service-port-ipv4-parameters", R"({"ipAddr":"192.168.0.9","netMask":"255.255.0.0","gateway":"0.0.0.0"})",
     ""},
    {"DELETE", "service-port-ipv4-parameters", nullptr, ""},
    {"GET", "service-port-ipv4-addr", nullptr, "ipAddr,netMask"},
    {"GET", "service-port-mask", nullptr, "netMask"},
    {"GET", "service-port-gateway-ipv4-addr", nullptr, "gateway"},
    {"PUT", "service-port-ipv6-admin-mode", R"({"adminMode":"disable"})", ""},
    {"GET", "service-port-ipv6-admin-mode", nullptr, "adminMode"},
    {"PUT", "service-port-ipv6-auto-config-mode", R"({"autoConfigMode":"disable"})", ""},
    {"GET", "service-port-ipv6-auto-config-mode", nullptr, "autoConfigMode"},
    {"PUT", "service-port-ipv6-protocol-mode", R"({"protoMode":0})", ""},
    {"GET", "service-port-ipv6-protocol-mode", nullptr, "protoMode"},
    {"PUT", "service-port-ipv6-prefix", R"({"ipv6Addr":"2001:db8:1::9/64"})", ""},
    {"PUT", "service-port-ipv6-gateway", R"({"gateway":"2001:db8:1::1"})", ""},
    {"GET", "service-port-ipv6-gateway", nullptr, "gateway"},
    {"DELETE", "service-port-ipv6-prefix", nullptr, ""},
    {"GET", "service-port-ipv6-addresses-next", nullptr, "ipv6Addr"},
    {"PUT", "network-port-ipv4-protocol-mode", R"({"protoMode":0})", ""},
    {"GET", "network-port-ipv4-protocol-mode", nullptr, "protoMode"},
    {"PUT", "service-port-ipv4-protocol-mode", R"({"protoMode":2})", ""},
    {"GET", "service-port-ipv4-protocol-mode", nullptr, "protoMode"},
    {"PUT", "telnet-server-admin-mode", R"({"telnetServerMode":"enable"})", ""},
    {"GET", "telnet-server-admin-mode", nullptr, "telnetServerMode"},
    {"PUT", "transfer-bytes-completed", R"({"bytes":4096})", ""},
    {"GET", "up-time", nullptr, "sysUpTimeSec"},
    {"GET", "up-time-msec", nullptr, "sysUpTimeMsec"},
    {"GET", "warm-restart-status", nullptr, "warmRestartStatus"},
    {"GET", "mac-addr", nullptr, "macAddress"},
    {"GET", "burned-in-mac-addr", nullptr, "mac_address"},
    {"PUT", "save-configuration", "{}", ""},
    {"PUT", "reset-configuration", "{}", ""},
    {"POST", "reload", "{}", ""},
    {"GET", "time-zone-offset", nullptr, "timeZoneOffsetMin"},
    {"GET", "oper-sys", nullptr, "operSys"},
    {"GET", "arp-info-next", nullptr, "intf,ipAddr,mac_addr"},
    {"GET", "manufacturer?unit=1", nullptr, "manufacturer"},
};

std::string leafOf(const char* leafAndQuery)
{
    std::string l = leafAndQuery;
    return l.substr(0, l.find('?'));
}

TEST_F(SystemDir, EverySwitchRouteAnswersOneEnvelopeWithItsMembers)
{
    // Every getter, setter and iterator of the list has a case, and only those.
    std::set<std::string> listed, cased;
    for (const harness::ListedRoute& l : harness::routeList())
        if (l.dir == kDir && (l.cls == "getter" || l.cls == "setter" || l.cls == "iterator"))
            listed.insert(l.method + " " + l.leaf);
    for (const RouteCase& c : kRouteCases)
        EXPECT_TRUE(cased.insert(std::string(c.method) + " " + leafOf(c.leaf)).second) << c.leaf;
    EXPECT_EQ(cased, listed);
    EXPECT_EQ(listed.size(), 67u);

    for (const RouteCase& c : kRouteCases) {
        std::string what = std::string(c.method) + " " + c.leaf;
        harness::CgiResult r = core(c.method, c.leaf, c.body ? c.body : "");
        EXPECT_EQ(r.status, 0) << what;
        bool isRead = std::string(c.method) == "GET";
        int code = codeOf(r);
        auto e = harness::envelope(r, isRead ? harness::Ending::Bare : harness::Ending::Newline);
        ASSERT_NE(e->root, nullptr) << what << ": " << e->why << "\n" << r.out;
        if (std::string(c.leaf).find("-next") != std::string::npos) {
            // A walk from the start: the first entry, or the end of an empty table.
            EXPECT_TRUE(code == 0 || code == 10023) << what << r.out;
        } else {
            EXPECT_EQ(code, 0) << what << r.out;
        }
        if (code == 0 && isRead) {
            EXPECT_EQ(memberNames(data(r)), c.members) << what << r.out;
        } else {
            EXPECT_EQ(data(r), "") << what << r.out;
        }
    }
}

// --- Settings read back ------------------------------------------------------------

TEST_F(SystemDir, SettingsReadBackWhatWasWritten)
{
    struct Case {
        const char* put;
        const char* body;
        const char* get;
        const char* want;
    } cases[] = {
        {"line-terminal-length", R"({"accessLine":1,"termLength":40})", "line-terminal-length?accessLine=1",
         R"({"termLength":40})"},
        {"line-terminal-length", R"({"accessLine":"2","termLength":0})", "line-terminal-length?accessLine=2",
         R"({"termLength":0})"},
        {"serial-timeout", R"({"serialTimeout":30})", "serial-timeout", R"({"serialTimeout":30})"},
        {"network-port-ipv6-admin-mode", R"({"adminMode":"enable"})", "network-port-ipv6-admin-mode",
         R"({"adminMode":"enable"})"},
        {"network-port-ipv6-admin-mode", R"({"adminMode":"disable"})", "network-port-ipv6-admin-mode",
         R"({"adminMode":"disable"})"},
        {"network-port-ipv6-auto-config-mode", R"({"autoConfigMode":"enable"})", "network-port-ipv6-auto-config-mode",
         R"({"autoConfigMode":"enable"})"},
        {"network-port-ipv6-protocol-mode", R"({"protoMode":2})", "network-port-ipv6-protocol-mode",
         R"({"protoMode":2})"},
        {"network-port-ipv6-gateway", R"({"gateway":"fe80::1"})", "network-port-ipv6-gateway",
         R"({"gateway":"fe80::1"})"},
        {"service-port-ipv6-admin-mode", R"({"adminMode":"enable"})", "service-port-ipv6-admin-mode",
         R"({"adminMode":"enable"})"},
        {"service-port-ipv6-auto-config-mode", R"({"autoConfigMode":"enable"})", "service-port-ipv6-auto-config-mode",
         R"({"autoConfigMode":"enable"})"},
        {"service-port-ipv6-protocol-mode", R"({"protoMode":2})", "service-port-ipv6-protocol-mode",
         R"({"protoMode":2})"},
        {"service-port-ipv6-gateway", R"({"gateway":"2001:db8:1::1"})", "service-port-ipv6-gateway",
         R"({"gateway":"2001:db8:1::1"})"},
        {"network-port-ipv4-protocol-mode", R"({"protoMode":1})", "network-port-ipv4-protocol-mode",
         R"({"protoMode":1})"},
        {"service-port-ipv4-protocol-mode", R"({"protoMode":2})", "service-port-ipv4-protocol-mode",
         R"({"protoMode":2})"},
        {"telnet-server-admin-mode", R"({"telnetServerMode":"disable"})", "telnet-server-admin-mode",
         R"({"telnetServerMode":"disable"})"},
        {"telnet-server-admin-mode", R"({"telnetServerMode":"enable"})", "telnet-server-admin-mode",
         R"({"telnetServerMode":"enable"})"},
        {"hostname", R"({"sysHostName":"lab-core-7"})", "hostname", R"({"sysHostName":"lab-core-7"})"},
    };
    for (const Case& c : cases) {
        write("PUT", c.put, c.body);
        EXPECT_EQ(read(c.get), c.want) << c.put << " " << c.body;
    }
}

// --- Refused input ------------------------------------------------------------------

TEST_F(SystemDir, RefusedInputAnswers10003AndReachesNoSwitchCall)
{
    const std::string t256(256, 'h');
    struct Case {
        const char* method;
        const char* leaf;
        std::string body;
        const char* op;  // the operation that must not be called
    } cases[] = {
        // Not a JSON object.
        {"PUT", "hostname", "sysHostName=x", "rpcclt_openapiSystemHostnameSet"},
        {"PUT", "prompt", "", "rpcclt_openapiSystemPromptSet"},
        {"PUT", "line-terminal-length", "[1,40]", "rpcclt_openapiLineTerminalLengthSet"},
        {"PUT", "serial-timeout", "{\"serialTimeout\":", "rpcclt_openapiSerialTimeoutSet"},
        {"PUT", "network-port-ipv4-parameters", "null", "rpcclt_openapiNetworkPortIPv4ParametersSet"},
        {"PUT", "telnet-server-admin-mode", "\"enable\"", "rpcclt_openapiTelnetServerAdminModeSet"},
        // A member of the wrong type.
        {"PUT", "line-terminal-length", R"({"accessLine":1,"termLength":"forty"})",
         "rpcclt_openapiLineTerminalLengthSet"},
        {"PUT", "serial-timeout", R"({"serialTimeout":true})", "rpcclt_openapiSerialTimeoutSet"},
        {"PUT", "network-mgmt-vlan", R"({"mgmtVlan":-1})", "rpcclt_openapiNetworkMgmtVlanSet"},
        {"PUT", "transfer-bytes-completed", R"({"bytes":1.5})", "rpcclt_openapiTransferBytesCompletedSet"},
        {"PUT", "network-port-ipv6-admin-mode", R"({"adminMode":1})", "rpcclt_openapiNetworkPortIPv6AdminModeSet"},
        {"PUT", "hostname", R"({"sysHostName":["a"]})", "rpcclt_openapiSystemHostnameSet"},
        {"PUT", "network-port-ipv4-parameters", R"({"ipAddr":167772165,"netMask":"255.0.0.0"})",
         "rpcclt_openapiNetworkPortIPv4ParametersSet"},
        // Texts longer than their 256-byte buffer.
        {"PUT", "hostname", "{\"sysHostName\":\"" + t256 + "\"}", "rpcclt_openapiSystemHostnameSet"},
        {"PUT", "prompt", "{\"systemPrompt\":\"" + t256 + "\"}", "rpcclt_openapiSystemPromptSet"},
        // Words no enumeration of the member knows.
        {"PUT", "network-port-ipv6-admin-mode", R"({"adminMode":"on"})", "rpcclt_openapiNetworkPortIPv6AdminModeSet"},
        {"PUT", "service-port-ipv6-auto-config-mode", R"({"autoConfigMode":"Enable"})",
         "rpcclt_openapiServicePortIPv6AutoConfigModeSet"},
        {"PUT", "telnet-server-admin-mode", R"({"telnetServerMode":"enabled"})",
         "rpcclt_openapiTelnetServerAdminModeSet"},
        // Texts that are no address.
        {"PUT", "network-port-ipv4-parameters", R"({"ipAddr":"10.0.0","netMask":"255.0.0.0"})",
         "rpcclt_openapiNetworkPortIPv4ParametersSet"},
        {"PUT", "service-port-ipv4-parameters", R"({"ipAddr":"10.0.0.1","netMask":"255.0.0.0","gateway":"gw"})",
         "rpcclt_openapiServicePortIPv4ParametersSet"},
        {"PUT", "network-port-ipv6-gateway", R"({"gateway":"2001:db8::1::2"})",
         "rpcclt_openapiNetworkPortIPv6GatewaySet"},
        {"PUT", "service-port-ipv6-prefix", R"({"ipv6Addr":"2001:db8::/300"})",
         "rpcclt_openapiServicePortIPv6PrefixSet"},
    };
    write("PUT", "hostname", R"({"sysHostName":"kept"})");
    write("PUT", "telnet-server-admin-mode", R"({"telnetServerMode":"enable"})");
    write("PUT", "network-port-ipv6-admin-mode", R"({"adminMode":"enable"})");
    write("PUT", "serial-timeout", R"({"serialTimeout":12})");
    for (const Case& c : cases) {
        sim.ctl({"clear-calls"});
        harness::CgiResult r = core(c.method, c.leaf, c.body);
        EXPECT_EQ(r.status, 0) << c.leaf << " " << c.body;
        EXPECT_EQ(codeOf(r), 10003) << c.leaf << " " << c.body << "\n" << r.out;
        EXPECT_EQ(r.out.back(), '\n') << c.leaf;
        EXPECT_EQ(callsTo(sim, c.op), 0) << c.leaf << " " << c.body;
    }
    EXPECT_EQ(read("hostname"), R"({"sysHostName":"kept"})");
    EXPECT_EQ(read("telnet-server-admin-mode"), R"({"telnetServerMode":"enable"})");
    EXPECT_EQ(read("network-port-ipv6-admin-mode"), R"({"adminMode":"enable"})");
    EXPECT_EQ(read("serial-timeout"), R"({"serialTimeout":12})");
}

// An absent mode member sends "disable", as for every admin mode.
TEST_F(SystemDir, AbsentModeSendsDisable)
{
    write("PUT", "telnet-server-admin-mode", R"({"telnetServerMode":"enable"})");
    write("PUT", "telnet-server-admin-mode", "{}");
    EXPECT_EQ(read("telnet-server-admin-mode"), R"({"telnetServerMode":"disable"})");
}

// --- Host name buffer ---------------------------------------------------------------

TEST_F(SystemDir, HostNameComesBackWholeWhateverTheSizeCallAnswers)
{
    // The longest name the switch takes fills the buffer its size call reports.
    EXPECT_EQ(read("hostname-size"), R"({"hostNameSize":64})");
    const std::string name(63, 'n');
    write("PUT", "hostname", "{\"sysHostName\":\"" + name + "\"}");
    const std::string want = "{\"sysHostName\":\"" + name + "\"}";
    EXPECT_EQ(read("hostname"), want);
    // The size call failing: a 256-byte buffer.
    sim.ctl({"fault", "rpcclt_openapiSystemHostnameSizeGet", "-1", "1"});
    EXPECT_EQ(read("hostname"), want);
    // The size is asked before the text, once per request.
    sim.ctl({"clear-calls"});
    read("hostname");
    std::istringstream calls(sim.ctl({"calls"}));
    std::string line, order;
    while (std::getline(calls, line))
        if (line.rfind("rpcclt_openapiSystemHostname", 0) == 0)
            order += line.substr(0, line.find(' ')) + ";";
    EXPECT_EQ(order, "rpcclt_openapiSystemHostnameSizeGet;rpcclt_openapiSystemHostnameGet;");
}

// --- Address records ----------------------------------------------------------------

// The call log line of the last call of `op`.
std::string lastCall(harness::Simulator& sim, const std::string& op)
{
    std::istringstream calls(sim.ctl({"calls"}));
    std::string line, last;
    while (std::getline(calls, line))
        if (line.rfind(op + " ", 0) == 0)
            last = line;
    return last;
}

TEST_F(SystemDir, ManagementAddressTextsTravelAsFamilyRecords)
{
    // family word (little-endian) and the first address bytes of each record
    struct Case {
        const char* body;
        const char* gatewayRecord;  // hex of the gateway record's start
    } cases[] = {
        {R"({"ipAddr":"10.0.0.5","netMask":"255.255.255.0","gateway":"10.0.0.1"})", "01000000010000"},
        {R"({"ipAddr":"10.0.0.5","netMask":"255.255.255.0","gateway":"fe80::1"})", "02000000fe80"},
        {R"({"ipAddr":"10.0.0.5","netMask":"255.255.255.0"})", "00000000000000"},
    };
    for (const Case& c : cases) {
        sim.ctl({"clear-calls"});
        core("PUT", "network-port-ipv4-parameters", c.body);
        std::string call = lastCall(sim, "rpcclt_openapiNetworkPortIPv4ParametersSet");
        std::istringstream words(call);
        std::string name, ip, mask, gw;
        words >> name >> ip >> mask >> gw;
        EXPECT_EQ(ip.substr(0, 16), "010000000500000a") << call;
        EXPECT_EQ(mask.substr(0, 16), "0100000000ffffff") << call;
        EXPECT_EQ(gw.substr(0, std::string(c.gatewayRecord).size()), c.gatewayRecord) << c.body << " " << call;
    }
}

}  // namespace

namespace {

// --- The simulated switch's answers ----------------------------------------------------

TEST_F(SystemDir, DefaultsOfTheSwitch)
{
    struct Case {
        const char* leaf;
        const char* want;
    } cases[] = {
        {"hostname", R"({"sysHostName":"KX810-A"})"},
        {"name", R"({"systemName":"KX810-A"})"},
        {"hostname-size", R"({"hostNameSize":64})"},
        {"prompt-max-size", R"({"promptSize":64})"},
        {"name-max-size", R"({"systemNameSize":256})"},
        {"local-unit", R"({"unit":1})"},
        {"line-terminal-length?accessLine=0", R"({"termLength":24})"},
        {"serial-timeout", R"({"serialTimeout":5})"},
        {"network-mgmt-vlan", R"({"mgmtVlan":1})"},
        {"network-port-link-state", R"({"linkState":1})"},
        {"network-port-ipv4-addr", R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})"},
        {"network-port-ipv4-protocol-mode", R"({"protoMode":2})"},
        {"service-port-ipv4-protocol-mode", R"({"protoMode":2})"},
        {"network-port-ipv6-admin-mode", R"({"adminMode":"enable"})"},
        {"network-port-ipv6-gateway", R"({"gateway":"::"})"},
        {"telnet-server-admin-mode", R"({"telnetServerMode":"enable"})"},
        {"warm-restart-status", R"({"warmRestartStatus":0})"},
        {"mac-addr", R"({"macAddress":"00:1e:c9:00:00:01"})"},
        {"burned-in-mac-addr", R"({"mac_address":"00:1e:c9:00:00:01"})"},
        {"time-zone-offset", R"({"timeZoneOffsetMin":0})"},
        {"oper-sys", R"({"operSys":"Linux 4.14.151"})"},
        {"manufacturer", R"({"manufacturer":"TALVORN"})"},
        {"manufacturer?unit=1", R"({"manufacturer":"TALVORN"})"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(read(c.leaf), c.want) << c.leaf;
    // The up times are numbers of the simulator's run.
    EXPECT_EQ(memberNames(read("up-time")), "sysUpTimeSec");
    EXPECT_EQ(memberNames(read("up-time-msec")), "sysUpTimeMsec");
}

// Values the switch refuses (-22) answer 10003 and leave the setting as it was.
TEST_F(SystemDir, ValuesTheSwitchRefusesLeaveTheSetting)
{
    struct Case {
        const char* leaf;
        std::string body;
        const char* get;
        const char* kept;
    } cases[] = {
        {"hostname", R"({"sysHostName":"core 7"})", "hostname", R"({"sysHostName":"KX810-A"})"},
        {"hostname", R"({"sysHostName":"-core"})", "hostname", R"({"sysHostName":"KX810-A"})"},
        {"hostname", R"({"sysHostName":""})", "hostname", R"({"sysHostName":"KX810-A"})"},
        {"hostname", "{\"sysHostName\":\"" + std::string(64, 'a') + "\"}", "hostname", R"({"sysHostName":"KX810-A"})"},
        {"line-terminal-length", R"({"accessLine":3,"termLength":40})", "line-terminal-length?accessLine=0",
         R"({"termLength":24})"},
        {"line-terminal-length", R"({"accessLine":0,"termLength":4})", "line-terminal-length?accessLine=0",
         R"({"termLength":24})"},
        {"line-terminal-length", R"({"accessLine":0,"termLength":513})", "line-terminal-length?accessLine=0",
         R"({"termLength":24})"},
        {"serial-timeout", R"({"serialTimeout":161})", "serial-timeout", R"({"serialTimeout":5})"},
        {"network-mgmt-vlan", R"({"mgmtVlan":20})", "network-mgmt-vlan", R"({"mgmtVlan":1})"},
        {"network-port-ipv4-protocol-mode", R"({"protoMode":3})", "network-port-ipv4-protocol-mode",
         R"({"protoMode":2})"},
        {"network-port-ipv6-protocol-mode", R"({"protoMode":1})", "network-port-ipv6-protocol-mode",
         R"({"protoMode":0})"},
        {"network-port-ipv4-parameters", R"({"ipAddr":"10.0.0.0","netMask":"255.255.255.0"})",
         "network-port-ipv4-addr", R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})"},
        {"network-port-ipv4-parameters", R"({"ipAddr":"10.0.0.5","netMask":"255.0.255.0"})",
         "network-port-ipv4-addr", R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})"},
        {"network-port-ipv4-parameters", R"({"ipAddr":"10.0.0.5","netMask":"255.255.255.0","gateway":"10.0.1.1"})",
         "network-port-ipv4-addr", R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})"},
        // A gateway holding a colon goes as an IPv6 record, which IPv4 parameters refuse.
        {"service-port-ipv4-parameters", R"({"ipAddr":"10.0.0.5","netMask":"255.255.255.0","gateway":"fe80::1"})",
         "service-port-ipv4-addr", R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})"},
        {"service-port-ipv4-parameters", R"({"ipAddr":"2001:db8::5","netMask":"255.255.255.0"})",
         "service-port-ipv4-addr", R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})"},
        {"network-port-ipv6-gateway", R"({"gateway":"10.0.0.1"})", "network-port-ipv6-gateway", R"({"gateway":"::"})"},
        {"network-port-ipv6-gateway", R"({"gateway":"ff02::1"})", "network-port-ipv6-gateway", R"({"gateway":"::"})"},
        {"network-port-ipv6-prefix", R"({"ipv6Addr":"fe80::5/64"})", "network-port-ipv6-addresses-next",
         R"({"ipv6Addr":"fe80::21e:c9ff:fe00:1"})"},
        {"network-port-ipv6-prefix", R"({"ipv6Addr":"10.0.0.5/24"})", "network-port-ipv6-addresses-next",
         R"({"ipv6Addr":"fe80::21e:c9ff:fe00:1"})"},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = core("PUT", c.leaf, c.body);
        EXPECT_EQ(codeOf(r), 10003) << c.leaf << " " << c.body << "\n" << r.out;
        EXPECT_EQ(read(c.get), c.kept) << c.leaf << " " << c.body;
    }
}

TEST_F(SystemDir, ManagementVlanIsAVlanOfTheSwitch)
{
    EXPECT_EQ(codeOf(harness::request("POST", "/api/v2/routing/routing-config/rtr-vlan-intf?vlanId=20")), 0);
    write("PUT", "network-mgmt-vlan", R"({"mgmtVlan":20})");
    EXPECT_EQ(read("network-mgmt-vlan"), R"({"mgmtVlan":20})");
    EXPECT_EQ(codeOf(core("PUT", "network-mgmt-vlan", R"({"mgmtVlan":30})")), 10003);
    EXPECT_EQ(read("network-mgmt-vlan"), R"({"mgmtVlan":20})");
}

TEST_F(SystemDir, NetworkPortAddressAndProtocol)
{
    write("PUT", "network-port-ipv4-parameters", R"({"ipAddr":"10.1.2.3","netMask":"255.255.0.0","gateway":"10.1.0.1"})");
    EXPECT_EQ(read("network-port-ipv4-addr"), R"({"ipAddr":"10.1.2.3","netMask":"255.255.0.0"})");
    EXPECT_EQ(read("network-port-gateway-ipv4-addr"), R"({"gateway":"10.1.0.1"})");
    EXPECT_EQ(read("network-port-ipv4-protocol-mode"), R"({"protoMode":0})");
    // Asking DHCP for the address drops the static one.
    write("PUT", "network-port-ipv4-protocol-mode", R"({"protoMode":2})");
    EXPECT_EQ(read("network-port-ipv4-addr"), R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})");
    write("PUT", "network-port-ipv4-parameters", R"({"ipAddr":"10.1.2.3","netMask":"255.255.0.0"})");
    write("DELETE", "network-port-ipv4-parameters", "");
    EXPECT_EQ(read("network-port-ipv4-addr"), R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})");
    EXPECT_EQ(read("network-port-gateway-ipv4-addr"), R"({"gateway":"0.0.0.0"})");

    write("PUT", "service-port-ipv4-parameters", R"({"ipAddr":"192.168.5.9","netMask":"255.255.255.0"})");
    EXPECT_EQ(read("service-port-ipv4-addr"), R"({"ipAddr":"192.168.5.9","netMask":"255.255.255.0"})");
    EXPECT_EQ(read("service-port-mask"), R"({"netMask":"255.255.255.0"})");
    EXPECT_EQ(read("service-port-gateway-ipv4-addr"), R"({"gateway":"0.0.0.0"})");
    write("DELETE", "service-port-ipv4-parameters", "");
    EXPECT_EQ(read("service-port-ipv4-addr"), R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})");
}

// A walk: each answer's key fed back until 10023; the keys in order.
std::vector<std::string> walk(const std::string& leaf, const std::string& keyName, const std::string& first)
{
    std::vector<std::string> keys;
    std::string query = first;
    for (int i = 0; i < 20; ++i) {
        harness::CgiResult r = core("GET", leaf + (query.empty() ? "" : "?" + query));
        EXPECT_NE(r.out.back(), '\n') << leaf;
        if (codeOf(r) == 10023)
            return keys;
        EXPECT_EQ(codeOf(r), 0) << r.out;
        harness::Json d(data(r), harness::Ending::Bare);
        const cJSON* k = cJSON_GetObjectItemCaseSensitive(d.root, keyName.c_str());
        if (!cJSON_IsString(k))
            return keys;
        keys.push_back(data(r));
        query = keyName + "=" + k->valuestring;
        const cJSON* intf = cJSON_GetObjectItemCaseSensitive(d.root, "intf");
        if (cJSON_IsNumber(intf))
            query = "intf=" + std::to_string(intf->valueint) + "&" + query;
    }
    ADD_FAILURE() << leaf << " did not end";
    return keys;
}

TEST_F(SystemDir, Ipv6AddressWalksEndWith10023)
{
    write("PUT", "network-port-ipv6-prefix", R"({"ipv6Addr":"2001:db8::5/64"})");
    write("PUT", "network-port-ipv6-prefix", R"({"ipv6Addr":"2001:db8::3"})");
    std::vector<std::string> want = {R"({"ipv6Addr":"2001:db8::3"})", R"({"ipv6Addr":"2001:db8::5"})",
                                     R"({"ipv6Addr":"fe80::21e:c9ff:fe00:1"})"};
    EXPECT_EQ(walk("network-port-ipv6-addresses-next", "ipv6Addr", ""), want);
    // IPv6 off: no link-local address.
    write("PUT", "network-port-ipv6-admin-mode", R"({"adminMode":"disable"})");
    want.pop_back();
    EXPECT_EQ(walk("network-port-ipv6-addresses-next", "ipv6Addr", ""), want);
    write("DELETE", "network-port-ipv6-prefix", "");
    EXPECT_EQ(walk("network-port-ipv6-addresses-next", "ipv6Addr", ""), std::vector<std::string>{});

    // The service port has its own addresses.
    write("PUT", "service-port-ipv6-prefix", R"({"ipv6Addr":"2001:db8:9::1/48"})");
    EXPECT_EQ(walk("service-port-ipv6-addresses-next", "ipv6Addr", ""),
              (std::vector<std::string>{R"({"ipv6Addr":"2001:db8:9::1"})", R"({"ipv6Addr":"fe80::21e:c9ff:fe00:2"})"}));
    // A key that is no IPv6 address: an IPv4 key is refused, garbage starts over.
    EXPECT_EQ(codeOf(core("GET", "service-port-ipv6-addresses-next?ipv6Addr=10.0.0.1")), 10003);
    EXPECT_EQ(data(core("GET", "service-port-ipv6-addresses-next?ipv6Addr=zz")), R"({"ipv6Addr":"2001:db8:9::1"})");
}

TEST_F(SystemDir, ArpInformationWalksTheArpCacheToTheEnd)
{
    EXPECT_EQ(codeOf(core("GET", "arp-info-next")), 10023);
    // VLAN 10's routing interface (37) with 192.168.10.1/24, and three static entries.
    EXPECT_EQ(codeOf(harness::request("POST", "/api/v2/routing/routing-config/rtr-vlan-intf?vlanId=10")), 0);
    EXPECT_EQ(codeOf(harness::request("POST", "/api/v2/routing/routing-config/rtr-intf-ip-addr",
                                      R"({"af":1,"intf":37,"ipAddr":"192.168.10.1/24"})")),
              0);
    for (const char* ip : {"192.168.10.5", "192.168.10.30", "192.168.10.3"})
        EXPECT_EQ(codeOf(harness::request("POST", "/api/v2/routing/routing-config/arp-entry",
                                          std::string(R"({"ipAddr":")") + ip + R"(","macAddr":"00:11:22:33:44:0)" +
                                              ip[11] + R"("})")),
                  0)
            << ip;
    std::vector<std::string> want = {
        R"({"intf":37,"ipAddr":"192.168.10.3","mac_addr":"00:11:22:33:44:03"})",
        R"({"intf":37,"ipAddr":"192.168.10.5","mac_addr":"00:11:22:33:44:05"})",
        R"({"intf":37,"ipAddr":"192.168.10.30","mac_addr":"00:11:22:33:44:03"})",
    };
    EXPECT_EQ(walk("arp-info-next", "ipAddr", ""), want);
    EXPECT_EQ(walk("arp-info-next", "ipAddr", "arpIndex=0&intf=37&ipAddr=192.168.10.3"),
              std::vector<std::string>(want.begin() + 1, want.end()));
    // An IPv6 key sorts after the interface's IPv4 entries.
    EXPECT_EQ(codeOf(core("GET", "arp-info-next?intf=37&ipAddr=fe80::1")), 10023);
    // The switch has one ARP table.
    EXPECT_EQ(codeOf(core("GET", "arp-info-next?arpIndex=1")), 10003);
}

TEST_F(SystemDir, ResetRestoresTheSystemSettingsAndReloadKeepsThem)
{
    EXPECT_EQ(codeOf(harness::request("POST", "/api/v2/routing/routing-config/rtr-vlan-intf?vlanId=20")), 0);
    write("PUT", "network-mgmt-vlan", R"({"mgmtVlan":20})");
    write("PUT", "hostname", R"({"sysHostName":"edge-2"})");
    write("PUT", "serial-timeout", R"({"serialTimeout":60})");
    write("PUT", "telnet-server-admin-mode", R"({"telnetServerMode":"disable"})");
    write("PUT", "service-port-ipv4-parameters", R"({"ipAddr":"192.168.5.9","netMask":"255.255.255.0"})");
    write("PUT", "save-configuration", "");
    write("POST", "reload", "");
    EXPECT_EQ(read("hostname"), R"({"sysHostName":"edge-2"})");
    write("PUT", "reset-configuration", "");
    EXPECT_EQ(read("hostname"), R"({"sysHostName":"KX810-A"})");
    EXPECT_EQ(read("serial-timeout"), R"({"serialTimeout":5})");
    EXPECT_EQ(read("telnet-server-admin-mode"), R"({"telnetServerMode":"enable"})");
    EXPECT_EQ(read("service-port-ipv4-addr"), R"({"ipAddr":"0.0.0.0","netMask":"0.0.0.0"})");
    EXPECT_EQ(read("network-mgmt-vlan"), R"({"mgmtVlan":1})");
    // The reset restores the whole default switch: VLAN 20 is gone with its
    // routing interface.
    EXPECT_EQ(codeOf(core("PUT", "network-mgmt-vlan", R"({"mgmtVlan":20})")), 10003);
}

TEST_F(SystemDir, DefaultsComeBackOnRequest)
{
    write("PUT", "line-terminal-length", R"({"accessLine":2,"termLength":100})");
    write("PUT", "line-terminal-length-default", R"({"accessLine":2})");
    EXPECT_EQ(read("line-terminal-length?accessLine=2"), R"({"termLength":24})");
    write("PUT", "serial-timeout", R"({"serialTimeout":0})");
    write("PUT", "serial-timeout-default", "");
    EXPECT_EQ(read("serial-timeout"), R"({"serialTimeout":5})");
    EXPECT_EQ(codeOf(core("PUT", "line-terminal-length-default", R"({"accessLine":7})")), 10003);
    // A getter's missing access line: no switch call.
    sim.ctl({"clear-calls"});
    EXPECT_EQ(codeOf(core("GET", "line-terminal-length")), 10003);
    EXPECT_EQ(callsTo(sim, "rpcclt_openapiLineTerminalLengthGet"), 0);
}

// One name of the switch: the MIB-II system name once set, else the host name.
TEST_F(SystemDir, SystemNameIsTheMib2NameOrTheHostName)
{
    write("PUT", "hostname", R"({"sysHostName":"edge-2"})");
    EXPECT_EQ(read("name"), R"({"systemName":"edge-2"})");
    harness::CgiRequest r;
    r.program = "coregate";
    r.method = "PUT";
    r.uri = "/api/v2/system/1213/sys-name";
    r.body = R"({"sys_name":"Rack 4 core"})";
    EXPECT_EQ(codeOf(harness::runCgi(r)), 0);
    EXPECT_EQ(read("name"), R"({"systemName":"Rack 4 core"})");
    EXPECT_EQ(read("hostname"), R"({"sysHostName":"edge-2"})");
}

// The settings outlive the simulator through its state file.
TEST(SystemDirState, SettingsAreKeptInTheStateFile)
{
    harness::writeAdminSession();
    const std::vector<std::string> args = {"--state", "/tmp/system_dir.state"};
    {
        harness::Simulator sim(args);
        ASSERT_TRUE(sim.ok());
        for (const auto& [leaf, body] : std::vector<std::pair<std::string, std::string>>{
                 {"hostname", R"({"sysHostName":"kept-1"})"},
                 {"line-terminal-length", R"({"accessLine":1,"termLength":60})"},
                 {"service-port-ipv4-parameters", R"({"ipAddr":"192.168.5.9","netMask":"255.255.255.0"})"},
                 {"service-port-ipv6-prefix", R"({"ipv6Addr":"2001:db8:9::1/48"})"},
                 {"network-port-ipv6-gateway", R"({"gateway":"2001:db8::1"})"},
                 {"telnet-server-admin-mode", R"({"telnetServerMode":"disable"})"}})
            EXPECT_EQ(codeOf(core("PUT", leaf, body)), 0) << leaf;
        sim.stop();
    }
    harness::Simulator sim(args);
    ASSERT_TRUE(sim.ok());
    struct Case {
        const char* leaf;
        const char* want;
    } cases[] = {
        {"hostname", R"({"sysHostName":"kept-1"})"},
        {"line-terminal-length?accessLine=1", R"({"termLength":60})"},
        {"service-port-ipv4-addr", R"({"ipAddr":"192.168.5.9","netMask":"255.255.255.0"})"},
        {"service-port-ipv6-addresses-next", R"({"ipv6Addr":"2001:db8:9::1"})"},
        {"network-port-ipv6-gateway", R"({"gateway":"2001:db8::1"})"},
        {"telnet-server-admin-mode", R"({"telnetServerMode":"disable"})"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(data(core("GET", c.leaf)), c.want) << c.leaf;
}

TEST_F(SystemDir, ManufacturerOfAUnitTheStackHas)
{
    EXPECT_EQ(codeOf(core("GET", "manufacturer?unit=2")), 10003);
    EXPECT_EQ(read("manufacturer?unit=0"), R"({"manufacturer":"TALVORN"})");
}

}  // namespace
