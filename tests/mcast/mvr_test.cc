// swarmgate's MVR directory and the CLI pieces under it: the dotted label
// reader, the interface word reader, the word tables of the rows and the
// group address reader by table; every setting written and read back
// against the simulated switch; the CLI lines the routes send; the
// switch's refusals; refused request values that reach no CLI and leave no
// work file; a refusal after a long CLI answer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "access/cli_mcast.h"
#include "access/cli_text.h"
#include "runtime/raii.h"
#include "runtime/text_convert.h"
#include "sim/model_mvr.h"
#include "sim/state.h"
#include "tests/access/access_fixture.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;

// --- The dotted label reader ---------------------------------------------------------

struct LeaderCase {
    const char* name;
    std::string text;
    const char* label;
    size_t size;
    int code;
    const char* value;
};

std::string dotted(const std::string& label, const std::string& value)
{
    return label + std::string(46 - label.size(), '.') + " " + value + "\n";
}

TEST(LeaderValue, EveryTextGivesItsValue)
{
    const std::string longValue(200, 'x');
    const LeaderCase cases[] = {
        {"DotLeaderThenWord", dotted("MVR Mode", "compatible"), "MVR Mode", 32, 0, "compatible"},
        {"FastLeave", "Fast Leave Auto-Assignment Mode.......... Enable\r\n", "Fast Leave Auto-Assignment Mode", 32,
         0, "Enable"},
        {"ALabelWithoutDotIsPassedOver", "MVR Mode compatible\n" + dotted("MVR Mode", "dynamic"), "MVR Mode", 32,
         0, "dynamic"},
        {"AnEmptyValueIsPassedOver", "MVR Mode.........   \t\r\n" + dotted("MVR Mode", "dynamic"), "MVR Mode", 32,
         0, "dynamic"},
        {"AValueHoldsDots", dotted("Version", "1.2.3.4"), "Version", 32, 0, "1.2.3.4"},
        {"ADotOnTheNextLineIsNotTheLabels", "MVR Mode\n. x\n", "MVR Mode", 32, kResultApiNotFound, ""},
        {"LeadingBlanksBeforeTheLabel", "   \t" + dotted("MVR Running", "TRUE"), "MVR Running", 32, 0, "TRUE"},
        {"ALongerLineKeepsSizeLessOne", dotted("Label", longValue), "Label", 8, 0, "xxxxxxx"},
        {"TrailingBlanksAreCut", "Label..... a b  \t\n", "Label", 32, 0, "a b"},
        {"NoLine", "nothing here\n\n", "MVR Mode", 32, kResultApiNotFound, ""},
        {"EmptyText", "", "MVR Mode", 32, kResultApiNotFound, ""},
        {"SizeZero", dotted("MVR Mode", "compatible"), "MVR Mode", 0, kResultInvalidArgument, ""},
        {"LastLineWithoutEnd", "MVR Mode..... dynamic", "MVR Mode", 32, 0, "dynamic"},
    };
    for (const LeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::string v;
        EXPECT_EQ(clitext::leaderValue(c.text, c.label, c.size, &v), c.code);
        EXPECT_EQ(v, c.value);
    }
    std::string v;
    EXPECT_EQ(clitext::leaderValue("x", nullptr, 8, &v), kResultInvalidArgument);
}

TEST(WordAfter, TheFirstOccurrenceGivesOneWord)
{
    const std::string line = "1/0/5    Type: RECEIVER    Status: ACTIVE    Immediate Leave: ENABLED\r\n";
    struct Case {
        std::string text;
        const char* label;
        size_t size;
        const char* word;
    } cases[] = {
        {line, "Type:", 32, "RECEIVER"},
        {line, "Status:", 32, "ACTIVE"},
        {line, "Immediate Leave:", 32, "ENABLED"},
        {line, "Immediate Leave:", 4, "ENA"},
        {line, "Mode:", 32, ""},
        {"Type:\t \tSOURCE\tx", "Type:", 32, "SOURCE"},
        {"Type:", "Type:", 32, ""},
        {"Status: A\nStatus: B", "Status:", 32, "A"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(clitext::wordAfter(c.text, c.label, c.size), c.word) << c.label << " in " << c.text;
}

TEST(TableWord, PrefixesAndExactWords)
{
    const char* reads = "RECEIVER=mvr_receiver_port_type|SOURCE=mvr_source_port_type|=mvr_none_port_type";
    const char* writes = "mvr_compatible_mode=compatible|mvr_dynamic_mode=dynamic";
    struct Case {
        const char* table;
        const char* key;
        bool prefix;
        bool found;
        const char* word;
    } cases[] = {
        {reads, "RECEIVER", true, true, "mvr_receiver_port_type"},
        {reads, "receiver,x", true, true, "mvr_receiver_port_type"},
        {reads, "Source", true, true, "mvr_source_port_type"},
        {reads, "NONE", true, true, "mvr_none_port_type"},
        {reads, "", true, true, "mvr_none_port_type"},
        {reads, "RECEIVE", true, true, "mvr_none_port_type"},
        {writes, "mvr_dynamic_mode", false, true, "dynamic"},
        {writes, "MVR_DYNAMIC_MODE", false, false, ""},
        {writes, "mvr_dynamic_mode ", false, false, ""},
        {writes, "", false, false, ""},
        {"enable=", "enable", false, true, ""},
    };
    for (const Case& c : cases) {
        std::string w;
        EXPECT_EQ(mcastcli::tableWord(c.table, c.key, c.prefix, &w), c.found) << c.key;
        EXPECT_EQ(w, c.word) << c.key;
    }
}

TEST(MvrGroup, BodyAndQueryValues)
{
    struct Case {
        const char* json;  // a body member "g", or nullptr for a query text
        const char* query;
        bool ok;
        uint32_t addr;
    } cases[] = {
        {R"({"g":"239.1.1.1"})", nullptr, true, 4009820417u},
        {R"({"g":"4009820417"})", nullptr, true, 4009820417u},
        {R"({"g":4009820417})", nullptr, true, 4009820417u},
        {R"({"g":0})", nullptr, false, 0},
        {R"({"g":"0"})", nullptr, false, 0},
        {R"({"g":"0.0.0.0"})", nullptr, false, 0},
        {R"({"g":-1})", nullptr, false, 0},
        {R"({"g":1.5})", nullptr, false, 0},
        {R"({"g":4294967296})", nullptr, false, 0},
        {R"({"g":"1.2.3"})", nullptr, false, 0},
        {R"({"g":"239.1.1.1\n"})", nullptr, false, 0},
        {R"({"g":"239.1.1.1 x"})", nullptr, false, 0},
        {R"({"g":"12abc"})", nullptr, false, 0},
        {R"({"g":true})", nullptr, false, 0},
        {R"({})", nullptr, false, 0},
        {nullptr, "239.1.1.1", true, 4009820417u},
        {nullptr, "4009820417", true, 4009820417u},
        {nullptr, "239.1.1", false, 0},
        {nullptr, "0", false, 0},
        {nullptr, "", false, 0},
        {nullptr, "239.1.1.1\r", false, 0},
    };
    for (const Case& c : cases) {
        hf::Value v;
        JsonPtr body;
        if (c.json) {
            body.reset(cJSON_Parse(c.json));
            ASSERT_TRUE(body) << c.json;
            v = hf::member(body.get(), "g");
        } else {
            v.found = true;
            v.text = c.query;
        }
        uint32_t a = 0;
        EXPECT_EQ(mcastcli::mvrGroupOf(v, &a), c.ok) << (c.json ? c.json : c.query);
        if (c.ok) {
            EXPECT_EQ(a, c.addr);
        }
    }
    const std::pair<const char*, bool> multicast[] = {{"224.0.0.0", true},       {"239.255.255.255", true},
                                                      {"223.255.255.255", false}, {"240.0.0.0", false},
                                                      {"10.1.1.1", false}};
    for (const auto& m : multicast) {
        uint32_t a = 0;
        ASSERT_TRUE(conv::parseIpv4(m.first, &a));
        EXPECT_EQ(mcastcli::ipv4Multicast(a), m.second) << m.first;
    }
}

TEST(CliPieces, EnableWordAndWrappedTextsRefusedBeforeAnyFile)
{
    const std::pair<const char*, bool> words[] = {{"enable", true}, {"  \tENABLED", true}, {"Enable x", true},
                                                  {"enabl", false}, {"disable", false},   {"", false}};
    for (const auto& w : words)
        EXPECT_EQ(mcastcli::cliEnableWordTest(w.first), w.second) << w.first;
    EXPECT_FALSE(mcastcli::cliEnableWordTest(nullptr));

    // No switch is needed: these never reach it.
    EXPECT_EQ(mcastcli::cliGlobalConfigApply(""), kResultInvalidArgument);
    EXPECT_EQ(mcastcli::cliGlobalConfigApply("mvr\nno mvr"), kResultInvalidArgument);
    EXPECT_EQ(mcastcli::cliGlobalConfigApply(std::string(511 - 15 + 1, 'x')), kResultInvalidArgument);
    EXPECT_EQ(mcastcli::cliVlanDatabaseConfigApply(""), kResultInvalidArgument);
    EXPECT_EQ(mcastcli::cliInterfaceConfigApply("", "mvr"), kResultInvalidArgument);
    EXPECT_EQ(mcastcli::cliInterfaceConfigApply("1/0/1\nexit", "mvr"), kResultInvalidArgument);
    EXPECT_EQ(mcastcli::cliInterfaceConfigApply("1/0/1", ""), kResultInvalidArgument);
    std::string v;
    EXPECT_EQ(mcastcli::cliShowValueGet(nullptr, "MVR Mode", 32, &v), kResultInvalidArgument);
    EXPECT_EQ(mcastcli::cliShowValueGet("show mvr", "MVR Mode", 0, &v), kResultInvalidArgument);
    EXPECT_TRUE(harness::workFiles().empty());
}

TEST(MvrRunningConfig, SettingsOtherThanTheDefaultsAreListed)
{
    sim::SwitchState st = sim::defaultSwitch();
    EXPECT_EQ(sim::mvrRunningConfig(st), "");
    st.mvr.mode = 1;
    st.mvr.modeType = sim::kMvrDynamic;
    st.mvr.vlan = 20;
    st.mvr.queryTime = 9;
    st.mvr.groups = {4009820417u, 4009820418u};
    st.mvr.interfaces[2].groups = {4009820417u};
    st.mvr.interfaces[2].type = sim::kMvrPortReceiver;
    st.mvr.interfaces[29].immediate = 1;
    st.mvr.interfaces[30].mode = 1;
    st.mvr.interfaces[31];  // at its defaults: no block
    EXPECT_EQ(sim::mvrRunningConfig(st), "mvr\nmvr mode dynamic\nmvr vlan 20\nmvr querytime 9\n"
                                         "mvr group 239.1.1.1\nmvr group 239.1.1.2\n"
                                         "interface 1/0/2\nmvr type receiver\nmvr vlan 20 group 239.1.1.1\nexit\n"
                                         "interface lag 1\nmvr immediate\nexit\n"
                                         "interface lag 2\nmvr\nexit\n");
}

// --- The pieces against the switch -----------------------------------------------------

class MvrPieces : public accesstest::AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        start();
        ASSERT_EQ(openapiClientRegister("mvr_test", &clientHandle), 0);
    }
    void TearDown() override
    {
        openapiClientTearDown(&clientHandle);
        AccessTest::TearDown();
    }
};

TEST_F(MvrPieces, ARefusalAfterALongAnswerIsReported)
{
    std::string script = "configure\n";
    for (int i = 0; i < 3000; ++i)
        script += "mvr querytime 7\n";
    script += "mvr querytime 500\nexit\n";
    EXPECT_EQ(mcastcli::cliConfigApplyChecked(script), kResultInvalidArgument);
    EXPECT_GT(history().size(), 70000u) << "the answer is longer than any fixed read";
    EXPECT_EQ(mcastcli::cliConfigApplyChecked("configure\nmvr querytime 8\nexit\n"), kResultOk);
}

TEST_F(MvrPieces, ShowValuesAndInterfaceWords)
{
    std::string v;
    EXPECT_EQ(mcastcli::cliShowValueGet("show mvr", "MVR Mode", 32, &v), kResultOk);
    EXPECT_EQ(v, "compatible");
    EXPECT_EQ(mcastcli::cliShowValueGet("show mvr", "MVR Global query response time", 32, &v), kResultOk);
    EXPECT_EQ(v, "5 (tenths of sec)");
    EXPECT_EQ(mcastcli::cliShowValueGet("show mvr", "No Such Label", 32, &v), kResultApiNotFound);
    EXPECT_EQ(mcastcli::cliShowValueGet("show mvr", "MVR Query|MVR Mode|MVR Running", 32, &v), kResultOk);
    EXPECT_EQ(v, "compatible") << "the first label that gives a value";
    EXPECT_EQ(mcastcli::cliShowValueGet("show nothing", "MVR Mode", 32, &v), kResultGeneralFailed);
    EXPECT_EQ(mcastcli::cliInterfaceConfigApply("1/0/3", "mvr type source"), kResultOk);
    EXPECT_EQ(mcastcli::cliInterfaceConfigApply("1/0/3", "mvr type sideways"), kResultInvalidArgument);
    std::string type, status, immediate = "x";
    EXPECT_EQ(mcastcli::mvrIntfShowGet(3, &type, &status, nullptr), kResultOk);
    EXPECT_EQ(type, "SOURCE");
    EXPECT_EQ(status, "INACTIVE");
    EXPECT_EQ(mcastcli::mvrIntfShowGet(9999, &type, &status, &immediate), kResultGeneralFailed);
}

// --- End to end ----------------------------------------------------------------------

const std::string kMvr = "/api/v2/mcast/mvr/";

harness::CgiResult mvr(const std::string& method, const std::string& path, const std::string& body = "")
{
    return harness::requestIn("swarmgate", kMvr, method, path, body);
}

std::string read(const std::string& path)
{
    harness::CgiResult r = mvr("GET", path);
    EXPECT_EQ(codeOf(r), 0) << path << "\n" << r.out;
    EXPECT_NE(r.out.back(), '\n') << path;
    return dataOf(r, "mvr");
}

int write(const std::string& method, const std::string& path, const std::string& body)
{
    harness::CgiResult r = mvr(method, path, body);
    EXPECT_EQ(r.out.back(), '\n') << path;
    harness::Json j(r.out.substr(r.out.find('{')));
    EXPECT_TRUE(j.root && !cJSON_GetObjectItem(j.root, "mvr")) << r.out;
    return codeOf(r);
}

class Mvr : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    // The CLI lines of the scripts applied since the last call, as the CLI echoed them.
    std::string sent()
    {
        std::string h = sim.ctl({"cli-history"});
        sim.ctl({"clear-cli-history"});
        return h;
    }
    // A member of the switch's MVR state, printed unformatted.
    std::string stateOf(const char* member)
    {
        JsonPtr state(cJSON_Parse(sim.ctl({"dump"}).c_str()));
        cJSON* m = state ? cJSON_GetObjectItem(cJSON_GetObjectItem(state.get(), "mvr"), member) : nullptr;
        CStr text(m ? cJSON_PrintUnformatted(m) : nullptr);
        return text ? text.get() : "";
    }
    int cliCalls() { return callsTo(sim, "openapiCliShowExecuteToFile") + callsTo(sim, "openapiTxtCfgApply"); }
    harness::Simulator sim;
};

TEST_F(Mvr, AReadAndAWriteByteForByte)
{
    harness::CgiResult r = mvr("GET", "admin-mode");
    EXPECT_EQ(r.out, std::string(harness::kJsonHeader) +
                         "{\n\t\"mvr\":\t{\n\t\t\"adminMode\":\t\"disable\"\n\t},\n\t\"resp\":\t{\n\t\t"
                         "\"respCode\":\t0,"
                         "\n\t\t\"respMsg\":\t\"Success\",\n\t\t\"status\":\t\"success\"\n\t}\n}");
    r = mvr("PUT", "admin-mode", R"({"adminMode":"enable"})");
    EXPECT_EQ(r.out, std::string(harness::kJsonHeader) +
                         "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t0,\n\t\t\"respMsg\":\t\"Success\",\n\t\t\"status\":\t"
                         "\"success\"\n\t}\n}\n");
}

// Every setting written, then read back.
struct RoundTrip {
    const char* method;
    const char* path;
    const char* body;
    const char* read;
    const char* data;
};

TEST_F(Mvr, EverySettingIsWrittenAndReadBack)
{
    const RoundTrip cases[] = {
        {"PUT", "admin-mode", R"({"adminMode":"enable"})", "admin-mode", R"({"adminMode":"enable"})"},
        {"PUT", "admin-mode", R"({"adminMode":"Enable"})", "admin-mode", R"({"adminMode":"disable"})"},
        {"PUT", "mode-type", R"({"modeType":"mvr_dynamic_mode"})", "mode-type", R"({"modeType":"mvr_dynamic_mode"})"},
        {"PUT", "mode-type", R"({"modeType":"mvr_compatible_mode"})", "mode-type",
         R"({"modeType":"mvr_compatible_mode"})"},
        {"PUT", "multicast-vlan", R"({"multicastVlan":100})", "multicast-vlan", R"({"multicastVlan":100})"},
        {"PUT", "multicast-vlan", R"({"multicastVlan":4093})", "multicast-vlan", R"({"multicastVlan":4093})"},
        {"PUT", "multicast-vlan", R"({"multicastVlan":0})", "multicast-vlan", R"({"multicastVlan":0})"},
        {"PUT", "query-time", R"({"queryTime":20})", "query-time", R"({"queryTime":20})"},
        {"PUT", "query-time", R"({"queryTime":0})", "query-time", R"({"queryTime":5})"},
        {"PUT", "intf-mode?ifNum=3", R"({"intfMode":"enable"})", "intf-mode?ifNum=3", R"({"intfMode":"enable"})"},
        {"PUT", "intf-mode?ifNum=3", R"({"intfMode":"disable"})", "intf-mode?ifNum=3", R"({"intfMode":"disable"})"},
        {"PUT", "intf-mode?ifNum=30", R"({"intfMode":"enable"})", "intf-mode?ifNum=30", R"({"intfMode":"enable"})"},
        {"PUT", "intf-mvr-type?ifNum=4", R"({"intfMvrType":"mvr_receiver_port_type"})", "intf-mvr-type?ifNum=4",
         R"({"intfMvrType":"mvr_receiver_port_type"})"},
        {"PUT", "intf-mvr-type?ifNum=4", R"({"intfMvrType":"mvr_source_port_type"})", "intf-mvr-type?ifNum=4",
         R"({"intfMvrType":"mvr_source_port_type"})"},
        {"PUT", "intf-mvr-type?ifNum=4", R"({"intfMvrType":"mvr_none_port_type"})", "intf-mvr-type?ifNum=4",
         R"({"intfMvrType":"mvr_none_port_type"})"},
        {"PUT", "intf-immediate-mode?ifNum=5", R"({"immediateMode":"enable"})", "intf-immediate-mode?ifNum=5",
         R"({"immediateMode":"enable"})"},
        {"PUT", "intf-immediate-mode?ifNum=5", R"({"immediateMode":7})", "intf-immediate-mode?ifNum=5",
         R"({"immediateMode":"disable"})"},
    };
    for (const RoundTrip& c : cases) {
        EXPECT_EQ(write(c.method, c.path, c.body), 0) << c.path << " " << c.body;
        EXPECT_EQ(read(c.read), c.data) << c.path << " " << c.body;
    }
    EXPECT_EQ(read("group-num"), R"({"groupEntries":0})");
    EXPECT_EQ(read("max-group-count"), R"({"maxGroupCount":256})");
    EXPECT_EQ(read("intf-mvr-type?ifNum=7"), R"({"intfMvrType":"mvr_none_port_type"})");
}

// The CLI lines a write sends, as the CLI's echo of them shows.
struct Sends {
    const char* method;
    const char* path;
    const char* body;
    const char* line;
};

TEST_F(Mvr, WritesSendTheirLines)
{
    ASSERT_EQ(write("PUT", "multicast-vlan", R"({"multicastVlan":10})"), 0);
    const Sends cases[] = {
        {"POST", "group-ip", R"({"groupIp":"239.1.1.1"})", "#mvr group 239.1.1.1\n"},
        {"POST", "group-ip", R"({"groupIp":"4009820417"})", "#mvr group 239.1.1.1\n"},
        {"POST", "group-ip", R"({"groupIp":4009820417})", "#mvr group 239.1.1.1\n"},
        {"PUT", "mode-type", R"({"modeType":"mvr_unknown"})", "#no mvr mode\n"},
        {"PUT", "mode-type", R"({"modeType":5})", "#no mvr mode\n"},
        {"PUT", "query-time", R"({"queryTime":0})", "#no mvr querytime\n"},
        {"PUT", "query-time", R"({})", "#no mvr querytime\n"},
        {"PUT", "admin-mode", R"({})", "#no mvr\n"},
        {"PUT", "intf-mvr-type?ifNum=2", R"({"intfMvrType":"receiver"})", "#no mvr type\n"},
        {"POST", "intf-group-ip?ifNum=2", R"({"groupIp":"239.1.1.1"})", "#mvr vlan 10 group 239.1.1.1\n"},
        {"DELETE", "intf-group-ip?ifNum=2&groupIp=239.1.1.1", "", "#no mvr vlan 10 group 239.1.1.1\n"},
        {"DELETE", "group-ip?groupIp=4009820417", "", "#no mvr group 239.1.1.1\n"},
    };
    sent();
    for (const Sends& c : cases) {
        EXPECT_EQ(write(c.method, c.path, c.body), 0) << c.path << " " << c.body;
        std::string h = sent();
        EXPECT_NE(h.find(c.line), std::string::npos) << c.path << " " << c.body << "\n" << h;
        EXPECT_EQ(h.find("% "), std::string::npos) << h;
    }
}

TEST_F(Mvr, GroupsOfTheSwitchAndOfAnInterface)
{
    // A group needs the multicast VLAN; an interface's group must be an MVR group.
    EXPECT_EQ(write("POST", "group-ip", R"({"groupIp":"239.1.1.1"})"), kResultInvalidArgument);
    EXPECT_EQ(write("POST", "intf-group-ip?ifNum=2", R"({"groupIp":"239.1.1.1"})"), kResultGeneralFailed);
    ASSERT_EQ(write("PUT", "multicast-vlan", R"({"multicastVlan":20})"), 0);
    EXPECT_EQ(write("POST", "intf-group-ip?ifNum=2", R"({"groupIp":"239.1.1.1"})"), kResultInvalidArgument);
    ASSERT_EQ(write("POST", "group-ip", R"({"groupIp":"239.1.1.1"})"), 0);
    ASSERT_EQ(write("POST", "group-ip", R"({"groupIp":"239.1.1.2"})"), 0);
    EXPECT_EQ(read("group-num"), R"({"groupEntries":2})");
    EXPECT_EQ(write("POST", "intf-group-ip?ifNum=2", R"({"groupIp":"239.1.1.1"})"), 0);
    EXPECT_EQ(write("POST", "intf-group-ip?ifNum=29", R"({"groupIp":4009820418})"), 0);
    EXPECT_EQ(stateOf("groups"), "[4009820417,4009820418]");
    EXPECT_EQ(stateOf("interfaces"), R"([{"intIfNum":2,"type":0,"mode":0,"immediate":0,"groups":[4009820417]},)"
                                     R"({"intIfNum":29,"type":0,"mode":0,"immediate":0,"groups":[4009820418]}])");
    EXPECT_EQ(write("DELETE", "intf-group-ip?ifNum=2&groupIp=239.1.1.1", ""), 0);
    // A group removed leaves the interfaces too.
    EXPECT_EQ(write("DELETE", "group-ip?groupIp=239.1.1.2", ""), 0);
    EXPECT_EQ(stateOf("groups"), "[4009820417]");
    EXPECT_EQ(stateOf("interfaces"), "[]");
    EXPECT_EQ(read("group-num"), R"({"groupEntries":1})");
}

TEST_F(Mvr, GroupIdAndReceiverVlan)
{
    EXPECT_EQ(read("group-id?groupIp=239.1.1.1"), R"({"groupId":4009820417})");
    EXPECT_EQ(read("group-id?groupIp=4009820417"), R"({"groupId":4009820417})");
    for (const char* q : {"group-id?groupIp=0", "group-id", "group-id?groupIp=239.1.1", "group-id?groupIp=x"}) {
        harness::CgiResult r = mvr("GET", q);
        EXPECT_EQ(codeOf(r), kResultInvalidArgument) << q;
        EXPECT_EQ(dataOf(r, "mvr"), "") << q;
    }
    struct Case {
        const char* query;
        const char* status;
    } before[] = {{"vlanId=0", "false"}, {"vlanId=1", "false"}}, after[] = {
        {"vlanId=30", "true"}, {"vlanId=31", "false"}, {"vlanId=0", "false"}, {"", "false"}};
    auto check = [this](const Case& c) {
        harness::CgiResult r = mvr("POST", std::string("is-receivers-in-vlan?") + c.query, "");
        EXPECT_EQ(codeOf(r), 0) << c.query;
        EXPECT_EQ(dataOf(r, "mvr"), std::string(R"({"rxVlanParticipationStatus":")") + c.status + "\"}") << c.query;
    };
    for (const Case& c : before)
        check(c);
    ASSERT_EQ(write("PUT", "multicast-vlan", R"({"multicastVlan":30})"), 0);
    for (const Case& c : after)
        check(c);
}

// The switch's MVR counters as a state file gives them.
void writeStateWithCounters(const std::string& path)
{
    unlink(path.c_str());
    {
        harness::Simulator blank({"--state", path});
        ASSERT_TRUE(blank.ok());
    }
    JsonPtr state(cJSON_Parse(harness::readFile(path).c_str()));
    ASSERT_TRUE(state);
    cJSON* m = cJSON_GetObjectItem(state.get(), "mvr");
    ASSERT_TRUE(m) << "the switch keeps its MVR settings";
    cJSON_ReplaceItemInObject(m, "counters", cJSON_Parse("[11,12,13,14,15,16,17,18,19,4000000000]"));
    CStr text(cJSON_Print(state.get()));
    harness::writeFile(path, text.get());
}

TEST(MvrCounters, EveryCounterTypeReadsItsLabel)
{
    const std::string path = "/tmp/mvr_state.json";
    writeStateWithCounters(path);
    harness::Simulator sim({"--state", path});
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    const std::pair<const char*, const char*> cases[] = {
        {"mvr_pkt_igmp_query_rx_counter", "11"},     {"mvr_pkt_igmp_report_v1_rx_counter", "12"},
        {"mvr_pkt_igmp_report_v2_rx_counter", "13"}, {"mvr_pkt_igmp_leave_rx_counter", "14"},
        {"mvr_pkt_igmp_query_tx_counter", "15"},     {"mvr_pkt_igmp_report_v1_tx_counter", "16"},
        {"mvr_pkt_igmp_report_v2_tx_counter", "17"}, {"mvr_pkt_igmp_leave_tx_counter", "18"},
        {"mvr_pkt_rx_failure_counter", "19"},        {"mvr_pkt_tx_failure_counter", "4000000000"},
        {"unknown", "11"},                           {"", "11"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(read(std::string("pdu-counter?counterType=") + c.first),
                  std::string(R"({"counterValue":)") + c.second + "}")
            << c.first;
    EXPECT_EQ(read("pdu-counter"), R"({"counterValue":11})");
}

TEST_F(Mvr, TheSwitchRefusingALineAnswers10003AndChangesNothing)
{
    const Sends cases[] = {
        {"PUT", "query-time", R"({"queryTime":101})", "query-time"},
        {"PUT", "query-time", R"({"queryTime":4294967295})", nullptr},
        {"POST", "group-ip", R"({"groupIp":"239.9.9.9"})", nullptr},
    };
    for (const Sends& c : cases) {
        EXPECT_EQ(write(c.method, c.path, c.body), kResultInvalidArgument) << c.path;
        EXPECT_NE(sent().find("% Invalid"), std::string::npos) << c.path;
    }
    EXPECT_EQ(read("query-time"), R"({"queryTime":5})");
    EXPECT_EQ(read("group-num"), R"({"groupEntries":0})");
}

TEST_F(Mvr, RefusedValuesReachNoCliAndLeaveNoFile)
{
    struct Case {
        const char* method;
        const char* path;
        const char* body;
        int code;
    } cases[] = {
        {"PUT", "admin-mode", "not json", kResultInvalidArgument},
        {"PUT", "admin-mode", "[1]", kResultInvalidArgument},
        {"PUT", "multicast-vlan", R"({"multicastVlan":4094})", kResultInvalidArgument},
        {"PUT", "multicast-vlan", R"({"multicastVlan":-1})", kResultInvalidArgument},
        {"PUT", "multicast-vlan", R"({"multicastVlan":"10\nmvr"})", kResultInvalidArgument},
        {"PUT", "query-time", R"({"queryTime":1.5})", kResultInvalidArgument},
        {"POST", "group-ip", R"({"groupIp":"239.1.1.1\nno mvr"})", kResultInvalidArgument},
        {"POST", "group-ip", R"({"groupIp":"10.1.1.1"})", kResultInvalidArgument},
        {"POST", "group-ip", R"({"groupIp":"240.0.0.1"})", kResultInvalidArgument},
        {"POST", "group-ip", R"({"groupIp":0})", kResultInvalidArgument},
        {"POST", "group-ip", R"({})", kResultInvalidArgument},
        {"DELETE", "group-ip?groupIp=239.1.1.1%0Ano", "", kResultInvalidArgument},
        {"DELETE", "group-ip", "", kResultInvalidArgument},
        {"PUT", "intf-mode?ifNum=3\nexit", R"({"intfMode":"enable"})", kResultInvalidArgument},
        {"PUT", "intf-mode?ifNum=x", R"({"intfMode":"enable"})", kResultInvalidArgument},
        {"PUT", "intf-mode?ifNum=999", R"({"intfMode":"enable"})", kResultGeneralFailed},
        {"PUT", "intf-mode?ifNum=0", R"({"intfMode":"enable"})", kResultGeneralFailed},
        {"PUT", "intf-mode", R"({"intfMode":"enable"})", kResultGeneralFailed},
        {"GET", "intf-mode?ifNum=999", "", kResultGeneralFailed},
        {"GET", "intf-mvr-type?ifNum=4abc", "", kResultInvalidArgument},
        {"POST", "intf-group-ip?ifNum=999", R"({"groupIp":"239.1.1.1"})", kResultGeneralFailed},
        {"POST", "intf-group-ip?ifNum=2", R"({"groupIp":"224.0.0.1\r"})", kResultInvalidArgument},
        {"DELETE", "intf-group-ip?ifNum=2&groupIp=1.1.1.1", "", kResultInvalidArgument},
    };
    sim.ctl({"clear-calls"});
    for (const Case& c : cases) {
        harness::CgiResult r = mvr(c.method, c.path, c.body);
        EXPECT_EQ(codeOf(r), c.code) << c.method << " " << c.path << " " << c.body << "\n" << r.out;
        EXPECT_EQ(r.out.back() == '\n', std::string(c.method) != "GET") << c.path;
        EXPECT_EQ(cliCalls(), 0) << c.method << " " << c.path << " " << c.body;
        sim.ctl({"clear-calls"});
    }
}

TEST_F(Mvr, AFailedReadAnswersTheCodeAlone)
{
    // The show of an interface the switch takes by number but has no MVR
    // name for: the VLAN routing interface numbers are no ports.
    harness::CgiResult r = mvr("GET", "intf-immediate-mode?ifNum=999");
    EXPECT_EQ(r.out, std::string(harness::kJsonHeader) +
                         "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t10000,\n\t\t\"respMsg\":\t\"General Failed\",\n\t\t"
                         "\"status\":\t\"fail\"\n\t}\n}");
}

}  // namespace
