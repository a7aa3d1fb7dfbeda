// swarmgate's IGMP and MLD snooping routes that go through the switch's
// control API, against the simulated switch: every setting written and read
// back in both families without touching the other, the family rules, the
// checks and walks, the SSM tables walked to their end, and values refused
// by the switch or before any call, with the switch's state and the work
// directory untouched.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <string>
#include <vector>

#include "mcast/mcast_rows.h"
#include "runtime/raii.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

harness::CgiResult snoop(const std::string& method, const std::string& leaf, const std::string& query,
                         const std::string& body = "", bool queryAbsent = false)
{
    harness::CgiRequest r;
    r.program = "swarmgate";
    r.method = method;
    r.uri = "/api/v2/mcast/snooping/" + leaf;
    r.query = query;
    r.queryAbsent = queryAbsent;
    r.body = body;
    return harness::runCgi(r);
}

harness::CgiResult get(const std::string& leaf, const std::string& query) { return snoop("GET", leaf, query); }
harness::CgiResult put(const std::string& leaf, const std::string& query, const std::string& body)
{
    return snoop("PUT", leaf, query, body);
}

std::string data(const harness::CgiResult& r) { return harness::dataOf(r, "snooping"); }

std::string withFamily(const std::string& query, int family)
{
    std::string f = "family=" + std::to_string(family);
    return query.empty() ? f : query + "&" + f;
}

// One setting: the keys of its entry (query), its body member and a value the
// switch takes, and how a read answers that value.
struct Setting {
    const char* leaf;
    const char* query;
    std::string body;  // members without the family
    std::string read;  // the data of the read after the write
};

// Settings kept per family, each with a value that is not its default.
std::vector<Setting> familySettings(int family)
{
    bool v4 = family == 1;
    return {
        {"snoop-admin-mode", "", "\"adminMode\":\"enable\"", "{\"adminMode\":\"enable\"}"},
        {"snoop-proxy-querier-admin-mode", "", "\"adminMode\":\"disable\"", "{\"adminMode\":\"disable\"}"},
        {"snoop-intf-enabled-mask", "", "\"mask\":\"1/0/3,lag 2,1/0/1\"", "{\"mask\":\"1/0/1,1/0/3,lag 2\"}"},
        {"snoop-querier-address", "", v4 ? "\"snoopQuerierAddr\":\"10.1.1.9\"" : "\"snoopQuerierAddr\":\"fe80::9\"",
         v4 ? "{\"snoopQuerierAddr\":\"10.1.1.9\"}" : "{\"snoopQuerierAddr\":\"fe80::9\"}"},
        {"snoop-querier-admin-mode", "", "\"adminMode\":1", "{\"adminMode\":1}"},
        {"snoop-querier-expiry-interval", "", "\"expiryInterval\":200", "{\"expiryInterval\":200}"},
        {"snoop-querier-query-interval", "", "\"queryInterval\":90", "{\"queryInterval\":90}"},
        {"snoop-querier-version", "", "\"version\":1", "{\"version\":1}"},
        {"snoop-intf-mode", "intIfNum=5", "\"mode\":\"enable\"", "{\"mode\":\"enable\"}"},
        {"snoop-intf-fast-leave-admin-mode", "intIfNum=30", "\"mode\":\"enable\"", "{\"mode\":\"enable\"}"},
        {"snoop-intf-proxy-querier-mode", "intIfNum=5", "\"mode\":\"disable\"", "{\"mode\":\"disable\"}"},
        {"snoop-intf-group-membership-interval", "intIfNum=5", "\"queryTime\":300", "{\"queryTime\":300}"},
        {"snoop-intf-response-time", "intIfNum=5", "\"responseTime\":20", "{\"responseTime\":20}"},
        {"snoop-vlan-mode", "vlanId=1", "\"snoopVlanMode\":1", "{\"snoopVlanMode\":1}"},
        {"snoop-vlan-fast-leave-mode", "vlanId=1", "\"fastLeaveMode\":\"true\"", "{\"fastLeaveMode\":\"true\"}"},
        {"snoop-vlan-group-membership-interval", "vlanId=1", "\"groupMembershipInterval\":400",
         "{\"groupMembershipInterval\":400}"},
        {"snoop-vlan-maximum-response-time", "vlanId=1", "\"responseTime\":22", "{\"responseTime\":22}"},
        {"snoop-vlan-proxy-querier-mode", "vlanId=1", "\"mode\":0", "{\"mode\":0}"},
        {"snoop-vlan-report-supp-mode", "vlanId=1", "\"reportSuppMode\":\"true\"", "{\"reportSuppMode\":\"true\"}"},
        {"snoop-querier-vlan-mode", "vlanId=1", "\"vlanMode\":1", "{\"vlanMode\":1}"},
        {"snoop-querier-vlan-election-mode", "vlanId=1", "\"vlanMode\":1", "{\"vlanMode\":1}"},
        {"snoop-querier-vlan-address", "vlanId=1",
         v4 ? "\"snoopQuerierAddr\":\"10.1.1.2\"" : "\"snoopQuerierAddr\":\"2001:db8::2\"",
         v4 ? "{\"snoopQuerierAddr\":\"10.1.1.2\"}" : "{\"snoopQuerierAddr\":\"2001:db8::2\"}"},
    };
}

class Snooping : public testing::Test {
protected:
    void SetUp() override
    {
        sim_.reset(new harness::Simulator());
        ASSERT_TRUE(sim_->ok());
        harness::writeAdminSession();
    }
    std::unique_ptr<harness::Simulator> sim_;
};

TEST_F(Snooping, EverySettingRoundTripsInItsFamilyAndLeavesTheOther)
{
    for (int family : {1, 2}) {
        int other = 3 - family;
        for (const Setting& s : familySettings(family)) {
            std::string before = data(get(s.leaf, withFamily(s.query, family)));
            std::string otherBefore = data(get(s.leaf, withFamily(s.query, other)));
            ASSERT_NE(before, "") << s.leaf;
            ASSERT_NE(before, s.read) << s.leaf << ": the value must not be the default";
            harness::CgiResult w = put(s.leaf, s.query, "{" + s.body + ",\"family\":" + std::to_string(family) + "}");
            EXPECT_EQ(w.out, std::string(harness::kJsonHeader) +
                                 "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t0,\n\t\t\"respMsg\":\t\"Success\",\n\t\t"
                                 "\"status\":\t\"success\"\n\t}\n}\n")
                << s.leaf;
            harness::CgiResult r = get(s.leaf, withFamily(s.query, family));
            EXPECT_EQ(data(r), s.read) << s.leaf << " family " << family;
            EXPECT_NE(harness::envelope(r, harness::Ending::Bare)->root, nullptr) << s.leaf << ": a read ends bare";
            EXPECT_EQ(data(get(s.leaf, withFamily(s.query, other))), otherBefore) << s.leaf << " family " << family;
        }
    }
    EXPECT_TRUE(harness::workFiles().empty());
}

TEST_F(Snooping, SwitchWideSettingsRoundTripWithoutAFamily)
{
    const Setting settings[] = {
        {"snoop-flood-unknown-all-ports", "", "\"floodAll\":\"true\"", "{\"floodAll\":\"true\"}"},
        {"snoop-auto-video-mode", "", "\"mode\":\"enable\"", "{\"mode\":\"enable\"}"},
    };
    for (const Setting& s : settings) {
        EXPECT_NE(data(get(s.leaf, "")), s.read) << s.leaf;
        EXPECT_EQ(harness::codeOf(put(s.leaf, "", "{" + s.body + "}")), 0) << s.leaf;
        EXPECT_EQ(data(get(s.leaf, "")), s.read) << s.leaf;
        // Any word but the exact one clears it again.
        EXPECT_EQ(harness::codeOf(put(s.leaf, "", "{}")), 0) << s.leaf;
        EXPECT_NE(data(get(s.leaf, "")), s.read) << s.leaf;
    }
    EXPECT_EQ(data(get("snoop-auto-video-vlan", "")), "{\"vlanId\":0}");
}

TEST_F(Snooping, TheFamilyOfReadsAndWrites)
{
    struct Step {
        const char* method;
        const char* query;
        const char* body;
        int code;
        const char* igmp;  // admin mode of IGMP and MLD afterwards
        const char* mld;
    } steps[] = {
        // A write without a family is IGMP's.
        {"PUT", "", "{\"adminMode\":\"enable\"}", 0, "enable", "disable"},
        {"PUT", "", "{\"adminMode\":\"enable\",\"family\":2}", 0, "enable", "enable"},
        // Only the exact word enables: anything else disables.
        {"PUT", "", "{\"adminMode\":\"Enable\",\"family\":2}", 0, "enable", "disable"},
        {"PUT", "", "{\"adminMode\":\"enable\",\"family\":2}", 0, "enable", "enable"},
        {"PUT", "", "{\"adminMode\":1}", 0, "disable", "enable"},
        {"PUT", "", "{\"adminMode\":\"enable\",\"family\":257}", 0, "enable", "enable"},  // 8 bits: 1
        {"PUT", "", "{\"adminMode\":\"disabled\",\"family\":2}", 0, "enable", "disable"},
        {"PUT", "", "{\"family\":1}", 0, "disable", "disable"},
        // A present family 0 stays 0, which the switch refuses.
        {"PUT", "", "{\"adminMode\":\"enable\",\"family\":0}", 10003, "disable", "disable"},
        {"PUT", "", "{\"adminMode\":\"enable\",\"family\":3}", 10003, "disable", "disable"},
        {"PUT", "", "{\"adminMode\":\"enable\",\"family\":-1}", 10003, "disable", "disable"},
        {"PUT", "", "not json", 10003, "disable", "disable"},
        {"PUT", "", "", 10003, "disable", "disable"},
    };
    for (const Step& s : steps) {
        harness::CgiResult w = snoop(s.method, "snoop-admin-mode", s.query, s.body);
        EXPECT_EQ(harness::codeOf(w), s.code) << s.body;
        EXPECT_EQ(data(get("snoop-admin-mode", "")), std::string("{\"adminMode\":\"") + s.igmp + "\"}") << s.body;
        EXPECT_EQ(data(get("snoop-admin-mode", "family=2")), std::string("{\"adminMode\":\"") + s.mld + "\"}")
            << s.body;
    }
    // Reads: absent or 0 is IGMP; the low 8 bits of the number.
    put("snoop-admin-mode", "", "{\"adminMode\":\"enable\",\"family\":2}");
    const struct {
        const char* query;
        int code;
        const char* data;
    } reads[] = {
        {"", 0, "{\"adminMode\":\"disable\"}"},
        {"family=0", 0, "{\"adminMode\":\"disable\"}"},
        {"family=1", 0, "{\"adminMode\":\"disable\"}"},
        {"family=2", 0, "{\"adminMode\":\"enable\"}"},
        {"family=258", 0, "{\"adminMode\":\"enable\"}"},
        {"family=256", 10003, ""},
        {"family=3", 10003, ""},
        {"xfamily=2", 0, "{\"adminMode\":\"disable\"}"},
    };
    for (const auto& r : reads) {
        harness::CgiResult a = get("snoop-admin-mode", r.query);
        EXPECT_EQ(harness::codeOf(a), r.code) << r.query;
        EXPECT_EQ(data(a), r.data) << r.query;
    }
    harness::CgiResult failed = get("snoop-admin-mode", "family=9");
    EXPECT_EQ(failed.out, std::string(harness::kJsonHeader) +
                              "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t10003,\n\t\t\"respMsg\":\t\"Invalid "
                              "argument\",\n\t\t\"status\":\t\"fail\"\n\t}\n}");
}

TEST_F(Snooping, ValuesTheSwitchRefusesChangeNothing)
{
    struct Refused {
        const char* leaf;
        const char* query;
        const char* body;
    } cases[] = {
        {"snoop-intf-mode", "intIfNum=99", "{\"mode\":\"enable\"}"},          // no such interface
        {"snoop-intf-mode", "", "{\"mode\":\"enable\"}"},                     // absent: 0
        {"snoop-intf-mode", "intIfNum=4130", "{\"mode\":\"enable\"}"},
        {"snoop-intf-mode", "intIfNum=5", "{\"mode\":\"enable\",\"family\":4}"},
        {"snoop-intf-group-membership-interval", "intIfNum=5", "{\"queryTime\":1}"},
        {"snoop-intf-group-membership-interval", "intIfNum=5", "{\"queryTime\":10}"},  // not above the response
        {"snoop-intf-response-time", "intIfNum=5", "{\"responseTime\":26}"},
        {"snoop-intf-response-time", "intIfNum=5", "{\"responseTime\":0}"},
        {"snoop-vlan-mode", "vlanId=4000", "{\"snoopVlanMode\":1}"},         // no such VLAN
        {"snoop-vlan-mode", "vlanId=1", "{\"snoopVlanMode\":2}"},
        {"snoop-vlan-maximum-response-time", "vlanId=1", "{\"responseTime\":26}"},
        {"snoop-vlan-group-membership-interval", "vlanId=1", "{\"groupMembershipInterval\":3601}"},
        {"snoop-querier-expiry-interval", "", "{\"expiryInterval\":59}"},
        {"snoop-querier-query-interval", "", "{\"queryInterval\":1801}"},
        {"snoop-querier-version", "", "{\"version\":3}"},
        {"snoop-querier-admin-mode", "", "{\"adminMode\":2}"},
        {"snoop-querier-address", "", "{\"snoopQuerierAddr\":\"fe80::1\"}"},  // an MLD address for IGMP
        {"snoop-querier-vlan-address", "vlanId=1", "{\"snoopQuerierAddr\":\"10.0.0.1\",\"family\":2}"},
        {"snoop-intf-enabled-mask", "", "{\"mask\":\"1/0/1,1/0/99\"}"},
        {"snoop-intf-enabled-mask", "", "{\"mask\":\"1/0/1,,1/0/2\"}"},
    };
    for (const Refused& c : cases) {
        std::string query = std::string(c.query).empty() ? "intIfNum=5" : c.query;
        std::string before[2] = {data(get(c.leaf, withFamily(query, 1))), data(get(c.leaf, withFamily(query, 2)))};
        harness::CgiResult r = put(c.leaf, c.query, c.body);
        EXPECT_EQ(harness::codeOf(r), 10003) << c.leaf << " " << c.body;
        EXPECT_EQ(data(get(c.leaf, withFamily(query, 1))), before[0]) << c.leaf << " " << c.body;
        EXPECT_EQ(data(get(c.leaf, withFamily(query, 2))), before[1]) << c.leaf << " " << c.body;
    }
    // MLD takes longer response times than IGMP.
    EXPECT_EQ(harness::codeOf(put("snoop-vlan-maximum-response-time", "vlanId=1", "{\"responseTime\":60,\"family\":2}")),
              0);
    EXPECT_TRUE(harness::workFiles().empty());
}

TEST_F(Snooping, TextsLongerThanTheirBuffersAreRefusedBeforeAnyCall)
{
    struct Case {
        const char* leaf;
        const char* query;
        std::string body;
        const char* op;
    } cases[] = {
        {"snoop-querier-address", "", "{\"snoopQuerierAddr\":\"" + std::string(40, '0') + "10.1.1.9\"}",
         "openapiSnoopQuerierAddressSet"},
        {"snoop-querier-address", "", "{\"snoopQuerierAddr\":\"\"}", "openapiSnoopQuerierAddressSet"},
        {"snoop-querier-address", "", "{}", "openapiSnoopQuerierAddressSet"},
        {"snoop-querier-address", "", "{\"snoopQuerierAddr\":\"10.1.1\"}", "openapiSnoopQuerierAddressSet"},
        {"snoop-querier-address", "", "{\"snoopQuerierAddr\":17}", "openapiSnoopQuerierAddressSet"},
        {"snoop-querier-vlan-address", "vlanId=1",
         "{\"snoopQuerierAddr\":\"0000:0000:0000:0000:0000:ffff:255.255.255.2550\",\"family\":2}",
         "openapiSnoopQuerierVlanAddressSet"},
        {"snoop-intf-enabled-mask", "", "{\"mask\":\"" + std::string(3072, ' ') + "\"}",
         "openapiSnoopIntfEnabledMaskSet"},
        {"snoop-intf-enabled-mask", "", "{\"mask\":[\"1/0/1\"]}", "openapiSnoopIntfEnabledMaskSet"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(harness::codeOf(put(c.leaf, c.query, c.body)), 10003) << c.leaf << " " << c.body.size();
        EXPECT_EQ(harness::callsTo(*sim_, c.op), 0) << c.leaf;
    }
    // The longest texts that fit are taken: 45 characters, 3071 characters.
    EXPECT_EQ(harness::codeOf(put("snoop-querier-vlan-address", "vlanId=1",
                                  "{\"snoopQuerierAddr\":\"0000:0000:0000:0000:0000:ffff:255.255.255.255\","
                                  "\"family\":2}")),
              0);
    EXPECT_EQ(data(get("snoop-querier-vlan-address", "vlanId=1&family=2")),
              "{\"snoopQuerierAddr\":\"::ffff:255.255.255.255\"}");
    std::string mask = "1/0/1";
    while (mask.size() + 6 <= 3071)
        mask += ",1/0/2";
    ASSERT_EQ(mask.size(), 3071u);
    EXPECT_EQ(harness::codeOf(put("snoop-intf-enabled-mask", "", "{\"mask\":\"" + mask + "\"}")), 0);
    EXPECT_EQ(data(get("snoop-intf-enabled-mask", "")), "{\"mask\":\"1/0/1,1/0/2\"}");
    EXPECT_TRUE(harness::workFiles().empty());
}

TEST_F(Snooping, ChecksAndWalks)
{
    struct Step {
        const char* method;
        const char* leaf;
        const char* query;
        const char* body;
        int code;
        const char* data;
    } steps[] = {
        {"GET", "snoop-protocol-next", "family=0", "", 0, "{\"nextFamily\":1}"},
        {"GET", "snoop-protocol-next", "family=1", "", 0, "{\"nextFamily\":2}"},
        {"GET", "snoop-protocol-next", "family=2", "", 10023, ""},
        {"GET", "snoop-protocol-next", "family=9", "", 10023, ""},
        {"GET", "snoop-protocol-next", "", "", 0, "{\"nextFamily\":1}"},
        {"GET", "snoop-protocol", "", "", 0, "{\"status\":\"true\"}"},
        {"GET", "snoop-protocol", "family=2", "", 0, "{\"status\":\"true\"}"},
        {"GET", "snoop-protocol", "family=7", "", 0, "{\"status\":\"false\"}"},
        {"POST", "snoop-is-auto-video-vlan-enabled", "", "{}", 0, "{\"status\":\"false\"}"},
        {"POST", "snoop-is-auto-video-vlan-enabled", "", "[1,2]", 0, "{\"status\":\"false\"}"},
        {"POST", "snoop-is-auto-video-vlan-enabled", "", "{", 10003, ""},
        {"POST", "snoop-is-auto-video-vlan-enabled", "", "", 10003, ""},
        {"POST", "snoop-is-valid-intf", "", "{\"intIfNum\":3}", 0, "{\"status\":\"true\"}"},
        {"POST", "snoop-is-valid-intf", "", "{\"intIfNum\":36}", 0, "{\"status\":\"true\"}"},
        {"POST", "snoop-is-valid-intf", "", "{\"intIfNum\":37}", 0, "{\"status\":\"false\"}"},
        {"POST", "snoop-is-valid-intf", "", "nothing", 10003, ""},
        {"POST", "snoop-vlan-check-valid", "", "{\"vlanId\":1}", 0, ""},
        {"POST", "snoop-vlan-check-valid", "", "{\"vlanId\":2}", 10003, ""},
        {"GET", "snoop-vlan-next", "vlanId=0", "", 0, "{\"vlanId\":0,\"nextVlan\":1}"},
        {"GET", "snoop-vlan-next", "", "", 0, "{\"vlanId\":0,\"nextVlan\":1}"},
        {"GET", "snoop-vlan-next", "vlanId=1", "", 10023, ""},
        {"GET", "snoop-control-frames-processed", "family=2", "", 0, "{\"processedFrames\":0}"},
        {"GET", "snoop-data-frames-forwarded", "", "", 0, "{\"forwardedFrames\":0}"},
        {"GET", "snoop-ssm-mfdb-max-table-entries", "family=2", "", 0, "{\"maxEntries\":512}"},
        {"GET", "snoop-querier-oper-state", "vlanId=1", "", 0, "{\"state\":0}"},
    };
    for (const Step& s : steps) {
        harness::CgiResult r = snoop(s.method, s.leaf, s.query, s.body);
        EXPECT_EQ(harness::codeOf(r), s.code) << s.leaf << " " << s.query << s.body << "\n" << r.out;
        EXPECT_EQ(data(r), s.data) << s.leaf << " " << s.query << s.body;
    }
    // The querier runs in a VLAN once it is enabled there, globally and for snooping.
    put("snoop-admin-mode", "", "{\"adminMode\":\"enable\"}");
    put("snoop-querier-admin-mode", "", "{\"adminMode\":1}");
    put("snoop-querier-vlan-mode", "vlanId=1", "{\"vlanMode\":1}");
    put("snoop-vlan-maximum-response-time", "vlanId=1", "{\"responseTime\":12}");
    EXPECT_EQ(data(get("snoop-querier-oper-state", "vlanId=1")), "{\"state\":1}");
    EXPECT_EQ(data(get("snoop-querier-oper-version", "vlanId=1")), "{\"version\":2}");
    EXPECT_EQ(data(get("snoop-querier-oper-max-resp-time", "vlanId=1")), "{\"maxRespTime\":12}");
    EXPECT_EQ(data(get("snoop-querier-oper-state", "vlanId=1&family=2")), "{\"state\":0}");
    EXPECT_TRUE(harness::workFiles().empty());
}

// --- The SSM tables and what the switch learnt, from a state file ----------------------

const char* const kStateSnooping = R"({
  "igmp": {
    "adminMode": 1,
    "controlFramesProcessed": "123456",
    "dataFramesForwarded": "77",
    "vlans": [{"vlan": 10, "lastQuerierAddress": "10.0.10.1", "lastQuerierVersion": 3, "maxResponseTime": 15}],
    "groups": [{"vlan": 10, "group": "232.1.1.1", "intIfNum": 3, "subscriber": "10.0.10.7",
                "subscriberMac": "00:11:22:33:44:55", "version": 3, "timeout": 200}],
    "ssmGroups": [
      {"group": "232.1.1.1", "intIfNum": 5, "vlan": 10, "filterMode": 2, "reporter": "10.0.10.8", "sources": []},
      {"group": "232.1.1.1", "intIfNum": 3, "vlan": 10, "filterMode": 1, "reporter": "10.0.10.7",
       "sources": ["10.9.9.9", "10.1.1.1"]},
      {"group": "232.0.0.9", "intIfNum": 30, "vlan": 1, "filterMode": 1, "reporter": "10.0.0.3", "sources": ["10.2.2.2"]}
    ],
    "ssmMfdb": [
      {"group": "232.1.1.1", "source": "10.9.9.9", "vlan": 10, "include": [3, 30], "exclude": []},
      {"group": "232.1.1.1", "source": "10.1.1.1", "vlan": 10, "include": [3], "exclude": [5]}
    ],
    "ssmMostEntries": 7
  },
  "mld": {
    "ssmGroups": [
      {"group": "ff3e::8000:1", "intIfNum": 2, "vlan": 1, "filterMode": 1, "reporter": "fe80::2", "sources": ["2001:db8::1"]}
    ],
    "ssmMfdb": [{"group": "ff3e::8000:1", "source": "2001:db8::1", "vlan": 1, "include": [2], "exclude": [4]}]
  }
})";

void writeState(const std::string& path) { harness::writeStateWithArea(path, "snooping", kStateSnooping); }

class SnoopingState : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(writeState(kPath));
        sim_.reset(new harness::Simulator({"--state", kPath}));
        ASSERT_TRUE(sim_->ok());
        harness::writeAdminSession();
    }
    static constexpr const char* kPath = "/tmp/snooping_state.json";
    std::unique_ptr<harness::Simulator> sim_;
};

struct Read {
    const char* leaf;
    std::string query;
    int code;
    std::string data;
};

void runReads(const std::vector<Read>& reads)
{
    for (const Read& r : reads) {
        harness::CgiResult a = get(r.leaf, r.query);
        EXPECT_EQ(harness::codeOf(a), r.code) << r.leaf << "?" << r.query << "\n" << a.out;
        EXPECT_EQ(data(a), r.data) << r.leaf << "?" << r.query;
    }
}

TEST_F(SnoopingState, GroupRecordsWalkInKeyOrderToTheEnd)
{
    runReads({
        {"snoop-ssm-group-record-first", "", 0, "{\"pGroup\":\"232.0.0.9\",\"pIntIfNum\":30,\"pVlanId\":1}"},
        {"snoop-ssm-group-record-next", "groupIp=232.0.0.9&intIfNum=30&vlanId=1", 0,
         "{\"pGroup\":\"232.1.1.1\",\"pIntIfNum\":3,\"pVlanId\":10}"},
        {"snoop-ssm-group-record-next", "groupIp=232.1.1.1&intIfNum=3&vlanId=10", 0,
         "{\"pGroup\":\"232.1.1.1\",\"pIntIfNum\":5,\"pVlanId\":10}"},
        {"snoop-ssm-group-record-next", "groupIp=232.1.1.1&intIfNum=5&vlanId=10", 10023, ""},
        {"snoop-ssm-group-record-first", "family=2", 0, "{\"pGroup\":\"ff3e::8000:1\",\"pIntIfNum\":2,\"pVlanId\":1}"},
        {"snoop-ssm-group-record-next", "family=2&groupIp=ff3e::8000:1&intIfNum=2&vlanId=1", 10023, ""},
        // A key between records; interface and VLAN absent are 0.
        {"snoop-ssm-group-record-next", "groupIp=232.1.1.1", 0, "{\"pGroup\":\"232.1.1.1\",\"pIntIfNum\":3,\"pVlanId\":10}"},
        {"snoop-ssm-group-filter-mode", "groupIp=232.1.1.1&intIfNum=5&vlanId=10", 0, "{\"pfilterMode\":\"exclude\"}"},
        {"snoop-ssm-group-filter-mode", "groupIp=232.1.1.1&intIfNum=3&vlanId=10", 0, "{\"pfilterMode\":\"include\"}"},
        {"snoop-ssm-group-filter-mode", "groupIp=232.1.1.1&intIfNum=4&vlanId=10", 10023, ""},
        {"snoop-ssm-group-last-reporter", "groupIp=232.1.1.1&intIfNum=3&vlanId=10", 0, "{\"pSrcIp\":\"10.0.10.7\"}"},
        {"snoop-ssm-group-last-reporter", "family=2&groupIp=ff3e::8000:1&intIfNum=2&vlanId=1", 0,
         "{\"pSrcIp\":\"fe80::2\"}"},
    });
}

TEST_F(SnoopingState, SourceListsAndForwardingEntriesWalkToTheEnd)
{
    runReads({
        {"snoop-ssm-src-list-entry-next", "groupIp=232.1.1.1&srcIp=0.0.0.0", 0,
         "{\"pGroup\":\"232.1.1.1\",\"pIntIfNum\":3,\"pVlanId\":10,\"pSrcIp\":\"10.1.1.1\"}"},
        {"snoop-ssm-src-list-entry-next", "groupIp=232.1.1.1&intIfNum=3&vlanId=10&srcIp=10.1.1.1", 0,
         "{\"pGroup\":\"232.1.1.1\",\"pIntIfNum\":3,\"pVlanId\":10,\"pSrcIp\":\"10.9.9.9\"}"},
        {"snoop-ssm-src-list-entry-next", "groupIp=232.1.1.1&intIfNum=3&vlanId=10&srcIp=10.9.9.9", 10023, ""},
        {"snoop-ssm-src-list-entry", "groupIp=232.1.1.1&intIfNum=3&vlanId=10&srcIp=10.9.9.9", 0, ""},
        {"snoop-ssm-src-list-entry", "groupIp=232.1.1.1&intIfNum=5&vlanId=10&srcIp=10.9.9.9", 10023, ""},
        {"snoop-ssm-mfdb-entry-first", "", 0, "{\"pGroup\":\"232.1.1.1\",\"pSource\":\"10.1.1.1\",\"pVlanId\":10}"},
        {"snoop-ssm-mfdb-entry-next", "groupIp=232.1.1.1&sourceIp=10.1.1.1&vlanId=10", 0,
         "{\"pGroup\":\"232.1.1.1\",\"pSource\":\"10.9.9.9\",\"pVlanId\":10}"},
        {"snoop-ssm-mfdb-entry-next", "groupIp=232.1.1.1&sourceIp=10.9.9.9&vlanId=10", 10023, ""},
        {"snoop-ssm-mfdb-entry-first", "family=2", 0,
         "{\"pGroup\":\"ff3e::8000:1\",\"pSource\":\"2001:db8::1\",\"pVlanId\":1}"},
        {"snoop-ssm-mfdb-entry-next", "family=2&groupIp=ff3e::8000:1&sourceIp=2001:db8::1&vlanId=1", 10023, ""},
        {"snoop-ssm-mfdb-entry-inc-port-mask", "groupIp=232.1.1.1&sourceIp=10.9.9.9&vlanId=10", 0,
         "{\"incPortMaskName\":\"1/0/3,lag 2\"}"},
        {"snoop-ssm-mfdb-entry-exc-port-mask", "groupIp=232.1.1.1&sourceIp=10.1.1.1&vlanId=10", 0,
         "{\"excPortMaskName\":\"1/0/5\"}"},
        {"snoop-ssm-mfdb-entry-exc-port-mask", "family=2&groupIp=ff3e::8000:1&sourceIp=2001:db8::1&vlanId=1", 0,
         "{\"excPortMaskName\":\"1/0/4\"}"},
        {"snoop-ssm-mfdb-curr-entries", "", 0, "{\"currEntries\":2}"},
        {"snoop-ssm-mfdb-most-entries", "", 0, "{\"mostEntries\":7}"},
        {"snoop-ssm-mfdb-curr-entries", "family=2", 0, "{\"currEntries\":1}"},
        {"snoop-ssm-mfdb-most-entries", "family=2", 0, "{\"mostEntries\":1}"},
        // Counters and the other querier of a VLAN.
        {"snoop-control-frames-processed", "", 0, "{\"processedFrames\":123456}"},
        {"snoop-data-frames-forwarded", "", 0, "{\"forwardedFrames\":77}"},
        {"snoop-querier-last-querier-address", "vlanId=10", 0, "{\"querierAddr\":\"10.0.10.1\"}"},
        {"snoop-querier-last-querier-version", "vlanId=10", 0, "{\"version\":3}"},
        {"snoop-querier-oper-state", "vlanId=10", 0, "{\"state\":2}"},
        {"snoop-querier-oper-max-resp-time", "vlanId=10", 0, "{\"maxRespTime\":15}"},
        {"snoop-vlan-next", "vlanId=1", 0, "{\"vlanId\":1,\"nextVlan\":10}"},
    });
}

TEST_F(SnoopingState, SsmAddressKeysAreCheckedBeforeAnyCall)
{
    // 46 characters whose first 45 are an address.
    const std::string tooLong = "0000:0000:0000:0000:0000:ffff:255.255.255.2551";
    struct Case {
        const char* leaf;
        std::string query;
        const char* op;
    } cases[] = {
        {"snoop-ssm-group-record-next", "intIfNum=3&vlanId=10", "openapiSnoopSSMGroupRecordNextGet"},
        {"snoop-ssm-group-record-next", "groupIp=&intIfNum=3", "openapiSnoopSSMGroupRecordNextGet"},
        {"snoop-ssm-group-record-next", "groupIp=" + tooLong, "openapiSnoopSSMGroupRecordNextGet"},
        {"snoop-ssm-group-filter-mode", "groupIp=232.1.1", "openapiSnoopSSMGroupFilterModeGet"},
        {"snoop-ssm-group-last-reporter", "groupIp=232.1.1.1x", "openapiSnoopSSMGroupLastReporterGet"},
        {"snoop-ssm-mfdb-entry-next", "groupIp=232.1.1.1&vlanId=10", "openapiSnoopSSMMfdbEntryNextGet"},
        {"snoop-ssm-mfdb-entry-next", "groupIp=232.1.1.1&sourceIp=" + tooLong, "openapiSnoopSSMMfdbEntryNextGet"},
        {"snoop-ssm-mfdb-entry-inc-port-mask", "groupIp=232.1.1.1&sourceIp=", "openapiSnoopSSMMfdbEntryIncPortMaskGet"},
        {"snoop-ssm-mfdb-entry-exc-port-mask", "sourceIp=10.1.1.1", "openapiSnoopSSMMfdbEntryExcPortMaskGet"},
        {"snoop-ssm-src-list-entry", "groupIp=232.1.1.1&intIfNum=3&vlanId=10", "openapiSnoopSSMSrcListEntryGet"},
        {"snoop-ssm-src-list-entry", "groupIp=232.1.1.1&srcIp=10.9.9", "openapiSnoopSSMSrcListEntryGet"},
        {"snoop-ssm-src-list-entry-next", "groupIp=232.1.1.1&srcIp=" + tooLong, "openapiSnoopSSMSrcListEntryNextGet"},
        {"snoop-ssm-src-list-entry-next", "srcIp=10.9.9.9", "openapiSnoopSSMSrcListEntryNextGet"},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = get(c.leaf, c.query);
        EXPECT_EQ(harness::codeOf(r), 10003) << c.leaf << "?" << c.query;
        EXPECT_EQ(data(r), "") << c.leaf;
        EXPECT_EQ(harness::callsTo(*sim_, c.op), 0) << c.leaf << "?" << c.query;
    }
    // The same keys at 45 characters reach the switch.
    harness::CgiResult fits =
        get("snoop-ssm-group-filter-mode", "groupIp=0000:0000:0000:0000:0000:ffff:255.255.255.255&family=2&vlanId=1");
    EXPECT_EQ(harness::codeOf(fits), 10023);
    EXPECT_EQ(harness::callsTo(*sim_, "openapiSnoopSSMGroupFilterModeGet"), 1);
    EXPECT_TRUE(harness::workFiles().empty());
}

TEST_F(SnoopingState, AFlushForgetsWhatOneFamilyLearnt)
{
    struct Step {
        std::string body;
        int code;
        int igmpEntries, mldEntries;
    } steps[] = {
        {"{\"family\":2}", 0, 2, 0},
        {"{\"family\":3}", 10003, 2, 0},
        {"not json", 0, 0, 0},  // no usable body: IGMP
    };
    for (const Step& s : steps) {
        harness::CgiResult r = snoop("POST", "snoop-entries-flush", "", s.body);
        EXPECT_EQ(harness::codeOf(r), s.code) << s.body;
        EXPECT_NE(harness::envelope(r, harness::Ending::Newline)->root, nullptr) << s.body;
        EXPECT_EQ(data(get("snoop-ssm-mfdb-curr-entries", "")), "{\"currEntries\":" + std::to_string(s.igmpEntries) + "}");
        EXPECT_EQ(data(get("snoop-ssm-mfdb-curr-entries", "family=2")),
                  "{\"currEntries\":" + std::to_string(s.mldEntries) + "}");
    }
    runReads({
        {"snoop-ssm-group-record-first", "", 10023, ""},
        {"snoop-ssm-mfdb-entry-first", "family=2", 10023, ""},
        // What was set stays.
        {"snoop-admin-mode", "", 0, "{\"adminMode\":\"enable\"}"},
        {"snoop-ssm-mfdb-most-entries", "", 0, "{\"mostEntries\":7}"},
    });
    // A flush without a body is IGMP's too.
    EXPECT_EQ(harness::codeOf(snoop("POST", "snoop-entries-flush", "", "")), 0);
}

TEST(SnoopingStateFile, WhatIsSetIsThereAfterARestart)
{
    const std::string path = "/tmp/snooping_restart.json";
    unlink(path.c_str());
    const Setting settings[] = {
        {"snoop-querier-address", "family=2", "\"snoopQuerierAddr\":\"fe80::9\",\"family\":2",
         "{\"snoopQuerierAddr\":\"fe80::9\"}"},
        {"snoop-intf-response-time", "intIfNum=30", "\"responseTime\":7", "{\"responseTime\":7}"},
        {"snoop-vlan-report-supp-mode", "vlanId=1&family=2", "\"reportSuppMode\":\"true\",\"family\":2",
         "{\"reportSuppMode\":\"true\"}"},
        {"snoop-intf-enabled-mask", "", "\"mask\":\"lag 8\"", "{\"mask\":\"lag 8\"}"},
        {"snoop-flood-unknown-all-ports", "", "\"floodAll\":\"true\"", "{\"floodAll\":\"true\"}"},
    };
    {
        harness::Simulator sim({"--state", path});
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
        for (const Setting& s : settings) {
            std::string query = s.query;
            std::string target = query.rfind("family=", 0) == 0 ? "" : query.substr(0, query.find("&family"));
            EXPECT_EQ(harness::codeOf(put(s.leaf, target, "{" + s.body + "}")), 0) << s.leaf;
        }
        sim.stop();
    }
    harness::Simulator again({"--state", path});
    ASSERT_TRUE(again.ok());
    for (const Setting& s : settings)
        EXPECT_EQ(data(get(s.leaf, s.query)), s.read) << s.leaf;
}

TEST(SnoopingWords, FilterModes)
{
    const struct {
        uint32_t value;
        const char* word;
    } cases[] = {{0, "none"}, {1, "include"}, {2, "exclude"}, {3, "none"}, {4294967295u, "none"}};
    for (const auto& c : cases)
        EXPECT_STREQ(hf::enumName(swarmgate::kSnoopFilterMode, c.value), c.word) << c.value;
}

}  // namespace
