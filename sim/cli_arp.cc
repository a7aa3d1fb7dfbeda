// ARP commands of the simulated CLI: the cache settings, static entries
// (with the rules of the control API's ARP operations, model_arp.h),
// clearing the cache, and "show arp".
#include <algorithm>
#include <cstdio>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"

namespace sim {
namespace cli {

namespace {

template <uint32_t ArpConfig::*F, uint32_t Lo, uint32_t Hi>
Outcome arpValue(Session& s, const Args& a)
{
    uint32_t v = a.number(0);
    if (v < Lo || v > Hi)
        return refuseParam(0);
    assign(s, s.st.routing.arpConfig.*F, v);
    return accepted();
}

template <uint32_t V>
Outcome arpDynamicRenew(Session& s, const Args&)
{
    assign(s, s.st.routing.arpConfig.dynamicRenew, V);
    return accepted();
}

// "aa:bb:cc:dd:ee:ff" (or with '-').
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
    return true;
}

// arp <ip> <mac>
Outcome arpStaticSet(Session& s, const Args& a)
{
    std::string mac;
    if (!macOf(a.param(1), &mac))
        return refuseParam(1);
    switch (arpStaticAdd(s.st.routing, dotted(a.param(0)), mac, &s.changed)) {
    case ArpVerdict::kDone:
        return accepted();
    case ArpVerdict::kBadMac:
        return refuseParam(1);
    case ArpVerdict::kFull:
        return refuse("the static ARP table is full.");
    default:
        return refuse("the address is in no routing interface's subnet.");
    }
}

Outcome arpStaticClear(Session& s, const Args& a)
{
    if (arpDelete(s.st.routing, dotted(a.param(0)), true) != ArpVerdict::kDone)
        return refuse("no such ARP entry.");
    s.changed = true;
    return accepted();
}

// clear arp-cache [gateway]: the dynamic entries; gateways only when asked.
template <bool Gateways>
Outcome arpCacheClear(Session& s, const Args&)
{
    if (arpClearDynamic(s.st.routing, Gateways))
        s.changed = true;
    return accepted();
}

// The switch's own management ARP cache is no part of the routing model.
Outcome arpSwitchClear(Session&, const Args&) { return accepted(); }

const CommandRegistrar kArpRows[] = {
    {kModeConfig, "arp dynamicrenew", arpDynamicRenew<1>},
    {kModeConfig, "no arp dynamicrenew", arpDynamicRenew<0>},
    {kModeConfig, "arp cachesize <uint>", arpValue<&ArpConfig::cacheSize, 256, 8192>},
    {kModeConfig, "arp retries <uint>", arpValue<&ArpConfig::retries, 0, 10>},
    {kModeConfig, "arp resptime <uint>", arpValue<&ArpConfig::respTime, 1, 10>},
    {kModeConfig, "arp timeout <uint>", arpValue<&ArpConfig::ageTime, 15, 21600>},
    {kModeConfig, "arp <ipv4> <word>", arpStaticSet},
    {kModeConfig, "no arp <ipv4>", arpStaticClear},
    {kModeExec, "clear arp-cache", arpCacheClear<false>},
    {kModeExec, "clear arp-cache gateway", arpCacheClear<true>},
    {kModeExec, "clear arp-switch", arpSwitchClear},
};

// The cache settings and counters; the peak is at least what the cache holds.
void arpCounters(const SwitchState& st, std::string* out)
{
    const ArpConfig& c = st.routing.arpConfig;
    uint32_t total = static_cast<uint32_t>(st.routing.arp.size()), statics = 0;
    for (const auto& kv : st.routing.arp)
        statics += kv.second.isStatic;
    *out += labelLine("Age Time (seconds)", std::to_string(c.ageTime));
    *out += labelLine("Response Time (seconds)", std::to_string(c.respTime));
    *out += labelLine("Retries", std::to_string(c.retries));
    *out += labelLine("Cache Size", std::to_string(c.cacheSize));
    *out += labelLine("Dynamic Renew Mode", enableText(c.dynamicRenew));
    *out += labelLine("Total Entry Count Current / Peak", format("%u / %u", total, std::max(total, c.peak)));
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

const ShowRegistrar kArpShowRows[] = {
    {"show arp", showArp},
    {"show arp brief", showArpBrief},
};

}  // namespace
}  // namespace cli
}  // namespace sim
