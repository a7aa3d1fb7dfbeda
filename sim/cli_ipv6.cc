// IPv6, router advertisement and DHCP relay commands of the simulated CLI:
// the global IPv6 settings, the IPv6 and neighbour discovery settings of VLAN
// routing interfaces, the relay agent's options, helper addresses and
// statistics, and the show commands that render them. Every handler checks
// first and changes the model only when it accepts the whole command.
#include <arpa/inet.h>

#include <algorithm>
#include <cstring>
#include <set>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/ipv6_model.h"

namespace sim {
namespace cli {

namespace {

template <class T>
void assign(Session& s, T& field, const T& value)
{
    if (field != value) {
        field = value;
        s.changed = true;
    }
}

const char* const kVlanOnly = "the command applies to VLAN routing interfaces only.";
const char* const kPortOnly = "the command applies to physical ports only.";

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
    if (p.prefLife > p.validLife)
        return refuse("the preferred lifetime exceeds the valid lifetime.");
    p.onLink = onLink;
    p.autonomous = autonomous;
    Ipv6Intf* v = vlanIntf(s);
    auto same = [&](const RaPrefix& e) { return e.prefix == p.prefix && e.pfxLen == p.pfxLen; };
    auto it = std::find_if(v->prefixes.begin(), v->prefixes.end(), same);
    if (it == v->prefixes.end()) {
        v->prefixes.push_back(p);
        s.changed = true;
    } else if (it->validLife != p.validLife || it->prefLife != p.prefLife || it->onLink != p.onLink ||
               it->autonomous != p.autonomous) {
        *it = p;
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

// ---------------------------------------------------------------------------
// DHCP relay and IP helper

// The port of a "unit/slot/port" or "slot/port" text; 0 when there is none.
uint32_t portByName(const SwitchState& st, const std::string& text)
{
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfPhysical && (i.name == text || format("%u/%u", i.slot, i.port) == text))
            return i.intIfNum;
    }
    return 0;
}

Interface* currentPort(Session& s)
{
    auto it = s.st.interfaces.find(s.intIfNum);
    return s.intIfNum && it != s.st.interfaces.end() && it->second.type == kIfPhysical ? &it->second : nullptr;
}

template <uint32_t RelayConfig::*F, uint32_t V>
Outcome relayFlag(Session& s, const Args&)
{
    assign(s, s.st.ipv6.relay.*F, V);
    return accepted();
}

template <uint32_t RelayConfig::*F, uint32_t Lo, uint32_t Hi>
Outcome relayValue(Session& s, const Args& a)
{
    if (!inRange(a, 0, Lo, Hi))
        return refuseParam(0);
    assign(s, s.st.ipv6.relay.*F, a.number(0));
    return accepted();
}

template <uint32_t RelayIntf::*F, uint32_t V>
Outcome relayIntfFlag(Session& s, const Args&)
{
    Interface* i = currentPort(s);
    if (!i)
        return refuse(kPortOnly);
    RelayIntf& r = s.st.ipv6.relay.intfs[i->intIfNum];
    assign(s, r.*F, V);
    return accepted();
}

Outcome helperEnable(Session& s, const Args&)
{
    assign(s, s.st.routing.helper.mode, 1u);
    return accepted();
}

Outcome helperDisable(Session& s, const Args&)
{
    assign(s, s.st.routing.helper.mode, 0u);
    return accepted();
}

Outcome sourceIntfSet(Session& s, const Args& a)
{
    uint32_t port = portByName(s.st, a.param(0));
    if (!port)
        return refuseParam(0);
    assign(s, s.st.ipv6.relay.sourceIntf, port);
    return accepted();
}

Outcome sourceIntfClear(Session& s, const Args&)
{
    assign(s, s.st.ipv6.relay.sourceIntf, 0u);
    return accepted();
}

Outcome intfSourceIntfSet(Session& s, const Args& a)
{
    Interface* i = currentPort(s);
    if (!i)
        return refuse(kPortOnly);
    uint32_t port = portByName(s.st, a.param(0));
    if (!port)
        return refuseParam(0);
    assign(s, s.st.ipv6.relay.intfs[i->intIfNum].sourceIntf, port);
    return accepted();
}

Outcome intfSourceIntfClear(Session& s, const Args&)
{
    Interface* i = currentPort(s);
    if (!i)
        return refuse(kPortOnly);
    assign(s, s.st.ipv6.relay.intfs[i->intIfNum].sourceIntf, 0u);
    return accepted();
}

bool dottedQuad(const std::string& text, uint32_t* v)
{
    struct in_addr a;
    if (text.size() > 15 || inet_pton(AF_INET, text.c_str(), &a) != 1)
        return false;
    *v = ntohl(a.s_addr);
    return true;
}

// ip helper-address <server> <udp port> (global: every interface)
Outcome helperAddressAdd(Session& s, const Args& a)
{
    uint32_t server;
    if (!dottedQuad(a.param(0), &server) || server == 0 || (server >> 24) >= 224 || (server >> 24) == 127)
        return refuseParam(0);
    if (!inRange(a, 1, 0, 65535))
        return refuseParam(1);
    if (s.st.routing.helper.global.insert({server, a.number(1)}).second)
        s.changed = true;
    return accepted();
}

Outcome helperAddressDel(Session& s, const Args& a)
{
    uint32_t server;
    if (!dottedQuad(a.param(0), &server))
        return refuseParam(0);
    if (!inRange(a, 1, 0, 65535))
        return refuseParam(1);
    // Removing an address that is not configured leaves nothing to do.
    if (s.st.routing.helper.global.erase({server, a.number(1)}))
        s.changed = true;
    return accepted();
}

// The interface of the session for helper addresses: the port or LAG, or
// the routing interface of "interface vlan N".
uint32_t helperIntf(const Session& s)
{
    if (!s.vlanId)
        return s.intIfNum;
    for (const auto& kv : s.st.routing.intfs)
        if (kv.second.vlanId == s.vlanId)
            return kv.first;
    return 0;
}

// no ip helper-address (interface): every helper address and discard entry
// of the interface.
Outcome helperAddressClearIntf(Session& s, const Args&)
{
    uint32_t intf = helperIntf(s);
    if (!intf)
        return refuse("the VLAN has no routing interface.");
    IpHelper& h = s.st.routing.helper;
    for (auto it = h.perIntf.begin(); it != h.perIntf.end();) {
        if (std::get<0>(*it) == intf) {
            it = h.perIntf.erase(it);
            s.changed = true;
        } else {
            ++it;
        }
    }
    for (auto it = h.discards.begin(); it != h.discards.end();) {
        if (it->first == intf) {
            it = h.discards.erase(it);
            s.changed = true;
        } else {
            ++it;
        }
    }
    return accepted();
}

Outcome helperStatisticsClear(Session& s, const Args&)
{
    for (uint32_t& c : s.st.ipv6.relay.counters)
        assign(s, c, 0u);
    return accepted();
}

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

    {kModeConfig, "bootpdhcprelay maxhopcount <uint>", relayValue<&RelayConfig::maxHopCount, 1, 16>},
    {kModeConfig, "bootpdhcprelay minwaittime <uint>", relayValue<&RelayConfig::minWaitTime, 0, 100>},
    {kModeConfig, "bootpdhcprelay cidoptionmode", relayFlag<&RelayConfig::cidOption, 1>},
    {kModeConfig, "no bootpdhcprelay cidoptionmode", relayFlag<&RelayConfig::cidOption, 0>},
    {kModeConfig, "bootpdhcprelay servercheckcid", relayFlag<&RelayConfig::cidCheck, 1>},
    {kModeConfig, "no bootpdhcprelay servercheckcid", relayFlag<&RelayConfig::cidCheck, 0>},
    {kModeConfig, "ip dhcp relay information server-override", relayFlag<&RelayConfig::serverOverride, 1>},
    {kModeConfig, "no ip dhcp relay information server-override", relayFlag<&RelayConfig::serverOverride, 0>},
    {kModeConfig, "ip helper enable", helperEnable},
    {kModeConfig, "no ip helper enable", helperDisable},
    {kModeConfig, "ip helper source-interface <port>", sourceIntfSet},
    {kModeConfig, "no ip helper source-interface", sourceIntfClear},
    {kModeConfig, "ip helper-address <ipv4> <uint>", helperAddressAdd},
    {kModeConfig, "no ip helper-address <ipv4> <uint>", helperAddressDel},
    {kModeInterface, "ip dhcp relay information server-override", relayIntfFlag<&RelayIntf::serverOverride, 1>},
    {kModeInterface, "no ip dhcp relay information server-override", relayIntfFlag<&RelayIntf::serverOverride, 0>},
    {kModeInterface, "bootpdhcprelay cidoptionmode", relayIntfFlag<&RelayIntf::cidOption, 1>},
    {kModeInterface, "no bootpdhcprelay cidoptionmode", relayIntfFlag<&RelayIntf::cidOption, 0>},
    {kModeInterface, "bootpdhcprelay servercheckcid", relayIntfFlag<&RelayIntf::cidCheck, 1>},
    {kModeInterface, "no bootpdhcprelay servercheckcid", relayIntfFlag<&RelayIntf::cidCheck, 0>},
    {kModeInterface, "ip helper source-interface <port>", intfSourceIntfSet},
    {kModeInterface, "no ip helper source-interface", intfSourceIntfClear},
    {kModeInterface, "no ip helper-address", helperAddressClearIntf},
    {kModeExec, "clear ip helper statistics", helperStatisticsClear},
};

// ---------------------------------------------------------------------------
// Show commands

const char* enableText(uint32_t v) { return v ? "Enable" : "Disable"; }
const char* enabledText(uint32_t v) { return v ? "Enabled" : "Disabled"; }

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

std::string intfName(const SwitchState& st, uint32_t intIfNum)
{
    auto it = st.interfaces.find(intIfNum);
    return it == st.interfaces.end() ? number(intIfNum) : it->second.name;
}

std::string ipv4Text(uint32_t v)
{
    return format("%u.%u.%u.%u", v >> 24, (v >> 16) & 255, (v >> 8) & 255, v & 255);
}

std::string udpPortText(uint32_t port)
{
    return port == 67 ? "dhcp" : port == 53 ? "domain" : number(port);
}

// show ip helper-address: the relay agent's options, then every helper
// address (global ones under "Any") and discard entry.
bool showIpHelperAddress(const SwitchState& st, const Args&, std::string* out)
{
    const RelayConfig& r = st.ipv6.relay;
    const IpHelper& h = st.routing.helper;
    *out += labelLine("Maximum Hop Count", number(r.maxHopCount));
    *out += labelLine("Minimum Wait Time", number(r.minWaitTime));
    *out += labelLine("Admin Mode", enableText(h.mode));
    *out += labelLine("Circuit Id Option Mode", enableText(r.cidOption));
    *out += labelLine("Circuit Id Check Mode", enableText(r.cidCheck));
    *out += labelLine("Server Override", enableText(r.serverOverride));
    *out += labelLine("Source Interface", r.sourceIntf ? intfName(st, r.sourceIntf) : "None");
    *out += "\nInterface                UDP Port        Server Address  Discard  Hit Count\n";
    *out += dashes(24) + " " + dashes(15) + " " + dashes(15) + " " + dashes(7) + "  " + dashes(9) + "\n";
    auto line = [&](const std::string& intf, uint32_t port, uint32_t server, bool discard) {
        *out += format("%-24s %-15s %-15s %-7s  %u\n", intf.c_str(), udpPortText(port).c_str(),
                       ipv4Text(server).c_str(), discard ? "Yes" : "No", 0u);
    };
    for (const auto& g : h.global)
        line("Any", g.second, g.first, false);
    for (const auto& p : h.perIntf)
        line(intfName(st, std::get<0>(p)), std::get<2>(p), std::get<1>(p), false);
    for (const auto& d : h.discards)
        line(intfName(st, d.first), d.second, 0, true);
    return true;
}

// show ip helper statistics: the relay agent's counters.
bool showIpHelperStatistics(const SwitchState& st, const Args&, std::string* out)
{
    static const char* const kLabels[kRelayCounters] = {
        "DHCP client messages received", "DHCP client messages relayed", "DHCP server messages received",
        "DHCP server messages relayed",  "UDP client messages received", "UDP client messages relayed",
        "Hops too many",                 "Wait time too early",          "Spoofed gateway address",
        "TTL Expired",                   "Match discard",
    };
    for (size_t i = 0; i < kRelayCounters; ++i)
        *out += labelLine(kLabels[i], number(st.ipv6.relay.counters[i]));
    return true;
}

const ShowRegistrar kIpv6ShowRows[] = {
    {"show ipv6 brief", showIpv6Brief},
    {"show ipv6 route summary", showIpv6RouteSummary},
    {"show ipv6 interface brief", showIpv6InterfaceBrief},
    {"show ipv6 vlan", showIpv6Vlan},
    {"show ipv6 interface vlan <vlan>", showIpv6InterfaceVlan},
    {"show ip helper-address", showIpHelperAddress},
    {"show ip helper statistics", showIpHelperStatistics},
};

}  // namespace
}  // namespace cli
}  // namespace sim
