// coregate's answers to the switch's statuses, and the operations the
// simulated switch answers from its model rather than from stored values:
// the CPU interface, the equal-cost path limit, the SDM template, probe
// reports, the saved startup configuration, transfer progress, and a
// configuration reset that restores the default switch in every area.
#include <gtest/gtest.h>

#include <string>

#include "tests/e2e/e2e_rows.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using e2e::codeEnvelope;
using e2e::dataEnvelope;
using e2e::dataEnvelopeNl;
using harness::codeOf;

harness::CgiResult call(const char* program, const std::string& method, const std::string& uri,
                        const std::string& body = "")
{
    harness::CgiRequest r;
    r.program = program;
    r.method = method;
    r.uri = uri;
    r.body = body;
    return harness::runCgi(r);
}

// The standard output after the JSON header.
std::string answer(const harness::CgiResult& r)
{
    const std::string h = harness::kJsonHeader;
    return r.out.compare(0, h.size(), h) == 0 ? r.out.substr(h.size()) : "header missing: " + r.out;
}

class Switch : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    harness::Simulator sim{{"--state", "/tmp/translation.json"}};
};

// --- Statuses of the switch ----------------------------------------------------

struct Translation {
    int32_t status;
    int code;
    const char* msg;
    bool setterOnly;
};

const Translation kTranslations[] = {
    {-22, 10003, "Invalid argument", false},
    {-24, 10011, "Object exist", true},
    {-28, 17002, "Unsupported Feature", false},
    {-29, 10023, "Request api not found", false},
    {-1, 10000, "General Failed", false},
};

struct Target {
    const char* method;
    const char* uri;
    const char* body;
    const char* op;
    bool write;  // answers end in a newline
};

const Target kTargets[] = {
    {"GET", "/api/v2/system/common/current-sdm", "", "rpcclt_openapiCurrentSDMGet", false},
    {"PUT", "/api/v2/system/system/transfer-bytes-completed", R"({"bytes":512})",
     "rpcclt_openapiTransferBytesCompletedSet", true},
};

TEST_F(Switch, StatusesAnswerTheirResultCodes)
{
    for (const Target& t : kTargets)
        for (const Translation& tr : kTranslations) {
            if (tr.setterOnly && !t.write)
                continue;
            sim.ctl({"fault", t.op, std::to_string(tr.status), "1"});
            harness::CgiResult r = call("coregate", t.method, t.uri, t.body);
            EXPECT_EQ(answer(r), codeEnvelope(tr.code, tr.msg, t.write)) << t.uri << " status " << tr.status;
            EXPECT_EQ(r.status, 0) << t.uri;
        }
    // The faults were used up: the switch answers again.
    for (const Target& t : kTargets)
        EXPECT_EQ(codeOf(call("coregate", t.method, t.uri, t.body)), 0) << t.uri;
}

// --- Answers of the model --------------------------------------------------------

struct ModelAnswer {
    const char* program;
    const char* method;
    const char* uri;
    const char* body;
    std::string expect;
};

// Interfaces: ports 1-28, LAGs 29-36, VLAN routing interfaces from 37, one
// per VLAN 1-4093 at most; the CPU's is the first number past them. The
// equal-cost path limit is one number wherever it is answered.
const ModelAnswer kModelAnswers[] = {
    {"coregate", "GET", "/api/v2/system/common/cpu-intf", "", dataEnvelope("common", {{"intf", 4130}})},
    {"coregate", "POST", "/api/v2/system/common/ospf-equal-cost-routes-max", "{}",
     dataEnvelopeNl("common", {{"maxPaths", 4}})},
    {"pathgate", "GET", "/api/v2/routing/routing/plat-rtr-route-max-equal-cost-entries", "",
     dataEnvelope("routing", {{"maxEqualCostEntries", 4}})},
    {"pathgate", "GET", "/api/v2/routing/routing-config/rtr-route-max-equal-cost-entries", "",
     dataEnvelope("routingConfig", {{"maxhops", 4}})},
    {"pathgate", "GET", "/api/v2/routing/ospf-config/map-max-paths", "", dataEnvelope("ospfConfig", {{"maxPaths", 4}})},
    {"pathgate", "PUT", "/api/v2/routing/ospf-config/map-max-paths", R"({"maxPaths":5})",
     codeEnvelope(10003, "Invalid argument", true)},
    {"coregate", "GET", "/api/v2/system/common/current-sdm", "", dataEnvelope("common", {{"sdm_template", 0}})},
    {"coregate", "POST", "/api/v2/system/common/ping-callback", R"({"seqNo":1,"rtt":20,"type":0,"srcIp":"10.0.0.1"})",
     codeEnvelope(0, "Success", true)},
    {"coregate", "POST", "/api/v2/system/common/trace-route-callback-fn",
     R"({"hopCount":3,"probeCount":1,"errSym":"*"})", codeEnvelope(0, "Success", true)},
};

TEST_F(Switch, ModelAnswers)
{
    for (const ModelAnswer& m : kModelAnswers)
        EXPECT_EQ(answer(call(m.program, m.method, m.uri, m.body)), m.expect) << m.program << " " << m.uri;
}

// Settings of the model are kept in the state file, not as stored values of
// the operation.
TEST_F(Switch, TransferProgressInTheModel)
{
    ASSERT_EQ(codeOf(call("coregate", "PUT", "/api/v2/system/system/transfer-bytes-completed", R"({"bytes":4096})")),
              0);
    sim.stop();
    std::string state = harness::readFile("/tmp/translation.json");
    EXPECT_NE(state.find("\"bytesCompleted\":\t4096"), std::string::npos) << state;
    EXPECT_EQ(state.find("TransferBytesCompleted"), std::string::npos) << "a generic stored value";
}

// Both save routes copy the running configuration into the startup one.
TEST(SaveConfiguration, CopiesTheRunningConfiguration)
{
    const std::string saved = "System Location \\\"rack 9\\\"";
    const struct {
        const char* method;
        const char* uri;
    } kSaves[] = {
        {"POST", "/api/v2/system/cli-script/save-config"},
        {"PUT", "/api/v2/system/system/save-configuration"},
    };
    harness::writeAdminSession();
    for (const auto& save : kSaves) {
        const std::string file = std::string("/tmp/save") + (save.method[1] == 'O' ? "1" : "2") + ".json";
        harness::Simulator sim({"--state", file});
        ASSERT_TRUE(sim.ok());
        ASSERT_EQ(codeOf(call("coregate", "PUT", "/api/v2/system/1213/sys-location", R"({"sys_location":"rack 9"})")),
                  0);
        EXPECT_EQ(answer(call("coregate", save.method, save.uri)), codeEnvelope(0, "Success", true)) << save.uri;
        sim.stop();
        EXPECT_NE(harness::readFile(file).find(saved), std::string::npos) << save.uri;
    }
}

// --- Configuration reset -----------------------------------------------------------

struct Setting {
    const char* program;
    const char* uri;
    const char* member;  // data member of the directory
    const char* body;    // the change
    std::string changed, fresh;  // the data object read back
};

const Setting kSettings[] = {
    {"pathgate", "/api/v2/routing/ospf-config/map-router-id", "ospfConfig", R"({"routerId":"1.2.3.4"})",
     R"({"routerId":"1.2.3.4"})", R"({"routerId":"0.0.0.0"})"},
    {"pathgate", "/api/v2/routing/ospf-config/map-max-paths", "ospfConfig", R"({"maxPaths":2})", R"({"maxPaths":2})",
     R"({"maxPaths":4})"},
    {"coregate", "/api/v2/system/system/hostname", "system", R"({"sysHostName":"edge-7"})",
     R"({"sysHostName":"edge-7"})", R"({"sysHostName":"KX810-A"})"},
    {"coregate", "/api/v2/system/1213/sys-location", "1213", R"({"sys_location":"rack 9"})",
     R"({"sys_location":"rack 9"})", R"({"sys_location":""})"},
};

TEST_F(Switch, ResetConfigurationRestoresEveryArea)
{
    for (const Setting& s : kSettings) {
        ASSERT_EQ(codeOf(call(s.program, "PUT", s.uri, s.body)), 0) << s.uri;
        EXPECT_EQ(harness::dataOf(call(s.program, "GET", s.uri), s.member), s.changed) << s.uri;
    }
    ASSERT_EQ(codeOf(call("coregate", "PUT", "/api/v2/system/system/save-configuration")), 0);
    EXPECT_EQ(answer(call("coregate", "PUT", "/api/v2/system/system/reset-configuration")),
              codeEnvelope(0, "Success", true));
    // The simulator goes on, with the default switch.
    for (const Setting& s : kSettings)
        EXPECT_EQ(harness::dataOf(call(s.program, "GET", s.uri), s.member), s.fresh) << s.uri;
    // The saved configuration outlives the reset.
    sim.stop();
    EXPECT_NE(harness::readFile("/tmp/translation.json").find("System Location \\\"rack 9\\\""), std::string::npos);
}

}  // namespace
