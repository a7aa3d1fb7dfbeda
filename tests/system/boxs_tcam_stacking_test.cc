// coregate's chassis environment ("boxs"), TCAM policy ("tcam") and stacking
// directories against the simulated switch: every route of the list answers
// one well-formed envelope, settings round-trip, tables walk to their end,
// and bad input is refused before the switch hears of it.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"
#include "tests/support/route_list.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;

const std::string kBoxs = "/api/v2/system/boxs/";
const std::string kTcam = "/api/v2/system/tcam/";
const std::string kStacking = "/api/v2/system/stacking/";

// One request to coregate; the query after "?" is also QUERY_STRING.
harness::CgiResult core(const std::string& method, const std::string& uri, const std::string& body = "")
{
    harness::CgiRequest r;
    r.program = "coregate";
    r.method = method;
    r.uri = uri;
    size_t q = uri.find('?');
    if (q != std::string::npos)
        r.query = uri.substr(q + 1);
    r.body = body;
    return harness::runCgi(r);
}

class Chassis : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    // Creates a policy and returns its handle (0 on failure).
    uint32_t create(const std::string& policy)
    {
        harness::CgiResult r = core("POST", kTcam + "policy", "{\"policyInfo\":" + policy + "}");
        harness::Json d(dataOf(r, "tcam"));
        const cJSON* h = cJSON_GetObjectItemCaseSensitive(d.root, "handle");
        EXPECT_EQ(codeOf(r), 0) << r.out;
        return cJSON_IsNumber(h) ? static_cast<uint32_t>(h->valuedouble) : 0;
    }
    harness::Simulator sim;
};

// --- Every route of the three directories -------------------------------------

struct Probe {
    const char* method;
    const char* leaf;
    const char* query;  // after "?"
    const char* body;
    int code;
    const char* data;  // the data object, or nullptr: not compared
};

// One request for every route of the directories that goes to the switch or
// answers a fixed view (CLI rows and stubs are checked elsewhere), in the
// order of the list.
const std::map<std::string, std::vector<Probe>> kProbes = {
    {kBoxs,
     {
         {"GET", "num-of-fans", "", "", 0, "{\"numFans\":2}"},
         {"GET", "fan-speed", "fanNum=1", "", 0, "{\"fanSpeed\":9120}"},
         {"GET", "fan-state", "fanNum=2", "", 0, "{\"fanState\":1}"},
         {"GET", "fan-type", "fanNum=1", "", 0, "{\"fanType\":1}"},
         {"GET", "fan-duty-cycle", "fanNum=1", "", 0, "{\"fanDuty\":40}"},
         {"GET", "fan-descrip-size", "", "", 0, "{\"descripSize\":256}"},
         {"GET", "fan-descrip", "fanNum=2", "", 0, "{\"descrip\":\"Fan-2\"}"},
         {"GET", "num-of-pow-supplies", "", "", 0, "{\"numPowSuplies\":2}"},
         {"GET", "pow-supply-state", "psNo=2", "", 0, "{\"psState\":0}"},
         {"GET", "pow-supply-type", "psNo=1", "", 0, "{\"psType\":1}"},
         {"GET", "pow-supply-descrip-size", "", "", 0, "{\"descripSize\":256}"},
         {"GET", "pow-supply-descrip", "psNum=1", "", 0, "{\"descrip\":\"Internal AC-1\"}"},
         {"GET", "num-of-temp-sensors", "", "", 0, "{\"numOfTempSemsors\":2}"},
         {"GET", "temp-sensor-descrip-size", "", "", 0, "{\"descripSize\":32}"},
         {"GET", "temp-sensor-descrip", "sensorNum=2", "", 0, "{\"descrip\":\"CPU\"}"},
         {"GET", "temp", "sensorNum=1", "", 0, "{\"temperature\":45}"},
         {"GET", "temp-sensor-status", "sensorNum=1", "", 0, "{\"state\":1}"},
         {"GET", "sfp-vendor-name-size", "", "", 0, "{\"vendorNameSize\":17}"},
         {"GET", "sfp-serial-number-size", "", "", 0, "{\"serialNumberSize\":17}"},
         {"GET", "sfp-part-number-size", "", "", 0, "{\"partNumberSize\":17}"},
         {"GET", "sfp-vendor-rev-size", "", "", 0, "{\"vendorRevSize\":5}"},
         {"GET", "sfp-compliance-size", "", "", 0, "{\"complianceSize\":32}"},
         {"POST", "port-locator-global-disable", "", "", 0, nullptr},
         {"POST", "port-locator-interface-enable", "", "{\"interface\":3,\"enable\":true}", 0, nullptr},
         {"GET", "hw-version", "", "", 0, "{\"version\":\"A1\"}"},
         {"PUT", "port-leds-mode", "", "{\"val\":1}", 0, nullptr},
         {"GET", "port-leds-mode", "", "", 0, "{\"val\":1}"},
         {"PUT", "led-mode", "", "{\"val\":2}", 0, nullptr},
         {"GET", "led-mode", "", "", 0, "{\"val\":2}"},
         {"GET", "sfp-vendor-name", "ifNum=25", "", 0, "{\"vendorNameDesc\":\"OPTIWAVE\"}"},
         {"GET", "sfp-serial-number", "ifNum=25", "", 0, "{\"serialNumberDesc\":\"OW25A0001\"}"},
         {"GET", "sfp-part-number", "ifNum=25", "", 0, "{\"partNumberDesc\":\"OW-SFP10-SR\"}"},
         {"GET", "sfp-vendor-revision", "ifNum=25", "", 0, "{\"vendorRevDesc\":\"A\"}"},
         {"GET", "sfp-link-length50um", "ifNum=25", "", 0, "{\"linkLength50um\":8}"},
         {"GET", "sfp-link-length62-5um", "ifNum=25", "", 0, "{\"linkLength62_5um\":3}"},
         {"POST", "sfp-nominal-signal-rate", "ifNum=25", "{}", 0, "{\"nominalSigRate\":103}"},
         {"GET", "sfp-compliance", "ifNum=25", "", 0, "{\"complianceDesc\":\"10GBASE-SR\"}"},
     }},
    {kTcam,
     {
         {"POST", "api", "", "", 0, nullptr},
         {"DELETE", "api", "", "", 0, nullptr},
         {"POST", "policy", "", "{\"policyInfo\":{\"policyType\":1}}", 0, "{\"handle\":1}"},
         {"POST", "policy-intf", "", "{\"policyHandle\":1,\"intf\":5}", 0, nullptr},
         {"POST", "policy-intf-rem", "", "{\"policyHandle\":1,\"intf\":5}", 0, nullptr},
         {"GET", "policy", "policyHandle=1", "", 0, nullptr},
         {"POST", "policy-get-first", "", "{}", 0, nullptr},
         {"POST", "policy-get-next", "", "{\"policyHandle\":1}", 10023, nullptr},
         {"POST", "policy-destroy", "", "{\"policyHandle\":1}", 0, nullptr},
         {"POST", "policy-delete-all", "", "", 0, nullptr},
         {"GET", "api-version", "", "", 0, "{\"versionMajor\":1,\"versionMinor\":0,\"version\":256}"},
         {"POST", "ext-agent-pkt-register", "", "{\"agentId\":7,\"flags\":1,\"agentName\":\"probe\"}", 0,
          "{\"agentName\":\"probe\"}"},
         {"POST", "ext-agent-pkt-unregister", "", "{\"agentId\":7}", 0, nullptr},
     }},
    {kStacking,
     {
         {"GET", "unit-mgr-number", "", "", 0, "{\"unit\":1}"},
         {"GET", "unit-mgr-unit-max", "", "", 0, "{\"unit\":1}"},
         {"GET", "unit-mgr-stack-firmware-sync-status", "", "", 0,
          "{\"firmwareSyncStatus\":\"sfs_switch_status_no_action\"}"},
         {"GET", "stm-template-description", "", "", 0, "{\"templateDescr\":\"\"}"},
         {"GET", "unit-mgr-standby", "", "", 0, "{\"configUnit\":1,\"standbyUnit\":0,\"standbyAdminMode\":\"false\"}"},
         {"GET", "unit-mgr-supported-local-unit-index", "", "", 0, "{\"unitTypeIdIndex\":1}"},
         {"POST", "unit-mgr-stack-member-get-first", "", "{}", 0, "{\"firstUnit\":1}"},
         {"GET", "unit-mgr-nsf-admin", "", "", 0, "{\"nsf\":\"disable\"}"},
         {"GET", "unit-mgr-startup-reason", "", "", 0, "{\"reason\":\"power_on\"}"},
         {"GET", "unit-mgr-stack-firmware-sync-mode", "", "", 0, "{\"mode\":\"disable\"}"},
         {"GET", "unit-mgr-stack-firmware-sync-trap-mode", "", "", 0, "{\"mode\":\"disable\"}"},
         {"GET", "unit-mgr-stack-firmware-sync-allow-downgrade-mode", "", "", 0, "{\"mode\":\"disable\"}"},
         {"GET", "stack-trunk-hash-mode", "", "", 0, "{\"hashMode\":0}"},
         {"GET", "unit-mgr-serial-number", "unit=1", "", 0, "{\"serialNumber\":\"KX810A0001\"}"},
         {"GET", "unit-mgr-service-tag", "", "", 0, "{\"serviceTag\":\"ST-KX810A0001\"}"},
         {"GET", "unit-mgr-preconfig-model-id", "unit=1", "", 0, "{\"modelId\":\"KX810-A\"}"},
         {"POST", "unit-mgr-unit-is-valid", "unit=1", "{}", 0, "{\"isValid\":\"true\"}"},
         {"GET", "unit-mgr-unit-status", "unit=1", "", 0, "{\"status\":\"usmdb_unitmgr_unit_ok\"}"},
         {"GET", "unit-mgr-mgmt-unit-status", "unit=1", "", 0, "{\"mgmtStatus\":\"usmdb_unitmgr_mgmt_enabled\"}"},
         {"GET", "unit-mgr-mgmt-pref", "unit=1", "", 0, "{\"hwPref\":\"1\",\"adminPref\":\"1\"}"},
         {"GET", "unit-mgr-unit-type", "", "", 0, "{\"unitType\":1,\"unitTypeIndex\":1}"},
         {"GET", "unit-mgr-stack-firmware-sync-member-status", "", "", 0,
          "{\"firmwareSyncStatus\":\"sfs_switch_status_no_action\"}"},
         {"GET", "unit-mgr-stack-firmware-sync-member-last-attempt-status", "", "", 0, "{\"lastAttemptStatus\":0}"},
         {"GET", "stm-unit-active-template-id", "", "", 0, "{\"templateId\":0}"},
         {"GET", "unit-mgr-nsf-support", "", "", 0, "{\"nsfSupport\":\"false\"}"},
         {"GET", "spm-fps-config-stacking-mode", "", "", 0, "{\"stackPortMode\":\"false\"}"},
         {"POST", "unit-mgr-stack-member-get-next", "", "{}", 0, "{\"nextUnit\":1}"},
         {"GET", "unit-mgr-supported-description", "", "", 0, "{\"unitDescr\":\"QV700-8T8S\"}"},
         {"GET", "unit-mgr-supported-model", "", "", 0, "{\"unitModel\":\"QV700-8T8S\"}"},
         {"GET", "unit-mgr-supported-mgmt-pref", "", "", 0, "{\"unitMgmtPref\":1}"},
     }},
};

std::string memberOf(const std::string& dir)
{
    return dir == kBoxs ? "boxs" : dir == kTcam ? "tcam" : "stacking";
}

TEST_F(Chassis, EveryRouteOfTheListAnswersOneEnvelopeUnderItsDataMember)
{
    std::set<std::string> listed, probed;
    for (const harness::ListedRoute& l : harness::routeList()) {
        std::string dir = l.dir + "/";
        if (kProbes.count(dir) && l.cls != "stub" && l.cls != "CLI")
            listed.insert(l.method + " " + dir + l.leaf);
    }
    for (const auto& [dir, probes] : kProbes) {
        for (const Probe& p : probes) {
            std::string what = std::string(p.method) + " " + dir + p.leaf;
            probed.insert(what);
            harness::CgiResult r = core(p.method, dir + p.leaf + (*p.query ? "?" : "") + p.query, p.body);
            EXPECT_EQ(r.status, 0) << what;
            // Reads answer without a newline; writes and failing POSTs with one.
            bool read = std::string(p.method) == "GET";
            auto e = harness::envelope(r, read ? harness::Ending::Bare : harness::Ending::BareOrNewline);
            ASSERT_NE(e->root, nullptr) << what << ": " << e->why << "\n" << r.out;
            EXPECT_EQ(codeOf(r), p.code) << what << "\n" << r.out;
            if (p.data) {
                EXPECT_EQ(dataOf(r, memberOf(dir).c_str()), p.data) << what;
            }
            if (p.code != 0) {
                EXPECT_EQ(r.out.back(), read ? '}' : '\n') << what;
            }
        }
    }
    EXPECT_EQ(probed, listed);
}

// --- Settings round trips and refusals ---------------------------------------------

TEST_F(Chassis, LedModesRoundTripAndAModeTheSwitchRefusesChangesNothing)
{
    for (int mode : {0, 2, 1}) {
        std::string v = "{\"val\":" + std::to_string(mode) + "}";
        EXPECT_EQ(codeOf(core("PUT", kBoxs + "port-leds-mode", v)), 0) << mode;
        EXPECT_EQ(dataOf(core("GET", kBoxs + "port-leds-mode"), "boxs"), v);
        EXPECT_EQ(codeOf(core("PUT", kBoxs + "led-mode", v)), 0) << mode;
        EXPECT_EQ(dataOf(core("GET", kBoxs + "led-mode"), "boxs"), v);
    }
    // Modes beyond what the LEDs can show: the switch refuses them (-22).
    EXPECT_EQ(codeOf(core("PUT", kBoxs + "port-leds-mode", "{\"val\":3}")), 10003);
    EXPECT_EQ(codeOf(core("PUT", kBoxs + "led-mode", "{\"val\":4}")), 10003);
    EXPECT_EQ(dataOf(core("GET", kBoxs + "port-leds-mode"), "boxs"), "{\"val\":1}");
    EXPECT_EQ(dataOf(core("GET", kBoxs + "led-mode"), "boxs"), "{\"val\":1}");
}

TEST_F(Chassis, BadBodiesAndQueriesAreRefusedWithoutASwitchCall)
{
    const std::string longName(256, 'a');
    struct Bad {
        const char* method;
        std::string uri, body, op;
    } bad[] = {
        // setter: not JSON, wrong member type, over-long text, not a yes/no word
        {"PUT", kBoxs + "led-mode", "{val:1", "rpcclt_openapiBoxsSystemLedModeSet"},
        {"PUT", kBoxs + "led-mode", "", "rpcclt_openapiBoxsSystemLedModeSet"},
        {"PUT", kBoxs + "port-leds-mode", "{\"val\":\"bright\"}", "rpcclt_openapiBoxsPortLedsModeSet"},
        {"PUT", kBoxs + "port-leds-mode", "{\"val\":-1}", "rpcclt_openapiBoxsPortLedsModeSet"},
        {"POST", kBoxs + "port-locator-interface-enable", "{\"interface\":3,\"enable\":\"sometimes\"}",
         "rpcclt_openapiPortLocatorInterfaceEnable"},
        {"POST", kTcam + "ext-agent-pkt-register", "{\"agentId\":1,\"agentName\":\"" + longName + "\"}",
         "rpcclt_openapiExtAgentPktRegister"},
        {"POST", kTcam + "ext-agent-pkt-register", "{\"agentId\":1,\"agentName\":5}",
         "rpcclt_openapiExtAgentPktRegister"},
        {"POST", kTcam + "policy", "[]", "rpcclt_openapiTcamPolicyCreate"},
        {"POST", kTcam + "policy", "{\"policyInfo\":{\"matchVlanVal\":70000}}", "rpcclt_openapiTcamPolicyCreate"},
        {"POST", kTcam + "policy", "{\"policyInfo\":{\"matchDstMac\":[1,2,\"x\"]}}", "rpcclt_openapiTcamPolicyCreate"},
        {"POST", kTcam + "policy", "{\"policyInfo\":[1]}", "rpcclt_openapiTcamPolicyCreate"},
        {"POST", kTcam + "policy-destroy", "{\"policyHandle\":\"first\"}", "rpcclt_openapiTcamPolicyDestroy"},
        {"POST", kTcam + "policy-intf", "{\"policyHandle\":1,\"intf\":1.5}", "rpcclt_openapiTcamPolicyIntfAdd"},
        // iterator: not JSON
        {"POST", kTcam + "policy-get-next", "{\"policyHandle\":", "rpcclt_openapiTcamPolicyGetNext"},
        // getters: the key absent or not a number
        {"GET", kBoxs + "fan-speed", "", "rpcclt_openapiBoxsFanSpeedGet"},
        {"GET", kBoxs + "fan-speed?fanNum=x", "", "rpcclt_openapiBoxsFanSpeedGet"},
        {"GET", kBoxs + "sfp-vendor-name?ifnum=25", "", "rpcclt_openapiBoxsSfpVendorNameGet"},
        {"GET", kTcam + "policy", "", "rpcclt_openapiTcamPolicyGet"},
        {"POST", kBoxs + "sfp-nominal-signal-rate", "{}", "rpcclt_openapiBoxsSfpNominalSignalRate"},
    };
    for (const Bad& b : bad) {
        harness::CgiResult r = core(b.method, b.uri, b.body);
        EXPECT_EQ(r.status, 0) << b.uri << " " << b.body;
        EXPECT_EQ(codeOf(r), 10003) << b.uri << " " << b.body << "\n" << r.out;
        EXPECT_EQ(callsTo(sim, b.op), 0) << b.uri << " " << b.body;
    }
    // Nothing was stored or created.
    EXPECT_EQ(dataOf(core("GET", kBoxs + "led-mode"), "boxs"), "{\"val\":0}");
    EXPECT_EQ(codeOf(core("POST", kTcam + "policy-get-first")), 10023);
}

// --- Environment ------------------------------------------------------------------

TEST_F(Chassis, EachFanPowerSupplySensorAndSfpPortAnswersItsOwnValues)
{
    struct Want {
        std::string uri, data;
        int code;
    } wants[] = {
        {kBoxs + "fan-speed?fanNum=2", "{\"fanSpeed\":9060}", 0},
        {kBoxs + "fan-speed?fanNum=3", "", 10003},  // no third fan
        {kBoxs + "fan-speed?fanNum=0", "", 10003},
        {kBoxs + "pow-supply-state?psNo=1", "{\"psState\":1}", 0},
        {kBoxs + "pow-supply-type?psNo=3", "", 10003},
        {kBoxs + "temp-sensor-descrip?sensorNum=1", "{\"descrip\":\"MAC\"}", 0},
        {kBoxs + "temp?sensorNum=2", "{\"temperature\":52}", 0},
        {kBoxs + "temp-sensor-status?sensorNum=3", "", 10003},
        {kBoxs + "sfp-vendor-name?ifNum=28", "{\"vendorNameDesc\":\"OPTIWAVE\"}", 0},
        {kBoxs + "sfp-serial-number?ifNum=26", "{\"serialNumberDesc\":\"OW26A0001\"}", 0},
        {kBoxs + "sfp-compliance?ifNum=28", "{\"complianceDesc\":\"10GBASE-LR\"}", 0},
        {kBoxs + "sfp-link-length50um?ifNum=28", "{\"linkLength50um\":0}", 0},
        {kBoxs + "sfp-vendor-name?ifNum=24", "", 10003},  // a copper port has no SFP
        {kBoxs + "sfp-vendor-name?ifNum=29", "", 10003},  // a LAG neither
        {kBoxs + "fan-descrip", "{\"descrip\":\"Fan-1\"}", 0},
        {kBoxs + "fan-descrip?fanNum=0", "{\"descrip\":\"Fan-1\"}", 0},
        {kBoxs + "fan-descrip?fanNum=3", "{\"descrip\":\"Fan-3\"}", 0},
        {kBoxs + "pow-supply-descrip", "{\"descrip\":\"Internal AC-0\"}", 0},
        {kBoxs + "pow-supply-descrip?psNum=2", "{\"descrip\":\"Internal AC-2\"}", 0},
    };
    for (const Want& w : wants) {
        harness::CgiResult r = core("GET", w.uri);
        EXPECT_EQ(codeOf(r), w.code) << w.uri << "\n" << r.out;
        EXPECT_EQ(dataOf(r, "boxs"), w.data) << w.uri;
    }
}

// --- TCAM policies -------------------------------------------------------------------

TEST_F(Chassis, APolicyReadsBackAsCreatedAndTheStoreWalksInHandleOrder)
{
    const std::string full =
        "{\"policyHeader\":{\"versionInfo\":{\"versionMajor\":1,\"versionMinor\":0},\"headerLen\":192},"
        "\"policyType\":2,\"policyPrio\":10,\"ruleNum\":4294967301,\"rulePrio\":3,"
        "\"matchDstMac\":[0,17,34,51,68,85],\"matchSrcMac\":[0,0,0,0,0,0],\"matchVlanVal\":10,"
        "\"matchVlanPrio\":5,\"matchEthType\":2048,\"matchDstIp\":167772161,\"matchDstIpMask\":4294967295,"
        "\"matchSrcIp\":0,\"matchSrcIpMask\":0,\"matchIpProto\":17,\"matchIpProtoMask\":255,\"matchIpDscp\":0,"
        "\"matchIpDscpMask\":0,\"matchSrcPortIcmpType\":0,\"matchSrcPortIcmpTypeMask\":0,"
        "\"matchDstPortIcmpCode\":53,\"matchDstPortIcmpCodeMask\":65535,\"matchSrcIpv6Addr\":\"2001:db8::5\","
        "\"matchSrcIpv6Mask\":\"ffff:ffff:ffff:ffff::\",\"matchDstIpv6Addr\":\"::\",\"matchDstIpv6Mask\":\"::\","
        "\"actionType\":1,\"actionVal\":{\"redirIntfNum\":7,\"srcAddr\":[0,0,0,0,0,0],"
        "\"dstMac\":[2,0,0,0,0,9],\"etherType\":0,\"vlanId\":20,\"vlanPrio\":3,\"dscp\":46}}";
    uint32_t a = create(full);
    uint32_t b = create("{\"policyType\":1,\"matchDstMac\":[1,2,3,4,5,6,7,8],\"matchSrcIpv6Addr\":\"no::address::\"}");
    uint32_t c = create("{}");
    ASSERT_TRUE(a && b && c);
    EXPECT_LT(a, b);
    EXPECT_LT(b, c);

    harness::CgiResult got = core("GET", kTcam + "policy?policyHandle=" + std::to_string(a));
    EXPECT_EQ(codeOf(got), 0);
    EXPECT_EQ(got.out.back(), '}');
    EXPECT_EQ(dataOf(got, "tcam"), "{\"policyHandle\":" + std::to_string(a) + ",\"policyInfo\":" + full + "}");

    // Eight MAC bytes keep six; IPv6 text that does not parse reads back as "::".
    std::string second = dataOf(core("GET", kTcam + "policy?policyHandle=" + std::to_string(b)), "tcam");
    EXPECT_NE(second.find("\"matchDstMac\":[1,2,3,4,5,6]"), std::string::npos) << second;
    EXPECT_NE(second.find("\"matchSrcIpv6Addr\":\"::\""), std::string::npos) << second;

    // The walk: get-first answers the first policy, get-next each one after
    // the handle fed back, then 10023.
    harness::CgiResult first = core("POST", kTcam + "policy-get-first", "");
    EXPECT_EQ(codeOf(first), 0);
    EXPECT_EQ(dataOf(first, "tcam"), "{\"policyInfo\":" + full + ",\"nextPolicyHandle\":" + std::to_string(a) + "}");
    std::vector<uint32_t> seen = {a};
    for (int i = 0; i < 10; ++i) {
        std::string h = std::to_string(seen.back());
        harness::CgiResult r = core("POST", kTcam + "policy-get-next", "{\"policyHandle\":" + h + "}");
        if (codeOf(r) != 0) {
            EXPECT_EQ(codeOf(r), 10023);
            EXPECT_EQ(r.out.back(), '\n');
            break;
        }
        harness::Json d(dataOf(r, "tcam"));
        ASSERT_NE(d.root, nullptr) << r.out;
        EXPECT_EQ(std::string(d.root->child->string), "policyHandle");  // the key leads the answer
        EXPECT_EQ(cJSON_GetObjectItem(d.root, "policyHandle")->valuedouble, seen.back());
        ASSERT_TRUE(cJSON_IsObject(cJSON_GetObjectItem(d.root, "policyInfo")));
        seen.push_back(static_cast<uint32_t>(cJSON_GetObjectItem(d.root, "nextPolicyHandle")->valuedouble));
    }
    EXPECT_EQ(seen, (std::vector<uint32_t>{a, b, c}));

    // Destroy one: the walk skips it and the handle is no more.
    EXPECT_EQ(codeOf(core("POST", kTcam + "policy-destroy", "{\"policyHandle\":" + std::to_string(b) + "}")), 0);
    EXPECT_EQ(codeOf(core("GET", kTcam + "policy?policyHandle=" + std::to_string(b))), 10003);
    harness::Json next(dataOf(core("POST", kTcam + "policy-get-next", "{\"policyHandle\":" + std::to_string(a) + "}"),
                              "tcam"));
    EXPECT_EQ(cJSON_GetObjectItem(next.root, "nextPolicyHandle")->valuedouble, c);

    // Delete-all empties the store.
    EXPECT_EQ(codeOf(core("POST", kTcam + "policy-delete-all")), 0);
    EXPECT_EQ(codeOf(core("POST", kTcam + "policy-get-first")), 10023);
    EXPECT_EQ(codeOf(core("GET", kTcam + "policy?policyHandle=" + std::to_string(a))), 10003);
}

TEST_F(Chassis, PolicyInterfacesAttachToExistingPoliciesAndPortsOnly)
{
    uint32_t h = create("{\"policyType\":1}");
    std::string ph = std::to_string(h);
    struct Step {
        const char* leaf;
        std::string body;
        int code;
    } steps[] = {
        {"policy-intf", "{\"policyHandle\":" + ph + ",\"intf\":5}", 0},
        {"policy-intf", "{\"policyHandle\":" + ph + ",\"intf\":30}", 0},     // a LAG
        {"policy-intf", "{\"policyHandle\":" + ph + ",\"intf\":999}", 10003}, // no such interface
        {"policy-intf", "{\"policyHandle\":99,\"intf\":5}", 10003},           // no such policy
        {"policy-intf-rem", "{\"policyHandle\":" + ph + ",\"intf\":5}", 0},
        {"policy-intf-rem", "{\"policyHandle\":" + ph + ",\"intf\":5}", 10003},  // no longer attached
        {"policy-destroy", "{\"policyHandle\":99}", 10003},
    };
    for (const Step& s : steps)
        EXPECT_EQ(codeOf(core("POST", kTcam + s.leaf, s.body)), s.code) << s.leaf << " " << s.body;
    // A VLAN the switch cannot have: the switch refuses the policy.
    EXPECT_EQ(codeOf(core("POST", kTcam + "policy", "{\"policyInfo\":{\"matchVlanVal\":4096}}")), 10003);
}

TEST_F(Chassis, PacketAgentsRegisterOnceByNumber)
{
    harness::CgiResult r = core("POST", kTcam + "ext-agent-pkt-register", "{\"agentId\":3,\"agentName\":\"sflow\"}");
    EXPECT_EQ(codeOf(r), 0);
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(dataOf(r, "tcam"), "{\"agentName\":\"sflow\"}");
    // An agent number already taken, or 0, is refused.
    EXPECT_EQ(codeOf(core("POST", kTcam + "ext-agent-pkt-register", "{\"agentId\":3,\"agentName\":\"x\"}")), 10011);
    EXPECT_EQ(codeOf(core("POST", kTcam + "ext-agent-pkt-register", "{\"agentName\":\"x\"}")), 10003);
    EXPECT_EQ(codeOf(core("POST", kTcam + "ext-agent-pkt-unregister", "{\"agentId\":3}")), 0);
    EXPECT_EQ(codeOf(core("POST", kTcam + "ext-agent-pkt-unregister", "{\"agentId\":3}")), 10003);
}

// --- Stacking ------------------------------------------------------------------------

TEST_F(Chassis, TheOneUnitAnswersForItselfAndNoOtherUnit)
{
    struct Want {
        const char* method;
        std::string uri;
        int code;
        std::string data;
    } wants[] = {
        {"GET", kStacking + "unit-mgr-serial-number", 0, "{\"serialNumber\":\"KX810A0001\"}"},
        {"GET", kStacking + "unit-mgr-serial-number?unit=2", 10003, ""},
        {"GET", kStacking + "unit-mgr-preconfig-model-id?unit=0", 0, "{\"modelId\":\"KX810-A\"}"},
        {"GET", kStacking + "unit-mgr-service-tag?unit=3", 10003, ""},
        {"POST", kStacking + "unit-mgr-unit-is-valid", 0, "{\"isValid\":\"true\"}"},
        {"POST", kStacking + "unit-mgr-unit-is-valid?unit=2", 0, "{\"isValid\":\"false\"}"},
        {"GET", kStacking + "unit-mgr-unit-status", 0, "{\"status\":\"usmdb_unitmgr_unit_ok\"}"},
        {"GET", kStacking + "unit-mgr-unit-status?unit=2", 0, "{\"status\":\"usmdb_unitmgr_unit_not_present\"}"},
        {"GET", kStacking + "unit-mgr-mgmt-unit-status?unit=0", 0, "{\"mgmtStatus\":\"usmdb_unitmgr_mgmt_enabled\"}"},
        {"GET", kStacking + "unit-mgr-mgmt-unit-status?unit=7", 0,
         "{\"mgmtStatus\":\"usmdb_unitmgr_mgmt_disabled\"}"},
        // Only unit 1 counts as the local unit here, as callers know it.
        {"GET", kStacking + "unit-mgr-mgmt-pref", 0, "{\"hwPref\":\"disabled\",\"adminPref\":\"disabled\"}"},
        {"GET", kStacking + "unit-mgr-mgmt-pref?unit=2", 0, "{\"hwPref\":\"disabled\",\"adminPref\":\"disabled\"}"},
        {"GET", kStacking + "unit-mgr-mgmt-pref?xunit=1", 0, "{\"hwPref\":\"disabled\",\"adminPref\":\"disabled\"}"},
    };
    for (const Want& w : wants) {
        harness::CgiResult r = core(w.method, w.uri, "{}");
        EXPECT_EQ(codeOf(r), w.code) << w.uri << "\n" << r.out;
        EXPECT_EQ(dataOf(r, "stacking"), w.data) << w.uri;
    }
}

TEST_F(Chassis, TheStackMembersWalkFromTheFirstUnitToTheEnd)
{
    std::vector<std::string> seen;
    std::string start;
    for (int i = 0; i < 5; ++i) {
        harness::CgiResult r = core("POST", kStacking + "unit-mgr-stack-member-get-next" + start, "{}");
        if (codeOf(r) != 0) {
            EXPECT_EQ(codeOf(r), 10023);
            break;
        }
        harness::Json d(dataOf(r, "stacking"));
        ASSERT_NE(d.root, nullptr);
        std::string unit = std::to_string(static_cast<int>(cJSON_GetObjectItem(d.root, "nextUnit")->valuedouble));
        seen.push_back(unit);
        start = "?startUnit=" + unit;
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1"}));
}

}  // namespace
