// Routing interfaces and their addresses.
#include "sim/model_ip_intf.h"

#include <algorithm>
#include <cstring>

#include "platform/openclt/openclt.h"
#include "sim/addr.h"
#include "sim/state.h"

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

const RouterIntf* findRouterIntf(const RoutingModel& m, uint32_t intIfNum)
{
    auto it = m.intfs.find(intIfNum);
    return it == m.intfs.end() ? nullptr : &it->second;
}

RouterIntf& routerIntfOf(RoutingModel& m, uint32_t intIfNum)
{
    RouterIntf& r = m.intfs[intIfNum];
    r.intIfNum = intIfNum;
    return r;
}

bool isRoutingIntf(const RouterIntf& r) { return r.vlanId != 0 || !r.addrs.empty(); }

uint32_t vlanRoutingIntf(const RoutingModel& m, uint32_t vlan)
{
    for (const auto& kv : m.intfs)
        if (vlan && kv.second.vlanId == vlan)
            return kv.first;
    return 0;
}

uint32_t subnetIntfOf(const RoutingModel& m, uint32_t ip)
{
    for (const auto& kv : m.intfs)
        for (const IntfAddr& a : kv.second.addrs)
            if (a.family == kFamilyIpv4 && (v4Of(a.addr) & maskOf(a.pfxLen)) == (ip & maskOf(a.pfxLen)))
                return kv.first;
    return 0;
}

const IntfAddr* intfAddr(const RouterIntf* r, uint32_t family, uint32_t index)
{
    if (!r)
        return nullptr;
    for (const IntfAddr& a : r->addrs)
        if (a.family == family && index-- == 0)
            return &a;
    return nullptr;
}

const IntfAddr* ipv4Entry(const RoutingModel& m, uint32_t ip, uint32_t* intIfNum)
{
    for (const auto& kv : m.intfs)
        for (const IntfAddr& a : kv.second.addrs)
            if (a.family == kFamilyIpv4 && v4Of(a.addr) == ip) {
                if (intIfNum)
                    *intIfNum = kv.first;
                return &a;
            }
    return nullptr;
}

std::vector<std::pair<uint32_t, uint32_t>> ipv4Table(const RoutingModel& m)
{
    std::vector<std::pair<uint32_t, uint32_t>> t;
    for (const auto& kv : m.intfs)
        for (const IntfAddr& a : kv.second.addrs)
            if (a.family == kFamilyIpv4)
                t.push_back({v4Of(a.addr), kv.first});
    std::sort(t.begin(), t.end());
    return t;
}

int32_t addressAdd(SwitchState& st, uint32_t intIfNum, const IntfAddr& a)
{
    if (!st.interfaces.count(intIfNum) || !validFamily(a.family) || a.pfxLen == 0 || a.pfxLen > maxLen(a.family))
        return kOpenInvalidParam;
    if (a.family == kFamilyIpv4) {
        uint32_t v = v4Of(a.addr), host = ~maskOf(a.pfxLen);
        if (v == 0 || (a.pfxLen < 31 && ((v & host) == 0 || (v & host) == host)))
            return kOpenInvalidParam;  // the unspecified address, the subnet's number or its broadcast
    }
    RoutingModel& m = st.routing;
    for (const auto& kv : m.intfs)
        for (const IntfAddr& e : kv.second.addrs)
            if (e.family == a.family && e.addr == a.addr)
                return kOpenExists;
    routerIntfOf(m, intIfNum).addrs.push_back(a);
    Route cr = connectedRoute(intIfNum, a);
    if (findRoute(m, cr.rec) == m.routes.end())
        routeTableInsert(m, cr);
    return kOpenOk;
}

int32_t addressDelete(SwitchState& st, uint32_t intIfNum, uint32_t family, const std::string& addr)
{
    RoutingModel& m = st.routing;
    auto it = m.intfs.find(intIfNum);
    if (it == m.intfs.end())
        return kOpenNotFound;
    std::vector<IntfAddr>& v = it->second.addrs;
    auto a = std::find_if(v.begin(), v.end(), [&](const IntfAddr& e) { return e.family == family && e.addr == addr; });
    if (a == v.end())
        return kOpenNotFound;
    Route cr = connectedRoute(intIfNum, *a);
    v.erase(a);
    auto r = findRoute(m, cr.rec);
    if (r != m.routes.end() && r->rec.protoId == kProtoLocal)
        routeTableErase(m, r);
    return kOpenOk;
}

int32_t vlanIntfCreate(SwitchState& st, uint32_t vlan)
{
    if (vlan < 1 || vlan > kMaxRoutingVlan)
        return kOpenInvalidParam;
    if (vlanRoutingIntf(st.routing, vlan))
        return kOpenExists;
    if (!st.vlans.count(vlan))
        st.vlans[vlan] = Vlan{vlan, "VLAN" + std::to_string(vlan), true};
    uint32_t n = kFirstVlanIntf;
    while (st.interfaces.count(n))
        ++n;
    Interface i;
    i.intIfNum = n;
    i.type = kIfVlan;
    i.name = "vlan " + std::to_string(vlan);
    i.linkUp = 1;
    i.pvid = vlan;
    st.interfaces[n] = i;
    routerIntfOf(st.routing, n).vlanId = vlan;
    return kOpenOk;
}

int32_t vlanIntfDelete(SwitchState& st, uint32_t vlan)
{
    RoutingModel& m = st.routing;
    uint32_t n = vlanRoutingIntf(m, vlan);
    if (!n)
        return kOpenNotFound;
    for (auto r = m.routes.begin(); r != m.routes.end();) {
        bool viaIntf = std::any_of(r->hops.begin(), r->hops.end(), [&](const NextHop& h) { return h.ifNum == n; });
        if (viaIntf) {
            routeTableErase(m, r);
            r = m.routes.begin();
        } else {
            ++r;
        }
    }
    for (auto a = m.arp.begin(); a != m.arp.end();)
        a = a->second.intIfNum == n ? m.arp.erase(a) : std::next(a);
    m.intfs.erase(n);
    m.ospf.intfs.erase(n);
    st.interfaces.erase(n);
    return kOpenOk;
}

using namespace schema;

const Table<IntfAddr> kIntfAddrTable = {
    field<&IntfAddr::family>("family"),
    field<&IntfAddr::pfxLen>("pfxLen"),
    field<&IntfAddr::addr, Bytes<16>>("addr"),
};

const Table<RouterIntf> kRouterIntfTable = {
    field<&RouterIntf::intIfNum>("intIfNum"),
    field<&RouterIntf::vlanId>("vlanId"),
    field<&RouterIntf::adminMode>("adminMode"),
    field<&RouterIntf::ipMtu>("ipMtu"),
    field<&RouterIntf::proxyArp>("proxyArp"),
    field<&RouterIntf::redirects>("redirects"),
    field<&RouterIntf::destUnreachable>("destUnreachable"),
    field<&RouterIntf::netDirBcast>("netDirBcast"),
    field<&RouterIntf::addrs, List<Obj<IntfAddr, kIntfAddrTable>>>("addrs"),
};

const Table<RouterIntf> kRouterIntfCliTable = {
    field<&RouterIntf::intIfNum>("intIfNum"),
    field<&RouterIntf::localProxyArp>("localProxyArp"),
    field<&RouterIntf::gratArp>("gratArp"),
    field<&RouterIntf::unnumberedGratArp>("unnumberedGratArp"),
    field<&RouterIntf::bandwidth>("bandwidth"),
};

}  // namespace sim
