// Route commands of the simulated CLI: static routes ("ip route"), which go
// through the same rules as the control API's static route operations
// (model_routes.h), and the show commands of the IPv4 route table and its
// summary.
#include <cstring>

#include "sim/addr.h"
#include "sim/cli_engine.h"
#include "sim/cli_show.h"

namespace sim {
namespace cli {

namespace {

// ip route <network> <mask> <next hop> [<preference>]: the model's verdict
// as the CLI gives it. Repeating a route as it is changes nothing and is
// no fault.
Outcome routeAdd(Session& s, const Args& a, uint32_t pref)
{
    uint32_t net = dotted(a.param(0)), mask = dotted(a.param(1)), gw = dotted(a.param(2));
    if (maskOf(maskLen(mask)) != mask)
        return refuseParam(1);
    uint8_t prefix[16] = {};
    memcpy(prefix, &net, 4);
    NextHop hop;
    memset(&hop, 0, sizeof hop);
    hop.family = kFamilyIpv4;
    memcpy(hop.addr, &gw, 4);
    switch (staticRouteAdd(s.st, kFamilyIpv4, prefix, maskLen(mask), hop, pref)) {
    case StaticVerdict::kAdded:
    case StaticVerdict::kUpdated:
        s.changed = true;
        return accepted();
    case StaticVerdict::kUnchanged:
        return accepted();
    case StaticVerdict::kBadHop:
        return refuseParam(2);
    case StaticVerdict::kBadPref:
        return refuseParam(3);
    case StaticVerdict::kNotStatic:
        return refuse("the network is a connected route.");
    case StaticVerdict::kHopsFull:
        return refuse("the route has as many next hops as it can.");
    default:
        return refuseParam(0);
    }
}

Outcome routeAddDefaultPref(Session& s, const Args& a) { return routeAdd(s, a, 1); }
Outcome routeAddPref(Session& s, const Args& a) { return routeAdd(s, a, a.number(3)); }

// no ip route <network> <mask> [<next hop>]: the route, or one of its next hops.
Outcome routeDelete(Session& s, const Args& a)
{
    uint32_t net = dotted(a.param(0)), mask = dotted(a.param(1));
    if (maskOf(maskLen(mask)) != mask)
        return refuseParam(1);
    uint8_t prefix[16] = {}, gw[16] = {};
    memcpy(prefix, &net, 4);
    uint32_t hop = a.params.size() > 2 ? dotted(a.param(2)) : 0;
    memcpy(gw, &hop, 4);
    switch (staticRouteDelete(s.st, kFamilyIpv4, prefix, maskLen(mask), a.params.size() > 2 ? gw : nullptr)) {
    case StaticVerdict::kUpdated:
        s.changed = true;
        return accepted();
    case StaticVerdict::kHopNotFound:
        return refuseParam(2);
    default:
        return refuse("no such static route.");
    }
}

const CommandRegistrar kRouteRows[] = {
    {kModeConfig, "ip route <ipv4> <mask> <ipv4>", routeAddDefaultPref},
    {kModeConfig, "ip route <ipv4> <mask> <ipv4> <uint>", routeAddPref},
    {kModeConfig, "no ip route <ipv4> <mask>", routeDelete},
    {kModeConfig, "no ip route <ipv4> <mask> <ipv4>", routeDelete},
};

// The route code of a protocol: its registered one-word code, "K" otherwise.
std::string routeCode(const RoutingModel& m, const RouteRecord& r)
{
    auto it = m.protocols.find(r.protoId);
    if (it == m.protocols.end() || it->second.code.empty() || it->second.code.size() > 3 ||
        it->second.code.find_first_of(" \t") != std::string::npos)
        return "K";
    return it->second.code;
}

// show ip route: a legend, then one line per IPv4 route in table order,
// "<code> <prefix>/<len> [<pref>/<metric>]" followed by "directly
// connected,   <intf>" or "via <next hop>,   <intf>"; further next hops of
// the route on lines of their own under the first.
bool showIpRoute(const SwitchState& st, const Args&, std::string* out)
{
    *out += "Route Codes: R - RIP Derived, O - OSPF Derived, C - Connected, S - Static\n"
            "       B - BGP Derived, IA - OSPF Inter Area, K - Kernel\n"
            "       E1 - OSPF External Type 1, E2 - OSPF External Type 2\n\n";
    const RoutingModel& m = st.routing;
    for (const Route& r : m.routes) {
        if (r.rec.family != kFamilyIpv4)
            continue;
        std::string code = routeCode(m, r.rec);
        bool connected = r.rec.protoId == kProtoLocal;
        std::string head = format("%-6s %s/%u [%u/%u] ", code.c_str(), dottedText(v4Of(r.rec.destPfx)).c_str(),
                                  r.rec.pfxLen, connected ? 0u : r.rec.pref, connected ? 1u : r.rec.metric);
        if (r.hops.empty()) {
            *out += head + "Null0\n";
            continue;
        }
        for (size_t i = 0; i < r.hops.size(); ++i) {
            const NextHop& h = r.hops[i];
            std::string name = intfName(st, h.ifNum);
            std::string text = connected ? "directly connected," : "via " + dottedText(v4Of(h.addr)) + ",";
            if (name.empty() && !connected)
                text.pop_back();
            *out += (i == 0 ? head : std::string(head.size(), ' ')) + text + (name.empty() ? "" : "   " + name) +
                    "\n";
        }
    }
    return true;
}

// show ip route summary: counters of the IPv4 routes, "(n)" high marks.
bool showIpRouteSummary(const SwitchState& st, const Args&, std::string* out)
{
    uint32_t connected = 0, statics = 0, ospf = 0, reject = 0, ecmp = 0, hopCount = 0;
    for (const Route& r : st.routing.routes) {
        if (r.rec.family != kFamilyIpv4)
            continue;
        connected += r.rec.protoId == kProtoLocal;
        statics += r.rec.protoId == kProtoStatic;
        ospf += r.rec.protoId == kProtoOspf;
        reject += r.rec.rejectRoute != 0;
        ecmp += r.hops.size() > 1;
        hopCount += r.rec.protoId == kProtoLocal ? 0 : static_cast<uint32_t>(r.hops.size());
    }
    uint32_t best = connected + statics + ospf;
    *out += "IP Routing Table Summary\n\n";
    *out += labelLine("Connected Routes", std::to_string(connected));
    *out += labelLine("Static Routes", std::to_string(statics));
    *out += labelLine("RIP Routes", "0");
    *out += labelLine("OSPF Routes", std::to_string(ospf));
    *out += labelLine("Reject Routes", std::to_string(reject));
    *out += labelLine("Total routes", std::to_string(best + reject));
    *out += "\n";
    *out += labelLine("Best Routes", format("%u (%u)", best, best));
    *out += labelLine("Alternate Routes", "0");
    *out += labelLine("Route Adds", "0");
    *out += labelLine("Route Modifies", "0");
    *out += labelLine("Route Deletes", "0");
    *out += labelLine("Unresolved Route Adds", "0");
    *out += labelLine("Invalid Route Adds", "0");
    *out += labelLine("Failed Route Adds", "0");
    *out += labelLine("Kernel Failed Route Adds", "0");
    *out += labelLine("Hardware Failed Route Adds", "0");
    *out += labelLine("Reserved Locals", "0");
    *out += "\n";
    *out += labelLine("Unique Next Hops", format("%u (%u)", hopCount, hopCount));
    *out += labelLine("Next Hop Groups", format("%u (%u)", statics, statics));
    *out += labelLine("ECMP Groups", format("%u (%u)", ecmp, ecmp));
    *out += labelLine("ECMP Routes", std::to_string(ecmp));
    return true;
}

const ShowRegistrar kRouteShowRows[] = {
    {"show ip route", showIpRoute},
    {"show ip route summary", showIpRouteSummary},
};

}  // namespace
}  // namespace cli
}  // namespace sim
