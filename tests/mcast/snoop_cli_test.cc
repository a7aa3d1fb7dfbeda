// swarmgate's CLI-backed snooping rows and its two group lists: the family
// words, the text filler and the VLAN list reader by table; request values
// refused before any CLI line or work file; every setting written and read
// back against the simulated switch in both families; the lines the writes
// send; the static multicast router list; the group lists joined with the
// stream file, and many of them read at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "access/cli_mcast.h"
#include "access/cli_snoop.h"
#include "platform/openclt/openclt.h"
#include "runtime/envelope.h"
#include "runtime/raii.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;

// --- Pieces by table ---------------------------------------------------------------

TEST(SnoopPieces, FamilyWords)
{
    struct Case {
        uint8_t family;
        bool known;
        const char *show, *proto, *ip;
    } cases[] = {
        {1, true, "show igmpsnooping", "igmp", "ip"},
        {2, true, "show mldsnooping", "mld", "ipv6"},
        {0, false, "", "", ""},
        {3, false, "", "", ""},
        {255, false, "", "", ""},
    };
    for (const Case& c : cases) {
        const char *show = nullptr, *proto = nullptr, *ip = nullptr;
        EXPECT_EQ(mcastcli::snoopFamilyWords(c.family, &show, &proto, &ip), c.known) << int(c.family);
        EXPECT_STREQ(show, c.show);
        EXPECT_STREQ(proto, c.proto);
        EXPECT_STREQ(ip, c.ip);
    }
}

TEST(SnoopPieces, FillReplacesOnlyNamedPlaces)
{
    const char* const names[] = {"no", "proto", "vlan"};
    const std::string values[] = {"no ", "igmp", "{vlan}"};
    struct Case {
        const char* tmpl;
        const char* text;
    } cases[] = {
        {"{no}set {proto}-plus vlan {vlan}", "no set igmp-plus vlan {vlan}"},
        {"{proto} {proto}", "igmp igmp"},
        {"{other} {no", "{other} {no"},
        {"%s %u {}", "%s %u {}"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mcastcli::snoopFill(c.tmpl, names, values, 3), c.text) << c.tmpl;
    EXPECT_EQ(mcastcli::snoopFill(nullptr, names, values, 3), "");
}

TEST(SnoopPieces, VlanListsKeepOneTo4095)
{
    struct Case {
        const char* value;
        std::vector<uint32_t> vlans;
    } cases[] = {
        {"10 20,30\t40", {10, 20, 30, 40}},
        {"1, 4095 4096 0", {1, 4095}},
        {"  ,, 7", {7}},
        {"5-6 x 8a 9", {9}},
        {"None", {}},
        {"", {}},
        {"99999999999 3", {3}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(mcastcli::snoopVlansOf(c.value), c.vlans) << c.value;
}

// --- Against the simulated switch ------------------------------------------------------

const std::string kSnooping = "/api/v2/mcast/snooping/";

harness::CgiResult call(const std::string& method, const std::string& path, const std::string& body = "")
{
    return harness::requestIn("swarmgate", kSnooping, method, path, body);
}

class SnoopCli : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    // VLANs 10, 20 and 30 on the switch, and the histories cleared.
    void addVlans()
    {
        ASSERT_EQ(openapiClientRegister("snoop_cli_test", &clientHandle), 0);
        EXPECT_EQ(mcastcli::cliConfigApplyChecked("vlan database\nvlan 10\nvlan 20\nvlan 30\nexit\n"), 0);
        openapiClientTearDown(&clientHandle);
        sent();
        sim.ctl({"clear-calls"});
    }
    // The CLI lines of the scripts applied since the last call, as the CLI echoed them.
    std::string sent()
    {
        std::string h = sim.ctl({"cli-history"});
        sim.ctl({"clear-cli-history"});
        return h;
    }
    int cliCalls() { return callsTo(sim, "openapiCliShowExecuteToFile") + callsTo(sim, "openapiTxtCfgApply"); }
    // A read: its code, and its data (nothing when it failed) without a trailing newline.
    int read(const std::string& path, std::string* data = nullptr)
    {
        harness::CgiResult r = call("GET", path);
        EXPECT_NE(r.out.back(), '\n') << path;
        EXPECT_NE(codeOf(r), -1) << r.out << " status " << r.status;
        if (data)
            *data = dataOf(r, "snooping");
        if (codeOf(r) != 0) {
            EXPECT_EQ(dataOf(r, "snooping"), "") << path;
        }
        return codeOf(r);
    }
    std::string readOk(const std::string& path)
    {
        std::string data;
        EXPECT_EQ(read(path, &data), 0) << path;
        return data;
    }
    // A write: its code, answered without data and with one newline.
    int write(const std::string& path, const std::string& body)
    {
        harness::CgiResult r = call("PUT", path, body);
        EXPECT_EQ(r.out.back(), '\n') << path;
        EXPECT_EQ(dataOf(r, "snooping"), "") << path;
        return codeOf(r);
    }
    harness::Simulator sim;
};

TEST_F(SnoopCli, IgmpOnlyRowsAndFamiliesWithoutWordsAnswer17002WithoutTheCli)
{
    const char* reads[] = {
        "snoop-fast-leave-auto-assignment-mode?family=2",
        "snoop-fast-leave-auto-assignment-mode?family=3",
        "snoop-router-alert-mandatory?family=2",
        "snoop-router-alert-mandatory?family=3",
        "snoop-igmp-plus-mode?family=3",
        "snoop-mrtr-exclude-mode?family=255",
        "snoop-report-flood-mode?family=3",
        "snoop-intf-mrouter?family=3&ifNum=1",
        "snoop-vlan-mrouter-list?family=3&vlan=1",
        "snoop-querier-mac-addr?family=3&vlan=1",
    };
    for (const char* p : reads)
        EXPECT_EQ(read(p), kResultUnsupported) << p;
    struct Write {
        const char* path;
        const char* body;
    } writes[] = {
        {"snoop-fast-leave-auto-assignment-mode", R"({"mode":"enable","family":2})"},
        {"snoop-fast-leave-auto-assignment-mode", R"({"mode":"enable","family":0})"},
        {"snoop-router-alert-mandatory", R"({"checkRtrAlert":"true","family":3})"},
        {"snoop-igmp-plus-mode", R"({"mode":"enable","family":0})"},
        {"snoop-report-flood-mode", R"({"mode":"enable","family":3})"},
        {"snoop-vlan-mcast-rtr-expiry-time", R"({"vlan":10,"expiryTime":5,"family":4})"},
        {"snoop-intf-static-mcast-rtr-vlan-mask?ifNum=1", R"({"vlanStaticMcastRtr":[10],"family":3})"},
    };
    for (const Write& w : writes)
        EXPECT_EQ(write(w.path, w.body), kResultUnsupported) << w.path << " " << w.body;
    EXPECT_EQ(cliCalls(), 0);
}

TEST_F(SnoopCli, ValuesThatWouldReachACliLineAreRefusedFirst)
{
    struct Case {
        const char* method;
        const char* path;
        const char* body;
        int code;
    } cases[] = {
        {"GET", "snoop-intf-mrouter?ifNum=abc", "", kResultInvalidArgument},
        {"GET", "snoop-intf-mrouter?ifNum=1%0A", "", kResultInvalidArgument},
        {"GET", "snoop-intf-mrouter?ifNum=1 ", "", kResultInvalidArgument},
        {"GET", "snoop-intf-mrouter?ifNum=-1", "", kResultInvalidArgument},
        {"GET", "snoop-intf-mrouter?ifNum=9999", "", kResultGeneralFailed},
        {"GET", "snoop-intf-mrouter", "", kResultGeneralFailed},
        {"GET", "snoop-vlan-igmp-plus-mode?vlan=0", "", kResultInvalidArgument},
        {"GET", "snoop-vlan-igmp-plus-mode?vlan=4094", "", kResultInvalidArgument},
        {"GET", "snoop-vlan-igmp-plus-mode?vlan=10x", "", kResultInvalidArgument},
        {"GET", "snoop-vlan-igmp-plus-mode", "", kResultInvalidArgument},
        {"GET", "snoop-querier-mac-addr?vlan=1%0Ashow", "", kResultInvalidArgument},
        {"PUT", "snoop-vlan-report-flood-mode", R"({"mode":"enable","vlan":"10\nexit"})", kResultInvalidArgument},
        {"PUT", "snoop-vlan-report-flood-mode", R"({"mode":"enable","vlan":5000})", kResultInvalidArgument},
        {"PUT", "snoop-vlan-report-flood-mode", R"({"mode":"enable","vlan":1.5})", kResultInvalidArgument},
        {"PUT", "snoop-vlan-report-flood-mode?vlan=0", R"({"mode":"enable"})", kResultInvalidArgument},
        {"PUT", "snoop-vlan-mcast-rtr-expiry-time", R"({"vlan":10,"expiryTime":-1})", kResultInvalidArgument},
        {"PUT", "snoop-vlan-mcast-rtr-expiry-time", R"({"vlan":10,"expiryTime":2.5})", kResultInvalidArgument},
        {"PUT", "snoop-vlan-mcast-rtr-expiry-time", R"({"vlan":10,"expiryTime":"5\nexit"})", kResultInvalidArgument},
        {"PUT", "snoop-intf-mcast-rtr-expiry-time?ifNum=1", R"({"expiryTime":true})", kResultInvalidArgument},
        {"PUT", "snoop-intf-fast-leave-oper-mode", R"({"mode":"enable","ifNum":"2\n"})", kResultInvalidArgument},
        {"PUT", "snoop-intf-fast-leave-oper-mode?ifNum=2", R"({"mode":"enable","ifNum":-3})", kResultInvalidArgument},
        {"PUT", "snoop-intf-static-mcast-rtr-vlan-mask?ifNum=1", R"({"vlanStaticMcastRtr":[10,4094]})",
         kResultInvalidArgument},
        {"PUT", "snoop-intf-static-mcast-rtr-vlan-mask?ifNum=1", R"({"vlanStaticMcastRtr":[10,"x"]})",
         kResultInvalidArgument},
        {"PUT", "snoop-intf-static-mcast-rtr-vlan-mask?ifNum=1", R"({"vlanStaticMcastRtr":[10,-20]})",
         kResultInvalidArgument},
        {"PUT", "snoop-report-flood-mode", "not json", kResultInvalidArgument},
        {"PUT", "snoop-report-flood-mode", R"({"mode":"enable","family":"x"})", kResultInvalidArgument},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = call(c.method, c.path, c.body);
        EXPECT_EQ(codeOf(r), c.code) << c.method << " " << c.path << " " << c.body;
        EXPECT_EQ(dataOf(r, "snooping"), "") << c.path;
    }
    EXPECT_EQ(cliCalls(), 0) << sim.ctl({"calls"});
}

// Every setting written, then read back, in each family that has it.
struct RoundTrip {
    const char* put;
    const char* body;
    const char* get;
    const char* data;
};

TEST_F(SnoopCli, EverySettingIsWrittenAndReadBack)
{
    addVlans();
    const RoundTrip cases[] = {
        {"snoop-igmp-plus-mode", R"({"mode":"enable"})", "snoop-igmp-plus-mode", R"({"mode":"enable"})"},
        {"snoop-igmp-plus-mode", R"({"mode":"enable","family":2})", "snoop-igmp-plus-mode?family=2",
         R"({"mode":"enable"})"},
        {"snoop-igmp-plus-mode", R"({"mode":"disable","family":1})", "snoop-igmp-plus-mode?family=0",
         R"({"mode":"disable"})"},
        {"snoop-igmp-plus-mode", R"({"mode":"Enable","family":1})", "snoop-igmp-plus-mode?family=2",
         R"({"mode":"enable"})"},
        {"snoop-mrtr-exclude-mode", R"({"mode":"true"})", "snoop-mrtr-exclude-mode", R"({"mode":"enable"})"},
        {"snoop-mrtr-exclude-mode", R"({"mode":"enable","family":2})", "snoop-mrtr-exclude-mode?family=2",
         R"({"mode":"enable"})"},
        {"snoop-mrtr-exclude-mode", R"({"mode":1})", "snoop-mrtr-exclude-mode", R"({"mode":"disable"})"},
        {"snoop-report-flood-mode", R"({"mode":"enable","family":2})", "snoop-report-flood-mode?family=2",
         R"({"mode":"enable"})"},
        {"snoop-report-flood-mode", R"({"mode":"enable","family":2})", "snoop-report-flood-mode",
         R"({"mode":"disable"})"},
        {"snoop-fast-leave-auto-assignment-mode", R"({"mode":"enable"})", "snoop-fast-leave-auto-assignment-mode",
         R"({"mode":"enable"})"},
        {"snoop-fast-leave-auto-assignment-mode", R"({"mode":"disable","family":1})",
         "snoop-fast-leave-auto-assignment-mode?family=1", R"({"mode":"disable"})"},
        {"snoop-router-alert-mandatory", R"({"checkRtrAlert":"false"})", "snoop-router-alert-mandatory",
         R"({"checkRtrAlert":"false"})"},
        {"snoop-router-alert-mandatory", R"({"checkRtrAlert":"true"})", "snoop-router-alert-mandatory?family=0",
         R"({"checkRtrAlert":"true"})"},
        {"snoop-vlan-igmp-plus-mode", R"({"mode":"enable","vlan":10})", "snoop-vlan-igmp-plus-mode?vlan=10",
         R"({"mode":"enable"})"},
        {"snoop-vlan-igmp-plus-mode?vlan=20", R"({"mode":"enable","family":2})",
         "snoop-vlan-igmp-plus-mode?vlan=20&family=2", R"({"mode":"enable"})"},
        {"snoop-vlan-igmp-plus-mode?vlan=20", R"({"mode":"enable","family":2})", "snoop-vlan-igmp-plus-mode?vlan=20",
         R"({"mode":"disable"})"},
        {"snoop-vlan-igmp-plus-mode?vlan=30", R"({"mode":"enable","vlan":10})", "snoop-vlan-igmp-plus-mode?vlan=30",
         R"({"mode":"disable"})"},
        {"snoop-vlan-mrtr-exclude-mode", R"({"mode":"enable","vlan":30})", "snoop-vlan-mrtr-exclude-mode?vlan=30",
         R"({"mode":"enable"})"},
        {"snoop-vlan-report-flood-mode", R"({"mode":"enable","vlan":"20"})", "snoop-vlan-report-flood-mode?vlan=20",
         R"({"mode":"enable"})"},
        {"snoop-vlan-report-flood-mode?vlan=20", R"({"mode":"disable"})", "snoop-vlan-report-flood-mode?vlan=20",
         R"({"mode":"disable"})"},
        {"snoop-vlan-mcast-rtr-expiry-time", R"({"expiryTime":300,"vlan":10})",
         "snoop-vlan-mcast-rtr-expiry-time?vlan=10", R"({"expiryTime":300})"},
        {"snoop-vlan-mcast-rtr-expiry-time", R"({"expiryTime":45,"vlan":10,"family":2})",
         "snoop-vlan-mcast-rtr-expiry-time?vlan=10&family=2", R"({"expiryTime":45})"},
        {"snoop-vlan-mcast-rtr-expiry-time?vlan=10", R"({})", "snoop-vlan-mcast-rtr-expiry-time?vlan=10",
         R"({"expiryTime":0})"},
        {"snoop-intf-mrouter?ifNum=3", R"({"mode":"enable"})", "snoop-intf-mrouter?ifNum=3", R"({"mode":"enable"})"},
        {"snoop-intf-mrouter?ifNum=3", R"({"mode":"enable"})", "snoop-intf-mrouter-status?ifNum=3",
         R"({"status":"enable"})"},
        {"snoop-intf-mrouter?ifNum=3", R"({"mode":"enable"})", "snoop-intf-mrouter?ifNum=3&family=2",
         R"({"mode":"disable"})"},
        {"snoop-intf-mrouter?ifNum=30", R"({"mode":"enable","family":2})",
         "snoop-intf-mrouter-status?ifNum=30&family=2",
         R"({"status":"enable"})"},
        {"snoop-intf-mrouter?ifNum=3", R"({"mode":"disable"})", "snoop-intf-mrouter?ifNum=3", R"({"mode":"disable"})"},
        {"snoop-intf-fast-leave-oper-mode", R"({"mode":"enable","ifNum":4})", "snoop-intf-fast-leave-oper-mode?ifNum=4",
         R"({"mode":"enable"})"},
        {"snoop-intf-fast-leave-oper-mode?ifNum=5", R"({"mode":"enable","ifNum":"6"})",
         "snoop-intf-fast-leave-oper-mode?ifNum=6", R"({"mode":"enable"})"},
        {"snoop-intf-fast-leave-oper-mode?ifNum=5", R"({"mode":"enable","ifNum":"6"})",
         "snoop-intf-fast-leave-oper-mode?ifNum=5", R"({"mode":"disable"})"},
        {"snoop-intf-fast-leave-oper-mode?ifNum=29", R"({"mode":"enable","family":2})",
         "snoop-intf-fast-leave-oper-mode?ifNum=29&family=2", R"({"mode":"enable"})"},
        {"snoop-intf-mcast-rtr-expiry-time?ifNum=7", R"({"expiryTime":3600})",
         "snoop-intf-mcast-rtr-expiry-time?ifNum=7", R"({"expiryTime":3600})"},
        {"snoop-intf-mcast-rtr-expiry-time?ifNum=31", R"({"expiryTime":"12","family":2})",
         "snoop-intf-mcast-rtr-expiry-time?ifNum=31&family=2", R"({"expiryTime":12})"},
    };
    for (const RoundTrip& c : cases) {
        EXPECT_EQ(write(c.put, c.body), 0) << c.put << " " << c.body;
        EXPECT_EQ(readOk(c.get), c.data) << c.put << " " << c.body << " then " << c.get;
    }
}

// The CLI lines a write sends, as the CLI's echo of them shows.
TEST_F(SnoopCli, WritesSendTheirLines)
{
    addVlans();
    const RoundTrip cases[] = {
        {"snoop-igmp-plus-mode", R"({"mode":"enable"})", "", "#set igmp-plus\n"},
        {"snoop-igmp-plus-mode", R"({"mode":"x","family":2})", "", "#no set mld-plus\n"},
        {"snoop-mrtr-exclude-mode", R"({"family":2,"mode":"true"})", "", "#set mld exclude-mrouter-intf\n"},
        {"snoop-report-flood-mode", R"({})", "", "#no set igmp flood-report\n"},
        {"snoop-fast-leave-auto-assignment-mode", R"({"mode":"enable"})", "", "#set igmp fast-leave auto-assignment\n"},
        {"snoop-router-alert-mandatory", R"({"checkRtrAlert":true})", "", "#no set igmp header-validation\n"},
        {"snoop-vlan-igmp-plus-mode", R"({"mode":"enable","vlan":10,"family":2})", "", "#set mld-plus vlan 10\n"},
        {"snoop-vlan-mrtr-exclude-mode?vlan=20", R"({"mode":"disable"})", "", "#no set igmp exclude-mrouter-intf 20\n"},
        {"snoop-vlan-report-flood-mode", R"({"mode":"enable","vlan":30})", "",
         "(Vlan)#set igmp report-flood-mode 30\n"},
        {"snoop-vlan-mcast-rtr-expiry-time", R"({"vlan":30,"expiryTime":9,"family":2})", "",
         "(Vlan)#set mld mcrtrexpiretime 30 9\n"},
        {"snoop-intf-mrouter?ifNum=29", R"({"mode":"enable"})", "", "#ip igmp snooping mrouter interface\n"},
        {"snoop-intf-fast-leave-oper-mode?ifNum=2", R"({"mode":"disable","family":2})", "",
         "#no ipv6 mld snooping fast-leave\n"},
        {"snoop-intf-mcast-rtr-expiry-time?ifNum=2", R"({"expiryTime":60})", "",
         "#ip igmp snooping mcrtrexpiretime 60\n"},
    };
    for (const RoundTrip& c : cases) {
        EXPECT_EQ(write(c.put, c.body), 0) << c.put << " " << c.body;
        std::string h = sent();
        EXPECT_NE(h.find(c.data), std::string::npos) << c.put << " " << c.body << "\n" << h;
        EXPECT_EQ(h.find("% "), std::string::npos) << h;
    }
}

// The interface's fast leave is one setting of the switch: what the control
// API sets the CLI shows, and the reverse.
TEST_F(SnoopCli, FastLeaveIsOneSettingForTheControlApiAndTheCli)
{
    EXPECT_EQ(write("snoop-intf-fast-leave-admin-mode?intIfNum=4", R"({"mode":"enable","family":2})"), 0);
    EXPECT_EQ(readOk("snoop-intf-fast-leave-oper-mode?ifNum=4&family=2"), R"({"mode":"enable"})");
    EXPECT_EQ(readOk("snoop-intf-fast-leave-oper-mode?ifNum=4"), R"({"mode":"disable"})");
    EXPECT_EQ(write("snoop-intf-fast-leave-oper-mode?ifNum=6", R"({"mode":"enable"})"), 0);
    EXPECT_EQ(readOk("snoop-intf-fast-leave-admin-mode?intIfNum=6"), R"({"mode":"enable"})");
    EXPECT_EQ(write("snoop-intf-fast-leave-oper-mode?ifNum=6", R"({"mode":"disable"})"), 0);
    EXPECT_EQ(readOk("snoop-intf-fast-leave-admin-mode?intIfNum=6"), R"({"mode":"disable"})");
}

TEST_F(SnoopCli, TheSwitchRefusingALineAnswers10003AndChangesNothing)
{
    addVlans();
    const RoundTrip cases[] = {
        {"snoop-vlan-igmp-plus-mode", R"({"mode":"enable","vlan":40})", "snoop-vlan-igmp-plus-mode?vlan=10",
         R"({"mode":"disable"})"},
        {"snoop-vlan-mcast-rtr-expiry-time", R"({"vlan":10,"expiryTime":3601})",
         "snoop-vlan-mcast-rtr-expiry-time?vlan=10", R"({"expiryTime":0})"},
        {"snoop-intf-mcast-rtr-expiry-time?ifNum=7", R"({"expiryTime":4000})",
         "snoop-intf-mcast-rtr-expiry-time?ifNum=7", R"({"expiryTime":0})"},
    };
    for (const RoundTrip& c : cases) {
        EXPECT_EQ(write(c.put, c.body), kResultInvalidArgument) << c.put << " " << c.body;
        EXPECT_EQ(readOk(c.get), c.data) << c.put;
    }
    // A VLAN the switch lacks has no show.
    EXPECT_EQ(read("snoop-vlan-report-flood-mode?vlan=40"), kResultGeneralFailed);
}

TEST_F(SnoopCli, StaticMulticastRouterVlans)
{
    addVlans();
    const std::string mask = "snoop-intf-static-mcast-rtr-vlan-mask?ifNum=3";
    EXPECT_EQ(readOk(mask), R"({"vlanStaticMcastRtr":[]})");
    EXPECT_EQ(write(mask, R"({"vlanStaticMcastRtr":[10,0,20],"status":"enable"})"), 0);
    std::string h = sent();
    EXPECT_NE(h.find("#set igmp mrouter 10\n"), std::string::npos) << h;
    EXPECT_NE(h.find("#set igmp mrouter 20\n"), std::string::npos) << h;
    EXPECT_EQ(h.find("mrouter 0"), std::string::npos) << h;
    EXPECT_EQ(readOk(mask), R"({"vlanStaticMcastRtr":[10,20]})");
    EXPECT_EQ(readOk("snoop-intf-api-vlan-static-mcast-rtr?ifNum=3&vlan=20"), R"({"status":"enable"})");
    EXPECT_EQ(readOk("snoop-intf-api-vlan-static-mcast-rtr?ifNum=3&vlan=30"), R"({"status":"disable"})");
    EXPECT_EQ(readOk("snoop-intf-api-vlan-static-mcast-rtr?ifNum=3"), R"({"status":"disable"})");
    EXPECT_EQ(readOk("snoop-intf-api-vlan-static-mcast-rtr?ifNum=3&vlan=20&family=2"), R"({"status":"disable"})");
    // The VLAN's router list names the interface as a static one.
    EXPECT_EQ(readOk("snoop-vlan-mrouter-list?vlan=20"), R"({"dynamicMask":"","staticMask":"1/0/3"})");

    // A VLAN the switch lacks stops the list there and answers that failure.
    EXPECT_EQ(write(mask, R"({"vlanStaticMcastRtr":[30,40,5000,10],"status":"enable"})"), kResultInvalidArgument);
    EXPECT_EQ(readOk(mask), R"({"vlanStaticMcastRtr":[10,20,30]})");

    // Without "status" the list is removed.
    EXPECT_EQ(write(mask, R"({"vlanStaticMcastRtr":[10,0,20]})"), 0);
    h = sent();
    EXPECT_NE(h.find("#no set igmp mrouter 10\n"), std::string::npos) << h;
    EXPECT_NE(h.find("#no set igmp mrouter 20\n"), std::string::npos) << h;
    EXPECT_EQ(readOk(mask), R"({"vlanStaticMcastRtr":[30]})");

    // No list sends nothing.
    sim.ctl({"clear-calls"});
    EXPECT_EQ(write(mask, R"({"vlanStaticMcastRtr":"10","status":"enable"})"), 0);
    EXPECT_EQ(write(mask, R"({"status":"enable"})"), 0);
    EXPECT_EQ(cliCalls(), 0);
}

TEST_F(SnoopCli, VlanRouterListWithNeitherLabelAnswersEmptyMasks)
{
    addVlans();
    EXPECT_EQ(readOk("snoop-vlan-mrouter-list?vlan=10"), R"({"dynamicMask":"","staticMask":""})");
    EXPECT_EQ(readOk("snoop-vlan-mrouter-list?vlan=10&family=2"), R"({"dynamicMask":"","staticMask":""})");
    EXPECT_EQ(read("snoop-vlan-mrouter-list?vlan=40"), kResultGeneralFailed);
    // A querier that has not been heard has no MAC address to read.
    EXPECT_EQ(read("snoop-querier-mac-addr?vlan=10"), kResultApiNotFound);
}

// --- The group lists ------------------------------------------------------------------

const char* const kStreamFile = "/tmp/mcast_data.json";

// A state file whose IGMP snooping has learnt groups (two subscribers of
// one group on a port, one on a LAG) and SSM group records.
void writeStateWithGroups(const std::string& path)
{
    unlink(path.c_str());
    {
        harness::Simulator blank({"--state", path});
        ASSERT_TRUE(blank.ok());
    }
    JsonPtr state(cJSON_Parse(harness::readFile(path).c_str()));
    ASSERT_TRUE(state);
    cJSON* igmp = cJSON_GetObjectItem(cJSON_GetObjectItem(state.get(), "snooping"), "igmp");
    ASSERT_TRUE(igmp) << "the switch keeps its snooping model";
    cJSON_ReplaceItemInObject(igmp, "groups", cJSON_Parse(R"([
        {"vlan":10,"group":"239.1.1.1","intIfNum":1,"subscriber":"192.168.1.10","subscriberMac":"00:11:22:33:44:01",
         "version":2,"timeout":250},
        {"vlan":10,"group":"239.1.1.1","intIfNum":1,"subscriber":"192.168.1.11","subscriberMac":"00:11:22:33:44:02",
         "version":2,"timeout":240},
        {"vlan":20,"group":"239.2.2.2","intIfNum":30,"subscriber":"192.168.2.5","subscriberMac":"",
         "version":3,"timeout":100}])"));
    // VLAN 10, with a learnt router port and the querier heard in it.
    cJSON* vlans = cJSON_GetObjectItem(state.get(), "vlans");
    ASSERT_TRUE(cJSON_IsArray(vlans) && cJSON_GetArraySize(vlans) > 0);
    cJSON* ten = cJSON_Duplicate(cJSON_GetArrayItem(vlans, 0), true);
    cJSON_ReplaceItemInObject(ten, "id", cJSON_CreateNumber(10));
    cJSON_ReplaceItemInObject(ten, "name", cJSON_CreateString("ten"));
    cJSON_AddItemToArray(vlans, ten);
    cJSON_ReplaceItemInObject(igmp, "vlans", cJSON_Parse(
        R"([{"vlan":10,"querierMac":"00:aa:bb:cc:dd:ee","dynamicMrouters":[5]}])"));
    cJSON_ReplaceItemInObject(igmp, "ssmGroups", cJSON_Parse(R"([
        {"group":"232.1.1.1","intIfNum":2,"vlan":10,"filterMode":1,"reporter":"192.168.1.10",
         "sources":["10.1.1.1","10.1.1.2"]},
        {"group":"232.2.2.2","intIfNum":29,"vlan":20,"filterMode":2,"reporter":"192.168.2.10","sources":[]}])"));
    CStr text(cJSON_Print(state.get()));
    harness::writeFile(path, text.get());
}

const char* const kStreams = R"({"streams":[
    {"group_ip":"239.1.1.1","vlan_id":20,"interface":"1/0/8","source_ip":"10.9.9.9","source_mac":"aa:aa:aa:aa:aa:09"},
    {"group_ip":"239.1.1.1","vlan_id":10,"interface":"1/0/7","source_ip":"10.1.1.1","source_mac":"aa:aa:aa:aa:aa:01"},
    {"group_ip":"239.1.1.1","vlan_id":10,"interface":"1/0/6","source_ip":"10.1.1.2"}]})";

const std::string kGroupsJoined =
    R"({"groups":[{"vlanId":10,"groupIp":"239.1.1.1","groupMac":"01:00:5e:01:01:01","igmpVersion":"v2",)"
    R"("timeout":250,"incomingInterface":"1/0/7","sourceIp":"10.1.1.1","sourceMac":"aa:aa:aa:aa:aa:01",)"
    R"("subscribers":[{"subscriberIp":"192.168.1.10","subscriberMac":"00:11:22:33:44:01","interface":"1/0/1"},)"
    R"({"subscriberIp":"192.168.1.11","subscriberMac":"00:11:22:33:44:02","interface":"1/0/1"}]},)"
    R"({"vlanId":20,"groupIp":"239.2.2.2","groupMac":"01:00:5e:02:02:02","igmpVersion":"v3","timeout":100,)"
    R"("incomingInterface":null,"sourceIp":null,"sourceMac":null,)"
    R"("subscribers":[{"subscriberIp":"192.168.2.5","subscriberMac":null,"interface":"lag 2"}]}]})";

const std::string kSsmGroups =
    R"({"groups":[{"vlanId":10,"group":"232.1.1.1","interface":"1/0/2","reporter":"192.168.1.10",)"
    R"("filterMode":"include","sourceList":"10.1.1.1,10.1.1.2"},)"
    R"({"vlanId":20,"group":"232.2.2.2","interface":"lag 1","reporter":"192.168.2.10","filterMode":"exclude"}]})";

harness::CgiRequest listRequest(const std::string& uri)
{
    harness::CgiRequest r;
    r.program = "swarmgate";
    r.method = "GET";
    r.uri = uri;
    return r;
}

const std::string kGroupUri = "/api/v2/mcast/snooping/group";
const std::string kSsmUri = "/api/v2/mcast/snooping/ssm/groups";

std::string listOf(const std::string& uri)
{
    harness::CgiResult r = harness::runCgi(listRequest(uri));
    EXPECT_EQ(codeOf(r), 0) << uri << "\n" << r.out;
    EXPECT_NE(r.out.back(), '\n') << uri;
    EXPECT_TRUE(harness::workFiles().empty()) << uri;
    return dataOf(r, "snooping");
}

class SnoopGroupLists : public testing::Test {
protected:
    void SetUp() override
    {
        writeStateWithGroups(kState);
        sim.reset(new harness::Simulator({"--state", kState}));
        ASSERT_TRUE(sim->ok());
        harness::writeAdminSession();
        unlink(kStreamFile);
    }
    void TearDown() override { unlink(kStreamFile); }
    const std::string kState = "/tmp/snoop_groups_state.json";
    std::unique_ptr<harness::Simulator> sim;
};

TEST_F(SnoopGroupLists, GroupsJoinedWithTheFirstStreamOfTheirVlanAndAddress)
{
    harness::writeFile(kStreamFile, kStreams);
    EXPECT_EQ(listOf(kGroupUri), kGroupsJoined);
    EXPECT_EQ(listOf(kSsmUri), kSsmGroups);
}

// What the switch learnt, as its CLI shows it.
TEST_F(SnoopGroupLists, LearntRouterPortsAndTheQuerierMac)
{
    harness::CgiRequest q = listRequest("/api/v2/mcast/snooping/snoop-vlan-mrouter-list");
    q.query = "vlan=10";
    harness::CgiResult r = harness::runCgi(q);
    EXPECT_EQ(dataOf(r, "snooping"), R"({"dynamicMask":"1/0/5","staticMask":""})");
    q.uri = "/api/v2/mcast/snooping/snoop-querier-mac-addr";
    r = harness::runCgi(q);
    EXPECT_EQ(dataOf(r, "snooping"), R"({"snoopQuerierMac":"00:aa:bb:cc:dd:ee"})");
    q.query = "vlan=10&family=2";
    r = harness::runCgi(q);
    EXPECT_EQ(codeOf(r), kResultApiNotFound) << "MLD heard no querier";
    EXPECT_TRUE(harness::workFiles().empty());
}

TEST_F(SnoopGroupLists, WithoutAReadableStreamFileTheSourcesAreNull)
{
    std::string plain = kGroupsJoined;
    const std::string joined = R"("incomingInterface":"1/0/7","sourceIp":"10.1.1.1","sourceMac":"aa:aa:aa:aa:aa:01")";
    plain.replace(plain.find(joined), joined.size(), R"("incomingInterface":null,"sourceIp":null,"sourceMac":null)");
    for (const char* content : {"", "not json", "{\"streams\":5}"}) {
        if (*content)
            harness::writeFile(kStreamFile, content);
        EXPECT_EQ(listOf(kGroupUri), plain) << content;
    }
    // Stream detection need not be enabled: the file is read as it is.
    harness::writeFile(kStreamFile, kStreams);
    EXPECT_EQ(listOf(kGroupUri), kGroupsJoined);
}

TEST_F(SnoopGroupLists, ManyListsReadAtOnceNeverMixTheirAnswers)
{
    harness::writeFile(kStreamFile, kStreams);
    const std::string group = listOf(kGroupUri), ssm = listOf(kSsmUri);
    ASSERT_NE(group, ssm);
    constexpr int kProcesses = 6, kRounds = 15;
    std::vector<pid_t> children;
    for (int p = 0; p < kProcesses; ++p) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int bad = 0;
            for (int i = 0; i < kRounds; ++i) {
                bool ssmTurn = (i + p) % 2 == 1;
                harness::CgiResult r = harness::runCgi(listRequest(ssmTurn ? kSsmUri : kGroupUri));
                if (codeOf(r) != 0 || dataOf(r, "snooping") != (ssmTurn ? ssm : group))
                    ++bad;
            }
            _exit(bad == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a process read a mixed or failed answer";
    }
    EXPECT_TRUE(harness::workFiles().empty());
}

// More groups than the read cap holds: the list ends with the last whole line.
TEST(SnoopGroupListsLong, ALineTheReadCapCutIsDropped)
{
    const std::string path = "/tmp/snoop_many_groups.json";
    unlink(path.c_str());
    {
        harness::Simulator blank({"--state", path});
        ASSERT_TRUE(blank.ok());
    }
    JsonPtr state(cJSON_Parse(harness::readFile(path).c_str()));
    ASSERT_TRUE(state);
    cJSON* igmp = cJSON_GetObjectItem(cJSON_GetObjectItem(state.get(), "snooping"), "igmp");
    ASSERT_TRUE(igmp);
    cJSON* groups = cJSON_CreateArray();
    for (int i = 0; i < 600; ++i) {
        char text[256];
        snprintf(text, sizeof text,
                 R"({"vlan":%d,"group":"239.1.%d.%d","intIfNum":1,"subscriber":"192.168.%d.%d",)"
                 R"("subscriberMac":"00:11:22:33:%02x:%02x","version":2,"timeout":1234567890})",
                 1 + i, i / 200, i % 200, i / 200, i % 200, i / 256, i % 256);
        cJSON_AddItemToArray(groups, cJSON_Parse(text));
    }
    cJSON_ReplaceItemInObject(igmp, "groups", groups);
    CStr text(cJSON_Print(state.get()));
    harness::writeFile(path, text.get());
    harness::Simulator sim({"--state", path});
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    harness::Json list(listOf(kGroupUri));
    ASSERT_TRUE(list.root) << list.why;
    cJSON* items = cJSON_GetObjectItem(list.root, "groups");
    int n = cJSON_GetArraySize(items);
    EXPECT_GT(n, 100);
    EXPECT_LT(n, 600) << "the show text is longer than the cap";
    for (int i = 0; i < n; ++i) {
        cJSON* g = cJSON_GetArrayItem(items, i);
        EXPECT_EQ(cJSON_GetObjectItem(g, "timeout")->valuedouble, 1234567890) << i;
        cJSON* sub = cJSON_GetArrayItem(cJSON_GetObjectItem(g, "subscribers"), 0);
        EXPECT_TRUE(cJSON_IsString(cJSON_GetObjectItem(sub, "subscriberMac"))) << i;
        EXPECT_EQ(strlen(cJSON_GetObjectItem(sub, "subscriberMac")->valuestring), 17u) << i;
    }
}

TEST(SnoopGroupListsEmpty, AFreshSwitchHasNoGroups)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    EXPECT_EQ(listOf(kGroupUri), R"({"groups":[]})");
    EXPECT_EQ(listOf(kSsmUri), R"({"groups":[]})");
}

TEST(SnoopGroupListsFailures, AShowTheSwitchFailsAnswersWithoutData)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    sim.ctl({"fault", "openapiCliShowExecuteToFile", "-1"});
    for (const std::string& uri : {kGroupUri, kSsmUri}) {
        harness::CgiResult r = harness::runCgi(listRequest(uri));
        EXPECT_NE(codeOf(r), 0) << uri;
        EXPECT_EQ(dataOf(r, "snooping"), "") << uri;
        EXPECT_TRUE(harness::workFiles().empty()) << uri;
    }
}

}  // namespace
