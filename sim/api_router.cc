// Control API operations of the router: its admin modes and ICMP settings,
// route preferences, the VRF, protocol and route type registration, and
// the clients of route changes (model_routes.h).
#include "sim/api_util.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

template <uint32_t Router::*F, uint32_t Lo, uint32_t Hi>
int32_t routerSet(Call& c)
{
    if (c.u32(0) < Lo || c.u32(0) > Hi)
        return kInvalid;
    c.st.routing.router.*F = c.u32(0);
    c.changed = true;
    return 0;
}

uint32_t* adminOf(Call& c, uint32_t af)
{
    Router& r = c.st.routing.router;
    return af == kFamilyIpv4 ? &r.adminV4 : af == kFamilyIpv6 ? &r.adminV6 : nullptr;
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
    c.setU32(1, c.st.routing.router.icmpBurst);
    c.setU32(2, c.st.routing.router.icmpInterval);
    return 0;
}

int32_t icmpEchoReplyModeGet(Call& c)
{
    if (!defaultVrfName(c.text(0)))
        return kNotFound;
    c.setU32(1, c.st.routing.router.echoReply);
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

int32_t ipRouterPrefGet(Call& c) { return prefGet(c, c.st.routing.router.pref4, c.u32(0), 1); }

int32_t ip6RouterPrefGet(Call& c) { return prefGet(c, c.st.routing.router.pref6, c.u32(0), 1); }

int32_t ipRouterPrefSet(Call& c) { return prefSet(c, c.st.routing.router.pref4); }

int32_t ip6RouterPrefSet(Call& c) { return prefSet(c, c.st.routing.router.pref6); }

int32_t ipRouterPrefGetVr(Call& c)
{
    return c.u32(0) ? kInvalid : prefGet(c, c.st.routing.router.pref4, c.u32(1), 2);
}

int32_t rtoFreeRouteCountGet(Call& c)
{
    if (c.u32(0) != 0)
        return kInvalid;
    c.setU32(1, kMaxRoutes - static_cast<uint32_t>(c.st.routing.routes.size()));
    return 0;
}

int32_t protocolRegister(Call& c)
{
    uint32_t af = c.u32(1);
    std::string name = c.text(2);
    if (c.u32(0) != 0 || !validFamily(af) || name.empty())
        return kInvalid;
    RoutingModel& m = c.st.routing;
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
    auto it = c.st.routing.protocols.find(c.u32(2));
    if (c.u32(0) != 0)
        return kInvalid;
    if (it == c.st.routing.protocols.end() || it->second.family != c.u32(1))
        return kNotFound;
    c.st.routing.protocols.erase(it);
    c.changed = true;
    return 0;
}

int32_t routeTypeRegister(Call& c)
{
    uint32_t af = c.u32(0), proto = c.u32(1);
    std::string name = c.text(2);
    RoutingModel& m = c.st.routing;
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
    auto it = c.st.routing.routeTypes.find(c.u32(1));
    if (it == c.st.routing.routeTypes.end() || it->second.family != c.u32(0))
        return kNotFound;
    c.st.routing.routeTypes.erase(it);
    c.changed = true;
    return 0;
}

int32_t routeTypeInfoGet(Call& c)
{
    auto it = c.st.routing.routeTypes.find(c.u32(0));
    if (it == c.st.routing.routeTypes.end())
        return kNotFound;
    auto p = c.st.routing.protocols.find(it->second.protoId);
    c.setText(1, p == c.st.routing.protocols.end() ? "" : p->second.name);
    c.setText(2, it->second.name);
    return 0;
}

int32_t protoNameNextGet(Call& c)
{
    auto it = c.st.routing.protocols.upper_bound(c.u32(0));
    if (it == c.st.routing.protocols.end())
        return kNotFound;
    c.setText(1, it->second.name);
    c.setU32(2, it->first);
    return 0;
}

int32_t registerClient(Call& c, uint32_t kind, uint32_t family, uint32_t pid, const std::string& name, size_t outArg)
{
    if (name.empty() || (kind != kPolicyClient && !validFamily(family)))
        return kInvalid;
    RoutingModel& m = c.st.routing;
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
    auto it = c.st.routing.clients.find(id);
    return it == c.st.routing.clients.end() || it->second.kind != kind ? nullptr : &it->second;
}

int32_t deregisterClient(Call& c, uint32_t id, uint32_t kind)
{
    if (!clientOf(c, id, kind))
        return kNotFound;
    c.st.routing.clients.erase(id);
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

bool protocolKnown(Call& c, uint32_t p) { return c.st.routing.protocols.count(p) != 0; }

int32_t nsfRouteSource(Call& c) { return c.u32(0) == 0 && protocolKnown(c, c.u32(1)) ? 0 : kInvalid; }

int32_t prefixListApply(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 1);
    if (c.text(0).empty() || !validFamily(a.family) || c.u32(2) > maxLen(a.family))
        return kInvalid;
    return kNotFound;  // no prefix lists are configured
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiRoutingProtocolRegister, protocolRegister),
    SIM_OP(rpcclt_openapiRouteTypeRegister, routeTypeRegister),
    SIM_OP(rpcclt_openapiRoutingProtocolDeregister, protocolDeregister),
    SIM_OP(rpcclt_openapiRouteTypeDeregister, routeTypeDeregister),
    SIM_OP(rpcclt_openapiRouteTypeInfoGet, routeTypeInfoGet),
    SIM_OP(rpcclt_openapiRouteProtoNameLenMax, constantGet<63>),
    SIM_OP(rpcclt_openapiRouteTypeNameLenMax, constantGet<63>),
    SIM_OP(rpcclt_openapiBestRouteEventRegister, bestRouteEventRegister),
    SIM_OP(rpcclt_openapiBestRouteEventDeregister, bestRouteEventDeregister),
    SIM_OP(rpcclt_openapiBestRouteChangeNextGet, bestRouteChangeNext),
    SIM_OP(rpcclt_openapiBestRouteChangeNextGetMult, bestRouteChangeNextMult),
    SIM_OP(rpcclt_openapiRouterEventRegister, routerEventRegister),
    SIM_OP(rpcclt_openapiRouterEventDeregister, routerEventDeregister),
    SIM_OP(rpcclt_openapiRouterEventAcknowledge, routerEventAcknowledge),
    SIM_OP(rpcclt_openapiVrfNameGet, vrfNameGet),
    SIM_OP(rpcclt_openapiVrfIntfNameGet, vrfIntfNameGet),
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
    SIM_OP(rpcclt_openapiRtoFreeRouteCountGet, rtoFreeRouteCountGet),
    SIM_OP(rpcclt_openapiRtrAdminModeGetVrf, rtrAdminModeGetVrf),
    SIM_OP(rpcclt_openapiIpMapNsfRouteSource, nsfRouteSource),
    SIM_OP(rpcclt_openapiIpMapInitialRoutesDone, nsfRouteSource),
    SIM_OP(rpcclt_openapiIpRouterPreferenceGet, ipRouterPrefGet),
    SIM_OP(rpcclt_openapiIpRouterPreferenceSet, ipRouterPrefSet),
    SIM_OP(rpcclt_openapiIp6RouterPreferenceGet, ip6RouterPrefGet),
    SIM_OP(rpcclt_openapiIp6RouterPreferenceSet, ip6RouterPrefSet),
    SIM_OP(rpcclt_openapiIpRouterPreferenceGetVr, ipRouterPrefGetVr),
    SIM_OP(rpcclt_openapiRtrAdminModeSet, rtrAdminModeSet),
    SIM_OP(rpcclt_openapiIpRedirectsModeSet, (routerSet<&Router::redirects, 0, 1>)),
    SIM_OP(rpcclt_openapiIpICMPEchoReplyModeSet, (routerSet<&Router::echoReply, 0, 1>)),
};

}  // namespace
}  // namespace sim
