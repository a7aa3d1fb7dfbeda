// The route tables of the three programs, expanded from their rows (not read
// as text), against tests/routes.tsv, the list of every route of the API kept
// apart from the tables. Each program's table must be that list exactly.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "mcast/handlers.h"
#include "routing/handlers.h"
#include "runtime/route_tree.h"
#include "system/handlers.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"
#include "tests/support/route_list.h"

namespace {

using Key = std::tuple<std::string, std::string, std::string>;  // directory, leaf, method

struct ApiRoute {
    std::string program, handler, cls, member;
};

std::map<Key, ApiRoute> apiRoutes()
{
    std::map<Key, ApiRoute> out;
    for (const harness::ListedRoute& l : harness::routeList())
        EXPECT_TRUE(out.emplace(Key{l.dir, l.leaf, l.method}, ApiRoute{l.program, l.handler, l.cls, l.member}).second)
            << "listed twice: " << l.dir << " " << l.leaf << " " << l.method;
    return out;
}

struct Program {
    const char* name;
    const hf::RowInfo* rows;
    size_t count;
    void (*registerRoutes)(RouteTree*);
    bool complete;  // every route of the API has its row
};

const Program kPrograms[] = {
    {"pathgate", pathgate::kRows, pathgate::kRowCount, pathgate::registerRoutes, true},
    {"coregate", coregate::kRows, coregate::kRowCount, coregate::registerRoutes, true},
    {"swarmgate", swarmgate::kRows, swarmgate::kRowCount, swarmgate::registerRoutes, true},
};

void PrintTo(const Program& p, std::ostream* os) { *os << p.name; }

Key keyOf(const hf::RowInfo& r) { return Key{r.dir->path, r.leaf, methodText(r.method)}; }

std::string where(const hf::RowInfo& r)
{
    return std::string(methodText(r.method)) + " " + r.dir->path + "/" + r.leaf + " " + r.handler;
}

// Handlers whose names the API fixes with another suffix than their method's.
const char* const kSuffixDeviations[] = {
    "handleV2TxtCfgApply",          "handleV2RunningCfgGenerate",
    "handleV2SaveConfig",           "handleV2TxtCfgValidate",
    "handleV2TxtCfgNDCApply",       "handleV2TxtCfgNDCGenerate",
    "handleV2CliShowExecuteToFile", "handleV2SystemConnectivityCheck",
    "handleV2SystemTcamApiFiniAdd", "handleV2TransferImageHeaderCheck",
    "handleV2LoggingHostRemove",    "handleV2LoggingClearBufferedAdd",
    "handleV2LoggingClearEventlogAdd", "handleV2SystemLoggingSysLogWrite",
    "handleV2LoggingSyslogSourceInterfaceSet", "handleV2LoggingSyslogSourceInterfaceDelete",
};

const char* suffixOf(uint32_t method)
{
    switch (method) {
    case kMethodGet: return "Get";
    case kMethodPut: return "Set";
    case kMethodPost: return "Add";
    default: return "Del";
    }
}

// The API's classes a row of each kind may serve.
bool kindServes(const std::string& row, const std::string& cls)
{
    if (row == "STUB")
        return cls == "stub";
    // A composite (several switch calls, or calls and show output) is a
    // class of its own, reached from a CLI row as the CLI classes are.
    // Stream detection reads local files and prints an envelope of its own:
    // a class of its own too.
    if (row == "CLI")
        return cls == "CLI" || cls == "composite" || cls == "detect";
    // Of the routes swarmgate's list names by their means, two answer
    // without a switch call (the snooping families' walk, the auto video
    // VLAN check): fixed views.
    if (row == "FIXED")
        return cls == "fixed" || cls == "switch";
    // swarmgate's list names its switch operations' routes by their means only.
    return cls == "getter" || cls == "setter" || cls == "iterator" || cls == "switch";
}

class RouteTable : public testing::TestWithParam<Program> {};

TEST_P(RouteTable, NoRouteHasTwoRows)
{
    const Program& p = GetParam();
    std::set<Key> seen;
    std::set<std::string> handlers;
    for (size_t i = 0; i < p.count; ++i) {
        EXPECT_TRUE(seen.insert(keyOf(p.rows[i])).second) << where(p.rows[i]);
        EXPECT_TRUE(handlers.insert(p.rows[i].handler).second) << where(p.rows[i]);
    }
}

TEST_P(RouteTable, HandlerSuffixesAgreeWithMethods)
{
    const Program& p = GetParam();
    for (size_t i = 0; i < p.count; ++i) {
        const hf::RowInfo& r = p.rows[i];
        std::string h = r.handler;
        bool listed = false;
        for (const char* d : kSuffixDeviations)
            listed = listed || h == d;
        if (listed)
            continue;
        EXPECT_EQ(h.rfind("handleV2", 0), 0u) << where(r);
        const char* suffix = suffixOf(r.method);
        EXPECT_TRUE(h.size() > strlen(suffix) && h.compare(h.size() - strlen(suffix), std::string::npos, suffix) == 0)
            << where(r);
    }
}

TEST_P(RouteTable, EveryRowIsARouteOfTheApi)
{
    const Program& p = GetParam();
    std::map<Key, ApiRoute> api = apiRoutes();
    for (size_t i = 0; i < p.count; ++i) {
        const hf::RowInfo& r = p.rows[i];
        auto it = api.find(keyOf(r));
        ASSERT_NE(it, api.end()) << "not a route of the API: " << where(r);
        const ApiRoute& a = it->second;
        EXPECT_EQ(a.program, p.name) << where(r);
        if (a.handler != "-") {
            EXPECT_EQ(a.handler, r.handler) << where(r);
        }
        // Data member of the directory as the API names it ("-": none).
        EXPECT_EQ(a.member, r.dir->member ? r.dir->member : "-") << where(r);
        // A program still being filled answers its missing routes as stubs.
        if (p.complete || r.row != std::string("STUB")) {
            EXPECT_TRUE(kindServes(r.row, a.cls)) << r.row << " row for a " << a.cls << " route: " << where(r);
        }
    }
}

TEST_P(RouteTable, CountsPerDirectoryAreTheApis)
{
    const Program& p = GetParam();
    if (!p.complete)
        GTEST_SKIP() << p.name << " does not serve every route yet";
    std::map<std::string, int> expected, got;
    for (const auto& [key, a] : apiRoutes())
        if (a.program == p.name)
            ++expected[std::get<0>(key)];
    for (size_t i = 0; i < p.count; ++i)
        ++got[p.rows[i].dir->path];
    EXPECT_EQ(got, expected);
}

TEST_P(RouteTable, RegistrationMakesEveryRowAndNothingElse)
{
    const Program& p = GetParam();
    RouteTree* tree = routeTreeCreate();
    ASSERT_NE(tree, nullptr);
    p.registerRoutes(tree);
    std::set<Key> rows, registered;
    for (size_t i = 0; i < p.count; ++i)
        rows.insert(keyOf(p.rows[i]));
    // Every directory node of the tree, with its path.
    std::vector<std::pair<const RouteDirNode*, std::string>> stack{{tree->root, ""}};
    while (!stack.empty()) {
        auto [node, path] = stack.back();
        stack.pop_back();
        for (const RouteEntry* e = node->firstEntry; e; e = e->next) {
            EXPECT_EQ(e->protection, 1) << path << "/" << e->leaf;
            EXPECT_TRUE(registered.insert(Key{path, e->leaf, methodText(e->method)}).second) << path << "/" << e->leaf;
        }
        for (const RouteDirNode* c = node->firstChild; c; c = c->nextSibling)
            stack.push_back({c, path + "/" + c->name});
    }
    EXPECT_EQ(registered, rows);
}

TEST_P(RouteTable, EveryHandlerIsExported)
{
    const Program& p = GetParam();
    std::string syms = harness::exportedSymbols(p.name);
    if (syms.empty())
        GTEST_SKIP() << "no nm to read the dynamic symbols";
    for (size_t i = 0; i < p.count; ++i)
        EXPECT_NE(syms.find(std::string(" T ") + p.rows[i].handler + "\n"), std::string::npos) << where(p.rows[i]);
}

INSTANTIATE_TEST_SUITE_P(Programs, RouteTable, testing::ValuesIn(kPrograms),
                         [](const testing::TestParamInfo<Program>& i) { return std::string(i.param.name); });

}  // namespace
