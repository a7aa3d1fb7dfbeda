// Control API operations of routing interfaces and their addresses: the
// IPv4 address table, routing interface queries and settings, VLAN routing
// interfaces. They change the model through model_ip_intf.h, as the CLI's
// interface commands do.
#include <arpa/inet.h>

#include "sim/api_util.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

IntfAddr addrOf(const InetPrefix& p)
{
    IntfAddr a;
    a.family = p.family;
    a.addr.assign(reinterpret_cast<const char*>(p.addr), 16);
    a.pfxLen = p.pfxLen;
    return a;
}

// openapiRtrIntfIpAddrAdd (family, intf, method, &prefix)
int32_t rtrIntfIpAddrAdd(Call& c)
{
    InetPrefix p = recIn<InetPrefix>(c, 3);
    if (p.family != c.u32(0))
        return kInvalid;
    return changedIfOk(c, addressAdd(c.st, c.u32(1), addrOf(p)));
}

int32_t rtrIntfIpAddrDel(Call& c)
{
    InetPrefix p = recIn<InetPrefix>(c, 3);
    return changedIfOk(c, addressDelete(c.st, c.u32(1), c.u32(0), addrOf(p).addr));
}

int32_t rtrVlanIntfCreate(Call& c) { return changedIfOk(c, vlanIntfCreate(c.st, c.u32(0))); }
int32_t rtrVlanIntfDelete(Call& c) { return changedIfOk(c, vlanIntfDelete(c.st, c.u32(0))); }

// The bandwidth the CLI set on the interface, or its link speed (kbit/s).
int32_t intfBandwidthGet(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(1));
    if (!validFamily(c.u32(0)) || it == c.st.interfaces.end())
        return kInvalid;
    const RouterIntf* r = findRouterIntf(c.st.routing, c.u32(1));
    c.setU32(2, r && r->bandwidth ? r->bandwidth : it->second.speedMbps * 1000);
    return 0;
}

int32_t adEntAddrGetNext(Call& c)
{
    uint32_t ip = c.u32(0), intf = c.u32(1);
    for (const auto& e : ipv4Table(c.st.routing))
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
    if (!ipv4Entry(c.st.routing, c.u32(0), &intf))
        return kNotFound;
    c.setU32(1, intf);
    return 0;
}

int32_t adEntNetMaskGet(Call& c)
{
    const IntfAddr* a = ipv4Entry(c.st.routing, c.u32(0));
    if (!a)
        return kNotFound;
    c.setU32(1, maskOf(a->pfxLen));
    return 0;
}

int32_t adEntBCastGet(Call& c)
{
    if (!ipv4Entry(c.st.routing, c.u32(0)))
        return kNotFound;
    c.setU32(1, 1);
    return 0;
}

int32_t adEntReasmMaxSizeGet(Call& c)
{
    if (!ipv4Entry(c.st.routing, c.u32(0)))
        return kNotFound;
    c.setU32(1, 65535);
    return 0;
}

int32_t adEntAddrGet(Call& c)
{
    uint32_t intf;
    return ipv4Entry(c.st.routing, c.u32(1), &intf) && intf == c.u32(0) ? 0 : kNotFound;
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

int32_t rtrIntfNext(Call& c, uint32_t after, size_t outArg)
{
    for (const auto& kv : c.st.routing.intfs)
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
    const RouterIntf* r = findRouterIntf(c.st.routing, c.u32(0));
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
    const RouterIntf* r = findRouterIntf(c.st.routing, c.u32(1));
    c.setU32(2, r && isRoutingIntf(*r) && it->second.linkUp && r->adminMode ? 1 : 0);
    return 0;
}

int32_t rtrIntfIpAddrGet(Call& c)
{
    uint32_t af = c.u32(0), intf = c.u32(1);
    if (!validFamily(af) || !intfExists(c, intf))
        return kInvalid;
    InetAddr out;
    memset(&out, 0, sizeof out);
    uint32_t len = 0;
    if (const IntfAddr* a = intfAddr(findRouterIntf(c.st.routing, intf), af, 0)) {
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
    const IntfAddr* a = intfAddr(findRouterIntf(c.st.routing, intf), af, 1);
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
    const RouterIntf* r = findRouterIntf(c.st.routing, c.u32(1));
    c.setU32(2, r ? r->ipMtu : 1500);
    return 0;
}

int32_t rtrIntfMtuSet(Call& c)
{
    uint32_t mtu = c.u32(2);
    if (!validFamily(c.u32(0)) || !intfExists(c, c.u32(1)) || mtu < 68 || mtu > 9198)
        return kInvalid;
    routerIntfOf(c.st.routing, c.u32(1)).ipMtu = mtu;
    c.changed = true;
    return 0;
}

template <uint32_t RouterIntf::*F>
int32_t rtrIntfModeGet(Call& c)
{
    if (!intfExists(c, c.u32(0)))
        return kInvalid;
    const RouterIntf* r = findRouterIntf(c.st.routing, c.u32(0));
    c.setU32(1, r ? r->*F : RouterIntf{}.*F);
    return 0;
}

template <uint32_t RouterIntf::*F>
int32_t rtrIntfModeSet(Call& c)
{
    if (!intfExists(c, c.u32(0)) || c.u32(1) > 1)
        return kInvalid;
    routerIntfOf(c.st.routing, c.u32(0)).*F = c.u32(1);
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

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiCpuIntfGet, constantGet<kCpuIntf>),
    SIM_OP(rpcclt_openapiIpAdEntAddrGetNext, adEntAddrGetNext),
    SIM_OP(rpcclt_openapiIpEntIfIndexGet, entIfIndexGet),
    SIM_OP(rpcclt_openapiIpAdEntNetMaskGet, adEntNetMaskGet),
    SIM_OP(rpcclt_openapiIpAdEntBCastGet, adEntBCastGet),
    SIM_OP(rpcclt_openapiIpAdEntReasmMaxSizeGet, adEntReasmMaxSizeGet),
    SIM_OP(rpcclt_openapiInetAton, inetAton),
    SIM_OP(rpcclt_openapiIpAdEntAddrGet, adEntAddrGet),
    SIM_OP(rpcclt_openapiMaxRoutingInterfacesGet, constantGet<128>),
    SIM_OP(rpcclt_openapiRtrIntfNextGetVrf, rtrIntfNextGetVrf),
    SIM_OP(rpcclt_openapiRtrIntfNextGet, rtrIntfNextGet),
    SIM_OP(rpcclt_openapiRtrIntfTypeGet, rtrIntfTypeGet),
    SIM_OP(rpcclt_openapiRtrIntfVlanIdGet, rtrIntfVlanIdGet),
    SIM_OP(rpcclt_openapiIntfNameSizeGet, constantGet<60>),
    SIM_OP(rpcclt_openapiRtrIntfNameGet, rtrIntfNameGet),
    SIM_OP(rpcclt_openapiRtrIntfIpStackIfIndexGet, stackIfIndex),
    SIM_OP(rpcclt_openapiRtrIntfIpStackIfNameGet, ipStackIfNameGet),
    SIM_OP(rpcclt_openapiRtrIntfIpStackStkNameGet, ipStackStkNameGet),
    SIM_OP(rpcclt_openapiRtrIntfIpStackDrvNameGet, ipStackDrvNameGet),
    SIM_OP(rpcclt_openapiRtrIntfUnitSlotPortGet, unitSlotPort),
    SIM_OP(rpcclt_openapiRtrIntfL3MacAddressGet, l3MacGet),
    SIM_OP(rpcclt_openapiRtrIntfOperModeGet, operModeGet),
    SIM_OP(rpcclt_openapiRtrIntfIpAddrGet, rtrIntfIpAddrGet),
    SIM_OP(rpcclt_openapiRtrIntfSecIpAddrGet, rtrIntfSecIpAddrGet),
    SIM_OP(rpcclt_openapiIntfIpMtuGet, intfIpMtuGet),
    SIM_OP(rpcclt_openapiIntfBandwidthGet, intfBandwidthGet),
    SIM_OP(rpcclt_openapiRtrICMPUnreachablesModeGet, rtrIntfModeGet<&RouterIntf::destUnreachable>),
    SIM_OP(rpcclt_openapiRtrICMPRedirectsModeGet, rtrIntfModeGet<&RouterIntf::redirects>),
    SIM_OP(rpcclt_openapiIntfIsUnnumbered, intfIsUnnumbered),
    SIM_OP(rpcclt_openapiStackIfIndexIntIfNumGet, stackIfIndexIntIfNumGet),
    SIM_OP(rpcclt_openapiRtrIntfIpAddrAdd, rtrIntfIpAddrAdd),
    SIM_OP(rpcclt_openapiRtrIntfIpAddrDel, rtrIntfIpAddrDel),
    SIM_OP(rpcclt_openapiRtrIntfMTUSet, rtrIntfMtuSet),
    SIM_OP(rpcclt_openapiRtrIntfIpNetDirBroadcastModeSet, rtrIntfModeSet<&RouterIntf::netDirBcast>),
    SIM_OP(rpcclt_openapiRtrIntfIpProxyArpModeSet, rtrIntfModeSet<&RouterIntf::proxyArp>),
    SIM_OP(rpcclt_openapiRtrIntfIpRedirectsModeSet, rtrIntfModeSet<&RouterIntf::redirects>),
    SIM_OP(rpcclt_openapiRtrIntfIpDestUnreachableModeSet, rtrIntfModeSet<&RouterIntf::destUnreachable>),
    SIM_OP(rpcclt_openapiRtrIntfRtrAdminModeSet, rtrIntfModeSet<&RouterIntf::adminMode>),
    SIM_OP(rpcclt_openapiHashIntfUnitSlotPortGet, unitSlotPort),
    SIM_OP(rpcclt_openapiRtrVlanIntfCreate, rtrVlanIntfCreate),
    SIM_OP(rpcclt_openapiRtrVlanIntfDelete, rtrVlanIntfDelete),
};

}  // namespace
}  // namespace sim
