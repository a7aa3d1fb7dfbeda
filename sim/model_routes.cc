// The route table and the static route rules.
#include "sim/model_routes.h"

#include <algorithm>
#include <cstring>

#include "sim/addr.h"
#include "sim/state.h"

namespace sim {

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

RouteRecord routeKey(uint32_t family, const uint8_t* addr, uint32_t pfxLen)
{
    RouteRecord key;
    memset(&key, 0, sizeof key);
    key.family = family;
    memcpy(key.destPfx, addr, 16);
    key.pfxLen = static_cast<uint8_t>(pfxLen);
    maskPrefix(family, key.destPfx, pfxLen);
    return key;
}

std::vector<Route>::iterator findRoute(RoutingModel& m, const RouteRecord& key)
{
    return std::find_if(m.routes.begin(), m.routes.end(),
                        [&](const Route& r) { return !routeKeyLess(r.rec, key) && !routeKeyLess(key, r.rec); });
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

Route connectedRoute(uint32_t intIfNum, const IntfAddr& a)
{
    Route r;
    r.rec = routeKey(a.family, reinterpret_cast<const uint8_t*>(a.addr.data()), a.pfxLen);
    r.rec.routeType = 1;
    r.rec.protoId = kProtoLocal;
    NextHop h;
    memset(&h, 0, sizeof h);
    h.family = a.family;
    memcpy(h.addr, a.addr.data(), 16);
    h.ifNum = intIfNum;
    r.hops.push_back(h);
    return r;
}

namespace {

// A gateway a route can point at: an IPv4 unicast host, or an IPv6 address
// that is neither unspecified, loopback nor multicast.
bool usableHop(uint32_t family, const uint8_t* a)
{
    if (family == kFamilyIpv4)
        return unicastHostV4(v4Of(a));
    static const uint8_t kZero[16] = {}, kLoopback[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    return memcmp(a, kZero, 16) != 0 && memcmp(a, kLoopback, 16) != 0 && a[0] != 0xff;
}

bool sameHop(const NextHop& h, const uint8_t* addr) { return memcmp(h.addr, addr, 16) == 0; }

}  // namespace

StaticVerdict staticRouteAdd(SwitchState& st, uint32_t family, const uint8_t* prefix, uint32_t pfxLen, NextHop hop,
                             uint32_t pref)
{
    if (!validFamily(family) || pfxLen > maxLen(family))
        return StaticVerdict::kBadPrefix;
    if (hop.family != family || !usableHop(family, hop.addr))
        return StaticVerdict::kBadHop;
    if (pref < 1 || pref > 255)
        return StaticVerdict::kBadPref;
    if (hop.ifNum != 0 && !st.interfaces.count(hop.ifNum))
        return StaticVerdict::kBadIntf;
    RoutingModel& m = st.routing;
    if (hop.ifNum == 0 && family == kFamilyIpv4)
        hop.ifNum = subnetIntfOf(m, v4Of(hop.addr));
    RouteRecord key = routeKey(family, prefix, pfxLen);
    key.routeType = 2;
    key.protoId = kProtoStatic;
    key.pref = static_cast<uint16_t>(pref);
    auto it = findRoute(m, key);
    if (it == m.routes.end()) {
        Route r;
        r.rec = key;
        r.hops.push_back(hop);
        routeTableInsert(m, r);
        return StaticVerdict::kAdded;
    }
    if (it->rec.protoId != kProtoStatic)
        return StaticVerdict::kNotStatic;
    bool known = std::any_of(it->hops.begin(), it->hops.end(), [&](const NextHop& h) { return sameHop(h, hop.addr); });
    if (known && it->rec.pref == pref)
        return StaticVerdict::kUnchanged;
    if (!known && it->hops.size() >= kMaxNextHops)
        return StaticVerdict::kHopsFull;
    if (!known)
        it->hops.push_back(hop);
    it->rec.pref = static_cast<uint16_t>(pref);
    routeTableNotify(m, kChangeModify, *it);
    return StaticVerdict::kUpdated;
}

StaticVerdict staticRouteDelete(SwitchState& st, uint32_t family, const uint8_t* prefix, uint32_t pfxLen,
                                const uint8_t* hop)
{
    if (!validFamily(family) || pfxLen > maxLen(family))
        return StaticVerdict::kBadPrefix;
    RoutingModel& m = st.routing;
    auto it = findRoute(m, routeKey(family, prefix, pfxLen));
    if (it == m.routes.end() || it->rec.protoId != kProtoStatic)
        return StaticVerdict::kNotFound;
    if (hop) {
        auto h = std::find_if(it->hops.begin(), it->hops.end(), [&](const NextHop& x) { return sameHop(x, hop); });
        if (h == it->hops.end())
            return StaticVerdict::kHopNotFound;
        it->hops.erase(h);
        if (!it->hops.empty()) {
            routeTableNotify(m, kChangeModify, *it);
            return StaticVerdict::kUpdated;
        }
    }
    routeTableErase(m, it);
    return StaticVerdict::kUpdated;
}

using namespace schema;

const Table<Route> kRouteTable = {
    requiredField<&Route::rec, Wire<RouteRecord>>("record"),
    field<&Route::hops, List<Wire<NextHop>>>("nextHops"),
};

const Table<Router> kRouterTable = {
    field<&Router::adminV4>("adminV4"),     field<&Router::adminV6>("adminV6"),
    field<&Router::redirects>("redirects"), field<&Router::echoReply>("echoReply"),
    field<&Router::icmpBurst>("icmpBurst"), field<&Router::icmpInterval>("icmpInterval"),
    field<&Router::pref4>("pref4"),         field<&Router::pref6>("pref6"),
};

const Table<Protocol> kProtocolTable = {
    field<&Protocol::family>("family"),
    field<&Protocol::name>("name"),
    field<&Protocol::code>("code"),
};

const Table<RouteType> kRouteTypeTable = {
    field<&RouteType::family>("family"),
    field<&RouteType::protoId>("protoId"),
    field<&RouteType::name>("name"),
    field<&RouteType::code>("code"),
};

const Table<EventClient> kEventClientTable = {
    field<&EventClient::kind>("kind"),
    field<&EventClient::family>("family"),
    field<&EventClient::pid>("pid"),
    field<&EventClient::name>("name"),
    field<&EventClient::pending, List<Wire<RouteChange>>>("pending"),
};

}  // namespace sim
