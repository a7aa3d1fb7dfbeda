// IPv4 commands of the simulated CLI: static routes ("ip route"), the IP
// settings of interfaces, the ARP cache, and the show commands of the route
// table, its summary, IP interfaces, ARP and the IPv4 counters. They change
// and read the same routing model as the control API operations.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/ipv4_cli_model.h"

namespace sim {
namespace cli {

namespace {

uint32_t dotted(const std::string& s)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (sscanf(s.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4)
        return 0;
    return a << 24 | b << 16 | c << 8 | d;
}

std::string dottedText(uint32_t v)
{
    return format("%u.%u.%u.%u", v >> 24, v >> 16 & 255, v >> 8 & 255, v & 255);
}

uint32_t v4Of(const uint8_t* addr)
{
    uint32_t v;
    memcpy(&v, addr, 4);
    return v;
}

uint32_t maskLen(uint32_t mask)
{
    uint32_t n = 0;
    while (n < 32 && (mask & (0x80000000u >> n)))
        ++n;
    return n;
}

uint32_t maskOf(uint32_t len) { return len == 0 ? 0 : len >= 32 ? 0xffffffffu : 0xffffffffu << (32 - len); }

template <class T>
void assign(Session& s, T& field, const T& value)
{
    if (field != value) {
        field = value;
        s.changed = true;
    }
}

std::string intfName(const SwitchState& st, uint32_t intIfNum)
{
    auto it = st.interfaces.find(intIfNum);
    return it == st.interfaces.end() ? std::string() : it->second.name;
}

// ---------------------------------------------------------------------------
// Static routes: ip route <network> <mask> <next hop> [<preference>]

RouteRecord staticKey(uint32_t net, uint32_t mask)
{
    RouteRecord key;
    memset(&key, 0, sizeof key);
    key.family = kFamilyIpv4;
    uint32_t len = maskLen(mask);
    uint32_t masked = net & maskOf(len);
    memcpy(key.destPfx, &masked, 4);
    key.pfxLen = static_cast<uint8_t>(len);
    return key;
}

std::vector<Route>::iterator routeAt(RoutingModel& m, const RouteRecord& key)
{
    return std::find_if(m.routes.begin(), m.routes.end(),
                        [&](const Route& r) { return !routeKeyLess(r.rec, key) && !routeKeyLess(key, r.rec); });
}

Outcome routeAdd(Session& s, const Args& a, uint32_t pref)
{
    uint32_t net = dotted(a.param(0)), mask = dotted(a.param(1)), hop = dotted(a.param(2));
    if (maskOf(maskLen(mask)) != mask)
        return refuseParam(1);
    if (hop == 0 || hop >> 24 == 127 || hop >> 24 >= 224)
        return refuseParam(2);
    if (pref < 1 || pref > 255)
        return refuseParam(3);
    RoutingModel& m = s.st.routing;
    RouteRecord key = staticKey(net, mask);
    key.routeType = 2;
    key.protoId = 2;
    key.pref = static_cast<uint16_t>(pref);
    NextHop h;
    memset(&h, 0, sizeof h);
    h.family = kFamilyIpv4;
    memcpy(h.addr, &hop, 4);
    h.ifNum = subnetIntfOf(m, hop);
    auto it = routeAt(m, key);
    if (it == m.routes.end()) {
        Route r;
        r.rec = key;
        r.hops.push_back(h);
        routeTableInsert(m, r);
        s.changed = true;
        return accepted();
    }
    if (it->rec.protoId != 2)
        return refuse("the network is a connected route.");
    bool known = std::any_of(it->hops.begin(), it->hops.end(), [&](const NextHop& x) { return v4Of(x.addr) == hop; });
    if (!known && it->hops.size() >= kMaxNextHops)
        return refuse("the route has as many next hops as it can.");
    if (known && it->rec.pref == pref)
        return accepted();
    if (!known)
        it->hops.push_back(h);
    it->rec.pref = static_cast<uint16_t>(pref);
    routeTableNotify(m, kChangeModify, *it);
    s.changed = true;
    return accepted();
}

Outcome routeAddDefaultPref(Session& s, const Args& a) { return routeAdd(s, a, 1); }
Outcome routeAddPref(Session& s, const Args& a) { return routeAdd(s, a, a.number(3)); }

// no ip route <network> <mask> [<next hop>]: the route, or one of its next hops.
Outcome routeDelete(Session& s, const Args& a)
{
    uint32_t mask = dotted(a.param(1));
    if (maskOf(maskLen(mask)) != mask)
        return refuseParam(1);
    RoutingModel& m = s.st.routing;
    auto it = routeAt(m, staticKey(dotted(a.param(0)), mask));
    if (it == m.routes.end() || it->rec.protoId != 2)
        return refuse("no such static route.");
    if (a.params.size() > 2) {
        uint32_t hop = dotted(a.param(2));
        auto h = std::find_if(it->hops.begin(), it->hops.end(), [&](const NextHop& x) { return v4Of(x.addr) == hop; });
        if (h == it->hops.end())
            return refuseParam(2);
        it->hops.erase(h);
        if (!it->hops.empty()) {
            routeTableNotify(m, kChangeModify, *it);
            s.changed = true;
            return accepted();
        }
    }
    routeTableErase(m, it);
    s.changed = true;
    return accepted();
}

// ---------------------------------------------------------------------------
// Interface: ip local-proxy-arp, ip gratuitous-arp, ip unnumbered
// gratuitous-arp, bandwidth

// The interface the session addresses: the port or LAG, or the VLAN routing
// interface of "interface vlan N"; 0 when it has none.
uint32_t sessionIntf(const Session& s)
{
    if (s.intIfNum)
        return s.intIfNum;
    for (const auto& kv : s.st.routing.intfs)
        if (s.vlanId && kv.second.vlanId == s.vlanId)
            return kv.first;
    return 0;
}

template <uint32_t IpIntfCli::*F, uint32_t V>
Outcome intfFlag(Session& s, const Args&)
{
    uint32_t n = sessionIntf(s);
    if (!n)
        return refuse("the VLAN has no routing interface.");
    IpIntfCli cur = s.st.ipv4Cli.intfs.count(n) ? s.st.ipv4Cli.intfs[n] : IpIntfCli();
    if (cur.*F == V)
        return accepted();
    s.st.ipv4Cli.intfs[n].*F = V;
    s.changed = true;
    return accepted();
}

Outcome bandwidthSet(Session& s, const Args& a)
{
    uint32_t n = sessionIntf(s);
    if (!n)
        return refuse("the VLAN has no routing interface.");
    uint32_t kbps = a.number(0);
    if (kbps < 1 || kbps > 10000000)
        return refuseParam(0);
    assign(s, s.st.ipv4Cli.intfs[n].bandwidth, kbps);
    return accepted();
}

Outcome bandwidthClear(Session& s, const Args&)
{
    uint32_t n = sessionIntf(s);
    if (!n)
        return refuse("the VLAN has no routing interface.");
    auto it = s.st.ipv4Cli.intfs.find(n);
    if (it != s.st.ipv4Cli.intfs.end())
        assign(s, it->second.bandwidth, 0u);
    return accepted();
}

// ---------------------------------------------------------------------------
// ARP cache: arp ..., no arp ..., clear arp-cache, clear arp-switch

void notePeak(Session& s)
{
    uint32_t n = static_cast<uint32_t>(s.st.routing.arp.size());
    if (n > s.st.ipv4Cli.arp.peak)
        assign(s, s.st.ipv4Cli.arp.peak, n);
}

template <uint32_t ArpConfig::*F, uint32_t Lo, uint32_t Hi>
Outcome arpValue(Session& s, const Args& a)
{
    uint32_t v = a.number(0);
    if (v < Lo || v > Hi)
        return refuseParam(0);
    assign(s, s.st.ipv4Cli.arp.*F, v);
    return accepted();
}

template <uint32_t V>
Outcome arpDynamicRenew(Session& s, const Args&)
{
    assign(s, s.st.ipv4Cli.arp.dynamicRenew, V);
    return accepted();
}

// "aa:bb:cc:dd:ee:ff" (or with '-') of a unicast station.
bool macOf(const std::string& t, std::string* mac)
{
    unsigned b[6];
    char sep[5];
    int end = 0;
    if (t.size() != 17 ||
        sscanf(t.c_str(), "%2x%c%2x%c%2x%c%2x%c%2x%c%2x%n", &b[0], &sep[0], &b[1], &sep[1], &b[2], &sep[2], &b[3],
               &sep[3], &b[4], &sep[4], &b[5], &end) != 11 ||
        end != 17)
        return false;
    for (char c : sep)
        if (c != sep[0] || (c != ':' && c != '-'))
            return false;
    mac->clear();
    for (unsigned v : b)
        mac->push_back(static_cast<char>(v));
    return *mac != std::string(6, '\0') && !(b[0] & 1);
}

Outcome arpStaticAdd(Session& s, const Args& a)
{
    uint32_t ip = dotted(a.param(0));
    std::string mac;
    if (!macOf(a.param(1), &mac))
        return refuseParam(1);
    RoutingModel& m = s.st.routing;
    uint32_t intf = subnetIntfOf(m, ip);
    if (ip == 0 || !intf)
        return refuse("the address is in no routing interface's subnet.");
    auto it = m.arp.find(ip);
    uint32_t statics = 0;
    for (const auto& kv : m.arp)
        statics += kv.second.isStatic;
    if ((it == m.arp.end() || !it->second.isStatic) && statics >= kArpStaticMax)
        return refuse("the static ARP table is full.");
    ArpEntry e{intf, mac, true};
    if (it == m.arp.end() || it->second.intIfNum != e.intIfNum || it->second.mac != e.mac || !it->second.isStatic) {
        m.arp[ip] = e;
        s.changed = true;
    }
    notePeak(s);
    return accepted();
}

Outcome arpDelete(Session& s, const Args& a)
{
    auto it = s.st.routing.arp.find(dotted(a.param(0)));
    if (it == s.st.routing.arp.end())
        return refuse("no such ARP entry.");
    s.st.routing.arp.erase(it);
    s.changed = true;
    return accepted();
}

// Whether a dynamic entry is the next hop of a static route.
bool isGateway(const RoutingModel& m, uint32_t ip)
{
    for (const Route& r : m.routes)
        if (r.rec.protoId == 2)
            for (const NextHop& h : r.hops)
                if (h.family == kFamilyIpv4 && v4Of(h.addr) == ip)
                    return true;
    return false;
}

// clear arp-cache [gateway]: the dynamic entries; gateways only when asked.
Outcome arpCacheClear(Session& s, bool gateways)
{
    RoutingModel& m = s.st.routing;
    for (auto it = m.arp.begin(); it != m.arp.end();) {
        if (!it->second.isStatic && (gateways || !isGateway(m, it->first))) {
            it = m.arp.erase(it);
            s.changed = true;
        } else {
            ++it;
        }
    }
    return accepted();
}

Outcome arpCacheClearPlain(Session& s, const Args&) { return arpCacheClear(s, false); }
Outcome arpCacheClearGateway(Session& s, const Args&) { return arpCacheClear(s, true); }
// The switch's own management ARP cache is no part of the routing model.
Outcome arpSwitchClear(Session&, const Args&) { return accepted(); }

const CommandRegistrar kIpv4Rows[] = {
    {kModeConfig, "ip route <ipv4> <mask> <ipv4>", routeAddDefaultPref},
    {kModeConfig, "ip route <ipv4> <mask> <ipv4> <uint>", routeAddPref},
    {kModeConfig, "no ip route <ipv4> <mask>", routeDelete},
    {kModeConfig, "no ip route <ipv4> <mask> <ipv4>", routeDelete},
    {kModeInterface, "ip local-proxy-arp", intfFlag<&IpIntfCli::localProxyArp, 1>},
    {kModeInterface, "no ip local-proxy-arp", intfFlag<&IpIntfCli::localProxyArp, 0>},
    {kModeInterface, "ip gratuitous-arp", intfFlag<&IpIntfCli::gratArp, 1>},
    {kModeInterface, "no ip gratuitous-arp", intfFlag<&IpIntfCli::gratArp, 0>},
    {kModeInterface, "ip unnumbered gratuitous-arp", intfFlag<&IpIntfCli::unnumberedGratArp, 1>},
    {kModeInterface, "no ip unnumbered gratuitous-arp", intfFlag<&IpIntfCli::unnumberedGratArp, 0>},
    {kModeInterface, "bandwidth <uint>", bandwidthSet},
    {kModeInterface, "no bandwidth", bandwidthClear},
    {kModeConfig, "arp dynamicrenew", arpDynamicRenew<1>},
    {kModeConfig, "no arp dynamicrenew", arpDynamicRenew<0>},
    {kModeConfig, "arp cachesize <uint>", arpValue<&ArpConfig::cacheSize, 256, 8192>},
    {kModeConfig, "arp retries <uint>", arpValue<&ArpConfig::retries, 0, 10>},
    {kModeConfig, "arp resptime <uint>", arpValue<&ArpConfig::respTime, 1, 10>},
    {kModeConfig, "arp timeout <uint>", arpValue<&ArpConfig::ageTime, 15, 21600>},
    {kModeConfig, "arp <ipv4> <word>", arpStaticAdd},
    {kModeConfig, "no arp <ipv4>", arpDelete},
    {kModeExec, "clear arp-cache", arpCacheClearPlain},
    {kModeExec, "clear arp-cache gateway", arpCacheClearGateway},
    {kModeExec, "clear arp-switch", arpSwitchClear},
};

// ---------------------------------------------------------------------------
// Show commands

const char* enableText(uint32_t v) { return v ? "Enable" : "Disable"; }
const char* enabledText(uint32_t v) { return v ? "Enabled" : "Disabled"; }

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
        bool connected = r.rec.protoId == 1;
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
        connected += r.rec.protoId == 1;
        statics += r.rec.protoId == 2;
        ospf += r.rec.protoId == 3;
        reject += r.rec.rejectRoute != 0;
        ecmp += r.hops.size() > 1;
        hopCount += r.rec.protoId == 1 ? 0 : static_cast<uint32_t>(r.hops.size());
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
    auto ri = st.routing.intfs.find(port->intIfNum);
    RouterIntf r = ri == st.routing.intfs.end() ? RouterIntf() : ri->second;
    auto ci = st.ipv4Cli.intfs.find(port->intIfNum);
    IpIntfCli c = ci == st.ipv4Cli.intfs.end() ? IpIntfCli() : ci->second;
    const IntfAddr* primary = nullptr;
    for (const IntfAddr& ad : r.addrs)
        if (ad.family == kFamilyIpv4 && !primary)
            primary = &ad;
    bool active = primary && r.adminMode && port->adminUp && port->linkUp;
    *out += labelLine("Routing Interface Status", active ? "Up" : "Down");
    *out += labelLine("Primary IP Address",
                      primary ? dottedText(v4Of(reinterpret_cast<const uint8_t*>(primary->addr.data()))) + "/" +
                                    dottedText(maskOf(primary->pfxLen))
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
    *out += labelLine("Bandwidth", format("%u kbps", c.bandwidth ? c.bandwidth : port->speedMbps * 1000));
    *out += labelLine("Destination Unreachables", enabledText(r.destUnreachable));
    *out += labelLine("ICMP Redirects", enabledText(r.redirects));
    *out += labelLine("Proxy ARP", enabledText(r.proxyArp));
    *out += labelLine("Local Proxy ARP", enabledText(c.localProxyArp));
    *out += labelLine("Gratuitous ARP", enabledText(c.gratArp));
    *out += labelLine("Unnumbered Gratuitous ARP", enabledText(c.unnumberedGratArp));
    *out += labelLine("Auto-State Mode", enabledText(autoStateOf(st, port->intIfNum)));
    *out += labelLine("Interface Suspended State", "None");
    return true;
}

void arpCounters(const SwitchState& st, std::string* out)
{
    const ArpConfig& c = st.ipv4Cli.arp;
    uint32_t total = static_cast<uint32_t>(st.routing.arp.size()), statics = 0;
    for (const auto& kv : st.routing.arp)
        statics += kv.second.isStatic;
    *out += labelLine("Age Time (seconds)", std::to_string(c.ageTime));
    *out += labelLine("Response Time (seconds)", std::to_string(c.respTime));
    *out += labelLine("Retries", std::to_string(c.retries));
    *out += labelLine("Cache Size", std::to_string(c.cacheSize));
    *out += labelLine("Dynamic Renew Mode", enableText(c.dynamicRenew));
    c.peak = std::max(total, c.peak);
    *out += labelLine("Total Entry Count Current / Peak", format("%u / %u", total, c.peak));
    *out += labelLine("Static Entry Count Configured / Active / Max",
                      format("%u / %u / %u", statics, statics, kArpStaticMax));
}

// show arp brief: the cache settings and counters.
bool showArpBrief(const SwitchState& st, const Args&, std::string* out)
{
    arpCounters(st, out);
    return true;
}

// show arp: the counters, then one line per entry in address order.
bool showArp(const SwitchState& st, const Args&, std::string* out)
{
    arpCounters(st, out);
    *out += "\nIP Address      MAC Address        Interface  Type      Age\n";
    *out += dashes(15) + " " + dashes(17) + "  " + dashes(9) + "  " + dashes(8) + "  " + dashes(11) + "\n";
    for (const auto& kv : st.routing.arp) {
        const ArpEntry& e = kv.second;
        const unsigned char* m = reinterpret_cast<const unsigned char*>(e.mac.data());
        std::string mac = format("%02x:%02x:%02x:%02x:%02x:%02x", m[0], m[1], m[2], m[3], m[4], m[5]);
        std::string type = e.isStatic ? "Static" : isGateway(st.routing, kv.first) ? "Gateway" : "Dynamic";
        *out += format("%-15s %-17s  %-9s  %-8s  %s\n", dottedText(kv.first).c_str(), mac.c_str(),
                       intfName(st, e.intIfNum).c_str(), type.c_str(), e.isStatic ? "n/a" : "0h 0m 0s");
    }
    return true;
}

// show ip stats: the IPv4 and ICMP counters as label lines.
bool showIpStats(const SwitchState& st, const Args&, std::string* out)
{
    for (size_t i = 0; i < kIpStatsCount; ++i)
        *out += labelLine(kIpStatsNames[i], std::to_string(st.ipv4Cli.ipStats[i]));
    return true;
}

const ShowRegistrar kIpv4ShowRows[] = {
    {"show ip route", showIpRoute},
    {"show ip route summary", showIpRouteSummary},
    {"show ip interface <port>", showIpInterface},
    {"show arp", showArp},
    {"show arp brief", showArpBrief},
    {"show ip stats", showIpStats},
};

}  // namespace
}  // namespace cli
}  // namespace sim
