// Every show-output parser against hand-written switch output: for each
// parser a directory tests/golden/<parser>/ of cases, <case>.txt the show
// text and <case>.json what the parser must make of it. The expected JSON is
// compared with the parse after both are printed the same way, so member
// order counts as well as every value.
#include <cjson/cJSON.h>
#include <dirent.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "access/cli_mroute.h"
#include "access/cli_snoop.h"
#include "access/cli_text.h"
#include "access/show_parse_mcast.h"
#include "access/show_parse_routing.h"
#include "access/show_parse_system.h"
#include "runtime/raii.h"
#include "runtime/text_convert.h"
#include "tests/support/harness.h"

namespace {

using showparse::Counter;

// What a parser made of a text, as JSON. `query` is the case's expected JSON,
// for the parsers that are asked something (the labels to look up).
using ToJson = std::function<JsonPtr(const std::string& text, const cJSON* query)>;

struct Parser {
    const char* dir;
    ToJson parse;
};

JsonPtr object() { return JsonPtr(cJSON_CreateObject()); }

void addNumber(cJSON* o, const char* name, double v) { cJSON_AddNumberToObject(o, name, v); }

JsonPtr countersJson(const std::vector<Counter>& counters)
{
    JsonPtr o = object();
    for (const Counter& c : counters)
        addNumber(o.get(), c.member, static_cast<double>(c.value));
    return o;
}

JsonPtr routeLinesJson(const std::string& text, const cJSON*)
{
    JsonPtr a(cJSON_CreateArray());
    for (const showparse::RouteLine& l : showparse::routeLines(text)) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddStringToObject(o, "code", std::string(1, l.code).c_str());
        cJSON_AddStringToObject(o, "dest", l.dest.c_str());
        cJSON_AddStringToObject(o, "destNum", conv::ipv4Text(l.destNum).c_str());
        addNumber(o, "pfxLen", l.pfxLen);
        addNumber(o, "pref", l.pref);
        addNumber(o, "metric", l.metric);
        cJSON_AddStringToObject(o, "nextHop", l.nextHop.c_str());
        cJSON_AddStringToObject(o, "intf", l.intf.c_str());
        cJSON_AddItemToArray(a.get(), o);
    }
    return a;
}

JsonPtr routeSummaryJson(const std::string& text, const cJSON*)
{
    showparse::RouteSummary s = showparse::routeSummaryOf(text);
    JsonPtr o = object();
    const std::pair<const char*, uint32_t> fields[] = {
        {"connected", s.connected},   {"static", s.staticRoutes},       {"rip", s.rip},
        {"ospf", s.ospf},             {"reject", s.reject},             {"failed", s.failed},
        {"kernelFailed", s.kernelFailed}, {"hardwareFailed", s.hardwareFailed}, {"ecmpRoutes", s.ecmpRoutes},
        {"total", s.total},           {"alternate", s.alternate},       {"adds", s.adds},
        {"modifies", s.modifies},     {"deletes", s.deletes},           {"invalidAdds", s.invalidAdds},
        {"unresolved", s.unresolved}, {"reserved", s.reserved},         {"bestHigh", s.bestHigh},
        {"nextHops", s.nextHops},     {"nextHopsHigh", s.nextHopsHigh}, {"nhGroups", s.nhGroups},
        {"nhGroupsHigh", s.nhGroupsHigh}, {"ecmpGroups", s.ecmpGroups}, {"ecmpGroupsHigh", s.ecmpGroupsHigh},
    };
    for (const auto& f : fields)
        addNumber(o.get(), f.first, f.second);
    return o;
}

JsonPtr ipIntfJson(const std::string& text, const cJSON*)
{
    showparse::IpIntfRecord r = showparse::ipIntfRecordOf(text);
    JsonPtr o = object();
    const std::pair<const char*, int> modes[] = {
        {"routingMode", r.routingMode}, {"adminMode", r.adminMode},     {"netDirBcast", r.netDirBcast},
        {"destUnreach", r.destUnreach}, {"redirects", r.redirects},     {"proxyArp", r.proxyArp},
        {"localProxyArp", r.localProxyArp}, {"autoState", r.autoState}, {"active", r.active},
        {"status", r.status},
    };
    for (const auto& m : modes)
        addNumber(o.get(), m.first, m.second);
    if (r.hasMtu)
        addNumber(o.get(), "ipMtu", r.ipMtu);
    if (r.hasBandwidth)
        addNumber(o.get(), "bandwidth", r.bandwidth);
    return o;
}

JsonPtr addrMethodJson(const std::string& text, const cJSON*)
{
    JsonPtr o = object();
    addNumber(o.get(), "addrMethod", showparse::ipIntfAddrMethodOf(text));
    return o;
}

JsonPtr arpBriefJson(const std::string& text, const cJSON*)
{
    showparse::ArpBrief b = showparse::arpBriefOf(text);
    JsonPtr o = object();
    const std::pair<const char*, uint32_t> fields[] = {
        {"ageTime", b.ageTime}, {"responseTime", b.responseTime}, {"retries", b.retries},
        {"cacheSize", b.cacheSize}, {"dynamicRenew", b.dynamicRenew}, {"current", b.current},
        {"peak", b.peak}, {"configured", b.configured}, {"active", b.active}, {"max", b.max},
    };
    for (const auto& f : fields)
        addNumber(o.get(), f.first, f.second);
    return o;
}

JsonPtr arpLinesJson(const std::string& text, const cJSON*)
{
    JsonPtr a(cJSON_CreateArray());
    for (const showparse::ArpLine& l : showparse::arpLines(text)) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddStringToObject(o, "ip", conv::ipv4Text(l.ip).c_str());
        cJSON_AddStringToObject(o, "mac", l.mac.c_str());
        cJSON_AddStringToObject(o, "intf", l.intf.c_str());
        cJSON_AddStringToObject(o, "type", l.type.c_str());
        addNumber(o, "age", l.age);
        cJSON_AddItemToArray(a.get(), o);
    }
    return a;
}

JsonPtr helperEntriesJson(const std::string& text, const cJSON*)
{
    JsonPtr a(cJSON_CreateArray());
    for (const showparse::HelperEntry& e : showparse::helperEntries(text)) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddStringToObject(o, "intf", e.intf.c_str());
        addNumber(o, "udpPort", e.udpPort);
        cJSON_AddStringToObject(o, "server", conv::ipv4Text(e.server).c_str());
        cJSON_AddBoolToObject(o, "discard", e.discard);
        addNumber(o, "hits", e.hits);
        cJSON_AddItemToArray(a.get(), o);
    }
    return a;
}

JsonPtr firstVlanJson(const std::string& text, const cJSON*)
{
    JsonPtr o = object();
    addNumber(o.get(), "first", showparse::firstVlanLine(text));
    return o;
}

// The walk a client makes: the VLAN after 0, then the one after each answer.
JsonPtr vlanWalkJson(const std::string& text, const cJSON*)
{
    JsonPtr a(cJSON_CreateArray());
    for (uint32_t v = showparse::nextVlanLine(text, 0); v != 0; v = showparse::nextVlanLine(text, v))
        cJSON_AddItemToArray(a.get(), cJSON_CreateNumber(v));
    return a;
}

// Every member of the expected object names labels ("a|b": the first found);
// its value is the raw value found, or null when no line starts with one.
JsonPtr labelValuesJson(const std::string& text, const cJSON* query)
{
    JsonPtr o = object();
    for (const cJSON* q = query ? query->child : nullptr; q; q = q->next) {
        std::string v;
        if (showparse::labelsValue(text, q->string, &v))
            cJSON_AddStringToObject(o.get(), q->string, v.c_str());
        else
            cJSON_AddNullToObject(o.get(), q->string);
    }
    return o;
}

// The same labels converted as the views answer them: number, mode, third.
JsonPtr labelConversionsJson(const std::string& text, const cJSON* query)
{
    JsonPtr o = object();
    for (const cJSON* q = query ? query->child : nullptr; q; q = q->next) {
        cJSON* c = cJSON_AddObjectToObject(o.get(), q->string);
        std::string v;
        showparse::labelsValue(text, q->string, &v);
        addNumber(c, "number", showparse::convertValue(v, showparse::kNumber));
        addNumber(c, "mode", showparse::convertValue(v, showparse::kMode));
        addNumber(c, "thirdOf", showparse::convertValue(v, showparse::kThirdOf));
        addNumber(c, "preference", showparse::convertValue(v, showparse::kPreference));
    }
    return o;
}

JsonPtr cliRefusedJson(const std::string& text, const cJSON*)
{
    JsonPtr o = object();
    cJSON_AddBoolToObject(o.get(), "refused", clitext::cliRefused(text));
    return o;
}

JsonPtr bootvarJson(const std::string& text, const cJSON*)
{
    BootImageRecord r[4];
    int n = bootvarRecordsOf(text, r, 4);
    JsonPtr a(cJSON_CreateArray());
    for (int i = 0; i < n; ++i) {
        cJSON* o = cJSON_CreateObject();
        addNumber(o, "unit", r[i].unit);
        cJSON_AddStringToObject(o, "active", r[i].active);
        cJSON_AddStringToObject(o, "backup", r[i].backup);
        cJSON_AddStringToObject(o, "currentActive", r[i].currentActive);
        cJSON_AddStringToObject(o, "nextActive", r[i].nextActive);
        cJSON_AddItemToArray(a.get(), o);
    }
    return a;
}

JsonPtr managementJson(const std::string& text, const cJSON*)
{
    uint32_t vlan = 0;
    char method[kMgmtTextSize], address[kMgmtTextSize], mask[kMgmtTextSize], gateway[kMgmtTextSize];
    managementParamsOf(text, &vlan, method, address, mask, gateway);
    JsonPtr o = object();
    addNumber(o.get(), "vlan", vlan);
    cJSON_AddStringToObject(o.get(), "method", method);
    cJSON_AddStringToObject(o.get(), "address", address);
    cJSON_AddStringToObject(o.get(), "mask", mask);
    cJSON_AddStringToObject(o.get(), "gateway", gateway);
    return o;
}

// The template id of a "show sdm prefer" text (null when it names none) and
// the number of each label set the case's "limits" object names (null when
// no line holds one).
JsonPtr mrouteSummaryJson(const std::string& text, const cJSON*)
{
    JsonPtr routes(cJSON_CreateArray());
    for (const showparse::MrouteRow& r : showparse::mrouteRowsOf(text))
        cJSON_AddItemToArray(routes.get(), mcastcli::routeJson(r).release());
    JsonPtr o = object();
    cJSON_AddItemToObject(o.get(), "routes", routes.release());
    return o;
}

JsonPtr sdmPreferJson(const std::string& text, const cJSON* query)
{
    JsonPtr o = object();
    std::string id;
    if (sdmTemplateIdOf(text, &id))
        cJSON_AddStringToObject(o.get(), "templateId", id.c_str());
    else
        cJSON_AddNullToObject(o.get(), "templateId");
    cJSON* limits = cJSON_AddObjectToObject(o.get(), "limits");
    const cJSON* asked = query ? cJSON_GetObjectItemCaseSensitive(query, "limits") : nullptr;
    for (const cJSON* q = asked ? asked->child : nullptr; q; q = q->next) {
        uint32_t n = 0;
        if (labelNumberOf(text, q->string, &n))
            addNumber(limits, q->string, n);
        else
            cJSON_AddNullToObject(limits, q->string);
    }
    return o;
}

// The case's own inputs of a group table: "cut" (the text stopped at its
// read cap) and "streams" (the stream file), answered back first.
JsonPtr groupTableInputs(const cJSON* query, bool* cut, const cJSON** streams)
{
    JsonPtr o = object();
    const cJSON* c = query ? cJSON_GetObjectItemCaseSensitive(query, "cut") : nullptr;
    *cut = cJSON_IsTrue(c);
    if (c)
        cJSON_AddItemToObject(o.get(), "cut", cJSON_Duplicate(c, true));
    *streams = query ? cJSON_GetObjectItemCaseSensitive(query, "streams") : nullptr;
    if (*streams)
        cJSON_AddItemToObject(o.get(), "streams", cJSON_Duplicate(*streams, true));
    return o;
}

JsonPtr snoopGroupsJson(const std::string& text, const cJSON* query)
{
    bool cut = false;
    const cJSON* streams = nullptr;
    JsonPtr o = groupTableInputs(query, &cut, &streams);
    cJSON* groups = cJSON_AddArrayToObject(o.get(), "groups");
    for (const showparse::SnoopGroupRow& g : showparse::snoopGroupsOf(text, cut))
        cJSON_AddItemToArray(groups, mcastcli::snoopGroupJson(g, streams).release());
    return o;
}

JsonPtr snoopSsmGroupsJson(const std::string& text, const cJSON* query)
{
    bool cut = false;
    const cJSON* streams = nullptr;
    JsonPtr o = groupTableInputs(query, &cut, &streams);
    cJSON* groups = cJSON_AddArrayToObject(o.get(), "groups");
    for (const showparse::SnoopSsmGroupRow& g : showparse::snoopSsmGroupsOf(text, cut))
        cJSON_AddItemToArray(groups, mcastcli::snoopSsmGroupJson(g).release());
    return o;
}

const Parser kParsers[] = {
    {"route_lines", routeLinesJson},
    {"route_summary", routeSummaryJson},
    {"ip_intf_record", ipIntfJson},
    {"ip_intf_addr_method", addrMethodJson},
    {"arp_brief", arpBriefJson},
    {"arp_lines", arpLinesJson},
    {"ip_stats", [](const std::string& t, const cJSON*) { return countersJson(showparse::ipStatsOf(t)); }},
    {"helper_stats", [](const std::string& t, const cJSON*) { return countersJson(showparse::helperStatsOf(t)); }},
    {"helper_entries", helperEntriesJson},
    {"first_vlan", firstVlanJson},
    {"vlan_walk", vlanWalkJson},
    {"label_values", labelValuesJson},
    {"label_conversions", labelConversionsJson},
    {"cli_refused", cliRefusedJson},
    {"bootvar", bootvarJson},
    {"ip_management", managementJson},
    {"sdm_prefer", sdmPreferJson},
    {"mroute_summary", mrouteSummaryJson},
    {"snoop_groups", snoopGroupsJson},
    {"snoop_ssm_groups", snoopSsmGroupsJson},
};

std::string goldenDir() { return harness::sourcePath("tests/golden"); }

std::vector<std::string> entriesOf(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            if (e->d_name[0] != '.')
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string printed(const cJSON* j)
{
    CStr t(cJSON_PrintUnformatted(j));
    return t ? t.get() : "(nothing)";
}

void PrintTo(const Parser& p, std::ostream* os) { *os << p.dir; }

class Golden : public testing::TestWithParam<Parser> {};

TEST_P(Golden, EveryCaseParsesToItsJson)
{
    const Parser& p = GetParam();
    std::string dir = goldenDir() + "/" + p.dir;
    int cases = 0;
    for (const std::string& name : entriesOf(dir)) {
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".txt") != 0)
            continue;
        std::string stem = name.substr(0, name.size() - 4);
        SCOPED_TRACE(std::string(p.dir) + "/" + stem);
        ++cases;
        ASSERT_TRUE(harness::fileExists(dir + "/" + stem + ".json")) << "a case without its .json";
        JsonPtr expected(cJSON_Parse(harness::readFile(dir + "/" + stem + ".json").c_str()));
        ASSERT_TRUE(expected) << "the .json does not parse";
        JsonPtr actual = p.parse(harness::readFile(dir + "/" + name), expected.get());
        EXPECT_EQ(printed(actual.get()), printed(expected.get()));
    }
    EXPECT_GE(cases, 2) << "every parser has cases of its own";
}

INSTANTIATE_TEST_SUITE_P(Parsers, Golden, testing::ValuesIn(kParsers),
                         [](const testing::TestParamInfo<Parser>& i) {
                             std::string n = i.param.dir;
                             n.erase(std::remove(n.begin(), n.end(), '_'), n.end());
                             return n;
                         });

TEST(GoldenCases, EveryDirectoryBelongsToAParserAndEveryJsonToAText)
{
    for (const std::string& d : entriesOf(goldenDir())) {
        bool known = std::any_of(std::begin(kParsers), std::end(kParsers),
                                 [&](const Parser& p) { return d == p.dir; });
        EXPECT_TRUE(known) << "tests/golden/" << d << " has no parser";
        for (const std::string& f : entriesOf(goldenDir() + "/" + d)) {
            if (f.size() > 5 && f.compare(f.size() - 5, 5, ".json") == 0) {
                EXPECT_TRUE(harness::fileExists(goldenDir() + "/" + d + "/" + f.substr(0, f.size() - 5) + ".txt"))
                    << d << "/" << f;
            }
        }
    }
}

}  // namespace
