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
#include "access/cli_views.h"
#include "access/show_parse_routing.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/params.h"
#include "routing/route_records.h"
#include "runtime/raii.h"
#include "runtime/route_tree.h"
#include "runtime/text_convert.h"

namespace cli4 {

using showparse::ArpBrief;
using showparse::ArpLine;
using showparse::IpIntfRecord;
using showparse::RouteLine;
using showparse::RouteSummary;

namespace {

// Interface numbers tried when a CLI interface name is turned into a number.
constexpr uint32_t kIntfSearchMax = 256;

// --- Request ----------------------------------------------------------------

// A body member that must be there, as a whole number 0..4294967295.
bool requiredNumber(const cJSON* o, const char* name, uint32_t* out)
{
    hf::Value v = hf::member(o, name);
    return v.found && hf::numberOf(v, 0, out) == kResultOk;
}

// A body member that must be there, as text.
bool requiredText(const cJSON* o, const char* name, std::string* out)
{
    hf::Value v = hf::member(o, name);
    return v.found && hf::textOf(v, out);
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

// The split reader's query number; what cannot be read is 0.
uint32_t queryNumber(const hf::Request& q, const char* name)
{
    uint32_t v = 0;
    if (hf::numberOf(hf::lookup(q, hf::kQuery, name), 0, &v) != kResultOk)
        v = 0;
    return v;
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

// Reads answer without a newline; writes with one; POST views (the route
// walk) only when they fail.
int answerView(const RouteCtx& r, ResultCode code, JsonPtr data)
{
    return hf::reply(r, code, std::move(data), r.method != kMethodGet && code != kResultOk);
}

// --- Show text -------------------------------------------------------------------

// Runs `command` into the row's show output file (TempFile: a name of this
// request's own) and reads it whole.
int showText(const CliRow& row, const std::string& command, const char* caller, std::string* text)
{
    return clitext::showToText(row.output, command.c_str(), row.cap, text, caller);
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
int rtrIpRouteEntryGetNextCli(const CliRow& row, const std::string& startDest, uint32_t startLen, uint32_t proto,
                              RouteLine* out)
{
    std::string text;
    int rc = showText(row, row.show, __func__, &text);
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
int rtrIpRouteLookupCli(const CliRow& row, const std::string& dest, uint32_t len, uint32_t proto, RouteLine* out)
{
    std::string text;
    int rc = showText(row, row.show, __func__, &text);
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
int rtrShowRouteNextCli(const CliRow& row, uint32_t start, uint32_t startLen, RouteLine* out)
{
    std::string text;
    int rc = showText(row, row.show, __func__, &text);
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

// The row's SHOW about the port of an interface number ("%s": its CLI name).
int rcfgShowIpInterfaceFetch(const CliRow& row, uint32_t intIfNum, std::string* text,
                             const char* caller = "rcfgShowIpInterfaceFetch")
{
    std::string name;
    int rc = clitext::intfCliName(intIfNum, &name);
    if (rc != 0)
        return rc;
    return showText(row, clitext::fillTemplate(row.show, name), caller, text);
}

int rtrShowIpInterfaceMethod(const CliRow& row, uint32_t intIfNum, uint32_t* method)
{
    std::string text;
    int rc = rcfgShowIpInterfaceFetch(row, intIfNum, &text, __func__);
    if (rc != 0)
        return rc;
    *method = showparse::ipIntfAddrMethodOf(text);
    return kResultOk;
}

// Applies "interface <u/s/p>\n<line>\nexit\n" to the port of the row's IN_PORT query.
int applyToIntf(const CliRow& row, const std::string& line)
{
    std::string name;
    int rc = clitext::intfCliName(queryExactU32(row.scopeQuery), &name);
    if (rc != 0)
        return rc;
    return clitext::applyText(row.script, "interface " + name + "\n" + line + "\nexit\n");
}

// --- ARP ------------------------------------------------------------------------------

// The ARP group answers 17002 when the switch fails its show command.
int arpShow(const CliRow& row, const char* caller, std::string* text)
{
    int rc = showText(row, row.show, caller, text);
    return rc == kResultOpenFailed || rc == kResultOk ? rc : kResultUnsupported;
}

int rcfgShowArpBriefFetch(const CliRow& row, ArpBrief* out)
{
    std::string text;
    int rc = arpShow(row, __func__, &text);
    if (rc == kResultOk)
        *out = showparse::arpBriefOf(text);
    return rc;
}

int arpTableFetch(const CliRow& row, std::vector<ArpLine>* lines)
{
    std::string text;
    int rc = arpShow(row, __func__, &text);
    if (rc == kResultOk)
        *lines = showparse::arpLines(text);
    return rc;
}

// --- Statistics -------------------------------------------------------------------------

// rtrShowIpStatsFetchToJson: every line that starts with one of the labels
// adds its counter to `o`.
int rtrShowIpStatsFetchToJson(const CliRow& row, cJSON* o)
{
    std::string text;
    int rc = showText(row, row.show, __func__, &text);
    if (rc != 0)
        return rc;
    for (const showparse::Counter& c : showparse::ipStatsOf(text))
        cJSON_AddNumberToObject(o, c.member, static_cast<double>(c.value));
    return kResultOk;
}

// rtrStatsFetchCmd: the summary counters of a route summary command.
int rtrStatsFetchCmd(const CliRow& row, RouteSummary* out)
{
    std::string text;
    int rc = showText(row, row.show, __func__, &text);
    if (rc == kResultOk)
        *out = showparse::routeSummaryOf(text);
    return rc;
}

}  // namespace

// --- Route table classes -------------------------------------------------------------------

int routeEntryGetNextRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    if (hf::readRequest(r, true, false, &q) != kResultOk)
        return answerView(r, kResultInvalidArgument, nullptr);
    const cJSON* body = q.body.get();
    std::string dest, mask;
    uint32_t proto = 0, maskNum = 0;
    hf::textOf(hf::member(body, "routeDest"), &dest);  // not a text: an invalid start, the first line
    if (!hf::textOf(hf::member(body, "routeMask"), &mask) || (!mask.empty() && !parseIpv4(mask, &maskNum)) ||
        hf::numberOf(hf::member(body, "routeProto"), 0, &proto) != kResultOk)
        return answerView(r, kResultInvalidArgument, nullptr);
    RouteLine l;
    int rc = rtrIpRouteEntryGetNextCli(row, dest, conv::maskLength(maskNum), proto, &l);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddStringToObject(o.get(), "routeDest", conv::ipv4Text(l.destNum).c_str());
    cJSON_AddStringToObject(o.get(), "routeMask", maskText(l.pfxLen).c_str());
    cJSON_AddNumberToObject(o.get(), "routeProto", l.code == 'S' ? 3 : 1);
    cJSON_AddNumberToObject(o.get(), "routePref", 0);
    return answerView(r, kResultOk, std::move(o));
}

int routeLookupFieldRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    hf::readRequest(r, false, true, &q);
    hf::Value dest = hf::lookup(q, hf::kQuery, "routeDest");
    hf::Value mask = hf::lookup(q, hf::kQuery, "routeMask");
    uint32_t maskNum = 0;
    if (!dest.found || !mask.found || (!mask.text.empty() && !parseIpv4(mask.text, &maskNum)))
        return answerView(r, kResultInvalidArgument, nullptr);
    RouteLine l;
    int rc = rtrIpRouteLookupCli(row, dest.text, conv::maskLength(maskNum), queryNumber(q, "routeProto"), &l);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    JsonPtr o(cJSON_CreateObject());
    if (row.picks == kLookupMetric)
        cJSON_AddNumberToObject(o.get(), row.answers, l.metric);
    else if (row.picks == kLookupNextHopIntf)
        cJSON_AddStringToObject(o.get(), row.answers, l.intf.c_str());
    else
        cJSON_AddStringToObject(o.get(), row.answers, l.nextHop.empty() ? "0.0.0.0" : l.nextHop.c_str());
    return answerView(r, kResultOk, std::move(o));
}

int staticRouteNextRow(const RouteCtx& r, const CliRow& row)
{
    uint32_t start = 0, startLen = 0;
    if (row.reads[0]) {
        hf::Request q;
        hf::readRequest(r, false, true, &q);
        hf::Value pfx = hf::lookup(q, hf::kQuery, row.reads[0]);
        if (!pfx.found || !parseIpv4(pfx.text, &start))
            start = 0;  // none or no address: the first static route
        startLen = queryNumber(q, row.reads[1]);
    }
    RouteLine l;
    int rc = rtrShowRouteNextCli(row, start, startLen, &l);
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
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddItemToObject(o.get(), "route", pathgate::routeJson(rec).release());
    cJSON_AddItemToObject(o.get(), "nextHops", pathgate::nextHopsJson(hops, rec.numNextHops).release());
    return answerView(r, kResultOk, std::move(o));
}

int staticRouteChangeRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    if (hf::readRequest(r, true, false, &q) != kResultOk)
        return cliview::answerCode(r, kResultInvalidArgument);
    const cJSON* rt = cJSON_GetObjectItem(q.body.get(), row.reads[0]);
    std::string pfxText;
    uint32_t pfx = 0, len = 0, pref = 0;
    if (!cJSON_IsObject(rt) || !requiredText(rt, "destPfx", &pfxText) || !parseIpv4(pfxText, &pfx) ||
        hf::numberOf(hf::member(rt, "pfxLen"), 0, &len) != kResultOk || len > 32 ||
        hf::numberOf(hf::member(rt, "pref"), 0, &pref) != kResultOk || pref > 255)
        return cliview::answerCode(r, kResultInvalidArgument);
    std::string text = std::string(row.elseSends) + " " + conv::ipv4Text(pfx) + " " + maskText(len) + "\n";
    if (row.picks != kRouteDelete) {
        // The next hop: the first element of `nextHops` (beside `route`, or inside it).
        const cJSON* hops = cJSON_GetObjectItem(q.body.get(), row.reads[1]);
        if (!hops)
            hops = cJSON_GetObjectItem(rt, row.reads[1]);
        const cJSON* first = cJSON_IsArray(hops) ? cJSON_GetArrayItem(hops, 0) : nullptr;
        std::string nhText;
        uint32_t nh = 0;
        if (!cJSON_IsObject(first) || !requiredText(first, "nhAddr", &nhText) || !parseIpv4(nhText, &nh))
            return cliview::answerCode(r, kResultInvalidArgument);
        std::string add = std::string(row.sends) + " " + conv::ipv4Text(pfx) + " " + maskText(len) + " " +
                          conv::ipv4Text(nh);
        if (pref > 1)
            add += " " + std::to_string(pref);
        add += "\n";
        text = row.picks == kRouteModify ? text + add : add;
    }
    return cliview::answerCode(r, clitext::applyText(row.script, text));
}

// --- IP interface classes -------------------------------------------------------------------

int ipIntfFieldRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    int rc = rcfgShowIpInterfaceFetch(row, queryExactU32(row.scopeQuery), &text);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    IpIntfRecord rec = showparse::ipIntfRecordOf(text);
    JsonPtr o(cJSON_CreateObject());
    int mode = -1;
    switch (static_cast<IntfField>(row.picks)) {
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
        bool mtu = row.picks == kIntfIpMtu;
        if (!(mtu ? rec.hasMtu : rec.hasBandwidth)) {
            return answerView(r, kResultApiNotFound, nullptr);
        }
        cJSON_AddNumberToObject(o.get(), row.answers, mtu ? rec.ipMtu : rec.bandwidth);
        return answerView(r, kResultOk, std::move(o));
    }
    }
    if (mode < 0) {
        return answerView(r, kResultApiNotFound, nullptr);
    }
    cJSON_AddStringToObject(o.get(), row.answers, mode == 1 ? "enable" : "disable");
    return answerView(r, kResultOk, std::move(o));
}

int ipIntfAddrMethodRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    hf::readRequest(r, false, true, &q);
    uint32_t method = 0;
    int rc = rtrShowIpInterfaceMethod(row, queryNumber(q, row.scopeQuery), &method);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddNumberToObject(o.get(), row.answers, method);
    cJSON_AddNumberToObject(o.get(), "clientIdEnable", 0);
    return answerView(r, kResultOk, std::move(o));
}

int ipIntfModeSetRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    bool on = false;
    if (hf::readRequest(r, true, false, &q) != kResultOk || !bodyMode(q.body.get(), row.reads[0], &on))
        return cliview::answerCode(r, kResultInvalidArgument);
    return cliview::answerCode(r, applyToIntf(row, std::string(on ? "" : "no ") + row.sends));
}

int ipIntfNumberSetRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    uint32_t v = 0;
    if (hf::readRequest(r, true, false, &q) != kResultOk || !requiredNumber(q.body.get(), row.reads[0], &v))
        return cliview::answerCode(r, kResultInvalidArgument);
    return cliview::answerCode(r, applyToIntf(row, clitext::fillTemplate(row.sends, std::to_string(v))));
}

// --- ARP classes ----------------------------------------------------------------------------

int arpFieldRow(const RouteCtx& r, const CliRow& row)
{
    ArpBrief a;
    int rc = rcfgShowArpBriefFetch(row, &a);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    JsonPtr o(cJSON_CreateObject());
    const char* member = row.answers;
    switch (static_cast<ArpField>(row.picks)) {
    case kArpAgeTime: cJSON_AddNumberToObject(o.get(), member, a.ageTime); break;
    case kArpResponseTime: cJSON_AddNumberToObject(o.get(), member, a.responseTime); break;
    case kArpRetries: cJSON_AddNumberToObject(o.get(), member, a.retries); break;
    case kArpCacheSize: cJSON_AddNumberToObject(o.get(), member, a.cacheSize); break;
    case kArpDynamicRenew: cJSON_AddNumberToObject(o.get(), member, a.dynamicRenew); break;
    case kArpTotalCounts:
        cJSON_AddNumberToObject(o.get(), "current", a.current);
        cJSON_AddNumberToObject(o.get(), "peak", a.peak);
        break;
    case kArpStaticCounts:
        cJSON_AddNumberToObject(o.get(), "configured", a.configured);
        cJSON_AddNumberToObject(o.get(), "active", a.active);
        cJSON_AddNumberToObject(o.get(), "max", a.max);
        break;
    case kArpCacheStats:
        cJSON_AddNumberToObject(o.get(), "cacheCurrent", a.current);
        cJSON_AddNumberToObject(o.get(), "cachePeak", a.peak);
        cJSON_AddNumberToObject(o.get(), "staticMax", a.max);
        break;
    }
    return answerView(r, kResultOk, std::move(o));
}

int arpEntryRow(const RouteCtx& r, const CliRow& row)
{
    ArpEntryView view = static_cast<ArpEntryView>(row.picks);
    uint32_t ip = queryExactIpv4(row.reads[0]);
    std::vector<ArpLine> lines;
    int rc = arpTableFetch(row, &lines);
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
    JsonPtr o(cJSON_CreateObject());
    if (view == kArpEntryInfo) {
        bool own = found->type == "Static" || found->type == "Local";
        uint32_t vlan = strncasecmp(found->intf.c_str(), "vlan ", 5) == 0 ? conv::decimalLoose(found->intf.substr(5)) : 0;
        cJSON_AddNumberToObject(o.get(), "type", own ? 1 : 0);
        cJSON_AddNumberToObject(o.get(), "age", found->age);
        cJSON_AddStringToObject(o.get(), "ipAddr", conv::ipv4Text(found->ip).c_str());
        cJSON_AddNumberToObject(o.get(), "vrfId", 0);
        cJSON_AddStringToObject(o.get(), "macAddr", found->mac.c_str());
        cJSON_AddNumberToObject(o.get(), "vlanId", vlan);
        cJSON_AddNumberToObject(o.get(), "intIfNum", intIfNum);
        cJSON_AddNumberToObject(o.get(), "hits", 0);
    } else {
        cJSON_AddNumberToObject(o.get(), "intf", intIfNum);
        cJSON_AddStringToObject(o.get(), "ipAddr", conv::ipv4Text(found->ip).c_str());
        if (view == kArpEntryNextWithMac)
            cJSON_AddStringToObject(o.get(), "macAddr", found->mac.c_str());
    }
    return answerView(r, kResultOk, std::move(o));
}

int arpModeSetRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    bool on = false;
    if (hf::readRequest(r, true, false, &q) != kResultOk || !bodyMode(q.body.get(), row.reads[0], &on))
        return cliview::answerCode(r, kResultInvalidArgument);
    return cliview::answerCode(r, clitext::applyText(row.script, on ? row.sends : row.elseSends));
}

int arpNumberSetRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    uint32_t v = 0;
    if (hf::readRequest(r, true, false, &q) != kResultOk || !requiredNumber(q.body.get(), row.reads[0], &v))
        return cliview::answerCode(r, kResultInvalidArgument);
    return cliview::answerCode(r, clitext::applyText(row.script, clitext::fillTemplate(row.sends, std::to_string(v))));
}

int arpClearRow(const RouteCtx& r, const CliRow& row)
{
    bool on = !row.reads[0];
    if (row.reads[0]) {
        hf::Request q;
        hf::readRequest(r, false, true, &q);
        hf::Value v = hf::lookup(q, hf::kQuery, row.reads[0]);
        on = v.found && (v.text == "true" || v.text == "1");
    } else {
        CStr dropped(requestDataGet());
    }
    return cliview::answerCode(r, clitext::applyText(row.script, on ? row.sends : row.elseSends));
}

int arpAddressLineRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    hf::Request q;
    bool body = row.readsFrom[0] == clirow::kFromB;
    if (hf::readRequest(r, body, !body, &q) != kResultOk)
        return cliview::answerCode(r, kResultInvalidArgument);
    hf::Value v = hf::lookup(q, body ? hf::kBody : hf::kQuery, row.reads[0]);
    if (!v.found || !hf::textOf(v, &text))
        return cliview::answerCode(r, kResultInvalidArgument);
    uint32_t ip = 0;
    if (!parseIpv4(text, &ip))
        return cliview::answerCode(r, kResultInvalidArgument);
    return cliview::answerCode(r, clitext::applyText(row.script, clitext::fillTemplate(row.sends, conv::ipv4Text(ip))));
}

int arpStaticAddRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    std::string addr, macText, mac;
    uint32_t ip = 0;
    if (hf::readRequest(r, true, false, &q) != kResultOk || !requiredText(q.body.get(), row.reads[0], &addr) ||
        !parseIpv4(addr, &ip) || !requiredText(q.body.get(), row.reads[1], &macText) || !parseMac(macText, &mac))
        return cliview::answerCode(r, kResultInvalidArgument);
    std::string line = clitext::fillTemplate(row.sends, conv::ipv4Text(ip));
    return cliview::answerCode(r, clitext::applyText(row.script, clitext::fillTemplate(line.c_str(), mac)));
}

// --- Statistics classes ------------------------------------------------------------------------

int ipv4StatsRow(const RouteCtx& r, const CliRow& row)
{
    JsonPtr o(cJSON_CreateObject());
    int rc = rtrShowIpStatsFetchToJson(row, o.get());
    return answerView(r, rc, std::move(o));
}

int routeSummaryRow(const RouteCtx& r, const CliRow& row)
{
    SummaryView view = static_cast<SummaryView>(row.picks);
    RouteSummary s;
    int rc = rtrStatsFetchCmd(row, &s);
    if (rc != kResultOk)
        return answerView(r, rc, nullptr);
    JsonPtr o(cJSON_CreateObject());
    if (view == kSummaryEcmpCount) {
        cJSON_AddNumberToObject(o.get(), row.answers, s.ecmpRoutes);
        return answerView(r, kResultOk, std::move(o));
    }
    if (view == kSummaryTotalCount) {
        cJSON_AddNumberToObject(o.get(), row.answers, s.total);
        return answerView(r, kResultOk, std::move(o));
    }
    bool v6 = view == kSummaryIpv6Table;
    uint32_t best = s.connected + s.staticRoutes + s.rip + s.ospf;
    auto num = [&o](const char* name, double v) { cJSON_AddNumberToObject(o.get(), name, v); };
    auto flag = [&o](const char* name, bool v) { cJSON_AddBoolToObject(o.get(), name, v); };
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
    cJSON_AddStringToObject(o.get(), "numRoutes", "");
    cJSON_AddStringToObject(o.get(), "ecmpHisto", "");
    if (v6)
        cJSON_AddStringToObject(o.get(), "prefixesNo", "");
    return answerView(r, kResultOk, std::move(o));
}

}  // namespace cli4
