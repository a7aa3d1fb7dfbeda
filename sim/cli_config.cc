// Configuration commands of the simulated CLI: the network port, fans,
// automatic LAGs, port speed, flow control, PTP, PoE schedules and the VLAN
// database. Every handler checks first and changes the model only when it
// accepts the whole command.
#include <cstdio>
#include <cstdlib>

#include "sim/cli_engine.h"
#include "sim/addr.h"
#include "sim/cli_show.h"
#include "sim/model_mgmt.h"

namespace sim {
namespace cli {

namespace {

uint32_t dottedQuad(const std::string& s)
{
    unsigned a, b, c, d;
    if (sscanf(s.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4)
        return 0;
    return a << 24 | b << 16 | c << 8 | d;
}

// A host address: not 0/8, loopback, multicast or reserved.
bool unicastHost(uint32_t a)
{
    uint32_t first = a >> 24;
    return first != 0 && first != 127 && first < 224;
}

Interface* current(Session& s)
{
    auto it = s.st.interfaces.find(s.intIfNum);
    return s.intIfNum && it != s.st.interfaces.end() ? &it->second : nullptr;
}

Interface* currentPhysical(Session& s)
{
    Interface* i = current(s);
    return i && i->type == kIfPhysical ? i : nullptr;
}

const char* const kPhysicalOnly = "the command applies to physical ports only.";

// ---------------------------------------------------------------------------
// Network port: ip management vlan, ip default-gateway

Outcome mgmtDhcp(Session& s, const Args& a)
{
    if (!s.st.vlans.count(a.number(0)))
        return refuseParam(0);
    SystemConfig& c = s.st.system;
    assign(s, c.mgmtVlan, a.number(0));
    assign(s, c.mgmtMethod, std::string("DHCP"));
    assign(s, c.mgmtAddress, std::string("0.0.0.0"));
    assign(s, c.mgmtMask, std::string("0.0.0.0"));
    return accepted();
}

Outcome mgmtStatic(Session& s, const Args& a)
{
    if (!s.st.vlans.count(a.number(0)))
        return refuseParam(0);
    uint32_t addr = dottedQuad(a.param(1)), mask = dottedQuad(a.param(2));
    // The management port's rules, as the control API meets them.
    if (!mgmtIpv4Fits(addr, mask, 0))
        return refuseParam(mask != 0 && maskOf(maskLen(mask)) == mask ? 1 : 2);
    SystemConfig& c = s.st.system;
    assign(s, c.mgmtVlan, a.number(0));
    assign(s, c.mgmtMethod, std::string("Manual"));
    assign(s, c.mgmtAddress, a.param(1));
    assign(s, c.mgmtMask, a.param(2));
    return accepted();
}

Outcome gatewaySet(Session& s, const Args& a)
{
    uint32_t gw = dottedQuad(a.param(0));
    if (!unicastHost(gw))
        return refuseParam(0);
    SystemConfig& c = s.st.system;
    uint32_t addr = dottedQuad(c.mgmtAddress), mask = dottedQuad(c.mgmtMask);
    if (c.mgmtMethod == "Manual" && addr != 0 && !mgmtIpv4Fits(addr, mask, gw)) {
        if ((gw & mask) != (addr & mask))
            return refuse("the gateway is not in the subnet of the management address.");
        return refuseParam(0);
    }
    assign(s, c.defaultGateway, a.param(0));
    return accepted();
}

Outcome gatewayClear(Session& s, const Args&)
{
    assign(s, s.st.system.defaultGateway, std::string("0.0.0.0"));
    return accepted();
}

// ---------------------------------------------------------------------------
// Fans and automatic LAGs

Outcome fanMode(Session& s, const Args& a)
{
    std::string m = a.param(0);
    uint32_t mode = m == "off" ? 1 : m == "quiet" ? 2 : 3;
    assign(s, s.st.system.fanControlMode, mode);
    return accepted();
}

Outcome lagAutoOn(Session& s, const Args&)
{
    assign(s, s.st.system.lagAutoMode, 1u);
    return accepted();
}

Outcome lagAutoOff(Session& s, const Args&)
{
    assign(s, s.st.system.lagAutoMode, 0u);
    return accepted();
}

// ---------------------------------------------------------------------------
// Interface: speed, flowcontrol

Outcome speedAuto(Session& s, const Args&)
{
    Interface* i = currentPhysical(s);
    if (!i)
        return refuse(kPhysicalOnly);
    assign(s, i->autoNeg, 1u);
    assign(s, i->speedMbps, i->maxSpeedMbps);
    assign(s, i->fullDuplex, 1u);
    return accepted();
}

// Copper ports run at 10, 100 or 1000 Mbit/s, SFP+ ports at 1000 or 10000;
// half duplex exists at 10 and 100 only.
Outcome speedFixed(Session& s, const Args& a)
{
    Interface* i = currentPhysical(s);
    if (!i)
        return refuse(kPhysicalOnly);
    uint32_t speed = a.number(0);
    bool full = a.param(1) == "full-duplex";
    bool supported = i->maxSpeedMbps <= 1000 ? (speed == 10 || speed == 100 || speed == 1000) && speed <= i->maxSpeedMbps
                                             : speed == 1000 || speed == i->maxSpeedMbps;
    if (!supported)
        return refuseParam(0);
    if (!full && speed > 100)
        return refuseParam(1);
    assign(s, i->autoNeg, 0u);
    assign(s, i->speedMbps, speed);
    assign(s, i->fullDuplex, full ? 1u : 0u);
    return accepted();
}

Outcome flowControlOn(Session& s, const Args&)
{
    Interface* i = currentPhysical(s);
    if (!i)
        return refuse(kPhysicalOnly);
    assign(s, i->flowControl, 1u);
    return accepted();
}

Outcome flowControlOff(Session& s, const Args&)
{
    Interface* i = currentPhysical(s);
    if (!i)
        return refuse(kPhysicalOnly);
    assign(s, i->flowControl, 0u);
    return accepted();
}

// ---------------------------------------------------------------------------
// Interface: ptp clock e2e-transparent

Outcome ptpTransparent(Session& s, uint32_t on)
{
    Interface* i = current(s);
    if (!i || (i->type != kIfPhysical && i->type != kIfLag))
        return refuse("the command applies to ports and LAGs only.");
    if (!ptpSupported(s.st))
        return refuse("the PTP transparent clock is not supported on this switch.");
    assign(s, i->ptpTransparent, on);
    return accepted();
}

Outcome ptpOn(Session& s, const Args&) { return ptpTransparent(s, 1); }
Outcome ptpOff(Session& s, const Args&) { return ptpTransparent(s, 0); }

// ---------------------------------------------------------------------------
// Interface: poe timer schedule

Outcome poeSchedule(Session& s, const std::string& name)
{
    Interface* i = currentPhysical(s);
    if (!i)
        return refuse(kPhysicalOnly);
    if (!poeCapable(*i))
        return refuse(i->name + " is not a PoE port.");
    assign(s, i->poeSchedule, name);
    return accepted();
}

Outcome poeScheduleSet(Session& s, const Args& a) { return poeSchedule(s, a.param(0)); }
Outcome poeScheduleClear(Session& s, const Args&) { return poeSchedule(s, std::string()); }

// ---------------------------------------------------------------------------
// VLAN database

Outcome vlanCreate(Session& s, const Args& a)
{
    uint32_t id = a.number(0);
    if (s.st.vlans.count(id))
        return accepted();
    char name[16];
    snprintf(name, sizeof name, "VLAN%04u", id);
    s.st.vlans[id] = Vlan{id, name, true};
    s.changed = true;
    return accepted();
}

Outcome vlanMakeStatic(Session& s, const Args& a)
{
    auto it = s.st.vlans.find(a.number(0));
    if (it == s.st.vlans.end())
        return refuseParam(0);
    assign(s, it->second.isStatic, true);
    return accepted();
}

const CommandRegistrar kConfigRows[] = {
    {kModeConfig, "ip management vlan <vlan> dhcp", mgmtDhcp},
    {kModeConfig, "ip management vlan <vlan> <ipv4> <mask>", mgmtStatic},
    {kModeConfig, "ip default-gateway <ipv4>", gatewaySet},
    {kModeConfig, "no ip default-gateway", gatewayClear},
    {kModeConfig, "environment fan control mode {off|quiet|cool}", fanMode},
    {kModeConfig, "port-channel auto", lagAutoOn},
    {kModeConfig, "no port-channel auto", lagAutoOff},
    {kModeInterface, "speed auto", speedAuto},
    {kModeInterface, "speed <uint> {full-duplex|half-duplex}", speedFixed},
    {kModeInterface, "flowcontrol symmetric", flowControlOn},
    {kModeInterface, "no flowcontrol", flowControlOff},
    {kModeInterface, "ptp clock e2e-transparent", ptpOn},
    {kModeInterface, "no ptp clock e2e-transparent", ptpOff},
    {kModeInterface, "poe timer schedule <name>", poeScheduleSet},
    {kModeInterface, "no poe timer schedule", poeScheduleClear},
    {kModeVlanDb, "vlan <vlan>", vlanCreate},
    {kModeVlanDb, "vlan makestatic <vlan>", vlanMakeStatic},
};

}  // namespace
}  // namespace cli
}  // namespace sim
