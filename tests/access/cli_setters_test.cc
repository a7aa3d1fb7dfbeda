// The CLI-text setters, their lock-file wrappers and the two system parsers
// against the simulated switch: the scripts they send (the CLI's transcript),
// their refusals, and round trips through the model, the control API and the
// show renderers.
#include <cjson/cJSON.h>
#include <sys/stat.h>
#include <unistd.h>

#include "access/cli_setters.h"
#include "access/intf_notation.h"
#include "access/safe_wrap.h"
#include "access/show_parse_system.h"
#include "tests/access/access_fixture.h"

namespace {

using accesstest::AccessTest;
using accesstest::callsOf;
using accesstest::quotedTexts;
using accesstest::labelLine;
using accesstest::switchOfModel;

struct JsonDelete {
    void operator()(cJSON* j) const { cJSON_Delete(j); }
};
typedef std::unique_ptr<cJSON, JsonDelete> JsonPtr;

JsonPtr ports(std::initializer_list<int> list)
{
    cJSON* a = cJSON_CreateArray();
    for (int p : list)
        cJSON_AddItemToArray(a, cJSON_CreateNumber(p));
    return JsonPtr(a);
}

class Setters : public AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        start();
        clearLogs();
    }
    uint32_t speedOf(uint32_t intIfNum)
    {
        uint32_t v = 0;
        EXPECT_EQ(openapiIfSpeedGet(&h, intIfNum, &v), 0);
        return v;
    }
};

// Tests that start the simulator from a model of their own.
class CustomSwitch : public AccessTest {};

// --------------------------------------------------------------------------
// multipleIfSpeedSet

TEST_F(Setters, SpeedTextsBecomeTheCliWords)
{
    const struct {
        const char* text;
        const char* line;
        uint32_t mbps;
    } cases[] = {{"1000 Full", "#speed 1000 full-duplex\n", 1000},
                 {"10 Half", "#speed 10 half-duplex\n", 10},
                 {"100 Full", "#speed 100 full-duplex\n", 100},
                 {"1000", "#speed auto\n", 1000}};
    for (const auto& c : cases) {
        clearLogs();
        JsonPtr list = ports({3});
        EXPECT_EQ(multipleIfSpeedSetSafe(&h, list.get(), c.text), 0) << c.text;
        std::string t = history();
        EXPECT_NE(t.find("(Interface 0/3)" + std::string(c.line)), std::string::npos) << t;
        EXPECT_EQ(t.find("% "), std::string::npos) << t;
        EXPECT_EQ(speedOf(3), c.mbps) << c.text;
    }
    EXPECT_FALSE(harness::fileExists("/tmp/multipleIfSpeedSet.lock"));
}

TEST_F(Setters, SpeedChangesTheControlApiAndShowPortAll)
{
    JsonPtr list = ports({5, 6});
    ASSERT_EQ(multipleIfSpeedSetSafe(&h, list.get(), "10 Half"), 0);
    EXPECT_EQ(speedOf(5), 10u);
    EXPECT_EQ(speedOf(6), 10u);
    EXPECT_EQ(speedOf(7), 1000u);
    std::string text = show("show port all");
    EXPECT_NE(lineOf(text, "1/0/5 ").find(" 10 Half "), std::string::npos) << text;
    EXPECT_NE(lineOf(text, "1/0/7 ").find(" Auto "), std::string::npos) << text;
}

TEST_F(Setters, SpeedEmptyListStillAppliesConfigExit)
{
    JsonPtr list = ports({});
    EXPECT_EQ(multipleIfSpeedSet(&h, list.get(), "100 Full"), 0);
    EXPECT_EQ(history(), "--- " OXEL_TMP_DIR "oxel_in_speed\n(KX810-A) #config\n(KX810-A) (Config)#exit\n");
    std::vector<std::string> calls = callsOf(sim(), "openapiTxtCfgApply");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(quotedTexts(calls[0]), (std::vector<std::string>{OXEL_TMP_DIR "oxel_in_speed", OXEL_TMP_DIR "oxel_out_speed"}));
}

TEST_F(Setters, SpeedOfManyPortsGoesOutInCompleteScripts)
{
    JsonPtr list(cJSON_CreateArray());
    for (int p = 1; p <= 28; ++p)
        cJSON_AddItemToArray(list.get(), cJSON_CreateNumber(p));
    EXPECT_EQ(multipleIfSpeedSetSafe(&h, list.get(), "1000 Full"), 0);
    EXPECT_EQ(applies(), 2u);  // 28 blocks do not fit one 1024-byte script
    std::string t = history();
    EXPECT_EQ(t.find("% "), std::string::npos) << t;
    std::string text = show("show port all");
    for (int p = 1; p <= 28; ++p)
        EXPECT_NE(lineOf(text, "1/0/" + std::to_string(p) + " ").find(" 1000 Full "), std::string::npos) << p;
}

TEST_F(Setters, SpeedRefusesTextsAndPortsThatAreNotOneValue)
{
    JsonPtr list = ports({3});
    EXPECT_EQ(multipleIfSpeedSet(&h, list.get(), "1\nip routing\n Full"), 10003);
    EXPECT_EQ(multipleIfSpeedSet(&h, list.get(), "x100 Full"), 10003);
    EXPECT_EQ(multipleIfSpeedSet(&h, list.get(), nullptr), 10003);
    EXPECT_EQ(multipleIfSpeedSet(&h, nullptr, "100 Full"), 10003);
    JsonPtr bad(cJSON_Parse("[3, \"4\\nexit\", 5]"));
    EXPECT_EQ(multipleIfSpeedSet(&h, bad.get(), "100 Full"), 10003);
    JsonPtr frac(cJSON_Parse("[3.5]"));
    EXPECT_EQ(multipleIfSpeedSet(&h, frac.get(), "100 Full"), 10003);
    JsonPtr obj(cJSON_Parse("{\"a\": 3}"));
    EXPECT_EQ(multipleIfSpeedSet(&h, obj.get(), "100 Full"), 10003);
    EXPECT_EQ(applies(), 0u);
    EXPECT_EQ(speedOf(3), 1000u);
    // Cut to 31 characters the text loses its "Full": it becomes "auto", and
    // nothing of it beyond that reaches the CLI.
    EXPECT_EQ(multipleIfSpeedSet(&h, list.get(), "100\nip default-gateway 10.9.9.9\n Full"), 0);
    std::string t = history();
    EXPECT_NE(t.find("#speed auto\n"), std::string::npos) << t;
    EXPECT_EQ(t.find("gateway"), std::string::npos) << t;
}

// --------------------------------------------------------------------------
// managementPortIPv4ParametersSet and its getters

TEST_F(Setters, ManagementScriptForms)
{
    const struct {
        int mode;
        const char* gateway;
        const char* lines;
    } cases[] = {
        {1, "0.0.0.0", "#ip management vlan 1 10.1.2.3 255.255.255.0\n(KX810-A) (Config)#no ip default-gateway\n"},
        {1, "", "#ip management vlan 1 10.1.2.3 255.255.255.0\n(KX810-A) (Config)#no ip default-gateway\n"},
        {1, nullptr, "#ip management vlan 1 10.1.2.3 255.255.255.0\n(KX810-A) (Config)#no ip default-gateway\n"},
        {1, "10.1.2.254", "#ip management vlan 1 10.1.2.3 255.255.255.0\n(KX810-A) (Config)#ip default-gateway 10.1.2.254\n"},
        {2, "10.1.2.254", "(Config)#ip management vlan 1 dhcp\n(KX810-A) (Config)#exit\n"},
        {0, nullptr, "(Config)#ip management vlan 1 dhcp\n(KX810-A) (Config)#exit\n"},
    };
    for (const auto& c : cases) {
        clearLogs();
        EXPECT_EQ(managementPortIPv4ParametersSetSafe(&h, 1, c.mode, "10.1.2.3", "255.255.255.0", c.gateway), 0);
        std::string t = history();
        EXPECT_NE(t.find(c.lines), std::string::npos) << t;
        EXPECT_EQ(t.find("% "), std::string::npos) << t;
    }
    std::vector<std::string> calls = callsOf(sim(), "openapiTxtCfgApply");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(quotedTexts(calls[0]).at(0), OXEL_TMP_DIR "oxel_in_ip_management_vlan");
    EXPECT_EQ(quotedTexts(calls[0]).at(1), OXEL_TMP_DIR "oxel_out_ip_management_vlan");
}

TEST_F(Setters, ManagementRefusesValuesThatAreNotAddresses)
{
    EXPECT_EQ(managementPortIPv4ParametersSet(&h, 1, 1, "10.1.2.3 255.0.0.0\nip default-gateway 1.1.1.1", "255.0.0.0",
                                              nullptr),
              10003);
    EXPECT_EQ(managementPortIPv4ParametersSet(&h, 1, 1, "10.1.2.3", nullptr, nullptr), 10003);
    EXPECT_EQ(managementPortIPv4ParametersSet(&h, 1, 1, "10.1.2.3", "255.0.0.0", "10.1.2.1\nend"), 10003);
    EXPECT_EQ(managementPortIPv4ParametersSet(&h, 1, 1, "1.2.3.256", "255.0.0.0", nullptr), 10003);
    EXPECT_EQ(applies(), 0u);
}

TEST_F(Setters, ManagementRoundTrip)
{
    ASSERT_EQ(managementPortIPv4ParametersSetSafe(&h, 1, 1, "10.1.2.3", "255.255.255.0", "10.1.2.254"), 0);
    uint32_t vlan = 0;
    char method[kMgmtTextSize], address[kMgmtTextSize], mask[kMgmtTextSize], gateway[kMgmtTextSize];
    ASSERT_EQ(managementPortIPv4ParametersGetSafe(&h, &vlan, method, address, mask, gateway), 0);
    EXPECT_EQ(vlan, 1u);
    EXPECT_STREQ(method, "Manual");
    EXPECT_STREQ(address, "10.1.2.3");
    EXPECT_STREQ(mask, "255.255.255.0");
    EXPECT_STREQ(gateway, "10.1.2.254");
    char buf[32];
    EXPECT_EQ(managementGatewayGet(&h, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "10.1.2.254");
    char small[5];
    EXPECT_EQ(managementGatewayGet(&h, small, sizeof small), 0);
    EXPECT_STREQ(small, "10.1");
    uint32_t openVlan = 0;
    EXPECT_EQ(openapiNetworkMgmtVlanGet(&h, &openVlan), 0);
    EXPECT_EQ(openVlan, 1u);
    EXPECT_NE(show("show ip management").find(labelLine("Default Gateway", "10.1.2.254")),
              std::string::npos);
    // No gateway: the getter leaves the buffer empty.
    ASSERT_EQ(managementPortIPv4ParametersSetSafe(&h, 1, 1, "10.1.2.3", "255.255.255.0", "0.0.0.0"), 0);
    strcpy(buf, "junk");
    EXPECT_EQ(managementGatewayGet(&h, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
    ASSERT_EQ(managementPortIPv4ParametersSetSafe(&h, 1, 2, nullptr, nullptr, nullptr), 0);
    ASSERT_EQ(managementPortIPv4ParametersGetSafe(&h, &vlan, method, address, mask, gateway), 0);
    EXPECT_STREQ(method, "DHCP");
    EXPECT_STREQ(address, "0.0.0.0");
    for (const char* lock : {"/tmp/managementPortIPv4ParametersGet.lock", "/tmp/managementPortIPv4ParametersSet.lock"})
        EXPECT_FALSE(harness::fileExists(lock)) << lock;
}

TEST_F(Setters, ManagementGatewayOutsideTheSubnetIsRefusedByTheCli)
{
    ASSERT_EQ(managementPortIPv4ParametersSetSafe(&h, 1, 1, "10.1.2.3", "255.255.255.0", "10.9.9.9"), 0);
    EXPECT_NE(history().find("#ip default-gateway 10.9.9.9\n% Invalid input: the gateway is not in the subnet"),
              std::string::npos);
    char buf[32];
    EXPECT_EQ(managementGatewayGet(&h, buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");
}

TEST_F(Setters, ManagementGettersCheckTheirArguments)
{
    char buf[8];
    EXPECT_EQ(managementGatewayGet(&h, nullptr, 8), 10003);
    EXPECT_EQ(managementGatewayGet(&h, buf, 0), 10003);
    EXPECT_EQ(managementVlanGet(&h, nullptr), 10003);
    uint32_t vlan = 0;
    EXPECT_EQ(managementVlanGet(&h, &vlan), 0);
    EXPECT_EQ(vlan, 1u);
    sim().ctl({"fault", "openapiCliShowExecuteToFile", "-1"});
    vlan = 77;
    EXPECT_EQ(managementVlanGet(&h, &vlan), 10000);
    EXPECT_EQ(vlan, 1u);  // preset, and no output to change it
    strcpy(buf, "junk");
    EXPECT_EQ(managementGatewayGet(&h, buf, sizeof buf), 10000);
    EXPECT_STREQ(buf, "");
}

TEST_F(CustomSwitch, ManagementVlanGetReadsTheConfiguredVlan)
{
    sim::SwitchState st = sim::defaultSwitch();
    st.vlans[10] = sim::Vlan{10, "mgmt", true};
    start(&st);
    EXPECT_EQ(managementPortIPv4ParametersSetSafe(&h, 10, 2, nullptr, nullptr, nullptr), 0);
    uint32_t vlan = 0;
    EXPECT_EQ(managementVlanGet(&h, &vlan), 0);
    EXPECT_EQ(vlan, 10u);
    // A VLAN the switch does not have is refused by the CLI: still 10.
    EXPECT_EQ(managementPortIPv4ParametersSetSafe(&h, 20, 2, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(managementVlanGet(&h, &vlan), 0);
    EXPECT_EQ(vlan, 10u);
}

// --------------------------------------------------------------------------
// fanControlModeSet, lagAutoModeSet

TEST_F(Setters, FanModeRoundTripAndPairedFileNames)
{
    EXPECT_EQ(fanControlModeSet(&h, 2), 0);
    EXPECT_NE(show("show environment").find(labelLine("Fan Control Mode", "Quiet")),
              std::string::npos);
    std::vector<std::string> calls = callsOf(sim(), "openapiTxtCfgApply");
    ASSERT_EQ(calls.size(), 1u);
    std::vector<std::string> names = quotedTexts(calls[0]);
    const std::string inPrefix = OXEL_TMP_DIR "oxel_in_fan_set_", outPrefix = OXEL_TMP_DIR "oxel_out_fan_set_";
    ASSERT_EQ(names.at(0).compare(0, inPrefix.size(), inPrefix), 0);
    ASSERT_EQ(names.at(1).compare(0, outPrefix.size(), outPrefix), 0);
    EXPECT_EQ(names[0].substr(inPrefix.size()), names[1].substr(outPrefix.size()));
    EXPECT_EQ(fanControlModeSet(&h, 1), 0);
    EXPECT_NE(show("show environment").find(labelLine("Fan Control Mode", "Off")), std::string::npos);
}

TEST_F(Setters, FanModeFourAppliesAnEmptyScript)
{
    EXPECT_EQ(fanControlModeSet(&h, 4), 0);
    EXPECT_EQ(applies(), 1u);
    std::string t = history();
    EXPECT_EQ(t.substr(t.find('\n') + 1), "");  // the CLI ran no line
    EXPECT_NE(show("show environment").find(labelLine("Fan Control Mode", "Cool")),
              std::string::npos);
    sim().ctl({"fault", "openapiTxtCfgApply", "-5", "1"});
    EXPECT_EQ(fanControlModeSet(&h, 4), 10000);
}

TEST_F(Setters, LagAutoModeRoundTrip)
{
    EXPECT_EQ(lagAutoModeSet(&h, 1), 0);
    EXPECT_NE(show("show port-channel brief").find(labelLine("Auto-LAG Mode", "Enabled")),
              std::string::npos);
    EXPECT_EQ(lagAutoModeSet(&h, 7), 0);
    EXPECT_NE(history().find("#no port-channel auto\n"), std::string::npos);
    EXPECT_NE(show("show port-channel brief").find(labelLine("Auto-LAG Mode", "Disabled")),
              std::string::npos);
}

// --------------------------------------------------------------------------
// ptpTcIntfAdminModeSet

TEST_F(Setters, PtpRefusedOnTheKx810ModelsWithoutTouchingFiles)
{
    harness::writeFile(OXEL_TMP_DIR "oxel_in_interface_ptp", "kept");
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 3, 1), 10004);
    EXPECT_EQ(applies(), 0u);
    EXPECT_EQ(harness::readFile(OXEL_TMP_DIR "oxel_in_interface_ptp"), "kept");
    EXPECT_NE(log().find("(WARN): oxel_cgi: [ptpTcIntfAdminModeSet:"), std::string::npos);
    EXPECT_NE(log().find("] Unsupport PTP\n"), std::string::npos);
    unlink(OXEL_TMP_DIR "oxel_in_interface_ptp");
}

class PtpModel : public AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        sim::SwitchState st = switchOfModel("KX850-P");
        start(&st);
        clearLogs();
    }
};

TEST_F(PtpModel, PortAndLagRoundTrip)
{
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 3, 1), 0);
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 30, 1), 0);  // lag 2
    std::string t = history();
    EXPECT_NE(t.find("#interface 1/0/3\n(KX850-P) (Interface 1/0/3)#ptp clock e2e-transparent\n"), std::string::npos)
        << t;
    EXPECT_NE(t.find("#interface lag 2\n(KX850-P) (Interface lag 2)#ptp clock e2e-transparent\n"), std::string::npos)
        << t;
    std::string text = show("show ptp clock e2e-transparent");
    EXPECT_NE(lineOf(text, "1/0/3 ").find("Enabled"), std::string::npos) << text;
    EXPECT_NE(lineOf(text, "lag 2 ").find("Enabled"), std::string::npos) << text;
    EXPECT_NE(lineOf(text, "1/0/4 ").find("Disabled"), std::string::npos) << text;
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 3, 0), 0);
    EXPECT_NE(lineOf(show("show ptp clock e2e-transparent"), "1/0/3 ").find("Disabled"), std::string::npos);
}

TEST_F(PtpModel, OtherModesAndFailedLookupsApplyNoScript)
{
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 3, 2), 0);
    // Above the LAGs: "lag 971", which the CLI refuses.
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 999, 1), 0);
    sim().ctl({"fault", "openapiHashIntfUnitSlotPortGet", "-29"});
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 3, 1), 0);
    // Without the first LAG no interface can be named: nothing is applied
    // (rather than taking every interface for a LAG counted from 0).
    sim().ctl({"clear-faults"});
    sim().ctl({"fault", "openapiIfFirstGet", "-29"});
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 3, 1), 0);
    EXPECT_EQ(applies(), 1u);
    EXPECT_NE(history().find("% Invalid input"), std::string::npos);
}

TEST_F(CustomSwitch, PtpRefusedOnTwoMemberStack)
{
    sim::SwitchState st = switchOfModel("KX850-P");
    st.units.push_back(sim::Unit{2, "KX850-P", "KX850P0002"});
    start(&st);
    uint32_t count = 0;
    EXPECT_EQ(stackMemberCountGet(&h, &count), 0);
    EXPECT_EQ(count, 2u);
    sim().ctl({"clear-calls"});
    EXPECT_EQ(ptpTcIntfAdminModeSet(&h, 3, 1), 10004);
    EXPECT_TRUE(callsOf(sim(), "openapiTxtCfgApply").empty());
}

// --------------------------------------------------------------------------
// ifFlowControlSet, poePortTimerScheduleNameSet, vlanMakeStatic, ifConfigAVBSet

TEST_F(Setters, FlowControlRoundTripAndEmptyScriptForLags)
{
    EXPECT_EQ(ifFlowControlSet(&h, 3, 1), 0);
    EXPECT_NE(history().find("(Interface 1/0/3)#flowcontrol symmetric\n"), std::string::npos);
    EXPECT_NE(lineOf(show("show port all"), "1/0/3 ").find("Active"), std::string::npos);
    clearLogs();
    EXPECT_EQ(ifFlowControlSet(&h, 29, 1), 0);  // a LAG: an empty script
    EXPECT_EQ(ifFlowControlSet(&h, 3, 9), 0);   // another mode: the same
    EXPECT_EQ(applies(), 2u);
    EXPECT_EQ(history().find("#"), std::string::npos);
    EXPECT_EQ(ifFlowControlSet(&h, 3, 0), 0);
    EXPECT_NE(lineOf(show("show port all"), "1/0/3 ").find("Inactive"), std::string::npos);
}

TEST_F(Setters, PoeScheduleRoundTripAndRefusals)
{
    EXPECT_EQ(poePortTimerScheduleNameSet(&h, 5, "night-1"), 0);
    std::string line = lineOf(show("show poe port configuration all"), "1/0/5 ");
    EXPECT_EQ(line.substr(line.rfind(' ') + 1), "night-1") << line;
    EXPECT_EQ(applies(), 1u);
    for (const char* bad : {"a b", "a\nexit", "", "x;y", "0123456789012345678901234567890123"})
        EXPECT_EQ(poePortTimerScheduleNameSet(&h, 5, bad), 10003) << bad;
    EXPECT_EQ(poePortTimerScheduleNameSet(&h, 5, nullptr), 10003);
    EXPECT_EQ(applies(), 1u);
    EXPECT_EQ(poePortTimerScheduleNameSet(&h, 999, "night"), 10000);
    EXPECT_NE(log().find("] Bad return code trying to get unit/slot/port. (result = -29)\n"), std::string::npos);
    // An SFP+ port supplies no PoE: the CLI refuses, the schedule stays unset.
    EXPECT_EQ(poePortTimerScheduleNameSet(&h, 25, "night"), 0);
    EXPECT_NE(history().find("% Invalid input: 1/0/25 is not a PoE port.\n"), std::string::npos);
}

class DynamicVlan : public AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        sim::SwitchState st = sim::defaultSwitch();
        st.vlans[20] = sim::Vlan{20, "", false};
        start(&st);
        clearLogs();
    }
};

TEST_F(DynamicVlan, MakeStaticRoundTrip)
{
    EXPECT_EQ(openapiVlanIsStatic(&h, 20), 0);
    EXPECT_NE(lineOf(show("show vlan"), "20 ").find("Dynamic"), std::string::npos);
    EXPECT_EQ(vlanMakeStatic(&h, 20), 0);
    EXPECT_NE(history().find("(Vlan)#vlan makestatic 20\n"), std::string::npos);
    EXPECT_EQ(openapiVlanIsStatic(&h, 20), 1);
    EXPECT_NE(lineOf(show("show vlan"), "20 ").find("Static"), std::string::npos);
    std::vector<std::string> calls = callsOf(sim(), "openapiTxtCfgApply");
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(quotedTexts(calls[0]).at(0), OXEL_TMP_DIR "vlan_static_in");
    // Static already, or unknown: nothing to apply.
    clearLogs();
    EXPECT_EQ(vlanMakeStatic(&h, 20), 0);
    EXPECT_EQ(vlanMakeStatic(&h, 99), 0);
    EXPECT_EQ(applies(), 0u);
    EXPECT_EQ(openapiVlanIsStatic(&h, 1), 1);
    EXPECT_EQ(openapiVlanIsStatic(&h, 99), -29);
}

TEST_F(DynamicVlan, MakeStaticApplyFailureGives10000)
{
    sim().ctl({"fault", "openapiTxtCfgApply", "-5"});
    EXPECT_EQ(vlanMakeStatic(&h, 20), 10000);
    EXPECT_EQ(openapiVlanIsStatic(&h, 20), 0);
}

TEST_F(Setters, AvbRemovesItsFilesAndAppliesNothing)
{
    harness::writeFile(OXEL_TMP_DIR "oxel_in_port_avb", "x");
    harness::writeFile(OXEL_TMP_DIR "oxel_out_port_avb", "x");
    EXPECT_EQ(ifConfigAVBSet(&h), 0);
    EXPECT_FALSE(harness::fileExists(OXEL_TMP_DIR "oxel_in_port_avb"));
    EXPECT_FALSE(harness::fileExists(OXEL_TMP_DIR "oxel_out_port_avb"));
    EXPECT_EQ(applies(), 0u);
    EXPECT_NE(log().find("(DEBUG): oxel_cgi: [ifConfigAVBSet:"), std::string::npos);
    EXPECT_NE(log().find("] This model of switch does not support AVB.\r\n"), std::string::npos);
}

// --------------------------------------------------------------------------
// bootvarGet and the lock files

TEST_F(Setters, BootvarRecordsFromShowBootvar)
{
    BootImageRecord recs[4];
    int count = 4;
    ASSERT_EQ(bootvarGetSafe(&h, &count, recs), 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(recs[0].unit, 1);
    EXPECT_STREQ(recs[0].active, "4.1.2.7");
    EXPECT_STREQ(recs[0].backup, "4.1.1.3");
    EXPECT_STREQ(recs[0].currentActive, "image1");
    EXPECT_STREQ(recs[0].nextActive, "image1");
    EXPECT_FALSE(harness::fileExists("/tmp/bootvarGet.lock"));
    EXPECT_EQ(bootvarGetSafe(&h, nullptr, recs), 10003);
    sim().ctl({"fault", "openapiCliShowExecuteToFile", "-1", "1"});
    count = 4;
    EXPECT_EQ(bootvarGetSafe(&h, &count, recs), 10000);
    EXPECT_EQ(count, 0);
}

TEST_F(CustomSwitch, BootvarOneRecordPerUnitUpToTheCount)
{
    sim::SwitchState st = sim::defaultSwitch();
    st.units.push_back(sim::Unit{2, "KX810-A", "KX810A0002"});
    st.units[1].image1 = "4.1.3.0";
    start(&st);
    BootImageRecord recs[2];
    int count = 2;
    ASSERT_EQ(bootvarGet(&h, &count, recs), 0);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(recs[1].unit, 2);
    EXPECT_STREQ(recs[1].active, "4.1.3.0");
    count = 1;
    ASSERT_EQ(bootvarGet(&h, &count, recs), 0);
    EXPECT_EQ(count, 1);
}

TEST_F(CustomSwitch, BootvarCutsOverlongImageNamesToTheirFields)
{
    sim::SwitchState st = sim::defaultSwitch();
    st.units[0].image1 = std::string(40, 'a');
    st.units[0].nextImage = std::string(40, 'n');
    start(&st);
    BootImageRecord recs[1];
    memset(recs, 0x55, sizeof recs);
    int count = 1;
    ASSERT_EQ(bootvarGet(&h, &count, recs), 0);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(strnlen(recs[0].active, sizeof recs[0].active), 11u);
    EXPECT_LT(strnlen(recs[0].backup, sizeof recs[0].backup), sizeof recs[0].backup);
    EXPECT_LT(strnlen(recs[0].currentActive, sizeof recs[0].currentActive), sizeof recs[0].currentActive);
    EXPECT_LT(strnlen(recs[0].nextActive, sizeof recs[0].nextActive), sizeof recs[0].nextActive);
}

TEST_F(Setters, SafeOperationWhoseLockFileCannotBeCreatedReturns10000)
{
    ASSERT_EQ(mkdir("/tmp/bootvarGet.lock", 0755), 0);
    ASSERT_EQ(mkdir("/tmp/managementPortIPv4ParametersSet.lock", 0755), 0);
    BootImageRecord recs[1];
    int count = 1;
    EXPECT_EQ(bootvarGetSafe(&h, &count, recs), 10000);
    EXPECT_EQ(managementPortIPv4ParametersSetSafe(&h, 1, 2, nullptr, nullptr, nullptr), 10000);
    EXPECT_TRUE(callsOf(sim(), "openapiCliShowExecuteToFile").empty());
    EXPECT_EQ(applies(), 0u);
    rmdir("/tmp/bootvarGet.lock");
    rmdir("/tmp/managementPortIPv4ParametersSet.lock");
}

}  // namespace
