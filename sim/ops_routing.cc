// Routing operations of the simulated switch over its routing model:
// routing interfaces and addresses, the route table, ARP, OSPF, IP helper,
// router settings, protocol and route-type registration and route changes.
// Values a switch would refuse answer -22; missing entries -29; duplicates -24.
#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

#include "sim/ipv4_cli_model.h"
#include "sim/ops.h"

namespace sim {
namespace {

constexpr int32_t kInvalid = kOpenInvalidParam;
constexpr int32_t kNotFound = kOpenNotFound;
constexpr int32_t kExists = kOpenExists;
constexpr uint32_t kMaxRoutes = 8192;
constexpr uint32_t kFirstVlanIntf = 37;

template <class R>
R recIn(const Call& c, size_t i)
{
    R r;
    memset(static_cast<void*>(&r), 0, sizeof r);
    const std::string& d = c.args[i].data;
    memcpy(static_cast<void*>(&r), d.data(), std::min(d.size(), sizeof r));
    return r;
}

template <class R>
void recOut(Call& c, size_t i, const R& r)
{
    c.args[i].data.assign(reinterpret_cast<const char*>(&r), sizeof r);
}

RoutingModel& model(Call& c) { return c.st.routing; }

bool intfExists(const Call& c, uint32_t n) { return c.st.interfaces.count(n) != 0; }

uint32_t v4Of(const uint8_t* addr)
{
    uint32_t v;
    memcpy(&v, addr, 4);
    return v;
}

uint32_t v4Of(const IntfAddr& a) { return v4Of(reinterpret_cast<const uint8_t*>(a.addr.data())); }

uint32_t maskOf(uint32_t len) { return len == 0 ? 0 : len >= 32 ? 0xffffffffu : 0xffffffffu << (32 - len); }

uint32_t maxLen(uint32_t family) { return family == kFamilyIpv6 ? 128 : 32; }

bool validFamily(uint32_t f) { return f == kFamilyIpv4 || f == kFamilyIpv6; }

// Clears the host bits of a prefix in record form.
void maskPrefix(uint32_t family, uint8_t* addr, uint32_t len)
{
    if (family == kFamilyIpv4) {
        uint32_t v = v4Of(addr) & maskOf(len);
        memcpy(addr, &v, 4);
        memset(addr + 4, 0, 12);
        return;
    }
    for (uint32_t i = 0; i < 16; ++i) {
        uint32_t bits = len > i * 8 ? std::min<uint32_t>(8, len - i * 8) : 0;
        addr[i] &= static_cast<uint8_t>(bits == 0 ? 0 : 0xff << (8 - bits));
    }
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

// Route order: family, then the prefix (IPv4 numerically), then its length.

bool sameKey(const RouteRecord& a, const RouteRecord& b) { return !routeKeyLess(a, b) && !routeKeyLess(b, a); }

std::vector<Route>::iterator findRoute(RoutingModel& m, const RouteRecord& key)
{
    return std::find_if(m.routes.begin(), m.routes.end(), [&](const Route& r) { return sameKey(r.rec, key); });
}


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

// --- Routing interfaces and addresses --------------------------------------

const RouterIntf* rtrFind(Call& c, uint32_t n)
{
    auto it = model(c).intfs.find(n);
    return it == model(c).intfs.end() ? nullptr : &it->second;
}

RouterIntf& rtrOf(Call& c, uint32_t n)
{
    RouterIntf& r = model(c).intfs[n];
    r.intIfNum = n;
    return r;
}

// Every IPv4 address of the switch as (address, interface), in that order.
std::vector<std::pair<uint32_t, uint32_t>> ipv4Table(Call& c)
{
    std::vector<std::pair<uint32_t, uint32_t>> t;
    for (const auto& kv : model(c).intfs)
        for (const IntfAddr& a : kv.second.addrs)
            if (a.family == kFamilyIpv4)
                t.push_back({v4Of(a), kv.first});
    std::sort(t.begin(), t.end());
    return t;
}

const IntfAddr* ipv4Entry(Call& c, uint32_t ip, uint32_t* intf = nullptr)
{
    for (const auto& kv : model(c).intfs)
        for (const IntfAddr& a : kv.second.addrs)
            if (a.family == kFamilyIpv4 && v4Of(a) == ip) {
                if (intf)
                    *intf = kv.first;
                return &a;
            }
    return nullptr;
}

int32_t adEntAddrGetNext(Call& c)
{
    uint32_t ip = c.u32(0), intf = c.u32(1);
    for (const auto& e : ipv4Table(c))
        if (e > std::make_pair(ip, intf)) {
            c.setU32(0, e.first);
            c.setU32(1, e.second);
            return 0;
        }
    return kNotFound;
}

int32_t entIfIndexGet(Call& c)
{
    uint32_t intf;
    if (!ipv4Entry(c, c.u32(0), &intf))
        return kNotFound;
    c.setU32(1, intf);
    return 0;
}

int32_t adEntNetMaskGet(Call& c)
{
    const IntfAddr* a = ipv4Entry(c, c.u32(0));
    if (!a)
        return kNotFound;
    c.setU32(1, maskOf(a->pfxLen));
    return 0;
}

int32_t adEntBCastGet(Call& c)
{
    if (!ipv4Entry(c, c.u32(0)))
        return kNotFound;
    c.setU32(1, 1);
    return 0;
}

int32_t adEntReasmMaxSizeGet(Call& c)
{
    if (!ipv4Entry(c, c.u32(0)))
        return kNotFound;
    c.setU32(1, 65535);
    return 0;
}

int32_t adEntAddrGet(Call& c)
{
    uint32_t intf;
    return ipv4Entry(c, c.u32(1), &intf) && intf == c.u32(0) ? 0 : kNotFound;
}

int32_t inetAton(Call& c)
{
    struct in_addr a;
    std::string t = c.text(0);
    if (inet_pton(AF_INET, t.c_str(), &a) != 1)
        return kInvalid;
    c.setU32(1, ntohl(a.s_addr));
    return 0;
}

Route connectedRoute(uint32_t intf, const IntfAddr& a)
{
    Route r;
    memset(&r.rec, 0, sizeof r.rec);
    r.rec.family = a.family;
    memcpy(r.rec.destPfx, a.addr.data(), 16);
    r.rec.pfxLen = static_cast<uint8_t>(a.pfxLen);
    maskPrefix(a.family, r.rec.destPfx, a.pfxLen);
    r.rec.routeType = 1;
    r.rec.protoId = 1;
    NextHop h;
    memset(&h, 0, sizeof h);
    h.family = a.family;
    memcpy(h.addr, a.addr.data(), 16);
    h.ifNum = intf;
    r.hops.push_back(h);
    return r;
}

int32_t rtrIntfIpAddrAdd(Call& c)
{
    uint32_t af = c.u32(0), intf = c.u32(1);
    InetPrefix p = recIn<InetPrefix>(c, 3);
    if (!intfExists(c, intf) || !validFamily(af) || p.family != af || p.pfxLen == 0 || p.pfxLen > maxLen(af))
        return kInvalid;
    IntfAddr a;
    a.family = af;
    a.addr.assign(reinterpret_cast<const char*>(p.addr), 16);
    a.pfxLen = p.pfxLen;
    if (af == kFamilyIpv4) {
        uint32_t v = v4Of(a), host = ~maskOf(a.pfxLen);
        if (v == 0 || (a.pfxLen < 31 && ((v & host) == 0 || (v & host) == host)))
            return kInvalid;  // the unspecified address, the subnet's number or its broadcast
    }
    for (const auto& kv : model(c).intfs)
        for (const IntfAddr& e : kv.second.addrs)
            if (e.family == af && e.addr == a.addr)
                return kExists;
    RouterIntf& r = rtrOf(c, intf);
    r.addrs.push_back(a);
    Route cr = connectedRoute(intf, a);
    if (findRoute(model(c), cr.rec) == model(c).routes.end())
        routeTableInsert(model(c), cr);
    c.changed = true;
    return 0;
}

int32_t rtrIntfIpAddrDel(Call& c)
{
    uint32_t af = c.u32(0), intf = c.u32(1);
    InetPrefix p = recIn<InetPrefix>(c, 3);
    auto it = model(c).intfs.find(intf);
    if (it == model(c).intfs.end())
        return kNotFound;
    std::vector<IntfAddr>& v = it->second.addrs;
    std::string addr(reinterpret_cast<const char*>(p.addr), 16);
    auto a = std::find_if(v.begin(), v.end(), [&](const IntfAddr& e) { return e.family == af && e.addr == addr; });
    if (a == v.end())
        return kNotFound;
    Route cr = connectedRoute(intf, *a);
    v.erase(a);
    auto r = findRoute(model(c), cr.rec);
    if (r != model(c).routes.end() && r->rec.protoId == 1)
        routeTableErase(model(c), r);
    c.changed = true;
    return 0;
}

int32_t rtrVlanIntfCreate(Call& c)
{
    uint32_t vlan = c.u32(0);
    if (vlan < 1 || vlan > 4093)
        return kInvalid;
    for (const auto& kv : model(c).intfs)
        if (kv.second.vlanId == vlan)
            return kExists;
    if (!c.st.vlans.count(vlan))
        c.st.vlans[vlan] = Vlan{vlan, "VLAN" + std::to_string(vlan), true};
    uint32_t n = kFirstVlanIntf;
    while (c.st.interfaces.count(n))
        ++n;
    Interface i;
    i.intIfNum = n;
    i.type = kIfVlan;
    i.name = "vlan " + std::to_string(vlan);
    i.linkUp = 1;
    i.pvid = vlan;
    c.st.interfaces[n] = i;
    rtrOf(c, n).vlanId = vlan;
    c.changed = true;
    return 0;
}

int32_t rtrVlanIntfDelete(Call& c)
{
    uint32_t vlan = c.u32(0);
    RoutingModel& m = model(c);
    auto it = std::find_if(m.intfs.begin(), m.intfs.end(), [&](const auto& kv) { return kv.second.vlanId == vlan; });
    if (vlan == 0 || it == m.intfs.end())
        return kNotFound;
    uint32_t n = it->first;
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
    m.intfs.erase(it);
    m.ospf.intfs.erase(n);
    c.st.interfaces.erase(n);
    c.changed = true;
    return 0;
}

// The routing interfaces: VLAN routing interfaces and interfaces with an address.
bool isRoutingIntf(const RouterIntf& r) { return r.vlanId != 0 || !r.addrs.empty(); }

int32_t rtrIntfNext(Call& c, uint32_t after, size_t outArg)
{
    for (const auto& kv : model(c).intfs)
        if (kv.first > after && isRoutingIntf(kv.second)) {
            c.setU32(outArg, kv.first);
            return 0;
        }
    return kNotFound;
}

int32_t rtrIntfNextGet(Call& c) { return rtrIntfNext(c, c.u32(0), 1); }
int32_t rtrIntfNextGetVrf(Call& c) { return c.u32(0) ? kInvalid : rtrIntfNext(c, c.u32(1), 2); }

int32_t rtrIntfTypeGet(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(0));
    if (it == c.st.interfaces.end())
        return kInvalid;
    c.setU32(1, it->second.type);
    return 0;
}

int32_t rtrIntfVlanIdGet(Call& c)
{
    const RouterIntf* r = rtrFind(c, c.u32(0));
    if (!r || !r->vlanId)
        return kInvalid;
    c.setU32(1, r->vlanId);
    return 0;
}

int32_t rtrIntfNameGet(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(0));
    if (it == c.st.interfaces.end())
        return kInvalid;
    c.setText(1, it->second.name);
    return 0;
}

int32_t stackIfIndex(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    c.setU32(1, 100 + c.u32(0));
    return 0;
}

int32_t stackIfName(Call& c, uint32_t intf, size_t outArg)
{
    if (!intfExists(c, intf))
        return kInvalid;
    c.setText(outArg, "rtr" + std::to_string(intf));
    return 0;
}

int32_t ipStackIfNameGet(Call& c) { return stackIfName(c, c.u32(0), 1); }
int32_t ipStackStkNameGet(Call& c) { return c.u32(0) ? kNotFound : stackIfName(c, c.u32(1), 2); }
int32_t ipStackDrvNameGet(Call& c) { return c.u32(0) ? kNotFound : stackIfName(c, c.u32(1), 2); }

int32_t stackIfIndexIntIfNumGet(Call& c)
{
    uint32_t ix = c.u32(0);
    if (ix <= 100 || !intfExists(c, ix - 100))
        return kNotFound;
    c.setU32(1, ix - 100);
    return 0;
}

int32_t unitSlotPort(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(0));
    if (it == c.st.interfaces.end())
        return kInvalid;
    bool port = it->second.type == kIfPhysical;
    c.setU32(1, port ? it->second.unit : 0);
    c.setU32(2, port ? it->second.slot : 0);
    c.setU32(3, port ? it->second.port : 0);
    return 0;
}

int32_t l3MacGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    MacAddr m = {{0x02, 0x1a, 0x2b, 0x00, 0x00, 0x01}};
    recOut(c, 1, m);
    return 0;
}

int32_t operModeGet(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(1));
    if (!validFamily(c.u32(0)) || it == c.st.interfaces.end())
        return kInvalid;
    const RouterIntf* r = rtrFind(c, c.u32(1));
    c.setU32(2, r && isRoutingIntf(*r) && it->second.linkUp && r->adminMode ? 1 : 0);
    return 0;
}

// Primary (index 0) or secondary (index 1, 2 ...) address of a family.
const IntfAddr* intfAddr(const RouterIntf* r, uint32_t af, uint32_t index)
{
    if (!r)
        return nullptr;
    for (const IntfAddr& a : r->addrs)
        if (a.family == af && index-- == 0)
            return &a;
    return nullptr;
}

int32_t rtrIntfIpAddrGet(Call& c)
{
    uint32_t af = c.u32(0), intf = c.u32(1);
    if (!validFamily(af) || !intfExists(c, intf))
        return kInvalid;
    InetAddr out;
    memset(&out, 0, sizeof out);
    uint32_t len = 0;
    if (const IntfAddr* a = intfAddr(rtrFind(c, intf), af, 0)) {
        out.family = a->family;
        memcpy(out.addr, a->addr.data(), 16);
        len = a->pfxLen;
    }
    recOut(c, 2, out);
    c.setU32(3, len);
    return 0;
}

int32_t rtrIntfSecIpAddrGet(Call& c)
{
    uint32_t af = c.u32(0), intf = c.u32(1);
    if (!validFamily(af) || !intfExists(c, intf))
        return kInvalid;
    const IntfAddr* a = intfAddr(rtrFind(c, intf), af, 1);
    if (!a)
        return kNotFound;
    InetAddr out;
    memset(&out, 0, sizeof out);
    out.family = a->family;
    memcpy(out.addr, a->addr.data(), 16);
    recOut(c, 2, out);
    c.setU32(3, a->pfxLen);
    c.setU32(4, 1);
    return 0;
}

int32_t intfIpMtuGet(Call& c)
{
    if (!validFamily(c.u32(0)) || !intfExists(c, c.u32(1)))
        return kInvalid;
    const RouterIntf* r = rtrFind(c, c.u32(1));
    c.setU32(2, r ? r->ipMtu : 1500);
    return 0;
}

int32_t rtrIntfMtuSet(Call& c)
{
    uint32_t mtu = c.u32(2);
    if (!validFamily(c.u32(0)) || !intfExists(c, c.u32(1)) || mtu < 68 || mtu > 9198)
        return kInvalid;
    rtrOf(c, c.u32(1)).ipMtu = mtu;
    c.changed = true;
    return 0;
}

int32_t intfBandwidthGet(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(1));
    if (!validFamily(c.u32(0)) || it == c.st.interfaces.end())
        return kInvalid;
    c.setU32(2, it->second.speedMbps * 1000);
    return 0;
}

template <uint32_t RouterIntf::*F>
int32_t rtrIntfModeGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    const RouterIntf* r = rtrFind(c, c.u32(0));
    c.setU32(1, r ? r->*F : RouterIntf{}.*F);
    return 0;
}

template <uint32_t RouterIntf::*F>
int32_t rtrIntfModeSet(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(1) > 1)
        return kInvalid;
    rtrOf(c, c.u32(0)).*F = c.u32(1);
    c.changed = true;
    return 0;
}

int32_t intfIsUnnumbered(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    c.setU32(1, 0);
    return 0;
}

// --- Router settings -------------------------------------------------------

template <uint32_t Router::*F, uint32_t Lo, uint32_t Hi>
int32_t routerSet(Call& c)
{
    if (c.u32(0) < Lo || c.u32(0) > Hi)
        return kInvalid;
    model(c).router.*F = c.u32(0);
    c.changed = true;
    return 0;
}

uint32_t* adminOf(Call& c, uint32_t af)
{
    return af == kFamilyIpv4 ? &model(c).router.adminV4 : af == kFamilyIpv6 ? &model(c).router.adminV6 : nullptr;
}

int32_t rtrAdminModeGet(Call& c)
{
    uint32_t* v = adminOf(c, c.u32(0));
    if (!v)
        return kInvalid;
    c.setU32(1, *v);
    return 0;
}

int32_t rtrAdminModeGetVrf(Call& c)
{
    uint32_t* v = adminOf(c, c.u32(0));
    if (!v || c.u32(1) != 0)
        return kInvalid;
    c.setU32(2, *v);
    return 0;
}

int32_t rtrAdminModeSet(Call& c)
{
    uint32_t* v = adminOf(c, c.u32(0));
    if (!v || c.u32(1) > 1)
        return kInvalid;
    *v = c.u32(1);
    c.changed = true;
    return 0;
}

bool defaultVrfName(const std::string& n) { return n.empty() || n == "default"; }

int32_t icmpRatelimitGet(Call& c)
{
    if (!defaultVrfName(c.text(0)))
        return kNotFound;
    c.setU32(1, model(c).router.icmpBurst);
    c.setU32(2, model(c).router.icmpInterval);
    return 0;
}

int32_t icmpEchoReplyModeGet(Call& c)
{
    if (!defaultVrfName(c.text(0)))
        return kNotFound;
    c.setU32(1, model(c).router.echoReply);
    return 0;
}

int32_t vrfNameGet(Call& c)
{
    if (c.u32(0) != 0)
        return kNotFound;
    c.setText(1, "default");
    return 0;
}

int32_t vrfIntfNameGet(Call& c)
{
    if (c.u32(0) != 0)
        return kNotFound;
    c.setText(1, "rtr0");
    return 0;
}

int32_t startupStatus(Call& c)
{
    if (!validFamily(c.u32(0)))
        return kInvalid;
    c.setU32(1, 1);
    return 0;
}

int32_t startupStatusVr(Call& c)
{
    if (!validFamily(c.u32(0)) || c.u32(1) != 0)
        return kInvalid;
    c.setU32(2, 1);
    return 0;
}

int32_t prefGet(Call& c, std::map<uint32_t, uint32_t>& m, uint32_t index, size_t outArg)
{
    if (index == 0 || index > 255)
        return kInvalid;
    auto it = m.find(index);
    c.setU32(outArg, it == m.end() ? index : it->second);
    return 0;
}

int32_t prefSet(Call& c, std::map<uint32_t, uint32_t>& m)
{
    uint32_t index = c.u32(0), pref = c.u32(1);
    if (index == 0 || index > 255 || pref == 0 || pref > 255)
        return kInvalid;
    m[index] = pref;
    c.changed = true;
    return 0;
}

int32_t ipRouterPrefGet(Call& c) { return prefGet(c, model(c).router.pref4, c.u32(0), 1); }
int32_t ip6RouterPrefGet(Call& c) { return prefGet(c, model(c).router.pref6, c.u32(0), 1); }
int32_t ipRouterPrefSet(Call& c) { return prefSet(c, model(c).router.pref4); }
int32_t ip6RouterPrefSet(Call& c) { return prefSet(c, model(c).router.pref6); }
int32_t ipRouterPrefGetVr(Call& c)
{
    return c.u32(0) ? kInvalid : prefGet(c, model(c).router.pref4, c.u32(1), 2);
}

template <uint32_t V>
int32_t constantGet(Call& c)
{
    c.setU32(0, V);
    return 0;
}

int32_t rtoFreeRouteCountGet(Call& c)
{
    if (c.u32(0) != 0)
        return kInvalid;
    c.setU32(1, kMaxRoutes - static_cast<uint32_t>(model(c).routes.size()));
    return 0;
}

// --- ARP -------------------------------------------------------------------

// The routing interface whose subnet holds an IPv4 address.
bool subnetIntf(Call& c, uint32_t ip, uint32_t* intf)
{
    for (const auto& kv : model(c).intfs)
        for (const IntfAddr& a : kv.second.addrs)
            if (a.family == kFamilyIpv4 && (v4Of(a) & maskOf(a.pfxLen)) == (ip & maskOf(a.pfxLen))) {
                *intf = kv.first;
                return true;
            }
    return false;
}

bool usableMac(const std::string& mac)
{
    return mac != std::string(6, '\0') && !(static_cast<unsigned char>(mac[0]) & 1);
}

int32_t arpEntryAdd(Call& c)
{
    uint32_t ip = c.u32(0), intf = 0;
    MacAddr mac = recIn<MacAddr>(c, 1);
    std::string m(reinterpret_cast<const char*>(mac.octet), 6);
    if (ip == 0 || !usableMac(m) || !subnetIntf(c, ip, &intf))
        return kInvalid;
    model(c).arp[ip] = ArpEntry{intf, m, true};
    c.changed = true;
    return 0;
}

int32_t arpEntryDel(Call& c)
{
    auto it = model(c).arp.find(c.u32(0));
    if (it == model(c).arp.end())
        return kNotFound;
    model(c).arp.erase(it);
    c.changed = true;
    return 0;
}

// Walks the ARP table in (interface, address) order.
int32_t arpEntryNextGet(Call& c)
{
    std::pair<uint32_t, uint32_t> after{c.u32(0), c.u32(1)}, best{0, 0};
    const ArpEntry* found = nullptr;
    for (const auto& kv : model(c).arp) {
        std::pair<uint32_t, uint32_t> key{kv.second.intIfNum, kv.first};
        if (key > after && (!found || key < best)) {
            best = key;
            found = &kv.second;
        }
    }
    if (!found)
        return kNotFound;
    c.setU32(0, best.first);
    c.setU32(1, best.second);
    MacAddr m;
    memcpy(m.octet, found->mac.data(), 6);
    recOut(c, 2, m);
    return 0;
}

int32_t arpResolve(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 1);
    if (c.u32(0) != 0 || a.family != kFamilyIpv4)
        return kInvalid;
    auto it = model(c).arp.find(v4Of(a.addr));
    if (it == model(c).arp.end())
        return kNotFound;
    MacAddr m;
    memcpy(m.octet, it->second.mac.data(), 6);
    recOut(c, 5, m);
    return 0;
}

int32_t kernelArpAdd(Call& c)
{
    uint32_t stk = c.u32(0);
    InetAddr a = recIn<InetAddr>(c, 2);
    MacAddr mac = recIn<MacAddr>(c, 3);
    std::string m(reinterpret_cast<const char*>(mac.octet), 6);
    if (c.u32(1) != 0 || stk <= 100 || !intfExists(c, stk - 100) || a.family != kFamilyIpv4 || v4Of(a.addr) == 0 ||
        !usableMac(m))
        return kInvalid;
    model(c).arp[v4Of(a.addr)] = ArpEntry{stk - 100, m, false};
    c.changed = true;
    return 0;
}

int32_t kernelArpDelete(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 1);
    if (c.u32(0) != 0 || a.family != kFamilyIpv4)
        return kInvalid;
    auto it = model(c).arp.find(v4Of(a.addr));
    if (it == model(c).arp.end() || it->second.isStatic)
        return kNotFound;
    model(c).arp.erase(it);
    c.changed = true;
    return 0;
}

// --- IP helper -------------------------------------------------------------

// A new entry of one of the helper tables: -24 when it is there already.
template <class Table, class Key>
int32_t addEntry(Call& c, Table& table, const Key& key)
{
    if (!table.insert(key).second)
        return kExists;
    c.changed = true;
    return 0;
}

// Removes an entry of one of the helper tables: -29 when there is none.
template <class Table, class Key>
int32_t removeEntry(Call& c, Table& table, const Key& key)
{
    if (!table.erase(key))
        return kNotFound;
    c.changed = true;
    return 0;
}

int32_t helperAddressAdd(Call& c)
{
    if (c.u32(0) == 0 || c.u32(1) > 65535)
        return kInvalid;
    return addEntry(c, model(c).helper.global, std::make_pair(c.u32(0), c.u32(1)));
}

int32_t helperAddressDel(Call& c)
{
    return removeEntry(c, model(c).helper.global, std::make_pair(c.u32(0), c.u32(1)));
}

int32_t intfHelperAddressAdd(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(1) == 0 || c.u32(2) > 65535)
        return kInvalid;
    return addEntry(c, model(c).helper.perIntf, std::make_tuple(c.u32(0), c.u32(1), c.u32(2)));
}

int32_t intfHelperAddressDel(Call& c)
{
    return removeEntry(c, model(c).helper.perIntf, std::make_tuple(c.u32(0), c.u32(1), c.u32(2)));
}

int32_t intfHelperDiscardAdd(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(1) > 65535)
        return kInvalid;
    return addEntry(c, model(c).helper.discards, std::make_pair(c.u32(0), c.u32(1)));
}

int32_t intfHelperDiscardDel(Call& c)
{
    return removeEntry(c, model(c).helper.discards, std::make_pair(c.u32(0), c.u32(1)));
}

int32_t helperModeSet(Call& c)
{
    if (c.u32(0) > 1)
        return kInvalid;
    model(c).helper.mode = c.u32(0);
    c.changed = true;
    return 0;
}

// --- OSPF ------------------------------------------------------------------

template <uint32_t Ospf::*F>
int32_t ospfGet(Call& c)
{
    c.setU32(0, model(c).ospf.*F);
    return 0;
}

template <uint32_t Ospf::*F, uint32_t Lo, uint32_t Hi>
int32_t ospfSet(Call& c)
{
    if (c.u32(0) < Lo || c.u32(0) > Hi)
        return kInvalid;
    model(c).ospf.*F = c.u32(0);
    c.changed = true;
    return 0;
}

OspfIntf ospfIntfOf(Call& c, uint32_t n)
{
    auto it = model(c).ospf.intfs.find(n);
    return it == model(c).ospf.intfs.end() ? OspfIntf{} : it->second;
}

template <uint32_t OspfIntf::*F>
int32_t ospfIntfGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    c.setU32(1, ospfIntfOf(c, c.u32(0)).*F);
    return 0;
}

template <uint32_t OspfIntf::*F, uint32_t Lo, uint32_t Hi>
int32_t ospfIntfSet(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(1) < Lo || c.u32(1) > Hi)
        return kInvalid;
    model(c).ospf.intfs[c.u32(0)].*F = c.u32(1);
    c.changed = true;
    return 0;
}

// Interface types a switch knows: default (0), broadcast (1), point-to-point (3).
int32_t ospfIntfTypeSet(Call& c)
{
    uint32_t t = c.u32(1);
    if (t != 0 && t != 1 && t != 3)
        return kInvalid;
    return ospfIntfSet<&OspfIntf::type, 0, 3>(c);
}

int32_t ospfIntfAreaIdGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    OspfIntf i = ospfIntfOf(c, c.u32(0));
    c.setU32(1, i.areaId);
    c.setU32(2, i.areaMode);
    return 0;
}

int32_t ospfIntfAreaIdSet(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(2) > 1)
        return kInvalid;
    OspfIntf& i = model(c).ospf.intfs[c.u32(0)];
    i.areaId = c.u32(1);
    i.areaMode = c.u32(2);
    c.changed = true;
    return 0;
}

int32_t ospfIntfMetricGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    OspfIntf i = ospfIntfOf(c, c.u32(0));
    auto it = i.metricByTos.find(c.u32(1));
    c.setU32(2, it == i.metricByTos.end() ? 1 : it->second);
    return 0;
}

int32_t ospfIntfMetricSet(Call& c)
{
    uint32_t metric = c.u32(3);
    if (!intfExists(c, c.u32(0)) || metric < 1 || metric > 65535)
        return kInvalid;
    model(c).ospf.intfs[c.u32(0)].metricByTos[c.u32(2)] = metric;
    c.changed = true;
    return 0;
}

template <uint32_t OspfArea::*F>
int32_t ospfAreaGet(Call& c)
{
    auto it = model(c).ospf.areas.find(c.u32(0));
    c.setU32(1, it == model(c).ospf.areas.end() ? OspfArea{}.*F : it->second.*F);
    return 0;
}

template <uint32_t OspfArea::*F, uint32_t Lo, uint32_t Hi>
int32_t ospfAreaSet(Call& c)
{
    if (c.u32(1) < Lo || c.u32(1) > Hi)
        return kInvalid;
    model(c).ospf.areas[c.u32(0)].*F = c.u32(1);
    c.changed = true;
    return 0;
}

int32_t ospfLogAdjGet(Call& c)
{
    c.setU32(0, model(c).ospf.logAdj);
    c.setU32(1, model(c).ospf.logDetail);
    return 0;
}

int32_t ospfLogAdjSet(Call& c)
{
    if (c.u32(0) > 1 || c.u32(1) > 1)
        return kInvalid;
    model(c).ospf.logAdj = c.u32(0);
    model(c).ospf.logDetail = c.u32(1);
    c.changed = true;
    return 0;
}

int32_t ospfStubGet(Call& c)
{
    const Ospf& f = model(c).ospf;
    c.setU32(0, f.stubMode);
    c.setU32(1, f.stubDuration);
    c.setU32(2, f.stubOverride);
    c.setU32(3, f.stubMetric);
    return 0;
}

int32_t ospfStubSet(Call& c)
{
    if (c.u32(0) > 2 || (c.u32(0) == 2 && (c.u32(1) < 5 || c.u32(1) > 86400)))
        return kInvalid;
    model(c).ospf.stubMode = c.u32(0);
    model(c).ospf.stubDuration = c.u32(0) == 2 ? c.u32(1) : 0;
    c.changed = true;
    return 0;
}

int32_t ospfStubOverride(Call& c)
{
    if (c.u32(0) > 1 || c.u32(1) > 16777215)
        return kInvalid;
    model(c).ospf.stubOverride = c.u32(0);
    model(c).ospf.stubMetric = c.u32(1);
    c.changed = true;
    return 0;
}

int32_t ospfTrapGet(Call& c)
{
    auto it = model(c).ospf.traps.find(c.u32(0));
    c.setU32(1, it == model(c).ospf.traps.end() ? 0 : it->second);
    return 0;
}

int32_t ospfTrapSet(Call& c)
{
    if (c.u32(1) > 1)
        return kInvalid;
    model(c).ospf.traps[c.u32(0)] = c.u32(1);
    c.changed = true;
    return 0;
}

std::vector<OspfNetwork>::iterator findNetwork(Call& c)
{
    auto& v = model(c).ospf.networks;
    return std::find_if(v.begin(), v.end(), [&](const OspfNetwork& n) {
        return n.ip == c.u32(0) && n.wildcard == c.u32(1) && n.areaId == c.u32(2);
    });
}

int32_t ospfNetworkSet(Call& c)
{
    if (c.u32(3) > 1)
        return kInvalid;
    auto it = findNetwork(c);
    if (it != model(c).ospf.networks.end())
        return kExists;
    model(c).ospf.networks.push_back(OspfNetwork{c.u32(0), c.u32(1), c.u32(2), c.u32(3)});
    c.changed = true;
    return 0;
}

int32_t ospfNetworkGet(Call& c)
{
    c.setU32(3, findNetwork(c) != model(c).ospf.networks.end() ? 1 : 0);
    return 0;
}

int32_t ospfNetworkDelete(Call& c)
{
    auto it = findNetwork(c);
    if (it == model(c).ospf.networks.end())
        return kNotFound;
    model(c).ospf.networks.erase(it);
    c.changed = true;
    return 0;
}

// --- Protocols, route types, clients --------------------------------------

int32_t protocolRegister(Call& c)
{
    uint32_t af = c.u32(1);
    std::string name = c.text(2);
    if (c.u32(0) != 0 || !validFamily(af) || name.empty())
        return kInvalid;
    RoutingModel& m = model(c);
    for (const auto& kv : m.protocols)
        if (kv.second.family == af && kv.second.name == name) {
            c.setU32(4, kv.first);
            return kExists;
        }
    uint32_t id = m.protocols.empty() ? 1 : m.protocols.rbegin()->first + 1;
    m.protocols[id] = Protocol{af, name, c.text(3)};
    c.setU32(4, id);
    c.changed = true;
    return 0;
}

int32_t protocolDeregister(Call& c)
{
    auto it = model(c).protocols.find(c.u32(2));
    if (c.u32(0) != 0)
        return kInvalid;
    if (it == model(c).protocols.end() || it->second.family != c.u32(1))
        return kNotFound;
    model(c).protocols.erase(it);
    c.changed = true;
    return 0;
}

int32_t routeTypeRegister(Call& c)
{
    uint32_t af = c.u32(0), proto = c.u32(1);
    std::string name = c.text(2);
    RoutingModel& m = model(c);
    if (!validFamily(af) || name.empty() || !m.protocols.count(proto))
        return kInvalid;
    for (const auto& kv : m.routeTypes)
        if (kv.second.family == af && kv.second.protoId == proto && kv.second.name == name) {
            c.setU32(4, kv.first);
            return kExists;
        }
    uint32_t id = m.routeTypes.empty() ? 1 : m.routeTypes.rbegin()->first + 1;
    m.routeTypes[id] = RouteType{af, proto, name, c.text(3)};
    c.setU32(4, id);
    c.changed = true;
    return 0;
}

int32_t routeTypeDeregister(Call& c)
{
    auto it = model(c).routeTypes.find(c.u32(1));
    if (it == model(c).routeTypes.end() || it->second.family != c.u32(0))
        return kNotFound;
    model(c).routeTypes.erase(it);
    c.changed = true;
    return 0;
}

int32_t routeTypeInfoGet(Call& c)
{
    auto it = model(c).routeTypes.find(c.u32(0));
    if (it == model(c).routeTypes.end())
        return kNotFound;
    auto p = model(c).protocols.find(it->second.protoId);
    c.setText(1, p == model(c).protocols.end() ? "" : p->second.name);
    c.setText(2, it->second.name);
    return 0;
}

int32_t protoNameNextGet(Call& c)
{
    auto it = model(c).protocols.upper_bound(c.u32(0));
    if (it == model(c).protocols.end())
        return kNotFound;
    c.setText(1, it->second.name);
    c.setU32(2, it->first);
    return 0;
}

int32_t registerClient(Call& c, uint32_t kind, uint32_t family, uint32_t pid, const std::string& name, size_t outArg)
{
    if (name.empty() || (kind != kPolicyClient && !validFamily(family)))
        return kInvalid;
    RoutingModel& m = model(c);
    for (const auto& kv : m.clients)
        if (kv.second.kind == kind && kv.second.name == name) {
            c.setU32(outArg, kv.first);
            return kExists;
        }
    uint32_t id = m.nextClientId++;
    EventClient cl;
    cl.kind = kind;
    cl.family = family;
    cl.pid = pid;
    cl.name = name;
    m.clients[id] = cl;
    c.setU32(outArg, id);
    c.changed = true;
    return 0;
}

int32_t bestRouteEventRegister(Call& c)
{
    return c.u32(2) ? kInvalid : registerClient(c, kBestRouteClient, c.u32(0), c.u32(1), c.text(3), 4);
}

int32_t bestRouteEventRegisterVr(Call& c)
{
    return c.u32(0) ? kInvalid : registerClient(c, kBestRouteClient, c.u32(1), c.u32(2), c.text(3), 4);
}

int32_t routerEventRegister(Call& c)
{
    return c.u32(2) ? kInvalid : registerClient(c, kRouterClient, c.u32(0), c.u32(1), c.text(3), 4);
}

int32_t policyRegister(Call& c) { return registerClient(c, kPolicyClient, 0, c.u32(1), c.text(0), 3); }

EventClient* clientOf(Call& c, uint32_t id, uint32_t kind)
{
    auto it = model(c).clients.find(id);
    return it == model(c).clients.end() || it->second.kind != kind ? nullptr : &it->second;
}

int32_t deregisterClient(Call& c, uint32_t id, uint32_t kind)
{
    if (!clientOf(c, id, kind))
        return kNotFound;
    model(c).clients.erase(id);
    c.changed = true;
    return 0;
}

int32_t bestRouteEventDeregister(Call& c) { return deregisterClient(c, c.u32(0), kBestRouteClient); }
int32_t routerEventDeregister(Call& c) { return c.u32(0) ? kInvalid : deregisterClient(c, c.u32(1), kRouterClient); }

int32_t routerEventAcknowledge(Call& c)
{
    return c.u32(0) == 0 && clientOf(c, c.u32(1), kRouterClient) ? 0 : kInvalid;
}

int32_t policyChangeAck(Call& c) { return clientOf(c, c.u32(0), kPolicyClient) ? 0 : kInvalid; }

int32_t bestRouteChangeNext(Call& c)
{
    EventClient* cl = clientOf(c, c.u32(0), kBestRouteClient);
    if (!cl)
        return kInvalid;
    if (cl->pending.empty())
        return kNotFound;
    recOut(c, 1, cl->pending.front());
    cl->pending.pop_front();
    c.changed = true;
    return 0;
}

int32_t bestRouteChangeNextMult(Call& c)
{
    EventClient* cl = clientOf(c, c.u32(0), kBestRouteClient);
    if (!cl)
        return kInvalid;
    if (cl->pending.empty())
        return kNotFound;
    RouteChangeSet* set = new RouteChangeSet;
    memset(set, 0, sizeof *set);
    uint32_t want = std::min<uint32_t>(c.u32(1), kRouteChangeSlots);
    for (uint32_t i = 0; i < want && !cl->pending.empty(); ++i) {
        set->slot[i] = cl->pending.front();
        set->slot[i].inUse = 1;
        cl->pending.pop_front();
    }
    recOut(c, 2, *set);
    delete set;
    c.changed = true;
    return 0;
}

bool protocolKnown(Call& c, uint32_t p) { return model(c).protocols.count(p) != 0; }

int32_t nsfRouteSource(Call& c) { return c.u32(0) == 0 && protocolKnown(c, c.u32(1)) ? 0 : kInvalid; }

int32_t prefixListApply(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 1);
    if (c.text(0).empty() || !validFamily(a.family) || c.u32(2) > maxLen(a.family))
        return kInvalid;
    return kNotFound;  // no prefix lists are configured
}

// --- Routes ----------------------------------------------------------------

int32_t kernelRouteAdd(Call& c)
{
    RouteRecord rec = recIn<RouteRecord>(c, 1);
    if (c.u32(0) != 0 || !validRoute(&rec))
        return kInvalid;
    if (findRoute(model(c), rec) != model(c).routes.end())
        return kExists;
    routeTableInsert(model(c), routeOf(rec, recIn<NextHopList>(c, 2)));
    c.changed = true;
    return 0;
}

int32_t routeMod(Call& c)
{
    RouteRecord rec = recIn<RouteRecord>(c, 1);
    if (c.u32(0) != 0 || !validRoute(&rec))
        return kInvalid;
    auto it = findRoute(model(c), rec);
    if (it == model(c).routes.end())
        return kNotFound;
    *it = routeOf(rec, recIn<NextHopList>(c, 2));
    routeTableNotify(model(c), kChangeModify, *it);
    c.changed = true;
    return 0;
}

int32_t routeDel(Call& c)
{
    RouteRecord rec = recIn<RouteRecord>(c, 1);
    if (c.u32(0) != 0 || !validRoute(&rec))
        return kInvalid;
    auto it = findRoute(model(c), rec);
    if (it == model(c).routes.end())
        return kNotFound;
    routeTableErase(model(c), it);
    c.changed = true;
    return 0;
}

int32_t bestRouteLookup(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 0);
    if (!validFamily(a.family))
        return kInvalid;
    const Route* best = nullptr;
    for (const Route& r : model(c).routes)
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
    auto it = findRoute(model(c), key);
    if (it == model(c).routes.end())
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
    for (const Route& r : model(c).routes) {
        if (r.rec.family != family)
            continue;
        if (cur.family == kFamilyUnset || routeKeyLess(cur, r.rec)) {
            fillRoute(c, 2, 3, r);
            return 0;
        }
    }
    return kNotFound;
}

// Static routes: one route per prefix, one next hop per gateway.
int32_t ipRouteAdd(Call& c)
{
    uint32_t af = c.u32(0), pref = c.u32(3);
    InetPrefix p = recIn<InetPrefix>(c, 1);
    InetAddr nh = recIn<InetAddr>(c, 2);
    if (!validFamily(af) || p.family != af || nh.family != af || p.pfxLen > maxLen(af) || pref > 255)
        return kInvalid;
    if (c.u32(4) != 0 && !intfExists(c, c.u32(4)))
        return kInvalid;
    RouteRecord key;
    memset(&key, 0, sizeof key);
    key.family = af;
    memcpy(key.destPfx, p.addr, 16);
    key.pfxLen = static_cast<uint8_t>(p.pfxLen);
    maskPrefix(af, key.destPfx, p.pfxLen);
    key.routeType = 2;
    key.protoId = 2;
    key.pref = static_cast<uint16_t>(pref ? pref : 1);
    NextHop hop;
    memset(&hop, 0, sizeof hop);
    hop.family = af;
    memcpy(hop.addr, nh.addr, 16);
    hop.ifNum = c.u32(4);
    RoutingModel& m = model(c);
    auto it = findRoute(m, key);
    if (it == m.routes.end()) {
        Route r;
        r.rec = key;
        r.hops.push_back(hop);
        routeTableInsert(m, r);
    } else {
        if (it->rec.protoId != 2)
            return kExists;
        for (const NextHop& h : it->hops)
            if (memcmp(h.addr, hop.addr, 16) == 0)
                return kExists;
        if (it->hops.size() >= kMaxNextHops)
            return kInvalid;
        it->hops.push_back(hop);
        routeTableNotify(m, kChangeModify, *it);
    }
    c.changed = true;
    return 0;
}

int32_t ipRouteDel(Call& c)
{
    uint32_t af = c.u32(0);
    InetPrefix p = recIn<InetPrefix>(c, 1);
    InetAddr nh = recIn<InetAddr>(c, 2);
    if (!validFamily(af) || p.family != af || p.pfxLen > maxLen(af))
        return kInvalid;
    RouteRecord key;
    memset(&key, 0, sizeof key);
    key.family = af;
    memcpy(key.destPfx, p.addr, 16);
    key.pfxLen = static_cast<uint8_t>(p.pfxLen);
    maskPrefix(af, key.destPfx, p.pfxLen);
    RoutingModel& m = model(c);
    auto it = findRoute(m, key);
    if (it == m.routes.end() || it->rec.protoId != 2)
        return kNotFound;
    auto h = std::find_if(it->hops.begin(), it->hops.end(),
                          [&](const NextHop& x) { return memcmp(x.addr, nh.addr, 16) == 0; });
    if (h == it->hops.end())
        return kNotFound;
    it->hops.erase(h);
    if (it->hops.empty())
        routeTableErase(m, it);
    else
        routeTableNotify(m, kChangeModify, *it);
    c.changed = true;
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiIpAdEntAddrGetNext, adEntAddrGetNext),
    SIM_OP(rpcclt_openapiIpEntIfIndexGet, entIfIndexGet),
    SIM_OP(rpcclt_openapiIpAdEntNetMaskGet, adEntNetMaskGet),
    SIM_OP(rpcclt_openapiIpAdEntBCastGet, adEntBCastGet),
    SIM_OP(rpcclt_openapiIpAdEntReasmMaxSizeGet, adEntReasmMaxSizeGet),
    SIM_OP(rpcclt_openapiInetAton, inetAton),
    SIM_OP(rpcclt_openapiIpAdEntAddrGet, adEntAddrGet),

    SIM_OP(rpcclt_openapiOspfMapAreaSummaryGet, (ospfAreaGet<&OspfArea::summary>)),
    SIM_OP(rpcclt_openapiOspfMapAreaSummarySet, (ospfAreaSet<&OspfArea::summary, 1, 2>)),
    SIM_OP(rpcclt_openapiOspfMapAutoCostRefBwGet, ospfGet<&Ospf::autoCost>),
    SIM_OP(rpcclt_openapiOspfMapAutoCostRefBwSet, (ospfSet<&Ospf::autoCost, 1, 4294967>)),
    SIM_OP(rpcclt_openapiOspfMapImportAsExternGet, ospfAreaGet<&OspfArea::importExt>),
    SIM_OP(rpcclt_openapiOspfMapImportAsExternSet, (ospfAreaSet<&OspfArea::importExt, 1, 3>)),
    SIM_OP(rpcclt_openapiOspfMapIntfAdminModeGet, ospfIntfGet<&OspfIntf::adminMode>),
    SIM_OP(rpcclt_openapiOspfMapIntfAdminModeSet, (ospfIntfSet<&OspfIntf::adminMode, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapIntfAreaIdGet, ospfIntfAreaIdGet),
    SIM_OP(rpcclt_openapiOspfMapIntfAreaIdSet, ospfIntfAreaIdSet),
    SIM_OP(rpcclt_openapiOspfMapIntfDeadIntervalGet, ospfIntfGet<&OspfIntf::deadInterval>),
    SIM_OP(rpcclt_openapiOspfMapIntfDeadIntervalSet, (ospfIntfSet<&OspfIntf::deadInterval, 1, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapIntfHelloIntervalGet, ospfIntfGet<&OspfIntf::helloInterval>),
    SIM_OP(rpcclt_openapiOspfMapIntfHelloIntervalSet, (ospfIntfSet<&OspfIntf::helloInterval, 1, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapIntfMetricValueGet, ospfIntfMetricGet),
    SIM_OP(rpcclt_openapiOspfMapIntfMetricValueSet, ospfIntfMetricSet),
    SIM_OP(rpcclt_openapiOspfMapIntfPassiveModeGet, ospfIntfGet<&OspfIntf::passive>),
    SIM_OP(rpcclt_openapiOspfMapIntfPassiveModeSet, (ospfIntfSet<&OspfIntf::passive, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapIntfSecondariesFlagGet, ospfIntfGet<&OspfIntf::secondaries>),
    SIM_OP(rpcclt_openapiOspfMapIntfSecondariesFlagSet, (ospfIntfSet<&OspfIntf::secondaries, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapIntfTypeGet, ospfIntfGet<&OspfIntf::type>),
    SIM_OP(rpcclt_openapiOspfMapIntfTypeSet, ospfIntfTypeSet),
    SIM_OP(rpcclt_openapiOspfMapLogAdjChngGet, ospfLogAdjGet),
    SIM_OP(rpcclt_openapiOspfMapLogAdjChngSet, ospfLogAdjSet),
    SIM_OP(rpcclt_openapiOspfMapMaxPathsGet, ospfGet<&Ospf::maxPaths>),
    SIM_OP(rpcclt_openapiOspfMapMaxPathsSet, (ospfSet<&Ospf::maxPaths, 1, 32>)),
    SIM_OP(rpcclt_openapiOspfMapNetworkAreaEntryDelete, ospfNetworkDelete),
    SIM_OP(rpcclt_openapiOspfMapNetworkAreaEntryGet, ospfNetworkGet),
    SIM_OP(rpcclt_openapiOspfMapNetworkAreaEntrySet, ospfNetworkSet),
    SIM_OP(rpcclt_openapiOspfMapNSSAImportSummariesGet, ospfAreaGet<&OspfArea::nssaSummary>),
    SIM_OP(rpcclt_openapiOspfMapNSSAImportSummariesSet, (ospfAreaSet<&OspfArea::nssaSummary, 1, 2>)),
    SIM_OP(rpcclt_openapiOspfMapRouterIdGet, ospfGet<&Ospf::routerId>),
    SIM_OP(rpcclt_openapiOspfMapRouterIdSet, (ospfSet<&Ospf::routerId, 0, 0xffffffffu>)),
    SIM_OP(rpcclt_openapiOspfMapRfc1583CompatibilityGet, ospfGet<&Ospf::rfc1583>),
    SIM_OP(rpcclt_openapiOspfMapRfc1583CompatibilitySet, (ospfSet<&Ospf::rfc1583, 0, 1>)),
    SIM_OP(rpcclt_openapiOspfMapSpfDelayTimeGet, ospfGet<&Ospf::spfDelay>),
    SIM_OP(rpcclt_openapiOspfMapSpfDelayTimeSet, (ospfSet<&Ospf::spfDelay, 0, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapSpfHoldTimeGet, ospfGet<&Ospf::spfHold>),
    SIM_OP(rpcclt_openapiOspfMapSpfHoldTimeSet, (ospfSet<&Ospf::spfHold, 0, 65535>)),
    SIM_OP(rpcclt_openapiOspfMapStubRtrModeGet, ospfStubGet),
    SIM_OP(rpcclt_openapiOspfMapStubRtrModeSet, ospfStubSet),
    SIM_OP(rpcclt_openapiOspfMapStubRtrSumLsaMetricOverride, ospfStubOverride),
    SIM_OP(rpcclt_openapiOspfTrapModeGet, ospfTrapGet),
    SIM_OP(rpcclt_openapiOspfTrapModeSet, ospfTrapSet),

    SIM_OP(rpcclt_openapiRoutingProtocolRegister, protocolRegister),
    SIM_OP(rpcclt_openapiRouteTypeRegister, routeTypeRegister),
    SIM_OP(rpcclt_openapiRoutingProtocolDeregister, protocolDeregister),
    SIM_OP(rpcclt_openapiRouteTypeDeregister, routeTypeDeregister),
    SIM_OP(rpcclt_openapiRouteTypeInfoGet, routeTypeInfoGet),
    SIM_OP(rpcclt_openapiRouteProtoNameLenMax, constantGet<63>),
    SIM_OP(rpcclt_openapiRouteTypeNameLenMax, constantGet<63>),
    SIM_OP(rpcclt_openapiBestRouteNextGetVr, bestRouteNextGetVr),
    SIM_OP(rpcclt_openapiBestRouteLookup, bestRouteLookup),
    SIM_OP(rpcclt_openapiPrefixFind, prefixFind),
    SIM_OP(rpcclt_openapiPrefixFindVr, prefixFindVr),
    SIM_OP(rpcclt_openapiArpResolve, arpResolve),
    SIM_OP(rpcclt_openapiBestRouteEventRegister, bestRouteEventRegister),
    SIM_OP(rpcclt_openapiBestRouteEventDeregister, bestRouteEventDeregister),
    SIM_OP(rpcclt_openapiBestRouteChangeNextGet, bestRouteChangeNext),
    SIM_OP(rpcclt_openapiBestRouteChangeNextGetMult, bestRouteChangeNextMult),
    SIM_OP(rpcclt_openapiMaxNextHopsGet, constantGet<kMaxNextHops>),
    SIM_OP(rpcclt_openapiRouterEventRegister, routerEventRegister),
    SIM_OP(rpcclt_openapiRouterEventDeregister, routerEventDeregister),
    SIM_OP(rpcclt_openapiRouterEventAcknowledge, routerEventAcknowledge),
    SIM_OP(rpcclt_openapiMaxRoutingInterfacesGet, constantGet<128>),
    SIM_OP(rpcclt_openapiRtrIntfNextGetVrf, rtrIntfNextGetVrf),
    SIM_OP(rpcclt_openapiRtrIntfNextGet, rtrIntfNextGet),
    SIM_OP(rpcclt_openapiRtrIntfTypeGet, rtrIntfTypeGet),
    SIM_OP(rpcclt_openapiVrfNameGet, vrfNameGet),
    SIM_OP(rpcclt_openapiRtrIntfVlanIdGet, rtrIntfVlanIdGet),
    SIM_OP(rpcclt_openapiIntfNameSizeGet, constantGet<60>),
    SIM_OP(rpcclt_openapiRtrIntfNameGet, rtrIntfNameGet),
    SIM_OP(rpcclt_openapiRtrIntfIpStackIfIndexGet, stackIfIndex),
    SIM_OP(rpcclt_openapiRtrIntfIpStackIfNameGet, ipStackIfNameGet),
    SIM_OP(rpcclt_openapiRtrIntfIpStackStkNameGet, ipStackStkNameGet),
    SIM_OP(rpcclt_openapiRtrIntfIpStackDrvNameGet, ipStackDrvNameGet),
    SIM_OP(rpcclt_openapiVrfIntfNameGet, vrfIntfNameGet),
    SIM_OP(rpcclt_openapiRtrIntfUnitSlotPortGet, unitSlotPort),
    SIM_OP(rpcclt_openapiRtrIntfL3MacAddressGet, l3MacGet),
    SIM_OP(rpcclt_openapiRtrIntfOperModeGet, operModeGet),
    SIM_OP(rpcclt_openapiRtrIntfIpAddrGet, rtrIntfIpAddrGet),
    SIM_OP(rpcclt_openapiRtrIntfSecIpAddrGet, rtrIntfSecIpAddrGet),
    SIM_OP(rpcclt_openapiIntfIpMtuGet, intfIpMtuGet),
    SIM_OP(rpcclt_openapiIntfBandwidthGet, intfBandwidthGet),
    SIM_OP(rpcclt_openapiRtrICMPUnreachablesModeGet, rtrIntfModeGet<&RouterIntf::destUnreachable>),
    SIM_OP(rpcclt_openapiRtrICMPRedirectsModeGet, rtrIntfModeGet<&RouterIntf::redirects>),
    SIM_OP(rpcclt_openapiRtrICMPRatelimitGet, icmpRatelimitGet),
    SIM_OP(rpcclt_openapiRtrICMPEchoReplyModeGet, icmpEchoReplyModeGet),
    SIM_OP(rpcclt_openapiRtrAdminModeGet, rtrAdminModeGet),
    SIM_OP(rpcclt_openapiRoutingStartupStatus, startupStatus),
    SIM_OP(rpcclt_openapiRoutingStartupStatusVr, startupStatusVr),
    SIM_OP(rpcclt_openapiPrefixListApply, prefixListApply),
    SIM_OP(rpcclt_openapiRoutingPolicyRegister, policyRegister),
    SIM_OP(rpcclt_openapiPolicyChangeAck, policyChangeAck),
    SIM_OP(rpcclt_openapiIpRouterProtoNameNextGet, protoNameNextGet),
    SIM_OP(rpcclt_openapiBestRouteEventRegisterVr, bestRouteEventRegisterVr),
    SIM_OP(rpcclt_openapiKernelRouteAddVr, kernelRouteAdd),
    SIM_OP(rpcclt_openapiRouteModVr, routeMod),
    SIM_OP(rpcclt_openapiRouteDelVr, routeDel),
    SIM_OP(rpcclt_openapiKernelRouteDelVr, routeDel),
    SIM_OP(rpcclt_openapiRtoFreeRouteCountGet, rtoFreeRouteCountGet),
    SIM_OP(rpcclt_openapiRtrAdminModeGetVrf, rtrAdminModeGetVrf),
    SIM_OP(rpcclt_openapiPlatRtrRouteMaxEqualCostEntriesGet, constantGet<4>),
    SIM_OP(rpcclt_openapiPlatRtrRouteMaxEntriesGet, constantGet<kMaxRoutes>),
    SIM_OP(rpcclt_openapiIpMapNsfRouteSource, nsfRouteSource),
    SIM_OP(rpcclt_openapiIpMapInitialRoutesDone, nsfRouteSource),
    SIM_OP(rpcclt_openapiIpRouterPreferenceGet, ipRouterPrefGet),
    SIM_OP(rpcclt_openapiIpRouterPreferenceSet, ipRouterPrefSet),
    SIM_OP(rpcclt_openapiIp6RouterPreferenceGet, ip6RouterPrefGet),
    SIM_OP(rpcclt_openapiIp6RouterPreferenceSet, ip6RouterPrefSet),
    SIM_OP(rpcclt_openapiIpRouterPreferenceGetVr, ipRouterPrefGetVr),
    SIM_OP(rpcclt_openapiIntfIsUnnumbered, intfIsUnnumbered),
    SIM_OP(rpcclt_openapiStackIfIndexIntIfNumGet, stackIfIndexIntIfNumGet),
    SIM_OP(rpcclt_openapiKernelArpAdd, kernelArpAdd),
    SIM_OP(rpcclt_openapiKernelArpDelete, kernelArpDelete),

    SIM_OP(rpcclt_openapiRtrIntfIpAddrAdd, rtrIntfIpAddrAdd),
    SIM_OP(rpcclt_openapiRtrIntfIpAddrDel, rtrIntfIpAddrDel),
    SIM_OP(rpcclt_openapiRtrAdminModeSet, rtrAdminModeSet),
    SIM_OP(rpcclt_openapiArpEntryAdd, arpEntryAdd),
    SIM_OP(rpcclt_openapiArpEntryDel, arpEntryDel),
    SIM_OP(rpcclt_openapiArpEntryNextGet, arpEntryNextGet),
    SIM_OP(rpcclt_openapiIpRedirectsModeSet, (routerSet<&Router::redirects, 0, 1>)),
    SIM_OP(rpcclt_openapiIpICMPEchoReplyModeSet, (routerSet<&Router::echoReply, 0, 1>)),
    SIM_OP(rpcclt_openapiIpHelperModeSet, helperModeSet),
    SIM_OP(rpcclt_openapiIpHelperAddressAdd, helperAddressAdd),
    SIM_OP(rpcclt_openapiIpHelperAddressDel, helperAddressDel),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperAddressAdd, intfHelperAddressAdd),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperAddressDel, intfHelperAddressDel),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperDiscardAdd, intfHelperDiscardAdd),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperDiscardDel, intfHelperDiscardDel),
    SIM_OP(rpcclt_openapiRtrIntfMTUSet, rtrIntfMtuSet),
    SIM_OP(rpcclt_openapiRtrIntfIpNetDirBroadcastModeSet, rtrIntfModeSet<&RouterIntf::netDirBcast>),
    SIM_OP(rpcclt_openapiRtrIntfIpProxyArpModeSet, rtrIntfModeSet<&RouterIntf::proxyArp>),
    SIM_OP(rpcclt_openapiRtrIntfIpRedirectsModeSet, rtrIntfModeSet<&RouterIntf::redirects>),
    SIM_OP(rpcclt_openapiRtrIntfIpDestUnreachableModeSet, rtrIntfModeSet<&RouterIntf::destUnreachable>),
    SIM_OP(rpcclt_openapiRtrIntfRtrAdminModeSet, rtrIntfModeSet<&RouterIntf::adminMode>),
    SIM_OP(rpcclt_openapiIpRouteAdd, ipRouteAdd),
    SIM_OP(rpcclt_openapiIpRouteDel, ipRouteDel),
    SIM_OP(rpcclt_openapiHashIntfUnitSlotPortGet, unitSlotPort),
    SIM_OP(rpcclt_openapiRtrVlanIntfCreate, rtrVlanIntfCreate),
    SIM_OP(rpcclt_openapiRtrVlanIntfDelete, rtrVlanIntfDelete),
};

}  // namespace
}  // namespace sim
