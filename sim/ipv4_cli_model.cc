// The IPv4 CLI settings in the state file, and the route table helpers.
#include "sim/ipv4_cli_model.h"

#include <cjson/cJSON.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "sim/state_reader.h"

namespace sim {

const char* const kIpStatsNames[kIpStatsCount] = {
    "IpInReceives",       "IpInHdrErrors",        "IpInAddrErrors",      "IpForwDatagrams",     "IpInUnknownProtos",
    "IpInDiscards",       "IpInDelivers",         "IpOutRequests",       "IpOutDiscards",       "IpOutNoRoutes",
    "IpReasmTimeout",     "IpReasmReqds",         "IpReasmOKs",          "IpReasmFails",        "IpFragOKs",
    "IpFragFails",        "IpFragCreates",        "IpRoutingDiscards",   "IcmpInMsgs",          "IcmpInErrors",
    "IcmpInDestUnreachs", "IcmpInTimeExcds",      "IcmpInParmProbs",     "IcmpInSrcQuenchs",    "IcmpInRedirects",
    "IcmpInEchos",        "IcmpInEchoReps",       "IcmpInTimestamps",    "IcmpInTimestampReps", "IcmpInAddrMasks",
    "IcmpInAddrMaskReps", "IcmpOutMsgs",          "IcmpOutErrors",       "IcmpOutDestUnreachs", "IcmpOutTimeExcds",
    "IcmpOutParmProbs",   "IcmpOutSrcQuenchs",    "IcmpOutRedirects",    "IcmpOutEchos",        "IcmpOutEchoReps",
    "IcmpOutTimestamps",  "IcmpOutTimestampReps", "IcmpOutAddrMasks",    "IcmpOutAddrMaskReps",
};

namespace {

uint32_t v4Of(const uint8_t* addr)
{
    uint32_t v;
    memcpy(&v, addr, 4);
    return v;
}

uint32_t maskOf(uint32_t len) { return len == 0 ? 0 : len >= 32 ? 0xffffffffu : 0xffffffffu << (32 - len); }

}  // namespace

void ipv4CliToJson(cJSON* root, const Ipv4CliModel& m)
{
    cJSON* o = cJSON_AddObjectToObject(root, "ipv4Cli");
    cJSON* arp = cJSON_AddObjectToObject(o, "arp");
    cJSON_AddNumberToObject(arp, "ageTime", m.arp.ageTime);
    cJSON_AddNumberToObject(arp, "respTime", m.arp.respTime);
    cJSON_AddNumberToObject(arp, "retries", m.arp.retries);
    cJSON_AddNumberToObject(arp, "cacheSize", m.arp.cacheSize);
    cJSON_AddNumberToObject(arp, "dynamicRenew", m.arp.dynamicRenew);
    cJSON_AddNumberToObject(arp, "peak", m.arp.peak);
    cJSON* intfs = cJSON_AddArrayToObject(o, "intfs");
    for (const auto& kv : m.intfs) {
        cJSON* i = cJSON_CreateObject();
        cJSON_AddNumberToObject(i, "intIfNum", kv.first);
        cJSON_AddNumberToObject(i, "localProxyArp", kv.second.localProxyArp);
        cJSON_AddNumberToObject(i, "gratArp", kv.second.gratArp);
        cJSON_AddNumberToObject(i, "unnumberedGratArp", kv.second.unnumberedGratArp);
        cJSON_AddNumberToObject(i, "bandwidth", kv.second.bandwidth);
        cJSON_AddItemToArray(intfs, i);
    }
    // Counters beyond 2^53 would lose digits as JSON numbers: decimal text.
    cJSON* stats = cJSON_AddObjectToObject(o, "ipStats");
    for (size_t i = 0; i < kIpStatsCount; ++i)
        cJSON_AddStringToObject(stats, kIpStatsNames[i], std::to_string(m.ipStats[i]).c_str());
}

void ipv4CliFromJson(const StateNode& root, Ipv4CliModel* out)
{
    StateNode o = root.member("ipv4Cli");
    if (!o.present())
        return;
    Ipv4CliModel m;
    StateNode arp = o.member("arp");
    arp.u32("ageTime", &m.arp.ageTime);
    arp.u32("respTime", &m.arp.respTime);
    arp.u32("retries", &m.arp.retries);
    arp.u32("cacheSize", &m.arp.cacheSize);
    arp.u32("dynamicRenew", &m.arp.dynamicRenew);
    arp.u32("peak", &m.arp.peak);
    o.member("intfs").eachElement([&](const StateNode& n) {
        uint32_t intIfNum = 0;
        IpIntfCli i;
        n.u32("intIfNum", &intIfNum);
        n.u32("localProxyArp", &i.localProxyArp);
        n.u32("gratArp", &i.gratArp);
        n.u32("unnumberedGratArp", &i.unnumberedGratArp);
        n.u32("bandwidth", &i.bandwidth);
        m.intfs[intIfNum] = i;
    });
    StateNode stats = o.member("ipStats");
    for (size_t i = 0; i < kIpStatsCount; ++i)
        stats.u64(kIpStatsNames[i], &m.ipStats[i]);
    *out = std::move(m);
}

bool routeKeyLess(const RouteRecord& a, const RouteRecord& b)
{
    if (a.family != b.family)
        return a.family < b.family;
    if (a.family == kFamilyIpv4 && v4Of(a.destPfx) != v4Of(b.destPfx))
        return v4Of(a.destPfx) < v4Of(b.destPfx);
    int c = a.family == kFamilyIpv4 ? 0 : memcmp(a.destPfx, b.destPfx, 16);
    if (c != 0)
        return c < 0;
    return a.pfxLen < b.pfxLen;
}

void routeTableNotify(RoutingModel& m, uint32_t changeType, const Route& r)
{
    for (auto& kv : m.clients) {
        EventClient& cl = kv.second;
        if (cl.kind != kBestRouteClient || cl.family != r.rec.family)
            continue;
        RouteChange ch;
        memset(&ch, 0, sizeof ch);
        ch.chType = changeType;
        ch.route = r.rec;
        ch.route.numNextHops = static_cast<uint32_t>(std::min<size_t>(r.hops.size(), kMaxNextHops));
        for (uint32_t i = 0; i < ch.route.numNextHops; ++i)
            ch.nextHops.hop[i] = r.hops[i];
        ch.inUse = 1;
        cl.pending.push_back(ch);
    }
}

void routeTableInsert(RoutingModel& m, const Route& r)
{
    auto at = std::lower_bound(m.routes.begin(), m.routes.end(), r,
                               [](const Route& a, const Route& b) { return routeKeyLess(a.rec, b.rec); });
    m.routes.insert(at, r);
    routeTableNotify(m, kChangeAdd, r);
}

void routeTableErase(RoutingModel& m, std::vector<Route>::iterator it)
{
    Route gone = *it;
    m.routes.erase(it);
    routeTableNotify(m, kChangeDelete, gone);
}

uint32_t subnetIntfOf(const RoutingModel& m, uint32_t ip)
{
    for (const auto& kv : m.intfs)
        for (const IntfAddr& a : kv.second.addrs)
            if (a.family == kFamilyIpv4 &&
                (v4Of(reinterpret_cast<const uint8_t*>(a.addr.data())) & maskOf(a.pfxLen)) == (ip & maskOf(a.pfxLen)))
                return kv.first;
    return 0;
}

}  // namespace sim
