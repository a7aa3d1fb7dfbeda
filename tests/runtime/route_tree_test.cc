// Route tree walk, registration and dispatch.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "runtime/route_tree.h"
#include "tests/support/harness.h"

namespace {

std::string g_called;

int handlerA() { g_called += "A"; return 0; }
int handlerB() { g_called += "B"; return 0; }
int handlerC() { g_called += "C"; return 0; }

struct Dispatch {
    std::string out;
    std::string called;
};

// Runs one dispatch with the given URI and method (nullptr: unset); sessions
// are not involved because the routes are registered unprotected.
Dispatch dispatch(RouteTree* tree, const char* uri, const char* method)
{
    uri ? setenv("REQUEST_URI", uri, 1) : unsetenv("REQUEST_URI");
    method ? setenv("REQUEST_METHOD", method, 1) : unsetenv("REQUEST_METHOD");
    g_called.clear();
    testing::internal::CaptureStdout();
    httpdProcessRequest(tree);
    fflush(stdout);
    Dispatch d{testing::internal::GetCapturedStdout(), g_called};
    return d;
}

class RouteTreeTest : public testing::Test {
protected:
    void SetUp() override
    {
        tree = routeTreeCreate();
        ASSERT_NE(tree, nullptr);
        ASSERT_EQ(httpdAddCContent(tree, "/api/v2/routing/bgp-config", "local-as", kMethodGet, 0, handlerA), 0);
        ASSERT_EQ(httpdAddCContent(tree, "/api/v2/routing/bgp-config", "local-as", kMethodPut, 0, handlerB), 0);
        ASSERT_EQ(httpdAddCContent(tree, "/other/place", "x", kMethodGet, 0, handlerC), 0);
    }
    RouteTree* tree = nullptr;
};

TEST_F(RouteTreeTest, WalkIgnoresEmptySegments)
{
    RouteDirNode* clean = routeDirResolve(tree, "/api/v2/routing/bgp-config");
    EXPECT_EQ(routeDirResolve(tree, "//api/v2//routing/bgp-config/"), clean);
    EXPECT_EQ(routeDirResolve(tree, "api/v2/routing/bgp-config"), clean);
    EXPECT_STREQ(clean->name, "bgp-config");
    EXPECT_EQ(routeDirResolve(tree, ""), tree->root);
    EXPECT_EQ(routeDirResolve(tree, "///"), tree->root);
}

TEST_F(RouteTreeTest, ListsRunNewestFirst)
{
    RouteDirNode* dir = routeDirResolve(tree, "/api/v2/routing/bgp-config");
    ASSERT_NE(dir->firstEntry, nullptr);
    EXPECT_EQ(dir->firstEntry->method, kMethodPut);
    EXPECT_EQ(dir->firstEntry->next->method, kMethodGet);
    EXPECT_STREQ(tree->root->firstChild->name, "other");
}

TEST_F(RouteTreeTest, LaterDuplicateIsFoundFirst)
{
    httpdAddCContent(tree, "/api/v2/routing/bgp-config", "local-as", kMethodGet, 0, handlerC);
    Dispatch d = dispatch(tree, "/api/v2/routing/bgp-config/local-as", "GET");
    EXPECT_EQ(d.called, "C");
}

TEST(MethodText, NamesAndInvalidCodes)
{
    EXPECT_STREQ(methodText(0), "GET");
    EXPECT_STREQ(methodText(1), "POST");
    EXPECT_STREQ(methodText(2), "DELETE");
    EXPECT_STREQ(methodText(3), "PUT");
    EXPECT_STREQ(methodText(7), "Invalid method '7'");
}

struct DispatchCase {
    const char* name;
    const char* uri;
    const char* method;
    const char* called;
    const char* out;
    friend void PrintTo(const DispatchCase& c, std::ostream* os) { *os << c.name; }
};

class DispatchTable : public RouteTreeTest, public testing::WithParamInterface<DispatchCase> {};

TEST_P(DispatchTable, MatchesLeafAndMethod)
{
    const DispatchCase& c = GetParam();
    Dispatch d = dispatch(tree, c.uri, c.method);
    EXPECT_EQ(d.called, c.called);
    EXPECT_EQ(d.out, c.out);
}

const char* const kHeader = "Content-Type: application/json\r\n\r\n";

INSTANTIATE_TEST_SUITE_P(
    Requests, DispatchTable,
    testing::Values(
        DispatchCase{"QueryIgnored", "/api/v2/routing/bgp-config/local-as?x=1", "GET", "A", kHeader},
        DispatchCase{"MethodCaseIgnored", "/api/v2/routing/bgp-config/local-as", "get", "A", kHeader},
        DispatchCase{"PutEntry", "/api/v2/routing/bgp-config/local-as", "PUT", "B", kHeader},
        DispatchCase{"LeafCaseMatters", "/api/v2/routing/bgp-config/Local-As", "GET", "", ""},
        DispatchCase{"TrailingSlashEmptyLeaf", "/api/v2/routing/bgp-config/", "GET", "", ""},
        DispatchCase{"DoubledSlash", "/api/v2//routing//bgp-config/local-as", "GET", "A", kHeader},
        DispatchCase{"DoubledSlashBeforeV2HasNoHeader", "/api//v2/routing/bgp-config/local-as", "GET", "A", ""},
        DispatchCase{"UnregisteredMethod", "/api/v2/routing/bgp-config/local-as", "POST", "", ""},
        DispatchCase{"MethodAbsent", "/api/v2/routing/bgp-config/local-as", nullptr, "", ""},
        DispatchCase{"UnknownDirectory", "/api/v2/mcast/snooping/local-as", "GET", "", ""},
        DispatchCase{"NoSlash", "local-as", "GET", "", "Invalid request path 'local-as'\n"},
        DispatchCase{"UriAbsent", nullptr, "GET", "", ""},
        DispatchCase{"OutsideApiHasNoHeader", "/other/place/x", "GET", "C", ""},
        DispatchCase{"SlashInQueryKeepsSplit", "/api/v2/routing/bgp-config/local-as?a=/b", "GET", "A", kHeader},
        DispatchCase{"SlashesAndQuestionMarksInQuery", "/api/v2/routing/bgp-config/local-as?x=a/b?c/d", "GET", "A",
                     kHeader},
        DispatchCase{"QueryOnlyPathHasNoLeaf", "/api/v2/routing/bgp-config/?a=/local-as", "GET", "", ""}),
    [](const testing::TestParamInfo<DispatchCase>& i) { return std::string(i.param.name); });

TEST_F(RouteTreeTest, UriCutAt1023Characters)
{
    // A leaf that only matches when the URI is cut to 1023 characters.
    std::string dir = "/api/v2/long";
    std::string leaf(1023 - dir.size() - 1, 'x');
    httpdAddCContent(tree, dir.c_str(), leaf.c_str(), kMethodGet, 0, handlerC);
    Dispatch d = dispatch(tree, (dir + "/" + leaf + "yyyy").c_str(), "GET");
    EXPECT_EQ(d.called, "C");
}

TEST_F(RouteTreeTest, ProtectedEntryWithoutSessionIsRefused)
{
    httpdAddCContent(tree, "/api/v2/routing/ospf-config", "x", kMethodGet, 1, handlerC);
    unsetenv("HTTP_SESSION");
    Dispatch d = dispatch(tree, "/api/v2/routing/ospf-config/x", "GET");
    EXPECT_EQ(d.called, "");
    EXPECT_EQ(d.out, "Status:403\r\n\r\n");
}

}  // namespace
