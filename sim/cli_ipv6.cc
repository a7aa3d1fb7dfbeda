// IPv6 and router advertisement commands of the simulated CLI: the global
// IPv6 settings, the IPv6 and neighbour discovery settings of VLAN routing
// interfaces (model_ipv6.h), and the show commands that render them with
// the addresses of the routing interfaces. Every handler checks first and
// changes the model only when it accepts the whole command.
#include <arpa/inet.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"

namespace sim {
namespace cli {

namespace {

const char* const kVlanOnly = "the command applies to VLAN routing interfaces only.";

// The IPv6 settings of the VLAN of "interface vlan N"; nullptr in other modes.
Ipv6Intf* vlanIntf(Session& s)
{
    return s.vlanId ? &s.st.ipv6.vlans[s.vlanId] : nullptr;
}

// A bounded number parameter, or the refusal of parameter `i`.
bool inRange(const Args& a, size_t i, uint32_t lo, uint32_t hi)
{
    uint32_t v = a.number(i);
    return a.param(i) == std::to_string(v) && v >= lo && v <= hi;
}

// ---------------------------------------------------------------------------
// Global IPv6 settings

template <uint32_t Ipv6Global::*F, uint32_t V>
Outcome globalFlag(Session& s, const Args&)
{
    assign(s, s.st.ipv6.global.*F, V);
    return accepted();
}

template <uint32_t Ipv6Global::*F, uint32_t Lo, uint32_t Hi>
Outcome globalValue(Session& s, const Args& a)
{
    if (!inRange(a, 0, Lo, Hi))
        return refuseParam(0);
    assign(s, s.st.ipv6.global.*F, a.number(0));
    return accepted();
}

// ---------------------------------------------------------------------------
// Interface vlan: IPv6 and neighbour discovery

template <uint32_t Ipv6Intf::*F, uint32_t V>
Outcome intfFlag(Session& s, const Args&)
{
    Ipv6Intf* v = vlanIntf(s);
    if (!v)
        return refuse(kVlanOnly);
    assign(s, v->*F, V);
    return accepted();
}

template <uint32_t Ipv6Intf::*F, uint32_t Lo, uint32_t Hi>
Outcome intfValue(Session& s, const Args& a)
{
    if (!s.vlanId)
        return refuse(kVlanOnly);
    if (!inRange(a, 0, Lo, Hi))
        return refuseParam(0);
    assign(s, vlanIntf(s)->*F, a.number(0));
    return accepted();
}

Outcome routerPreference(Session& s, const Args& a)
{
    Ipv6Intf* v = vlanIntf(s);
    if (!v)
        return refuse(kVlanOnly);
    std::string p = a.param(0);
    assign(s, v->raPreference, p == "high" ? uint32_t(kRaPrefHigh) : p == "low" ? uint32_t(kRaPrefLow) : uint32_t(kRaPrefMedium));
    return accepted();
}

// "addr/len" of an IPv6 prefix, the address in its canonical text.
bool ipv6Prefix(const std::string& text, std::string* addr, uint32_t* len)
{
    size_t slash = text.find('/');
    if (slash == std::string::npos || slash == 0 || slash + 1 >= text.size() || slash >= INET6_ADDRSTRLEN)
        return false;
    std::string l = text.substr(slash + 1);
    if (l.size() > 3 || l.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *len = static_cast<uint32_t>(std::stoul(l));
    unsigned char bytes[16];
    if (*len > 128 || inet_pton(AF_INET6, text.substr(0, slash).c_str(), bytes) != 1)
        return false;
    char buf[INET6_ADDRSTRLEN];
    inet_ntop(AF_INET6, bytes, buf, sizeof buf);
    *addr = buf;
    return true;
}

// ipv6 nd prefix <prefix/len> <valid> <preferred> [no-onlink] [no-autoconfig]
Outcome prefixWith(Session& s, const Args& a, uint32_t onLink, uint32_t autonomous)
{
    if (!s.vlanId)
        return refuse(kVlanOnly);
    RaPrefix p;
    if (!ipv6Prefix(a.param(0), &p.prefix, &p.pfxLen))
        return refuseParam(0);
    p.validLife = a.number(1);
    p.prefLife = a.number(2);
    p.onLink = onLink;
    p.autonomous = autonomous;
    // A refused prefix leaves the VLAN without IPv6 settings as it was.
    auto it = s.st.ipv6.vlans.find(s.vlanId);
    Ipv6Intf v = it == s.st.ipv6.vlans.end() ? Ipv6Intf() : it->second;
    bool changed = false;
    if (!raPrefixSet(v, p, &changed))
        return refuse("the preferred lifetime exceeds the valid lifetime.");
    if (changed) {
        s.st.ipv6.vlans[s.vlanId] = v;
        s.changed = true;
    }
    return accepted();
}

Outcome prefixPlain(Session& s, const Args& a) { return prefixWith(s, a, 1, 1); }
Outcome prefixNoOnLink(Session& s, const Args& a) { return prefixWith(s, a, 0, 1); }
Outcome prefixNoAuto(Session& s, const Args& a) { return prefixWith(s, a, 1, 0); }
Outcome prefixNeither(Session& s, const Args& a) { return prefixWith(s, a, 0, 0); }

// auto-state: VLAN routing interfaces keep it with their IPv6 settings,
// ports and LAGs on their own.
Outcome autoState(Session& s, uint32_t on)
{
    if (Ipv6Intf* v = vlanIntf(s)) {
        assign(s, v->autoState, on);
        return accepted();
    }
    auto it = s.st.interfaces.find(s.intIfNum);
    if (it == s.st.interfaces.end())
        return refuse("the command applies to interfaces only.");
    uint32_t before = autoStateOf(s.st, s.intIfNum);
    s.st.ipv6.portAutoState[s.intIfNum] = on;
    s.changed = s.changed || before != on;
    return accepted();
}

Outcome autoStateOn(Session& s, const Args&) { return autoState(s, 1); }
Outcome autoStateOff(Session& s, const Args&) { return autoState(s, 0); }

const CommandRegistrar kIpv6Rows[] = {
    {kModeConfig, "ipv6 unicast-routing", globalFlag<&Ipv6Global::unicastRouting, 1>},
    {kModeConfig, "no ipv6 unicast-routing", globalFlag<&Ipv6Global::unicastRouting, 0>},
    {kModeConfig, "ipv6 neighbors dynamicrenew", globalFlag<&Ipv6Global::nbrsDynRenew, 1>},
    {kModeConfig, "no ipv6 neighbors dynamicrenew", globalFlag<&Ipv6Global::nbrsDynRenew, 0>},
    {kModeConfig, "ipv6 nud backoff-multiple <uint>", globalValue<&Ipv6Global::nudBackoff, 1, 5>},
    {kModeConfig, "ipv6 nud max-unicast-solicits <uint>", globalValue<&Ipv6Global::nudMaxUnicast, 1, 10>},
    {kModeConfig, "ipv6 nud max-multicast-solicits <uint>", globalValue<&Ipv6Global::nudMaxMulticast, 1, 255>},
    {kModeConfig, "ipv6 unresolved-traffic rate-limit <uint>",
     globalValue<&Ipv6Global::unresolvedRateLimit, 50, 1024>},
    {kModeConfig, "ipv6 hop-limit <uint>", globalValue<&Ipv6Global::hopLimit, 1, 255>},
    {kModeConfig, "no ipv6 hop-limit", globalFlag<&Ipv6Global::hopLimit, 64>},

    {kModeInterface, "ipv6 enable", intfFlag<&Ipv6Intf::enabled, 1>},
    {kModeInterface, "no ipv6 enable", intfFlag<&Ipv6Intf::enabled, 0>},
    {kModeInterface, "ipv6 unreachables", intfFlag<&Ipv6Intf::unreachables, 1>},
    {kModeInterface, "no ipv6 unreachables", intfFlag<&Ipv6Intf::unreachables, 0>},
    {kModeInterface, "ipv6 mtu <uint>", intfValue<&Ipv6Intf::mtu, 1280, 1500>},
    {kModeInterface, "no ipv6 mtu", intfFlag<&Ipv6Intf::mtu, 0>},
    {kModeInterface, "auto-state", autoStateOn},
    {kModeInterface, "no auto-state", autoStateOff},
    {kModeInterface, "ipv6 nd dad attempts <uint>", intfValue<&Ipv6Intf::dadTransmits, 0, 600>},
    {kModeInterface, "ipv6 nd ns-interval <uint>", intfValue<&Ipv6Intf::nsInterval, 1000, 4294967295u>},
    {kModeInterface, "no ipv6 nd ns-interval", intfFlag<&Ipv6Intf::nsInterval, 0>},
    {kModeInterface, "ipv6 nd reachable-time <uint>", intfValue<&Ipv6Intf::reachableTime, 0, 3600000>},
    {kModeInterface, "no ipv6 nd reachable-time", intfFlag<&Ipv6Intf::reachableTime, 0>},
    {kModeInterface, "ipv6 nd ra-interval <uint>", intfValue<&Ipv6Intf::raInterval, 4, 1800>},
    {kModeInterface, "no ipv6 nd ra-interval", intfFlag<&Ipv6Intf::raInterval, 600>},
    {kModeInterface, "ipv6 nd ra-lifetime <uint>", intfValue<&Ipv6Intf::raLifetime, 0, 9000>},
    {kModeInterface, "ipv6 nd mtu <uint>", intfValue<&Ipv6Intf::raMtu, 1280, 1500>},
    {kModeInterface, "no ipv6 nd mtu", intfFlag<&Ipv6Intf::raMtu, 0>},
    {kModeInterface, "ipv6 nd router-preference {high|medium|low}", routerPreference},
    {kModeInterface, "ipv6 nd managed-config-flag", intfFlag<&Ipv6Intf::managedFlag, 1>},
    {kModeInterface, "no ipv6 nd managed-config-flag", intfFlag<&Ipv6Intf::managedFlag, 0>},
    {kModeInterface, "ipv6 nd other-config-flag", intfFlag<&Ipv6Intf::otherFlag, 1>},
    {kModeInterface, "no ipv6 nd other-config-flag", intfFlag<&Ipv6Intf::otherFlag, 0>},
    {kModeInterface, "ipv6 nd hop-limit unspecified", intfFlag<&Ipv6Intf::hopLimitUnspec, 1>},
    {kModeInterface, "no ipv6 nd hop-limit unspecified", intfFlag<&Ipv6Intf::hopLimitUnspec, 0>},
    {kModeInterface, "ipv6 nd suppress-ra", intfFlag<&Ipv6Intf::suppress, 1>},
    {kModeInterface, "no ipv6 nd suppress-ra", intfFlag<&Ipv6Intf::suppress, 0>},
    {kModeInterface, "ipv6 nd prefix <word> <uint> <uint>", prefixPlain},
    {kModeInterface, "ipv6 nd prefix <word> <uint> <uint> no-onlink", prefixNoOnLink},
    {kModeInterface, "ipv6 nd prefix <word> <uint> <uint> no-autoconfig", prefixNoAuto},
    {kModeInterface, "ipv6 nd prefix <word> <uint> <uint> no-onlink no-autoconfig", prefixNeither},

};


// ---------------------------------------------------------------------------
// Show commands

std::string number(uint32_t v) { return std::to_string(v); }

// The VLANs with an IPv6 routing interface: those with a VLAN routing
// interface and those where IPv6 is enabled, in VLAN order.
std::set<uint32_t> ipv6Vlans(const SwitchState& st)
{
    std::set<uint32_t> vlans;
    for (const auto& kv : st.routing.intfs)
        if (kv.second.vlanId)
            vlans.insert(kv.second.vlanId);
    for (const auto& kv : st.ipv6.vlans)
        if (kv.second.enabled && st.vlans.count(kv.first))
            vlans.insert(kv.first);
    return vlans;
}

// The IPv6 addresses of a VLAN's routing interface, as "addr/len".
std::vector<std::string> ipv6Addresses(const SwitchState& st, uint32_t vlan)
{
    std::vector<std::string> out;
    for (const auto& kv : st.routing.intfs) {
        if (kv.second.vlanId != vlan)
            continue;
        for (const IntfAddr& a : kv.second.addrs) {
            if (a.family != kFamilyIpv6 || a.addr.size() < 16)
                continue;
            char buf[INET6_ADDRSTRLEN];
            inet_ntop(AF_INET6, a.addr.data(), buf, sizeof buf);
            out.push_back(format("%s/%u", buf, a.pfxLen));
        }
    }
    return out;
}

uint32_t operMode(const SwitchState& st, const Ipv6Intf& v)
{
    return v.enabled && st.ipv6.global.unicastRouting ? 1 : 0;
}

// show ipv6 brief: the global IPv6 settings.
bool showIpv6Brief(const SwitchState& st, const Args&, std::string* out)
{
    const Ipv6Global& g = st.ipv6.global;
    *out += labelLine("IPv6 Unicast Routing Mode", enableText(g.unicastRouting));
    *out += labelLine("IPv6 Hop Limit", number(g.hopLimit));
    *out += labelLine("ICMPv6 Rate Limit Error Interval", "1000 msec");
    *out += labelLine("ICMPv6 Rate Limit Burst Size", "100 messages");
    *out += labelLine("Maximum Routes", "256");
    *out += labelLine("IPv6 Unresolved Data Rate Limit", number(g.unresolvedRateLimit) + " pps");
    *out += labelLine("IPv6 Neighbors Dynamic Renew", enableText(g.nbrsDynRenew));
    *out += labelLine("IPv6 NUD Maximum Unicast Solicits", number(g.nudMaxUnicast));
    *out += labelLine("IPv6 NUD Maximum Multicast Solicits", number(g.nudMaxMulticast));
    *out += labelLine("IPv6 NUD Exponential Backoff Multiple", number(g.nudBackoff));
    return true;
}

// show ipv6 route summary: counters of the IPv6 routes of the route table.
bool showIpv6RouteSummary(const SwitchState& st, const Args&, std::string* out)
{
    uint32_t connected = 0, statics = 0, ospf = 0, reject = 0, ecmp = 0;
    std::set<std::string> hops;
    for (const Route& r : st.routing.routes) {
        if (r.rec.family != kFamilyIpv6)
            continue;
        connected += r.rec.protoId == 1;
        statics += r.rec.protoId == 2;
        ospf += r.rec.protoId == 3;
        reject += r.rec.rejectRoute != 0;
        ecmp += r.hops.size() > 1;
        for (const NextHop& h : r.hops)
            if (h.family == kFamilyIpv6)
                hops.insert(std::string(reinterpret_cast<const char*>(h.addr), 16) + number(h.ifNum));
    }
    uint32_t best = connected + statics + ospf;
    *out += "IPv6 Routing Table Summary\n\n";
    *out += labelLine("Connected Routes", number(connected));
    *out += labelLine("Static Routes", number(statics));
    *out += labelLine("OSPF Routes", number(ospf));
    *out += labelLine("Reject Routes", number(reject));
    *out += labelLine("Total routes", number(best + reject));
    *out += "\n";
    *out += labelLine("Best Routes", format("%u (%u)", best, best));
    *out += labelLine("Alternate Routes", "0");
    *out += labelLine("Route Adds", "0");
    *out += labelLine("Route Modifies", "0");
    *out += labelLine("Route Deletes", "0");
    *out += labelLine("Unresolved Route Adds", "0");
    *out += labelLine("Invalid Route Adds", "0");
    *out += labelLine("Failed Route Adds", "0");
    *out += labelLine("Hardware Failed Route Adds", "0");
    *out += labelLine("Reserved Locals", "0");
    *out += "\n";
    uint32_t n = static_cast<uint32_t>(hops.size());
    *out += labelLine("Unique Next Hops", format("%u (%u)", n, n));
    *out += labelLine("Next Hop Groups", format("%u (%u)", n, n));
    *out += labelLine("ECMP Groups", format("%u (%u)", ecmp, ecmp));
    *out += labelLine("ECMP Routes", number(ecmp));
    *out += labelLine("Truncated ECMP Routes", "0");
    *out += labelLine("ECMP Retries", "0");
    return true;
}

// show ipv6 interface brief: one line per IPv6 routing interface.
bool showIpv6InterfaceBrief(const SwitchState& st, const Args&, std::string* out)
{
    *out += "                Oper.\n"
            "Interface       Mode      IPv6 Address/Length\n";
    *out += dashes(15) + " " + dashes(8) + "  " + dashes(40) + "\n";
    for (uint32_t vlan : ipv6Vlans(st)) {
        auto it = st.ipv6.vlans.find(vlan);
        Ipv6Intf v = it == st.ipv6.vlans.end() ? Ipv6Intf() : it->second;
        std::vector<std::string> addrs = ipv6Addresses(st, vlan);
        std::string name = format("vlan %u", vlan);
        *out += format("%-15s %-8s  %s\n", name.c_str(), enabledText(operMode(st, v)),
                       addrs.empty() ? "" : addrs.front().c_str());
        for (size_t i = 1; i < addrs.size(); ++i)
            *out += format("%-15s %-8s  %s\n", "", "", addrs[i].c_str());
    }
    return true;
}

// show ipv6 vlan: the VLANs with IPv6 routing interfaces and their addresses.
bool showIpv6Vlan(const SwitchState& st, const Args&, std::string* out)
{
    *out += "MAC Address used by Routing VLANs: 02:1A:2B:00:00:01\n\n";
    *out += "VLAN ID  Logical Interface  IPv6 Address/Prefix Length\n";
    *out += dashes(7) + "  " + dashes(17) + "  " + dashes(40) + "\n";
    for (uint32_t vlan : ipv6Vlans(st)) {
        std::vector<std::string> addrs = ipv6Addresses(st, vlan);
        std::string logical = format("vlan %u", vlan);
        *out += format("%-7u  %-17s  %s\n", vlan, logical.c_str(), addrs.empty() ? "" : addrs.front().c_str());
        for (size_t i = 1; i < addrs.size(); ++i)
            *out += format("%-7s  %-17s  %s\n", "", "", addrs[i].c_str());
    }
    return true;
}

const char* preferenceText(uint32_t p)
{
    return p == kRaPrefHigh ? "High" : p == kRaPrefLow ? "Low" : "Medium";
}

// show ipv6 interface vlan <vlan>: IPv6, neighbour discovery and router
// advertisement settings of one VLAN routing interface.
bool showIpv6InterfaceVlan(const SwitchState& st, const Args& a, std::string* out)
{
    uint32_t vlan = a.number(0);
    if (!st.vlans.count(vlan))
        return false;
    auto it = st.ipv6.vlans.find(vlan);
    Ipv6Intf v = it == st.ipv6.vlans.end() ? Ipv6Intf() : it->second;
    uint32_t oper = operMode(st, v);
    *out += labelLine("IPv6 Interface Status", oper ? "Up" : "Down");
    *out += labelLine("IPv6 Enable Mode", enabledText(v.enabled));
    *out += labelLine("IPv6 Operational Mode", enabledText(oper));
    *out += labelLine("Auto-State Mode", enabledText(v.autoState));
    *out += labelLine("Bandwidth", "10000 kbps");
    *out += labelLine("Interface Maximum Transmit Unit", number(v.mtu ? v.mtu : 1500));
    *out += labelLine("Router Duplicate Address Detection Transmits", number(v.dadTransmits));
    *out += labelLine("Address DHCP Mode", "Disabled");
    *out += labelLine("IPv6 Hop Limit Unspecified", v.hopLimitUnspec ? "True" : "False");
    *out += labelLine("Router Advertisement NS Interval", number(v.nsInterval));
    *out += labelLine("Router Advertisement Lifetime", number(v.raLifetime));
    *out += labelLine("Router Advertisement Reachable Time", number(v.reachableTime));
    *out += labelLine("Router Advertisement Interval", number(v.raInterval));
    *out += labelLine("Router Advertisement Managed Config Flag", enabledText(v.managedFlag));
    *out += labelLine("Router Advertisement Other Config Flag", enabledText(v.otherFlag));
    *out += labelLine("Router Advertisement Router Preference", preferenceText(v.raPreference));
    *out += labelLine("Router Advertisement Suppress Flag", enabledText(v.suppress));
    *out += labelLine("Router Advertisement Mtu", number(v.raMtu));
    *out += labelLine("IPv6 Destination Unreachables", enabledText(v.unreachables));
    std::vector<std::string> addrs = ipv6Addresses(st, vlan);
    if (!addrs.empty()) {
        *out += "\nIPv6 Address/Length\n";
        for (const std::string& s : addrs)
            *out += "  " + s + "\n";
    }
    for (const RaPrefix& p : v.prefixes) {
        *out += format("\nPrefix %s/%u\n", p.prefix.c_str(), p.pfxLen);
        *out += "  " + labelLine("Preferred Lifetime", number(p.prefLife));
        *out += "  " + labelLine("Valid Lifetime", number(p.validLife));
        *out += "  " + labelLine("Onlink Flag", enabledText(p.onLink));
        *out += "  " + labelLine("Autonomous Flag", enabledText(p.autonomous));
    }
    return true;
}

const ShowRegistrar kIpv6ShowRows[] = {
    {"show ipv6 brief", showIpv6Brief},
    {"show ipv6 route summary", showIpv6RouteSummary},
    {"show ipv6 interface brief", showIpv6InterfaceBrief},
    {"show ipv6 vlan", showIpv6Vlan},
    {"show ipv6 interface vlan <vlan>", showIpv6InterfaceVlan},
};


}  // namespace
}  // namespace cli
}  // namespace sim
