// swarmgate's multicast forwarding database routes against the simulated
// switch: walks from the first entry to the end of the table, one protocol's
// walk, the interface walks by match type, an entry's data, the counts, the
// protocol and type words, and keys and bodies refused before any switch call.
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

harness::CgiResult mfdb(const std::string& method, const std::string& leaf, const std::string& body = "",
                        const std::string& query = "")
{
    harness::CgiRequest r;
    r.program = "swarmgate";
    r.method = method;
    r.uri = "/api/v2/mcast/mfdb/" + leaf;
    r.body = body;
    r.query = query;
    return harness::runCgi(r);
}

harness::CgiResult post(const std::string& leaf, const std::string& body) { return mfdb("POST", leaf, body); }

const std::string kFail10023 = std::string(harness::kJsonHeader) +
                               "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t10023,\n\t\t\"respMsg\":\t\"Request api not "
                               "found\",\n\t\t\"status\":\t\"fail\"\n\t}\n}\n";

// Keys of the entries of a fresh switch and of the state file below.
const char* const kVideo = "00:01:01:00:5e:01:01:01";
const char* const kDiscovery = "00:01:01:00:5e:7f:ff:fa";
const char* const kMld = "00:0a:33:33:00:00:00:01";

// --- The words -----------------------------------------------------------------

TEST(MfdbWords, ProtocolAndTypeWords)
{
    struct Case {
        uint32_t value;
        const char* protocol;
        const char* type;
    } cases[] = {
        {0, "unknown", "mfdb_type_static"},
        {1, "mfdb_protocol_static", "mfdb_type_dynamic"},
        {3, "mfdb_protocol_igmp", "unknown"},
        {8, "mfdb_total_num_protocols", "unknown"},
        {9, "unknown", "unknown"},
        {4294967295u, "unknown", "unknown"},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(hf::enumName(swarmgate::kMfdbProtocol, c.value), c.protocol) << c.value;
        EXPECT_STREQ(hf::enumName(swarmgate::kMfdbType, c.value), c.type) << c.value;
    }
    // Input: an unknown word, and the word "unknown", are static.
    EXPECT_EQ(hf::enumValue(swarmgate::kMfdbProtocol, "mfdb_protocol_mvr"), 5u);
    EXPECT_EQ(hf::enumValue(swarmgate::kMfdbProtocol, "MFDB_PROTOCOL_MVR"), 1u);
    EXPECT_EQ(hf::enumValue(swarmgate::kMfdbProtocol, "unknown"), 1u);
}

TEST(MfdbWords, KeyTexts)
{
    struct Case {
        const char* text;
        bool valid;
    } cases[] = {
        {"00:01:01:00:5e:01:01:01", true},
        {"0F:FE:AB:cd:ef:01:23:45", true},
        {"00:01:01:00:5e:01:01:01:", false},   // 24 characters
        {"00:01:01:00:5e:01:01:0", false},
        {"00:01:01:00:5e:01:01:0g", false},
        {"00-01-01-00-5e-01-01-01", false},
        {"0:01:01:00:5e:01:01:011", false},
        {"01:00:5e:01:01:01", false},          // a MAC address alone
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(swarmgate::vidMacValid(c.text), c.valid) << c.text;
}

// --- A fresh switch ----------------------------------------------------------------

TEST(MfdbWalk, AFreshSwitchWalksItsTwoEntriesToTheEnd)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    harness::CgiResult first = post("entry-get-first", "");
    EXPECT_EQ(first.out, std::string(harness::kJsonHeader) +
                             "{\n\t\"mfdb\":\t{\n\t\t\"vidMac\":\t\"00:01:01:00:5e:01:01:01\",\n\t\t\"prot\":\t"
                             "\"mfdb_protocol_static\"\n\t},\n\t\"resp\":\t{\n\t\t\"respCode\":\t0,\n\t\t\"respMsg\":\t"
                             "\"Success\",\n\t\t\"status\":\t\"success\"\n\t}\n}");
    harness::CgiResult next = post("entry-get-next", std::string("{\"vidMac\":\"") + kVideo + "\"}");
    EXPECT_EQ(harness::dataOf(next, "mfdb"),
              std::string("{\"nextVidMac\":\"") + kDiscovery + "\",\"nextProt\":\"mfdb_protocol_static\"}");
    EXPECT_EQ(post("entry-get-next", std::string("{\"vidMac\":\"") + kDiscovery + "\"}").out, kFail10023);
}

// --- Entries of a state file -----------------------------------------------------

// VLAN 1 holds the video group twice (static and IGMP) and a third group;
// VLAN 10 an MLD group; VLAN 20, which the switch lacks, and an entry of no
// protocol are not the switch's.
const char* const kStateMfdb = R"({
  "entries": [
    {"vlan": 10, "mac": "33:33:00:00:00:01", "protocol": 4, "type": 1, "description": "ipv6 all-nodes group",
     "forward": ["lag 1", "1/0/9", "9/0/1"], "filtering": ["1/0/7"], "learnt": ["lag 1"]},
    {"vlan": 1, "mac": "01:00:5E:01:01:01", "protocol": 3, "type": 1, "description": "igmp",
     "forward": ["1/0/5"], "learnt": ["1/0/5", "1/0/6"]},
    {"vlan": 1, "mac": "01:00:5e:01:01:01", "protocol": 1, "type": 0, "description": "video",
     "forward": ["1/0/1", "1/0/2"]},
    {"vlan": 1, "mac": "01:00:5e:7f:ff:fa", "protocol": 1, "type": 7, "description": "discovery",
     "forward": [], "filtering": ["1/0/4"]},
    {"vlan": 20, "mac": "01:00:5e:00:00:14", "protocol": 1, "forward": ["1/0/1"]},
    {"vlan": 1, "mac": "01:00:5e:00:00:09", "protocol": 9, "forward": ["1/0/1"]}
  ],
  "mostEntries": 9
})";

// A state file of a fresh switch with VLAN 10 and the entries above.
void writeState(const std::string& path) { harness::writeStateWithArea(path, "mfdb", kStateMfdb); }

class MfdbState : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(writeState(kPath));
        sim_.reset(new harness::Simulator({"--state", kPath}));
        ASSERT_TRUE(sim_->ok());
        harness::writeAdminSession();
    }
    static constexpr const char* kPath = "/tmp/mfdb_state.json";
    std::unique_ptr<harness::Simulator> sim_;
};

struct Step {
    const char* leaf;
    std::string body;
    int code;
    std::string data;  // the data object, unformatted ("" for none)
};

void runSteps(const std::vector<Step>& steps)
{
    for (const Step& s : steps) {
        harness::CgiResult r = post(s.leaf, s.body);
        EXPECT_EQ(harness::codeOf(r), s.code) << s.leaf << " " << s.body << "\n" << r.out;
        EXPECT_EQ(harness::dataOf(r, "mfdb"), s.data) << s.leaf << " " << s.body;
    }
}

std::string key(const char* vidMac, const char* more = "")
{
    return std::string("{\"vidMac\":\"") + vidMac + "\"" + more + "}";
}

TEST_F(MfdbState, TheWalkGoesInKeyOrderThroughEveryProtocolOfAKey)
{
    runSteps({
        {"entry-get-first", "", 0, std::string("{\"vidMac\":\"") + kVideo + "\",\"prot\":\"mfdb_protocol_static\"}"},
        // No protocol given: after the key's static entry.
        {"entry-get-next", key(kVideo), 0,
         std::string("{\"nextVidMac\":\"") + kVideo + "\",\"nextProt\":\"mfdb_protocol_igmp\"}"},
        {"entry-get-next", key(kVideo, ",\"prot\":\"mfdb_protocol_igmp\""), 0,
         std::string("{\"nextVidMac\":\"") + kDiscovery + "\",\"nextProt\":\"mfdb_protocol_static\"}"},
        {"entry-get-next", key(kDiscovery, ",\"prot\":\"mfdb_protocol_static\""), 0,
         std::string("{\"nextVidMac\":\"") + kMld + "\",\"nextProt\":\"mfdb_protocol_mld\"}"},
        {"entry-get-next", key(kMld, ",\"prot\":\"mfdb_protocol_mld\""), 10023, ""},
        // An absent or empty key starts the walk.
        {"entry-get-next", "{}", 0, std::string("{\"nextVidMac\":\"") + kVideo + "\",\"nextProt\":\"mfdb_protocol_static\"}"},
        {"entry-get-next", "{\"vidMac\":\"\"}", 0,
         std::string("{\"nextVidMac\":\"") + kVideo + "\",\"nextProt\":\"mfdb_protocol_static\"}"},
        // A key between entries.
        {"entry-get-next", key("00:05:00:00:00:00:00:00"), 0,
         std::string("{\"nextVidMac\":\"") + kMld + "\",\"nextProt\":\"mfdb_protocol_mld\"}"},
    });
}

TEST_F(MfdbState, AFailedWalkAnswersTheCodeAndANewline)
{
    harness::CgiResult end = post("entry-get-next", key(kMld, ",\"prot\":\"mfdb_protocol_msrp\""));
    EXPECT_EQ(end.out, kFail10023);
    std::unique_ptr<harness::Json> j = harness::envelope(end, harness::Ending::Newline);
    EXPECT_TRUE(j->root) << j->why;
}

TEST_F(MfdbState, ExactLookupsTakeProtocolWordsAndUnknownWordsAsStatic)
{
    struct Case {
        std::string body;
        int code;
    } cases[] = {
        {key(kVideo, ",\"protocol\":\"mfdb_protocol_igmp\""), 0},
        {key(kVideo, ",\"protocol\":\"mfdb_protocol_static\""), 0},
        {key(kVideo, ",\"protocol\":\"mfdb_protocol_mld\""), 10023},
        {key(kMld, ",\"protocol\":\"mfdb_protocol_mld\""), 0},
        // Unknown, absent, non-string and "unknown" words: static.
        {key(kMld, ",\"protocol\":\"bogus\""), 10023},
        {key(kVideo, ",\"protocol\":\"bogus\""), 0},
        {key(kMld), 10023},
        {key(kMld, ",\"protocol\":4"), 10023},
        {key(kVideo, ",\"protocol\":4"), 0},
        {key(kVideo, ",\"protocol\":\"unknown\""), 0},
        // The total is no protocol of an entry.
        {key(kVideo, ",\"protocol\":\"mfdb_total_num_protocols\""), 10003},
        // Entries the switch does not hold: a VLAN it lacks, no protocol.
        {key("00:14:01:00:5e:00:00:14"), 10023},
        {key("00:01:01:00:5e:00:00:09", ",\"protocol\":\"mfdb_protocol_static\""), 10023},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = post("entry-protocol-get-exact", c.body);
        EXPECT_EQ(harness::codeOf(r), c.code) << c.body;
        std::unique_ptr<harness::Json> j = harness::envelope(r, harness::Ending::Newline);
        ASSERT_TRUE(j->root) << j->why;
        EXPECT_EQ(cJSON_GetArraySize(j->root), 1) << "code only: " << c.body;
    }
    EXPECT_EQ(harness::codeOf(post("entry-fwd-intf-get-exact", key(kVideo))), 0);
    EXPECT_EQ(harness::codeOf(post("entry-fwd-intf-get-exact", key(kDiscovery))), 10023) << "forwards nowhere";
}

TEST_F(MfdbState, InterfaceWalksByMatchType)
{
    struct Case {
        const char* leaf;
        std::string body;
        int code;
        std::string data;
    } cases[] = {
        // Exact: the key's interfaces over all its protocols.
        {"entry-fwd-intf-get-next", key(kVideo, ",\"matchType\":1"), 0,
         std::string("{\"nextVidMac\":\"") + kVideo + "\",\"absMask\":\"1/0/1,1/0/2,1/0/5\"}"},
        // Next: the next key that forwards anywhere (the discovery group does not);
        // interfaces the switch lacks are left out.
        {"entry-fwd-intf-get-next", key(kVideo, ",\"matchType\":2"), 0,
         std::string("{\"nextVidMac\":\"") + kMld + "\",\"absMask\":\"1/0/9,lag 1\"}"},
        {"entry-fwd-intf-get-next", "{\"matchType\":2}", 0,
         std::string("{\"nextVidMac\":\"") + kVideo + "\",\"absMask\":\"1/0/1,1/0/2,1/0/5\"}"},
        {"entry-fwd-intf-get-next", key(kMld, ",\"matchType\":2"), 10023, ""},
        {"entry-fwd-intf-get-next", key(kDiscovery, ",\"matchType\":1"), 10023, ""},
        {"entry-fwd-intf-get-next", key(kVideo, ",\"matchType\":3"), 10003, ""},
        {"entry-fwd-intf-get-next", key(kVideo), 10003, ""},
        {"entry-learnt-intf-get-next", key(kVideo, ",\"matchType\":1"), 0,
         std::string("{\"nextVidMac\":\"") + kVideo + "\",\"absMask\":\"1/0/5,1/0/6\"}"},
        {"entry-learnt-intf-get-next", key(kVideo, ",\"matchType\":2"), 0,
         std::string("{\"nextVidMac\":\"") + kMld + "\",\"absMask\":\"lag 1\"}"},
        {"entry-learnt-intf-get-next", key(kMld, ",\"matchType\":2"), 10023, ""},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = post(c.leaf, c.body);
        EXPECT_EQ(harness::codeOf(r), c.code) << c.leaf << " " << c.body << "\n" << r.out;
        EXPECT_EQ(harness::dataOf(r, "mfdb"), c.data) << c.leaf << " " << c.body;
        // Read-like answers: no newline, success or not.
        std::unique_ptr<harness::Json> j = harness::envelope(r, harness::Ending::Bare);
        EXPECT_TRUE(j->root) << j->why;
    }
}

TEST_F(MfdbState, AComponentWalkGoesThroughOneProtocolsEntries)
{
    const std::string staticVideo = std::string("{\"nextVidMac\":\"") + kVideo +
                                    "\",\"nextCompId\":\"mfdb_protocol_static\",\"type\":\"mfdb_type_static\","
                                    "\"desc\":\"video\",\"frwdPortMask\":\"1/0/1,1/0/2\",\"fltPortMask\":\"\"}";
    runSteps({
        {"component-entry-get-next", "{\"compId\":\"mfdb_protocol_static\"}", 0, staticVideo},
        // Unknown and absent words walk the static entries.
        {"component-entry-get-next", "{\"compId\":\"nonsense\"}", 0, staticVideo},
        {"component-entry-get-next", "{}", 0, staticVideo},
        {"component-entry-get-next", key(kVideo, ",\"compId\":\"mfdb_protocol_static\""), 0,
         std::string("{\"nextVidMac\":\"") + kDiscovery +
             "\",\"nextCompId\":\"mfdb_protocol_static\",\"type\":\"unknown\",\"desc\":\"discovery\","
             "\"frwdPortMask\":\"\",\"fltPortMask\":\"1/0/4\"}"},
        {"component-entry-get-next", key(kDiscovery, ",\"compId\":\"mfdb_protocol_static\""), 10023, ""},
        // The description is cut to its 15 characters.
        {"component-entry-get-next", "{\"compId\":\"mfdb_protocol_mld\"}", 0,
         std::string("{\"nextVidMac\":\"") + kMld +
             "\",\"nextCompId\":\"mfdb_protocol_mld\",\"type\":\"mfdb_type_dynamic\",\"desc\":\"ipv6 all-nodes \","
             "\"frwdPortMask\":\"1/0/9,lag 1\",\"fltPortMask\":\"1/0/7\"}"},
        {"component-entry-get-next", key(kMld, ",\"compId\":\"mfdb_protocol_mld\""), 10023, ""},
        {"component-entry-get-next", "{\"compId\":\"mfdb_protocol_gmrp\"}", 10023, ""},
    });
}

TEST_F(MfdbState, EntryDataIsFoundByKeyAndProtocol)
{
    struct Case {
        std::string query;
        int code;
        std::string data;
    } cases[] = {
        {std::string("vidMac=") + kMld + "&nextProt=mfdb_protocol_mld", 0,
         "{\"mac\":\"33:33:00:00:00:01\",\"vlanId\":10,\"compId\":\"mfdb_protocol_mld\",\"type\":"
         "\"mfdb_type_dynamic\",\"desc\":\"ipv6 all-nodes \",\"frwdIntMask\":\"1/0/9,lag 1\",\"fltIntMask\":"
         "\"1/0/7\",\"absPortMask\":\"1/0/9,lag 1\"}"},
        // No protocol word, or an unknown one: static.
        {std::string("vidMac=") + kVideo, 0,
         "{\"mac\":\"01:00:5e:01:01:01\",\"vlanId\":1,\"compId\":\"mfdb_protocol_static\",\"type\":"
         "\"mfdb_type_static\",\"desc\":\"video\",\"frwdIntMask\":\"1/0/1,1/0/2\",\"fltIntMask\":\"\","
         "\"absPortMask\":\"1/0/1,1/0/2\"}"},
        {std::string("nextProt=what&vidMac=") + kVideo, 0,
         "{\"mac\":\"01:00:5e:01:01:01\",\"vlanId\":1,\"compId\":\"mfdb_protocol_static\",\"type\":"
         "\"mfdb_type_static\",\"desc\":\"video\",\"frwdIntMask\":\"1/0/1,1/0/2\",\"fltIntMask\":\"\","
         "\"absPortMask\":\"1/0/1,1/0/2\"}"},
        // Names are found anywhere in the query, as part of a longer one too.
        {std::string("xvidMac=") + kVideo + "&mynextProt=mfdb_protocol_igmp", 0,
         "{\"mac\":\"01:00:5e:01:01:01\",\"vlanId\":1,\"compId\":\"mfdb_protocol_igmp\",\"type\":"
         "\"mfdb_type_dynamic\",\"desc\":\"igmp\",\"frwdIntMask\":\"1/0/5\",\"fltIntMask\":\"\","
         "\"absPortMask\":\"1/0/5,1/0/6\"}"},
        {std::string("vidMac=") + kMld, 10023, ""},
        {"nextProt=mfdb_protocol_mld", 10003, ""},
        {std::string("vidMac=") + kVideo + "0", 10003, ""},
        {"vidMac=00:01:01:00:5e:01:01:0z", 10003, ""},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = mfdb("GET", "entry-data", "", c.query);
        EXPECT_EQ(harness::codeOf(r), c.code) << c.query << "\n" << r.out;
        EXPECT_EQ(harness::dataOf(r, "mfdb"), c.data) << c.query;
    }
}

TEST_F(MfdbState, CountsAreTheTablesCapacityAndTheEntriesItHolds)
{
    struct Case {
        const char* leaf;
        const char* data;
    } cases[] = {
        {"max-table-entries", "{\"maxEntries\":1024}"},
        {"curr-entries", "{\"currEntries\":4}"},
        {"most-entries", "{\"mostEntries\":9}"},
    };
    for (const Case& c : cases) {
        harness::CgiResult r = mfdb("GET", c.leaf);
        EXPECT_EQ(harness::dataOf(r, "mfdb"), c.data) << c.leaf;
        std::unique_ptr<harness::Json> j = harness::envelope(r, harness::Ending::Bare);
        EXPECT_TRUE(j->root) << j->why;
    }
}

TEST_F(MfdbState, TheSwitchKeepsItsEntriesInItsStateFile)
{
    auto walk = []() {
        std::vector<std::string> keys;
        std::string body = "{}";
        for (int i = 0; i < 10; ++i) {
            harness::CgiResult r = post("entry-get-next", body);
            if (harness::codeOf(r) != 0)
                break;
            JsonPtr d(cJSON_Parse(harness::dataOf(r, "mfdb").c_str()));
            std::string k = cJSON_GetStringValue(cJSON_GetObjectItem(d.get(), "nextVidMac"));
            std::string p = cJSON_GetStringValue(cJSON_GetObjectItem(d.get(), "nextProt"));
            keys.push_back(k + " " + p);
            body = "{\"vidMac\":\"" + k + "\",\"prot\":\"" + p + "\"}";
        }
        return keys;
    };
    const std::vector<std::string> expected = {
        std::string(kVideo) + " mfdb_protocol_static",
        std::string(kVideo) + " mfdb_protocol_igmp",
        std::string(kDiscovery) + " mfdb_protocol_static",
        std::string(kMld) + " mfdb_protocol_mld",
    };
    EXPECT_EQ(walk(), expected);
    sim_->stop();
    harness::Simulator again({"--state", kPath});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(walk(), expected);
    EXPECT_EQ(harness::dataOf(mfdb("GET", "most-entries"), "mfdb"), "{\"mostEntries\":9}");
}

TEST_F(MfdbState, BadKeysAndBodiesAre10003BeforeAnySwitchCall)
{
    const char* const posts[][2] = {
        {"entry-get-next", "openapiMfdbEntryGetNext"},
        {"entry-protocol-get-exact", "openapiMfdbEntryProtocolGetExact"},
        {"entry-fwd-intf-get-exact", "openapiMfdbEntryFwdIntfGetExact"},
        {"entry-fwd-intf-get-next", "openapiMfdbEntryFwdIntfGetNext"},
        {"entry-learnt-intf-get-next", "openapiMfdbEntryLearntIntfGetNext"},
        {"component-entry-get-next", "openapiMfdbComponentEntryGetNext"},
    };
    const std::string bodies[] = {
        "not json",
        "[1,2]",
        // One character more than a key holds: refused, not cut to a key.
        key("00:01:01:00:5e:01:01:012"),
        key("00:01:01:00:5e:01:01:01 "),
        key("00:01:01:00:5e:01:01"),
        key("00-01-01-00-5e-01-01-01"),
        key("00:01:01:00:5e:01:01:0x"),
        key("00:01:01:00:5e:01:01:01\\n"),
        "{\"vidMac\":1}",
        "{\"vidMac\":null}",
    };
    for (const auto& p : posts)
        for (const std::string& b : bodies) {
            harness::CgiResult r = post(p[0], b);
            EXPECT_EQ(harness::codeOf(r), 10003) << p[0] << " " << b << "\n" << r.out;
            EXPECT_EQ(harness::dataOf(r, "mfdb"), "") << p[0] << " " << b;
            EXPECT_EQ(harness::callsTo(*sim_, p[1]), 0) << p[0] << " " << b;
        }
    // A required key that is absent.
    for (const char* leaf : {"entry-protocol-get-exact", "entry-fwd-intf-get-exact"})
        EXPECT_EQ(harness::codeOf(post(leaf, "{}")), 10003) << leaf;
    EXPECT_EQ(harness::callsTo(*sim_, "openapiMfdbEntryDataGet"), 0);
}

}  // namespace
