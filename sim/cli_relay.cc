// DHCP relay and IP helper commands of the simulated CLI: the relay agent's
// options (global and per port), helper addresses with the rules of the
// control API's helper operations (model_relay.h), statistics, and the
// show commands that render them. Every handler checks first and changes
// the model only when it accepts the whole command.
#include "platform/openclt/openclt.h"
#include "sim/cli_engine.h"
#include "sim/cli_show.h"

namespace sim {
namespace cli {

namespace {

const char* const kPortOnly = "the command applies to physical ports only.";

// A bounded number parameter.
bool inRange(const Args& a, size_t i, uint32_t lo, uint32_t hi)
{
    uint32_t v = a.number(i);
    return a.param(i) == std::to_string(v) && v >= lo && v <= hi;
}

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

template <uint32_t V>
Outcome helperMode(Session& s, const Args&)
{
    assign(s, s.st.routing.helper.mode, V);
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

// ip helper-address <server> <udp port> (global: every interface). The
// CLI repeats configuration without fault: an address that is there
// already, or removing one that is not, leaves nothing to do.
Outcome helperAddressSet(Session& s, const Args& a)
{
    if (!helperServerValid(dotted(a.param(0))))
        return refuseParam(0);
    if (!inRange(a, 1, 0, 65535))
        return refuseParam(1);
    if (helperAddressAdd(s.st.routing.helper, dotted(a.param(0)), a.number(1)) == kOpenOk)
        s.changed = true;
    return accepted();
}

Outcome helperAddressClear(Session& s, const Args& a)
{
    if (!inRange(a, 1, 0, 65535))
        return refuseParam(1);
    if (helperAddressDelete(s.st.routing.helper, dotted(a.param(0)), a.number(1)) == kOpenOk)
        s.changed = true;
    return accepted();
}

// no ip helper-address (interface): every helper address and discard entry
// of the interface (the port or LAG, or the routing interface of
// "interface vlan N").
Outcome helperAddressClearIntf(Session& s, const Args&)
{
    uint32_t intf = s.vlanId ? vlanRoutingIntf(s.st.routing, s.vlanId) : s.intIfNum;
    if (!intf)
        return refuse("the VLAN has no routing interface.");
    if (helperClearIntf(s.st.routing.helper, intf))
        s.changed = true;
    return accepted();
}

Outcome helperStatisticsClear(Session& s, const Args&)
{
    for (uint32_t& c : s.st.ipv6.relay.counters)
        assign(s, c, 0u);
    return accepted();
}

const CommandRegistrar kRelayRows[] = {
    {kModeConfig, "bootpdhcprelay maxhopcount <uint>", relayValue<&RelayConfig::maxHopCount, 1, 16>},
    {kModeConfig, "bootpdhcprelay minwaittime <uint>", relayValue<&RelayConfig::minWaitTime, 0, 100>},
    {kModeConfig, "bootpdhcprelay cidoptionmode", relayFlag<&RelayConfig::cidOption, 1>},
    {kModeConfig, "no bootpdhcprelay cidoptionmode", relayFlag<&RelayConfig::cidOption, 0>},
    {kModeConfig, "bootpdhcprelay servercheckcid", relayFlag<&RelayConfig::cidCheck, 1>},
    {kModeConfig, "no bootpdhcprelay servercheckcid", relayFlag<&RelayConfig::cidCheck, 0>},
    {kModeConfig, "ip dhcp relay information server-override", relayFlag<&RelayConfig::serverOverride, 1>},
    {kModeConfig, "no ip dhcp relay information server-override", relayFlag<&RelayConfig::serverOverride, 0>},
    {kModeConfig, "ip helper enable", helperMode<1>},
    {kModeConfig, "no ip helper enable", helperMode<0>},
    {kModeConfig, "ip helper source-interface <port>", sourceIntfSet},
    {kModeConfig, "no ip helper source-interface", sourceIntfClear},
    {kModeConfig, "ip helper-address <ipv4> <uint>", helperAddressSet},
    {kModeConfig, "no ip helper-address <ipv4> <uint>", helperAddressClear},
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

// An interface's name; its number when the switch does not have it.
std::string intfLabel(const SwitchState& st, uint32_t intIfNum)
{
    std::string name = intfName(st, intIfNum);
    return name.empty() ? std::to_string(intIfNum) : name;
}

std::string udpPortText(uint32_t port)
{
    return port == 67 ? "dhcp" : port == 53 ? "domain" : std::to_string(port);
}

// show ip helper-address: the relay agent's options, then every helper
// address (global ones under "Any") and discard entry.
bool showIpHelperAddress(const SwitchState& st, const Args&, std::string* out)
{
    const RelayConfig& r = st.ipv6.relay;
    const IpHelper& h = st.routing.helper;
    *out += labelLine("Maximum Hop Count", std::to_string(r.maxHopCount));
    *out += labelLine("Minimum Wait Time", std::to_string(r.minWaitTime));
    *out += labelLine("Admin Mode", enableText(h.mode));
    *out += labelLine("Circuit Id Option Mode", enableText(r.cidOption));
    *out += labelLine("Circuit Id Check Mode", enableText(r.cidCheck));
    *out += labelLine("Server Override", enableText(r.serverOverride));
    *out += labelLine("Source Interface", r.sourceIntf ? intfLabel(st, r.sourceIntf) : "None");
    *out += "\nInterface                UDP Port        Server Address  Discard  Hit Count\n";
    *out += dashes(24) + " " + dashes(15) + " " + dashes(15) + " " + dashes(7) + "  " + dashes(9) + "\n";
    auto line = [&](const std::string& intf, uint32_t port, uint32_t server, bool discard) {
        *out += format("%-24s %-15s %-15s %-7s  %u\n", intf.c_str(), udpPortText(port).c_str(),
                       dottedText(server).c_str(), discard ? "Yes" : "No", 0u);
    };
    for (const auto& g : h.global)
        line("Any", g.second, g.first, false);
    for (const auto& p : h.perIntf)
        line(intfLabel(st, std::get<0>(p)), std::get<2>(p), std::get<1>(p), false);
    for (const auto& d : h.discards)
        line(intfLabel(st, d.first), d.second, 0, true);
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
        *out += labelLine(kLabels[i], std::to_string(st.ipv6.relay.counters[i]));
    return true;
}

const ShowRegistrar kRelayShowRows[] = {
    {"show ip helper-address", showIpHelperAddress},
    {"show ip helper statistics", showIpHelperStatistics},
};

}  // namespace
}  // namespace cli
}  // namespace sim
