// coregate's SDM directory against the simulated switch: the template chosen
// with "sdm prefer" is the active one and the next boot's at once, the table
// sizes follow the template, an id that is no template's is refused before
// any switch call, and the choice outlives the simulator through its state.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using harness::callsTo;
using harness::codeOf;
using harness::dataOf;

harness::CgiResult core(const std::string& method, const std::string& leaf, const std::string& body = "")
{
    harness::CgiRequest r;
    r.program = "coregate";
    r.method = method;
    r.uri = "/api/v2/system/sdm/" + leaf;
    r.body = body;
    return harness::runCgi(r);
}

std::string templateBody(const std::string& id) { return "{\"templateId\":\"" + id + "\"}"; }

// Every switch call of the CLI bridge.
int cliCalls(harness::Simulator& sim)
{
    return callsTo(sim, "rpcclt_openapiCliShowExecuteToFile") + callsTo(sim, "rpcclt_openapiTxtCfgApply") +
           callsTo(sim, "rpcclt_openapiTxtCfgNDCApply");
}

// The table sizes of one template, as its "template-max-*" reads answer
// them; 0 stands for a view the template has no line for (17002).
struct Sizes {
    const char* id;
    uint32_t arp, ipv4, ndp, ipv6, ecmp, ipv4Mcast, ipv6Mcast;
};

const Sizes kSizes[] = {
    {"sdm_template_dual_default", 6144, 12288, 2560, 4096, 16, 1536, 512},
    {"sdm_template_dual_data_center", 8192, 16384, 4096, 6144, 32, 1024, 256},
    {"sdm_template_v4_default", 8192, 16384, 0, 0, 16, 2048, 0},
    {"sdm_template_v4_data_center", 12288, 24576, 0, 0, 48, 1024, 0},
    {"sdm_template_data_center_plus", 16384, 32768, 8192, 8192, 64, 1024, 256},
};

struct MaxView {
    const char* leaf;
    const char* member;
    uint32_t Sizes::*size;
};

const MaxView kMaxViews[] = {
    {"template-max-arp-entries", "maxEntries", &Sizes::arp},
    {"template-max-ipv4-routes", "maxRoutes", &Sizes::ipv4},
    {"template-max-ndp-entries", "maxEntries", &Sizes::ndp},
    {"template-max-ipv6-routes", "maxRoutes", &Sizes::ipv6},
    {"template-max-ecmp-next-hops", "maxHops", &Sizes::ecmp},
    {"template-max-ipv4-mcast-routes", "maxRoutes", &Sizes::ipv4Mcast},
    {"template-max-ipv6-mcast-routes", "maxRoutes", &Sizes::ipv6Mcast},
};

class Sdm : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    void prefer(const std::string& id)
    {
        harness::CgiResult w = core("PUT", "next-active-template", templateBody(id));
        ASSERT_EQ(codeOf(w), 0) << id << "\n" << w.out;
        ASSERT_EQ(w.out.back(), '\n');
    }
    std::string templateOf(const std::string& leaf)
    {
        harness::CgiResult r = core("GET", leaf);
        EXPECT_EQ(codeOf(r), 0) << leaf << "\n" << r.out;
        EXPECT_NE(r.out.back(), '\n') << leaf;
        return dataOf(r, "sdm");
    }
    harness::Simulator sim;
};

TEST_F(Sdm, TheDefaultSwitchRunsTheDualStackDefault)
{
    const std::string want = "{\"templateId\":\"sdm_template_dual_default\"}";
    EXPECT_EQ(templateOf("active-template"), want);
    EXPECT_EQ(templateOf("next-active-template"), want);
}

TEST_F(Sdm, EveryTemplateChosenIsActiveAndNextWithItsSizes)
{
    for (const Sizes& s : kSizes) {
        SCOPED_TRACE(s.id);
        prefer(s.id);
        const std::string want = std::string("{\"templateId\":\"") + s.id + "\"}";
        EXPECT_EQ(templateOf("active-template"), want);
        EXPECT_EQ(templateOf("next-active-template"), want);
        for (const MaxView& v : kMaxViews) {
            harness::CgiResult r = core("GET", v.leaf);
            uint32_t size = s.*v.size;
            if (size == 0) {
                EXPECT_EQ(codeOf(r), 17002) << v.leaf << "\n" << r.out;
                EXPECT_EQ(dataOf(r, "sdm"), "") << v.leaf;
            } else {
                EXPECT_EQ(codeOf(r), 0) << v.leaf << "\n" << r.out;
                EXPECT_EQ(dataOf(r, "sdm"), "{\"" + std::string(v.member) + "\":" + std::to_string(size) + "}")
                    << v.leaf;
            }
        }
    }
    // The API's own view of the template follows too (data-center-plus is number 4).
    harness::CgiRequest q;
    q.program = "coregate";
    q.uri = "/api/v2/system/common/current-sdm";
    EXPECT_EQ(dataOf(harness::runCgi(q), "common"), "{\"sdm_template\":4}");
}

TEST_F(Sdm, IdsThatAreNoTemplatesAreRefusedBeforeAnySwitchCall)
{
    prefer("sdm_template_v4_data_center");
    int before = cliCalls(sim);
    const std::vector<std::string> bodies = {
        templateBody("sdm_template_none"), templateBody("ipv4-routing data-center"), templateBody(""),
        "{\"templateId\":3}", "{}", "not json", "{\"templateId\":\"sdm_template_v4_default\\nreload\"}",
    };
    for (const std::string& b : bodies) {
        harness::CgiResult w = core("PUT", "next-active-template", b);
        EXPECT_EQ(codeOf(w), 10003) << b << "\n" << w.out;
    }
    EXPECT_EQ(cliCalls(sim), before);
    EXPECT_EQ(templateOf("active-template"), "{\"templateId\":\"sdm_template_v4_data_center\"}");
}

// The choice outlives the simulator through its state file.
TEST(SdmState, TheChoiceIsKeptInTheStateFile)
{
    harness::writeAdminSession();
    const std::vector<std::string> args = {"--state", "/tmp/sdm.state"};
    {
        harness::Simulator sim(args);
        ASSERT_TRUE(sim.ok());
        EXPECT_EQ(codeOf(core("PUT", "next-active-template", templateBody("sdm_template_dual_data_center"))), 0);
        sim.stop();
    }
    harness::Simulator sim(args);
    ASSERT_TRUE(sim.ok());
    EXPECT_EQ(dataOf(core("GET", "active-template"), "sdm"), "{\"templateId\":\"sdm_template_dual_data_center\"}");
    EXPECT_EQ(dataOf(core("GET", "template-max-ecmp-next-hops"), "sdm"), "{\"maxHops\":32}");
}

}  // namespace
