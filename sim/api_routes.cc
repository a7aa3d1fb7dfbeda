// Control API operations of the route table: kernel routes, lookups and
// walks of the table, and static routes, which go through the same rules
// as the CLI's "ip route" (model_routes.h).
#include "sim/api_util.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

void fillRoute(Call& c, size_t recArg, size_t hopsArg, const Route& r)
{
    RouteRecord rec = r.rec;
    rec.numNextHops = static_cast<uint32_t>(std::min<size_t>(r.hops.size(), kMaxNextHops));
    NextHopList l;
    memset(&l, 0, sizeof l);
    for (uint32_t i = 0; i < rec.numNextHops; ++i)
        l.hop[i] = r.hops[i];
    recOut(c, recArg, rec);
    recOut(c, hopsArg, l);
}

// Validates a route record from a request and clears its host bits.
bool validRoute(RouteRecord* r)
{
    if (!validFamily(r->family) || r->pfxLen > maxLen(r->family) || r->numNextHops > kMaxNextHops)
        return false;
    maskPrefix(r->family, r->destPfx, r->pfxLen);
    return true;
}

Route routeOf(const RouteRecord& rec, const NextHopList& l)
{
    Route r;
    r.rec = rec;
    for (uint32_t i = 0; i < rec.numNextHops && i < kMaxNextHops; ++i)
        r.hops.push_back(l.hop[i]);
    return r;
}

int32_t kernelRouteAdd(Call& c)
{
    RouteRecord rec = recIn<RouteRecord>(c, 1);
    if (c.u32(0) != 0 || !validRoute(&rec))
        return kInvalid;
    if (findRoute(c.st.routing, rec) != c.st.routing.routes.end())
        return kExists;
    routeTableInsert(c.st.routing, routeOf(rec, recIn<NextHopList>(c, 2)));
    c.changed = true;
    return 0;
}

int32_t routeMod(Call& c)
{
    RouteRecord rec = recIn<RouteRecord>(c, 1);
    if (c.u32(0) != 0 || !validRoute(&rec))
        return kInvalid;
    auto it = findRoute(c.st.routing, rec);
    if (it == c.st.routing.routes.end())
        return kNotFound;
    *it = routeOf(rec, recIn<NextHopList>(c, 2));
    routeTableNotify(c.st.routing, kChangeModify, *it);
    c.changed = true;
    return 0;
}

int32_t routeDel(Call& c)
{
    RouteRecord rec = recIn<RouteRecord>(c, 1);
    if (c.u32(0) != 0 || !validRoute(&rec))
        return kInvalid;
    auto it = findRoute(c.st.routing, rec);
    if (it == c.st.routing.routes.end())
        return kNotFound;
    routeTableErase(c.st.routing, it);
    c.changed = true;
    return 0;
}

bool prefixContains(const RouteRecord& r, uint32_t family, const uint8_t* addr)
{
    if (r.family != family)
        return false;
    uint8_t a[16];
    memcpy(a, addr, 16);
    maskPrefix(family, a, r.pfxLen);
    return memcmp(a, r.destPfx, 16) == 0;
}

int32_t bestRouteLookup(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 0);
    if (!validFamily(a.family))
        return kInvalid;
    const Route* best = nullptr;
    for (const Route& r : c.st.routing.routes)
        if (prefixContains(r.rec, a.family, a.addr) && (!best || r.rec.pfxLen > best->rec.pfxLen))
            best = &r;
    if (!best)
        return kNotFound;
    fillRoute(c, 1, 2, *best);
    return 0;
}

int32_t prefixFindAt(Call& c, size_t base)
{
    InetAddr a = recIn<InetAddr>(c, base);
    uint32_t len = c.u32(base + 1);
    if (!validFamily(a.family) || len > maxLen(a.family))
        return kInvalid;
    RouteRecord key;
    memset(&key, 0, sizeof key);
    key.family = a.family;
    memcpy(key.destPfx, a.addr, 16);
    key.pfxLen = static_cast<uint8_t>(len);
    maskPrefix(a.family, key.destPfx, len);
    auto it = findRoute(c.st.routing, key);
    if (it == c.st.routing.routes.end())
        return kNotFound;
    fillRoute(c, base + 2, base + 3, *it);
    return 0;
}

int32_t prefixFind(Call& c) { return prefixFindAt(c, 0); }

int32_t prefixFindVr(Call& c) { return c.u32(0) ? kInvalid : prefixFindAt(c, 1); }

int32_t bestRouteNextGetVr(Call& c)
{
    uint32_t family = c.u32(0);
    RouteRecord cur = recIn<RouteRecord>(c, 2);
    if (c.u32(1) != 0 || !validFamily(family))
        return kInvalid;
    for (const Route& r : c.st.routing.routes) {
        if (r.rec.family != family)
            continue;
        if (cur.family == kFamilyUnset || routeKeyLess(cur, r.rec)) {
            fillRoute(c, 2, 3, r);
            return 0;
        }
    }
    return kNotFound;
}

// The answer of a static route change: the model's verdict as a status. A
// route that is there already as asked exists; a gateway or a static route
// that is not there is not found; anything else, the prefix of a route of
// another protocol too, is refused as the CLI refuses it.
int32_t staticAnswer(Call& c, StaticVerdict v)
{
    switch (v) {
    case StaticVerdict::kAdded:
    case StaticVerdict::kUpdated:
        c.changed = true;
        return 0;
    case StaticVerdict::kUnchanged:
        return kExists;
    case StaticVerdict::kNotFound:
    case StaticVerdict::kHopNotFound:
        return kNotFound;
    default:
        return kInvalid;
    }
}

// openapiIpRouteAdd (family, &prefix, &next hop, preference, intf): a
// preference of 0 is the default, 1.
int32_t ipRouteAdd(Call& c)
{
    uint32_t af = c.u32(0), pref = c.u32(3);
    InetPrefix p = recIn<InetPrefix>(c, 1);
    InetAddr nh = recIn<InetAddr>(c, 2);
    if (p.family != af)
        return kInvalid;
    NextHop hop;
    memset(&hop, 0, sizeof hop);
    hop.family = nh.family;
    memcpy(hop.addr, nh.addr, 16);
    hop.ifNum = c.u32(4);
    return staticAnswer(c, staticRouteAdd(c.st, af, p.addr, p.pfxLen, hop, pref ? pref : 1));
}

// openapiIpRouteDel (family, &prefix, &next hop, intf): the next hop of the
// route; the unspecified address stands for the whole route.
int32_t ipRouteDel(Call& c)
{
    uint32_t af = c.u32(0);
    InetPrefix p = recIn<InetPrefix>(c, 1);
    InetAddr nh = recIn<InetAddr>(c, 2);
    if (p.family != af)
        return kInvalid;
    static const uint8_t kNone[16] = {};
    bool whole = memcmp(nh.addr, kNone, 16) == 0;
    return staticAnswer(c, staticRouteDelete(c.st, af, p.addr, p.pfxLen, whole ? nullptr : nh.addr));
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiBestRouteNextGetVr, bestRouteNextGetVr),
    SIM_OP(rpcclt_openapiBestRouteLookup, bestRouteLookup),
    SIM_OP(rpcclt_openapiPrefixFind, prefixFind),
    SIM_OP(rpcclt_openapiPrefixFindVr, prefixFindVr),
    SIM_OP(rpcclt_openapiMaxNextHopsGet, constantGet<kMaxNextHops>),
    SIM_OP(rpcclt_openapiKernelRouteAddVr, kernelRouteAdd),
    SIM_OP(rpcclt_openapiRouteModVr, routeMod),
    SIM_OP(rpcclt_openapiRouteDelVr, routeDel),
    SIM_OP(rpcclt_openapiKernelRouteDelVr, routeDel),
    SIM_OP(rpcclt_openapiPlatRtrRouteMaxEqualCostEntriesGet, constantGet<kMaxEqualCostPaths>),
    SIM_OP(rpcclt_openapiPlatRtrRouteMaxEntriesGet, constantGet<kMaxRoutes>),
    SIM_OP(rpcclt_openapiIpRouteAdd, ipRouteAdd),
    SIM_OP(rpcclt_openapiIpRouteDel, ipRouteDel),
};

}  // namespace
}  // namespace sim
