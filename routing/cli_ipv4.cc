// Route table views, static route changes, IP interface views and setters,
// ARP views and settings, IPv4 and route summary statistics, all through the
// switch's CLI.
#include "routing/cli_ipv4.h"

#include <cjson/cJSON.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "access/cli_bridge.h"
#include "access/cli_text.h"
#include "access/show_parse_routing.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/params.h"
#include "runtime/route_tree.h"
#include "runtime/text_convert.h"

namespace cli4 {

using route::RouteCtx;
using showparse::ArpBrief;
using showparse::ArpLine;
using showparse::IpIntfRecord;
using showparse::RouteLine;
using showparse::RouteSummary;

namespace {

// Work file words of the apply files: the route group, and the IP interface
// group whose files the ARP settings share.
const char* const kRtrWord = "rtr";
const char* const kRcfgWord = "rcfg";
// The stem of a script pair: the group's word and the row's key token.
std::string stemOf(const char* word, const char* token)
{
    return std::string(word) + "_" + token;
}
// Interface numbers tried when a CLI interface name is turned into a number.
constexpr uint32_t kIntfSearchMax = 256;

// --- Request ----------------------------------------------------------------

struct Body {
    cJSON* json = nullptr;
    Body() = default;
    Body(const Body&) = delete;
    Body& operator=(const Body&) = delete;
    ~Body() { cJSON_Delete(json); }
};

// Parses the request body; false when it is no JSON object.
bool readBody(Body* b)
{
    char* t = requestDataGet();
    b->json = t ? cJSON_Parse(t) : nullptr;
    free(t);
    return cJSON_IsObject(b->json);
}

/// Split reader of the query string (GET, DELETE).
struct Query {
    char* text = nullptr;
    char** list = nullptr;
    Query()
    {
        text = requestDataGet();
        list = paramListSplit(text ? text : "");
    }
    Query(const Query&) = delete;
    Query& operator=(const Query&) = delete;
    ~Query()
    {
        paramListFree(list);
        free(text);
    }
    const char* find(const char* name) const { return paramListFind(name, list); }
};

enum Got { kAbsent, kGot, kBad };

// A whole number member (JSON number or decimal text) of 0..4294967295.
Got bodyNumber(const cJSON* o, const char* name, uint32_t* out)
{
    const cJSON* it = cJSON_GetObjectItem(o, name);
    *out = 0;
    if (!it)
        return kAbsent;
    if (cJSON_IsNumber(it)) {
        double d = it->valuedouble;
        if (!(d >= 0 && d <= 4294967295.0) || static_cast<double>(static_cast<uint64_t>(d)) != d)
            return kBad;
        *out = static_cast<uint32_t>(d);
        return kGot;
    }
    if (cJSON_IsString(it) && strlen(it->valuestring) <= 10)
        return conv::parseU32(it->valuestring, out) ? kGot : kBad;
    return kBad;
}

Got bodyText(const cJSON* o, const char* name, std::string* out)
{
    const cJSON* it = cJSON_GetObjectItem(o, name);
    out->clear();
    if (!it)
        return kAbsent;
    if (!cJSON_IsString(it))
        return kBad;
    *out = it->valuestring;
    return kGot;
}

// A mode member: "enable", true or 1 enable; any other value (or none) does
// not. Objects and arrays are no mode.
bool bodyMode(const cJSON* o, const char* name, bool* on)
{
    const cJSON* it = cJSON_GetObjectItem(o, name);
    *on = false;
    if (!it)
        return true;
    if (cJSON_IsObject(it) || cJSON_IsArray(it))
        return false;
    if (cJSON_IsString(it))
        *on = strcmp(it->valuestring, "enable") == 0;
    else if (cJSON_IsBool(it))
        *on = cJSON_IsTrue(it) != 0;
    else if (cJSON_IsNumber(it))
        *on = it->valuedouble == 1;
    return true;
}

// Decimal query value, stopping at the first non-digit (none: 0).
uint32_t queryNumber(const Query& q, const char* name, bool* found = nullptr)
{
    const char* v = q.find(name);
    if (found)
        *found = v != nullptr;
    return v ? conv::decimalLoose(v) : 0;
}

// --- Values -------------------------------------------------------------------

// A request's IPv4 text: one address and nothing else that could reach a CLI line.
bool parseIpv4(const std::string& t, uint32_t* out)
{
    return clitext::cliSafe(t) && conv::parseIpv4(t, out);
}

std::string maskText(uint32_t len)
{
    return conv::ipv4Text(conv::maskOfLength(len));
}

// A request's MAC address into the CLI's lower-case colon form.
bool parseMac(const std::string& t, std::string* out)
{
    uint8_t b[6];
    if (!clitext::cliSafe(t) || !conv::parseMac(t, b))
        return false;
    *out = conv::macText(b);
    return true;
}

// --- Answers -------------------------------------------------------------------

// Prints the envelope; the data object (owned here) goes out on success
// only. Reads answer without a newline; writes with one; POST views (the
// route walk) only when they fail.
int answer(const RouteCtx& r, ResultCode code, cJSON* data, bool view)
{
    char* text = nullptr;
    if (code == kResultOk && data && data->child)
        text = cJSON_PrintUnformatted(data);
    cJSON_Delete(data);
    bool newline = r.method != kMethodGet && (!view || code != kResultOk);
    replyEnvelope(code, text ? route::dataMemberOf(r.dir) : nullptr, text, newline);
    free(text);
    return 0;
}

int answerView(const RouteCtx& r, ResultCode code, cJSON* data) { return answer(r, code, data, true); }
int answerWrite(const RouteCtx& r, ResultCode code) { return answer(r, code, nullptr, false); }

// --- Show text -------------------------------------------------------------------

// Runs `command` into a work file named by `stem` (TempFile: a name of this
// request's own) and reads it whole.
int showText(const std::string& stem, const std::string& command, const char* caller, std::string* text)
{
    return clitext::showToText(stem.c_str(), command.c_str(), clitext::kShowCap, text, caller);
}

// Interface number of a CLI interface name ("1/0/5", "vlan 10"), found among
// the routing interfaces; 0 when none has the name.
uint32_t intfNumberOf(const std::string& name)
{
    if (name.empty())
        return 0;
    uint32_t n = 0;
    for (uint32_t tries = 0; tries < kIntfSearchMax; ++tries) {
        uint32_t next = 0;
        if (rpcclt_openapiRtrIntfNextGet(&clientHandle, n, &next) != 0 || next <= n)
            return 0;
        n = next;
        char buf[64] = {0};
        BufDesc d{sizeof buf, buf};
        if (rpcclt_openapiRtrIntfNameGet(&clientHandle, n, &d) == 0) {
            buf[sizeof buf - 1] = '\0';
            if (strcasecmp(buf, name.c_str()) == 0)
                return n;
        }
    }
    return 0;
}

// --- Route table --------------------------------------------------------------------

bool protoFits(char code, uint32_t proto)
{
    return proto == 1 ? code == 'C' : proto == 3 ? code == 'S' : true;
}

// rtrIpRouteEntryGetNextCli: the first line whose destination is greater
// than the start, or equal with a longer prefix; an empty or invalid start
// takes the first line.
int rtrIpRouteEntryGetNextCli(const std::string& startDest, uint32_t startLen, uint32_t proto, RouteLine* out)
{
    std::string text;
    int rc = showText("show_ip_route_tbl", "show ip route", __func__, &text);
    if (rc != 0)
        return rc;
    uint32_t start = 0;
    bool haveStart = parseIpv4(startDest, &start);
    for (const RouteLine& l : showparse::routeLines(text)) {
        if (!protoFits(l.code, proto))
            continue;
        if (!haveStart || l.destNum > start || (l.destNum == start && l.pfxLen > startLen)) {
            *out = l;
            return kResultOk;
        }
    }
    return kResultApiNotFound;
}

// rtrIpRouteLookupCli: the first line with this destination text, prefix
// length and protocol.
int rtrIpRouteLookupCli(const std::string& dest, uint32_t len, uint32_t proto, RouteLine* out)
{
    std::string text;
    int rc = showText("show_ip_route_lkp", "show ip route", __func__, &text);
    if (rc != 0)
        return rc;
    for (const RouteLine& l : showparse::routeLines(text))
        if (l.dest == dest && l.pfxLen == len && protoFits(l.code, proto)) {
            *out = l;
            return kResultOk;
        }
    return kResultApiNotFound;
}

// rtrShowRouteNextCli: the next static route after the start (0: the first).
int rtrShowRouteNextCli(uint32_t start, uint32_t startLen, RouteLine* out)
{
    std::string text;
    int rc = showText("show_ip_route", "show ip route", __func__, &text);
    if (rc != 0)
        return rc;
    for (const RouteLine& l : showparse::routeLines(text)) {
        if (l.code != 'S')
            continue;
        if (start == 0 || l.destNum > start || (l.destNum == start && l.pfxLen > startLen)) {
            *out = l;
            return kResultOk;
        }
    }
    return kResultApiNotFound;
}

// --- IP interface -------------------------------------------------------------------

int rcfgShowIpInterfaceFetch(uint32_t intIfNum, const char* file, std::string* text,
                             const char* caller = "rcfgShowIpInterfaceFetch")
{
    std::string name;
    int rc = clitext::intfCliName(intIfNum, &name);
    if (rc != 0)
        return rc;
    return showText(file, "show ip interface " + name, caller, text);
}

int rtrShowIpInterfaceMethod(uint32_t intIfNum, uint32_t* method)
{
    std::string text;
    int rc = rcfgShowIpInterfaceFetch(intIfNum, "show_ip_intf_meth", &text, __func__);
    if (rc != 0)
        return rc;
    *method = showparse::ipIntfAddrMethodOf(text);
    return kResultOk;
}

// Applies "interface <u/s/p>\n<line>\nexit\n" to the interface of query `query`.
int applyToIntf(const char* query, const std::string& line, const char* token)
{
    std::string name;
    int rc = clitext::intfCliName(queryExactU32(query), &name);
    if (rc != 0)
        return rc;
    return clitext::applyText(stemOf(kRcfgWord, token).c_str(), "interface " + name + "\n" + line + "\nexit\n");
}

// --- ARP ------------------------------------------------------------------------------

// The ARP group answers 17002 when the switch fails its show command.
int arpShow(const std::string& stem, const char* command, const char* caller, std::string* text)
{
    int rc = showText(stem, command, caller, text);
    return rc == kResultOpenFailed || rc == kResultOk ? rc : kResultUnsupported;
}

int rcfgShowArpBriefFetch(ArpSource source, ArpBrief* out)
{
    std::string text;
    int rc = source == kArpShow ? arpShow("show_arp", "show arp", __func__, &text)
                                : arpShow("show_arp_brief", "show arp brief", __func__, &text);
    if (rc == kResultOk)
        *out = showparse::arpBriefOf(text);
    return rc;
}

int arpTableFetch(ArpEntryView view, std::vector<ArpLine>* lines)
{
    const char* stem = view == kArpEntryNext          ? "show_arp_iter"
                       : view == kArpEntryNextWithMac ? "show_arp_mac_iter"
                                                      : "show_arp_entry";
    std::string text;
    int rc = arpShow(stem, "show arp", "arpTableFetch", &text);
    if (rc == kResultOk)
        *lines = showparse::arpLines(text);
    return rc;
}

int applyGlobal(const char* token, const std::string& text)
{
    return clitext::applyText(stemOf(kRcfgWord, token).c_str(), text);
}

// --- Statistics -------------------------------------------------------------------------

// rtrShowIpStatsFetchToJson: every line that starts with one of the labels
// adds its counter to `o`.
int rtrShowIpStatsFetchToJson(cJSON* o)
{
    std::string text;
    int rc = showText("show_ip_stats", "show ip stats", __func__, &text);
    if (rc != 0)
        return rc;
    for (const showparse::Counter& c : showparse::ipStatsOf(text))
        cJSON_AddNumberToObject(o, c.member, static_cast<double>(c.value));
    return kResultOk;
}

// rtrStatsFetchCmd: the summary counters of a route summary command.
int rtrStatsFetchCmd(const char* command, const char* fileWord, RouteSummary* out)
{
    std::string text;
    int rc = showText(fileWord, command, __func__, &text);
    if (rc == kResultOk)
        *out = showparse::routeSummaryOf(text);
    return rc;
}

}  // namespace

// --- Route table classes -------------------------------------------------------------------

int routeEntryGetNext(const RouteCtx& r)
{
    Body b;
    if (!readBody(&b))
        return answerView(r, kResultInvalidArgument, nullptr);
    std::string dest, mask;
    uint32_t proto = 0, maskNum = 0;
    bodyText(b.json, "routeDest", &dest);  // not a text: an invalid start, the first line
    Got m = bodyText(b.json, "routeMask", &mask);
    if (m == kBad || (m == kGot && !mask.empty() && !parseIpv4(mask, &maskNum)) ||
        bodyNumber(b.json, "routeProto", &proto) == kBad)
        return answerView(r, kResultInvalidArgument, nullptr);
    RouteLine l;
    int rc = rtrIpRouteEntryGetNextCli(dest, conv::maskLength(maskNum), proto, &l);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    cJSON* o = cJSON_CreateObject();
    cJSON_AddStringToObject(o, "routeDest", conv::ipv4Text(l.destNum).c_str());
    cJSON_AddStringToObject(o, "routeMask", maskText(l.pfxLen).c_str());
    cJSON_AddNumberToObject(o, "routeProto", l.code == 'S' ? 3 : 1);
    cJSON_AddNumberToObject(o, "routePref", 0);
    return answerView(r, kResultOk, o);
}

int routeLookupField(const RouteCtx& r, LookupField field)
{
    Query q;
    const char* dest = q.find("routeDest");
    const char* mask = q.find("routeMask");
    uint32_t maskNum = 0;
    if (!dest || !mask || (*mask && !parseIpv4(mask, &maskNum)))
        return answerView(r, kResultInvalidArgument, nullptr);
    RouteLine l;
    int rc = rtrIpRouteLookupCli(dest, conv::maskLength(maskNum), queryNumber(q, "routeProto"), &l);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    cJSON* o = cJSON_CreateObject();
    if (field == kLookupMetric)
        cJSON_AddNumberToObject(o, "metric", l.metric);
    else if (field == kLookupNextHopIntf)
        cJSON_AddStringToObject(o, "nextHopIntf", l.intf.c_str());
    else
        cJSON_AddStringToObject(o, "nextHopAddr", l.nextHop.empty() ? "0.0.0.0" : l.nextHop.c_str());
    return answerView(r, kResultOk, o);
}

int staticRouteNext(const RouteCtx& r, bool readsStart)
{
    uint32_t start = 0, startLen = 0;
    if (readsStart) {
        Query q;
        const char* pfx = q.find("destPfx");
        if (!pfx || !parseIpv4(pfx, &start))
            start = 0;  // none or no address: the first static route
        startLen = queryNumber(q, "pfxLen");
    }
    RouteLine l;
    int rc = rtrShowRouteNextCli(start, startLen, &l);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    RouteRecord rec;
    memset(&rec, 0, sizeof rec);
    rec.family = kFamilyIpv4;
    memcpy(rec.destPfx, &l.destNum, 4);
    rec.pfxLen = static_cast<uint8_t>(l.pfxLen);
    rec.pref = static_cast<uint16_t>(l.pref > 0xffff ? 0xffff : l.pref);
    rec.metric = l.metric;
    NextHopList hops;
    memset(&hops, 0, sizeof hops);
    uint32_t nh = 0;
    if (parseIpv4(l.nextHop, &nh)) {
        rec.numNextHops = 1;
        hops.hop[0].family = kFamilyIpv4;
        memcpy(hops.hop[0].addr, &nh, 4);
        hops.hop[0].ifNum = intfNumberOf(l.intf);
    }
    cJSON* o = cJSON_CreateObject();
    cJSON_AddItemToObject(o, "route", route::routeJson(rec));
    cJSON_AddItemToObject(o, "nextHops", route::nextHopsJson(hops, rec.numNextHops));
    return answerView(r, kResultOk, o);
}

int staticRouteChange(const RouteCtx& r, RouteChangeOp op, const char* token)
{
    Body b;
    if (!readBody(&b))
        return answerWrite(r, kResultInvalidArgument);
    const cJSON* rt = cJSON_GetObjectItem(b.json, "route");
    std::string pfxText;
    uint32_t pfx = 0, len = 0, pref = 0;
    if (!cJSON_IsObject(rt) || bodyText(rt, "destPfx", &pfxText) != kGot || !parseIpv4(pfxText, &pfx) ||
        bodyNumber(rt, "pfxLen", &len) == kBad || len > 32 || bodyNumber(rt, "pref", &pref) == kBad || pref > 255)
        return answerWrite(r, kResultInvalidArgument);
    std::string text = "no ip route " + conv::ipv4Text(pfx) + " " + maskText(len) + "\n";
    if (op != kRouteDelete) {
        // The next hop: the first element of `nextHops` (beside `route`, or inside it).
        const cJSON* hops = cJSON_GetObjectItem(b.json, "nextHops");
        if (!hops)
            hops = cJSON_GetObjectItem(rt, "nextHops");
        const cJSON* first = cJSON_IsArray(hops) ? cJSON_GetArrayItem(hops, 0) : nullptr;
        std::string nhText;
        uint32_t nh = 0;
        if (!cJSON_IsObject(first) || bodyText(first, "nhAddr", &nhText) != kGot || !parseIpv4(nhText, &nh))
            return answerWrite(r, kResultInvalidArgument);
        std::string add = "ip route " + conv::ipv4Text(pfx) + " " + maskText(len) + " " + conv::ipv4Text(nh);
        if (pref > 1)
            add += " " + std::to_string(pref);
        add += "\n";
        text = op == kRouteModify ? text + add : add;
    }
    return answerWrite(r, clitext::applyText(stemOf(kRtrWord, token).c_str(), text));
}

// --- IP interface classes -------------------------------------------------------------------

int ipIntfField(const RouteCtx& r, const char* query, IntfField field, const char* member)
{
    std::string text;
    int rc = rcfgShowIpInterfaceFetch(queryExactU32(query), "show_ip_intf", &text);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    IpIntfRecord rec = showparse::ipIntfRecordOf(text);
    cJSON* o = cJSON_CreateObject();
    int mode = -1;
    switch (field) {
    case kIntfRoutingMode: mode = rec.routingMode; break;
    case kIntfNetDirBcast: mode = rec.netDirBcast; break;
    case kIntfDestUnreach: mode = rec.destUnreach; break;
    case kIntfRedirects: mode = rec.redirects; break;
    case kIntfProxyArp: mode = rec.proxyArp; break;
    case kIntfLocalProxyArp: mode = rec.localProxyArp; break;
    case kIntfAutoState: mode = rec.autoState; break;
    case kIntfOperState: mode = rec.status; break;
    case kIntfIpMtu:
    case kIntfBandwidth: {
        bool has = field == kIntfIpMtu ? rec.hasMtu : rec.hasBandwidth;
        if (!has) {
            cJSON_Delete(o);
            return answerView(r, kResultApiNotFound, nullptr);
        }
        cJSON_AddNumberToObject(o, member, field == kIntfIpMtu ? rec.ipMtu : rec.bandwidth);
        return answerView(r, kResultOk, o);
    }
    }
    if (mode < 0) {
        cJSON_Delete(o);
        return answerView(r, kResultApiNotFound, nullptr);
    }
    cJSON_AddStringToObject(o, member, mode == 1 ? "enable" : "disable");
    return answerView(r, kResultOk, o);
}

int ipIntfAddrMethod(const RouteCtx& r)
{
    Query q;
    uint32_t method = 0;
    int rc = rtrShowIpInterfaceMethod(queryNumber(q, "intf"), &method);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    cJSON* o = cJSON_CreateObject();
    cJSON_AddNumberToObject(o, "addrMethod", method);
    cJSON_AddNumberToObject(o, "clientIdEnable", 0);
    return answerView(r, kResultOk, o);
}

int ipIntfModeSet(const RouteCtx& r, const char* query, const char* member, const char* line, const char* token)
{
    Body b;
    bool on = false;
    if (!readBody(&b) || !bodyMode(b.json, member, &on))
        return answerWrite(r, kResultInvalidArgument);
    return answerWrite(r, applyToIntf(query, std::string(on ? "" : "no ") + line, token));
}

int ipIntfNumberSet(const RouteCtx& r, const char* query, const char* member, const char* words, const char* token)
{
    Body b;
    uint32_t v = 0;
    if (!readBody(&b) || bodyNumber(b.json, member, &v) != kGot)
        return answerWrite(r, kResultInvalidArgument);
    return answerWrite(r, applyToIntf(query, std::string(words) + " " + std::to_string(v), token));
}

// --- ARP classes ----------------------------------------------------------------------------

int arpField(const RouteCtx& r, ArpSource source, ArpField field, const char* member)
{
    ArpBrief a;
    int rc = rcfgShowArpBriefFetch(source, &a);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    cJSON* o = cJSON_CreateObject();
    switch (field) {
    case kArpAgeTime: cJSON_AddNumberToObject(o, member, a.ageTime); break;
    case kArpResponseTime: cJSON_AddNumberToObject(o, member, a.responseTime); break;
    case kArpRetries: cJSON_AddNumberToObject(o, member, a.retries); break;
    case kArpCacheSize: cJSON_AddNumberToObject(o, member, a.cacheSize); break;
    case kArpDynamicRenew: cJSON_AddNumberToObject(o, member, a.dynamicRenew); break;
    case kArpTotalCounts:
        cJSON_AddNumberToObject(o, "current", a.current);
        cJSON_AddNumberToObject(o, "peak", a.peak);
        break;
    case kArpStaticCounts:
        cJSON_AddNumberToObject(o, "configured", a.configured);
        cJSON_AddNumberToObject(o, "active", a.active);
        cJSON_AddNumberToObject(o, "max", a.max);
        break;
    case kArpCacheStats:
        cJSON_AddNumberToObject(o, "cacheCurrent", a.current);
        cJSON_AddNumberToObject(o, "cachePeak", a.peak);
        cJSON_AddNumberToObject(o, "staticMax", a.max);
        break;
    }
    return answerView(r, kResultOk, o);
}

int arpEntry(const RouteCtx& r, ArpEntryView view)
{
    uint32_t ip = queryExactIpv4("ipAddr");
    std::vector<ArpLine> lines;
    int rc = arpTableFetch(view, &lines);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    const ArpLine* found = nullptr;
    for (const ArpLine& l : lines) {
        if (view == kArpEntryInfo ? l.ip == ip : l.ip > ip && (!found || l.ip < found->ip))
            found = &l;
        if (found && view == kArpEntryInfo)
            break;
    }
    if (!found)
        return answerView(r, kResultApiNotFound, nullptr);
    uint32_t intIfNum = intfNumberOf(found->intf);
    cJSON* o = cJSON_CreateObject();
    if (view == kArpEntryInfo) {
        bool own = found->type == "Static" || found->type == "Local";
        uint32_t vlan = strncasecmp(found->intf.c_str(), "vlan ", 5) == 0 ? conv::decimalLoose(found->intf.substr(5)) : 0;
        cJSON_AddNumberToObject(o, "type", own ? 1 : 0);
        cJSON_AddNumberToObject(o, "age", found->age);
        cJSON_AddStringToObject(o, "ipAddr", conv::ipv4Text(found->ip).c_str());
        cJSON_AddNumberToObject(o, "vrfId", 0);
        cJSON_AddStringToObject(o, "macAddr", found->mac.c_str());
        cJSON_AddNumberToObject(o, "vlanId", vlan);
        cJSON_AddNumberToObject(o, "intIfNum", intIfNum);
        cJSON_AddNumberToObject(o, "hits", 0);
    } else {
        cJSON_AddNumberToObject(o, "intf", intIfNum);
        cJSON_AddStringToObject(o, "ipAddr", conv::ipv4Text(found->ip).c_str());
        if (view == kArpEntryNextWithMac)
            cJSON_AddStringToObject(o, "macAddr", found->mac.c_str());
    }
    return answerView(r, kResultOk, o);
}

int arpModeSet(const RouteCtx& r, const char* member, const char* line, const char* token)
{
    Body b;
    bool on = false;
    if (!readBody(&b) || !bodyMode(b.json, member, &on))
        return answerWrite(r, kResultInvalidArgument);
    return answerWrite(r, applyGlobal(token, std::string(on ? "" : "no ") + line + "\n"));
}

int arpNumberSet(const RouteCtx& r, const char* member, const char* words, const char* token)
{
    Body b;
    uint32_t v = 0;
    if (!readBody(&b) || bodyNumber(b.json, member, &v) != kGot)
        return answerWrite(r, kResultInvalidArgument);
    return answerWrite(r, applyGlobal(token, std::string(words) + " " + std::to_string(v) + "\n"));
}

int arpClear(const RouteCtx& r, const char* flag, const char* flagWord, const char* line, const char* token)
{
    bool on = false;
    if (flag) {
        Query q;
        const char* v = q.find(flag);
        on = v && (strcmp(v, "true") == 0 || strcmp(v, "1") == 0);
    } else {
        free(requestDataGet());
    }
    return answerWrite(r, applyGlobal(token, std::string(line) + (on ? std::string(" ") + flagWord : "") + "\n"));
}

int arpAddressLine(const RouteCtx& r, const char* member, const char* words, const char* token)
{
    std::string text;
    if (r.method == kMethodPost || r.method == kMethodPut) {
        Body b;
        if (!readBody(&b) || bodyText(b.json, member, &text) != kGot)
            return answerWrite(r, kResultInvalidArgument);
    } else {
        Query q;
        const char* v = q.find(member);
        if (!v)
            return answerWrite(r, kResultInvalidArgument);
        text = v;
    }
    uint32_t ip = 0;
    if (!parseIpv4(text, &ip))
        return answerWrite(r, kResultInvalidArgument);
    return answerWrite(r, applyGlobal(token, std::string(words) + " " + conv::ipv4Text(ip) + "\n"));
}

int arpStaticAdd(const RouteCtx& r, const char* addrMember, const char* macMember, const char* words,
                 const char* token)
{
    Body b;
    std::string addr, macText, mac;
    uint32_t ip = 0;
    if (!readBody(&b) || bodyText(b.json, addrMember, &addr) != kGot || !parseIpv4(addr, &ip) ||
        bodyText(b.json, macMember, &macText) != kGot || !parseMac(macText, &mac))
        return answerWrite(r, kResultInvalidArgument);
    return answerWrite(r, applyGlobal(token, std::string(words) + " " + conv::ipv4Text(ip) + " " + mac + "\n"));
}

// --- Statistics classes ------------------------------------------------------------------------

int ipv4Stats(const RouteCtx& r)
{
    cJSON* o = cJSON_CreateObject();
    int rc = rtrShowIpStatsFetchToJson(o);
    return answerView(r, rc, o);
}

int routeSummary(const RouteCtx& r, Family family, SummaryView view)
{
    RouteSummary s;
    int rc = family == kIpv4 ? rtrStatsFetchCmd("show ip route summary", "show_ip_route_summary", &s)
                             : rtrStatsFetchCmd("show ipv6 route summary", "show_ipv6_route_summary", &s);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    cJSON* o = cJSON_CreateObject();
    if (view == kSummaryEcmpCount) {
        cJSON_AddNumberToObject(o, "count", s.ecmpRoutes);
        return answerView(r, kResultOk, o);
    }
    if (view == kSummaryTotalCount) {
        cJSON_AddNumberToObject(o, "count", s.total);
        return answerView(r, kResultOk, o);
    }
    bool v6 = family == kIpv6;
    uint32_t best = s.connected + s.staticRoutes + s.rip + s.ospf;
    auto num = [o](const char* name, double v) { cJSON_AddNumberToObject(o, name, v); };
    auto flag = [o](const char* name, bool v) { cJSON_AddBoolToObject(o, name, v); };
    num("bestRoutes", best);
    num("bestRoutesHigh", v6 && s.bestHigh != 0 ? s.bestHigh : best);
    num("altRoutes", v6 ? s.alternate : 0);
    num("leakedRoutes", 0);
    flag("leakedRoutesValid", false);
    num("mplsRoutes", 0);
    flag("mplsRoutesValid", false);
    num("rfc5549Routes", 0);
    flag("rfc5549RoutesValid", false);
    num("rejectRoutes", s.reject);
    flag("rejectRoutesValid", true);
    num("adds", v6 ? s.adds : 0);
    num("mods", v6 ? s.modifies : 0);
    num("dels", v6 ? s.deletes : 0);
    num("invalidAdds", v6 ? s.invalidAdds : 0);
    num("unresAdds", v6 ? s.unresolved : 0);
    num("failedAdds", s.failed);
    num("activeLocals", s.connected);
    num("resvLocals", v6 ? s.reserved : 0);
    num("nextHops", s.nextHops);
    num("nextHopsHigh", s.nextHopsHigh);
    num("ecmpRoutes", s.ecmpRoutes);
    num("nextHopGroups", s.nhGroups);
    num("nhGroupsHigh", s.nhGroupsHigh);
    num("ecmpGroups", s.ecmpGroups);
    num("ecmpGroupsHigh", s.ecmpGroupsHigh);
    num("ecmpTruncs", 0);
    num("ecmpRetries", 0);
    num("hwFailureRoutes", s.hardwareFailed);
    num("kernelFailedAdds", s.kernelFailed);
    cJSON_AddStringToObject(o, "numRoutes", "");
    cJSON_AddStringToObject(o, "ecmpHisto", "");
    if (v6)
        cJSON_AddStringToObject(o, "prefixesNo", "");
    return answerView(r, kResultOk, o);
}

}  // namespace cli4
