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
#include <string>
#include <vector>

#include "access/cli_snoop.h"
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
    harness::CgiRequest r;
    r.program = "swarmgate";
    r.method = method;
    std::string p = path;
    size_t q = p.find('?');
    if (q != std::string::npos) {
        r.query = p.substr(q + 1);
        p.resize(q);
    }
    r.uri = kSnooping + p;
    r.body = body;
    harness::CgiResult out = harness::runCgi(r);
    EXPECT_TRUE(harness::workFiles().empty()) << method << " " << path;
    return out;
}

class SnoopCli : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    int cliCalls() { return callsTo(sim, "openapiCliShowExecuteToFile") + callsTo(sim, "openapiTxtCfgApply"); }
    // A read: its code, and its data (nothing when it failed) without a trailing newline.
    int read(const std::string& path, std::string* data = nullptr)
    {
        harness::CgiResult r = call("GET", path);
        EXPECT_NE(r.out.back(), '\n') << path;
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

}  // namespace
