// Every stub route of the three programs, from one table listed independently
// of the route tables: each answers the 17002 envelope, with a newline where
// it answers a write.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/harness.h"
#include "tests/support/route_list.h"

namespace {

struct StubRow {
    std::string program, method, dir, leaf;
    bool newline;
};

// The stub routes of the list of every route; writes answer with a newline.
std::vector<StubRow> loadRows()
{
    std::vector<StubRow> rows;
    for (const harness::ListedRoute& l : harness::routeList())
        if (l.cls == "stub")
            rows.push_back(StubRow{l.program, l.method, l.dir, l.leaf, l.method != "GET"});
    return rows;
}

class StubRoutes : public testing::TestWithParam<const char*> {};

TEST_P(StubRoutes, EveryStubAnswers17002)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    std::vector<StubRow> rows = loadRows();
    ASSERT_GT(rows.size(), 400u);
    size_t seen = 0;
    for (const StubRow& r : rows) {
        if (r.program != GetParam())
            continue;
        ++seen;
        harness::CgiRequest req;
        req.program = r.program;
        req.method = r.method;
        req.uri = r.dir + "/" + r.leaf + "?intIfNum=3&id=1";
        req.query = "intIfNum=3&id=1";
        if (r.method == "POST" || r.method == "PUT")
            req.body = "{\"intIfNum\": 3, \"mode\": \"enable\"}";
        harness::CgiResult res = harness::runCgi(req);
        std::string expected = std::string(harness::kJsonHeader) + harness::kStubEnvelope + (r.newline ? "\n" : "");
        EXPECT_EQ(res.status, 0) << r.method << " " << r.dir << "/" << r.leaf;
        EXPECT_EQ(res.out, expected) << r.method << " " << r.dir << "/" << r.leaf;
    }
    EXPECT_GT(seen, 0u);
    // Stubs make no switch calls beyond the client session's own.
    std::istringstream calls(sim.ctl({"calls"}));
    std::string call;
    while (std::getline(calls, call)) {
        bool session = call.rfind("register ", 0) == 0 || call.rfind("teardown ", 0) == 0 ||
                       call.rfind("rpcclt_openapiConnectivityCheck", 0) == 0 ||
                       call.rfind("rpcclt_openapiNetworkOSVersionGet", 0) == 0 ||
                       call.rfind("rpcclt_openapiApiVersionGet", 0) == 0;
        EXPECT_TRUE(session) << call;
    }
}

INSTANTIATE_TEST_SUITE_P(Programs, StubRoutes, testing::Values("pathgate", "coregate", "swarmgate"),
                         [](const testing::TestParamInfo<const char*>& i) { return std::string(i.param); });

TEST(StubRoutesTable, CountsPerProgram)
{
    std::map<std::string, int> perProgram;
    for (const StubRow& r : loadRows())
        ++perProgram[r.program];
    EXPECT_EQ(perProgram["pathgate"], 212);
    EXPECT_EQ(perProgram["coregate"], 190);
    EXPECT_EQ(perProgram["swarmgate"], 11);
}

}  // namespace
