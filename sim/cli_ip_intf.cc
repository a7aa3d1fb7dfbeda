// Interface commands of the simulated CLI on the routing interfaces of
// model_ip_intf.h (the set the control API changes too): ARP and bandwidth
// settings of an interface, "show ip interface" and the IPv4 counters.
#include <cstdio>

#include "sim/addr.h"
#include "sim/cli_engine.h"
#include "sim/cli_show.h"

namespace sim {
namespace cli {

namespace {

const char* const kNoRoutingIntf = "the VLAN has no routing interface.";

// The interface the session addresses: the port or LAG, or the VLAN routing
// interface of "interface vlan N"; 0 when it has none.
uint32_t sessionIntf(const Session& s)
{
    return s.intIfNum ? s.intIfNum : vlanRoutingIntf(s.st.routing, s.vlanId);
}

// ip local-proxy-arp, ip gratuitous-arp, ip unnumbered gratuitous-arp and their "no" forms.
template <uint32_t RouterIntf::*F, uint32_t V>
Outcome intfFlag(Session& s, const Args&)
{
    uint32_t n = sessionIntf(s);
    if (!n)
        return refuse(kNoRoutingIntf);
    const RouterIntf* r = findRouterIntf(s.st.routing, n);
    if ((r ? r->*F : RouterIntf().*F) != V)
        assign(s, routerIntfOf(s.st.routing, n).*F, V);
    return accepted();
}

Outcome bandwidthSet(Session& s, const Args& a)
{
    uint32_t n = sessionIntf(s);
    if (!n)
        return refuse(kNoRoutingIntf);
    uint32_t kbps = a.number(0);
    if (kbps < 1 || kbps > 10000000)
        return refuseParam(0);
    assign(s, routerIntfOf(s.st.routing, n).bandwidth, kbps);
    return accepted();
}

Outcome bandwidthClear(Session& s, const Args&)
{
    uint32_t n = sessionIntf(s);
    if (!n)
        return refuse(kNoRoutingIntf);
    if (findRouterIntf(s.st.routing, n))
        assign(s, routerIntfOf(s.st.routing, n).bandwidth, 0u);
    return accepted();
}

const CommandRegistrar kIpIntfRows[] = {
    {kModeInterface, "ip local-proxy-arp", intfFlag<&RouterIntf::localProxyArp, 1>},
    {kModeInterface, "no ip local-proxy-arp", intfFlag<&RouterIntf::localProxyArp, 0>},
    {kModeInterface, "ip gratuitous-arp", intfFlag<&RouterIntf::gratArp, 1>},
    {kModeInterface, "no ip gratuitous-arp", intfFlag<&RouterIntf::gratArp, 0>},
    {kModeInterface, "ip unnumbered gratuitous-arp", intfFlag<&RouterIntf::unnumberedGratArp, 1>},
    {kModeInterface, "no ip unnumbered gratuitous-arp", intfFlag<&RouterIntf::unnumberedGratArp, 0>},
    {kModeInterface, "bandwidth <uint>", bandwidthSet},
    {kModeInterface, "no bandwidth", bandwidthClear},
};

// show ip interface <port>: the IP settings of a port as label lines.
bool showIpInterface(const SwitchState& st, const Args& a, std::string* out)
{
    std::string t = a.param(0);
    unsigned u = 1, sl = 0, p = 0;
    char extra;
    if (sscanf(t.c_str(), "%u/%u/%u%c", &u, &sl, &p, &extra) != 3) {
        u = 1;
        if (sscanf(t.c_str(), "%u/%u%c", &sl, &p, &extra) != 2)
            return false;
    }
    const Interface* port = nullptr;
    for (const auto& kv : st.interfaces)
        if (kv.second.type == kIfPhysical && kv.second.unit == u && kv.second.slot == sl && kv.second.port == p)
            port = &kv.second;
    if (!port)
        return false;
    const RouterIntf* ri = findRouterIntf(st.routing, port->intIfNum);
    RouterIntf r = ri ? *ri : RouterIntf();
    const IntfAddr* primary = intfAddr(&r, kFamilyIpv4, 0);
    bool active = primary && r.adminMode && port->adminUp && port->linkUp;
    *out += labelLine("Routing Interface Status", active ? "Up" : "Down");
    *out += labelLine("Primary IP Address",
                      primary ? dottedText(v4Of(primary->addr)) + "/" + dottedText(maskOf(primary->pfxLen))
                              : "0.0.0.0/0.0.0.0");
    *out += labelLine("Method", primary ? "manual" : "none");
    *out += labelLine("Routing Mode", enableText(r.adminMode));
    *out += labelLine("Administrative Mode", enableText(port->adminUp));
    *out += labelLine("Forward Net Directed Broadcasts", enableText(r.netDirBcast));
    *out += labelLine("Active State", active ? "Active" : "Inactive");
    *out += labelLine("Link Speed Data Rate", port->linkUp ? format("%u Full", port->speedMbps) : "Inactive");
    *out += labelLine("MAC Address", "02:1A:2B:00:00:01");
    *out += labelLine("Encapsulation Type", "Ethernet");
    *out += labelLine("IP MTU", std::to_string(r.ipMtu));
    *out += labelLine("Bandwidth", format("%u kbps", r.bandwidth ? r.bandwidth : port->speedMbps * 1000));
    *out += labelLine("Destination Unreachables", enabledText(r.destUnreachable));
    *out += labelLine("ICMP Redirects", enabledText(r.redirects));
    *out += labelLine("Proxy ARP", enabledText(r.proxyArp));
    *out += labelLine("Local Proxy ARP", enabledText(r.localProxyArp));
    *out += labelLine("Gratuitous ARP", enabledText(r.gratArp));
    *out += labelLine("Unnumbered Gratuitous ARP", enabledText(r.unnumberedGratArp));
    *out += labelLine("Auto-State Mode", enabledText(autoStateOf(st, port->intIfNum)));
    *out += labelLine("Interface Suspended State", "None");
    return true;
}

// show ip stats: the IPv4 and ICMP counters as label lines.
bool showIpStats(const SwitchState& st, const Args&, std::string* out)
{
    for (size_t i = 0; i < kIpStatsCount; ++i)
        *out += labelLine(kIpStatsNames[i], std::to_string(st.routing.ipStats[i]));
    return true;
}

const ShowRegistrar kIpIntfShowRows[] = {
    {"show ip interface <port>", showIpInterface},
    {"show ip stats", showIpStats},
};

}  // namespace
}  // namespace cli
}  // namespace sim
