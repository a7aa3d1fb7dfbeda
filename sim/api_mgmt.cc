// Control API of the switch's identity and management access: host name,
// prompt, terminal and serial settings, telnet, the network port (the CLI's
// management interface) and the service port, MAC addresses, up time, the
// ARP information walk and the configuration requests. Each operation keeps
// the rules of model_mgmt; values the switch refuses answer -22.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <tuple>
#include <vector>

#include "sim/addr.h"
#include "sim/api_util.h"
#include "sim/model_mgmt.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

// --- Identity ----------------------------------------------------------------

int32_t promptSet(Call& c)
{
    std::string p = c.text(0);
    if (!validPrompt(p))
        return kInvalid;
    c.st.mgmt.prompt = p;
    return changedIfOk(c, 0);
}

int32_t hostNameSet(Call& c)
{
    std::string n = c.text(0);
    if (!validHostName(n))
        return kInvalid;
    c.st.mgmt.hostName = n;
    return changedIfOk(c, 0);
}

int32_t hostNameGet(Call& c)
{
    c.setText(0, c.st.mgmt.hostName);
    return 0;
}

// The system name is the MIB-II one (sys-name of the identity directory);
// until it is set, the host name.
int32_t systemNameGet(Call& c)
{
    const std::string& n = c.st.sysModel.sysName;
    c.setText(0, n.empty() ? c.st.mgmt.hostName : n);
    return 0;
}

// The unit this switch is (its management unit).
int32_t localUnitGet(Call& c)
{
    c.setU32(0, c.st.units.empty() ? 1 : c.st.units.front().number);
    return 0;
}

// --- Terminal and serial ---------------------------------------------------------

int32_t termLengthSet(Call& c)
{
    uint32_t line = c.u32(0), len = c.u32(1);
    if (line >= kAccessLines || (len != 0 && (len < 5 || len > 512)))
        return kInvalid;
    c.st.mgmt.termLength[line] = len;
    return changedIfOk(c, 0);
}

int32_t termLengthGet(Call& c)
{
    uint32_t line = c.u32(0);
    if (line >= kAccessLines)
        return kInvalid;
    auto it = c.st.mgmt.termLength.find(line);
    c.setU32(1, it == c.st.mgmt.termLength.end() ? kTermLengthDefault : it->second);
    return 0;
}

int32_t termLengthDefault(Call& c)
{
    uint32_t line = c.u32(0);
    if (line >= kAccessLines)
        return kInvalid;
    c.st.mgmt.termLength[line] = kTermLengthDefault;
    return changedIfOk(c, 0);
}

int32_t serialTimeoutSet(Call& c)
{
    if (c.u32(0) > kSerialTimeoutMax)
        return kInvalid;
    c.st.mgmt.serialTimeout = c.u32(0);
    return changedIfOk(c, 0);
}

int32_t serialTimeoutGet(Call& c)
{
    c.setU32(0, c.st.mgmt.serialTimeout);
    return 0;
}

int32_t serialTimeoutDefault(Call& c)
{
    c.st.mgmt.serialTimeout = kSerialTimeoutDefault;
    return changedIfOk(c, 0);
}

int32_t telnetSet(Call& c)
{
    if (c.u32(0) > 1)
        return kInvalid;
    c.st.mgmt.telnetMode = c.u32(0);
    return changedIfOk(c, 0);
}

int32_t telnetGet(Call& c)
{
    c.setU32(0, c.st.mgmt.telnetMode);
    return 0;
}

// --- Network port IPv4: the CLI's management interface -----------------------------

int32_t mgmtVlanGet(Call& c)
{
    c.setU32(0, c.st.system.mgmtVlan);
    return 0;
}

// A VLAN the switch has, as "network mgmt_vlan" asks.
int32_t mgmtVlanSet(Call& c)
{
    if (!c.st.vlans.count(c.u32(0)))
        return kInvalid;
    c.st.system.mgmtVlan = c.u32(0);
    return changedIfOk(c, 0);
}

InetAddr v4Record(uint32_t v)
{
    InetAddr a{};
    if (v) {
        a.family = kFamilyIpv4;
        memcpy(a.addr, &v, 4);
    }
    return a;
}

InetAddr v4Record(const std::string& dotted)
{
    unsigned b[4];
    char tail;
    if (sscanf(dotted.c_str(), "%u.%u.%u.%u%c", &b[0], &b[1], &b[2], &b[3], &tail) != 4 || b[0] > 255 ||
        b[1] > 255 || b[2] > 255 || b[3] > 255)
        return InetAddr{};
    return v4Record(b[0] << 24 | b[1] << 16 | b[2] << 8 | b[3]);
}

std::string dotted(uint32_t v)
{
    return std::to_string(v >> 24) + "." + std::to_string(v >> 16 & 255) + "." + std::to_string(v >> 8 & 255) +
           "." + std::to_string(v & 255);
}

// The three records of an IPv4 setting: address and mask IPv4; gateway IPv4
// or unset.
bool v4Settings(const Call& c, uint32_t* addr, uint32_t* mask, uint32_t* gw)
{
    InetAddr a = recIn<InetAddr>(c, 0), m = recIn<InetAddr>(c, 1), g = recIn<InetAddr>(c, 2);
    if (a.family != kFamilyIpv4 || m.family != kFamilyIpv4 || (g.family != kFamilyIpv4 && g.family != kFamilyUnset))
        return false;
    *addr = v4Of(a.addr);
    *mask = v4Of(m.addr);
    *gw = g.family == kFamilyIpv4 ? v4Of(g.addr) : 0;
    return mgmtIpv4Fits(*addr, *mask, *gw);
}

int32_t networkV4Set(Call& c)
{
    uint32_t addr, mask, gw;
    if (!v4Settings(c, &addr, &mask, &gw))
        return kInvalid;
    SystemConfig& s = c.st.system;
    s.mgmtMethod = "Manual";
    s.mgmtAddress = dotted(addr);
    s.mgmtMask = dotted(mask);
    s.defaultGateway = dotted(gw);
    return changedIfOk(c, 0);
}

int32_t networkV4Delete(Call& c)
{
    SystemConfig& s = c.st.system;
    s.mgmtMethod = "Manual";
    s.mgmtAddress = s.mgmtMask = s.defaultGateway = "0.0.0.0";
    return changedIfOk(c, 0);
}

int32_t networkV4AddrGet(Call& c)
{
    recOut(c, 0, v4Record(c.st.system.mgmtAddress));
    recOut(c, 1, v4Record(c.st.system.mgmtMask));
    return 0;
}

int32_t networkGatewayGet(Call& c)
{
    recOut(c, 0, v4Record(c.st.system.defaultGateway));
    return 0;
}

const char* const kMethods[] = {"Manual", "BOOTP", "DHCP"};

// A protocol the port asks its address from clears the static address.
int32_t networkProtoSet(Call& c)
{
    uint32_t m = c.u32(0);
    if (m > kProtoDhcp)
        return kInvalid;
    SystemConfig& s = c.st.system;
    if (m != kProtoNone && s.mgmtMethod != kMethods[m])
        s.mgmtAddress = s.mgmtMask = "0.0.0.0";
    s.mgmtMethod = kMethods[m];
    return changedIfOk(c, 0);
}

int32_t networkProtoGet(Call& c)
{
    uint32_t m = kProtoNone;
    for (uint32_t i = 0; i <= kProtoDhcp; ++i)
        if (c.st.system.mgmtMethod == kMethods[i])
            m = i;
    c.setU32(0, m);
    return 0;
}

int32_t networkLinkGet(Call& c)
{
    c.setU32(0, 1);  // the network port is up
    return 0;
}

// --- Service port IPv4 ------------------------------------------------------------

int32_t serviceV4Set(Call& c)
{
    uint32_t addr, mask, gw;
    if (!v4Settings(c, &addr, &mask, &gw))
        return kInvalid;
    ServicePort& s = c.st.mgmt.service;
    s = ServicePort{kProtoNone, addr, mask, gw};
    return changedIfOk(c, 0);
}

int32_t serviceV4Delete(Call& c)
{
    c.st.mgmt.service = ServicePort{kProtoNone, 0, 0, 0};
    return changedIfOk(c, 0);
}

int32_t serviceV4AddrGet(Call& c)
{
    recOut(c, 0, v4Record(c.st.mgmt.service.addr));
    recOut(c, 1, v4Record(c.st.mgmt.service.mask));
    return 0;
}

int32_t serviceMaskGet(Call& c)
{
    recOut(c, 0, v4Record(c.st.mgmt.service.mask));
    return 0;
}

int32_t serviceGatewayGet(Call& c)
{
    recOut(c, 0, v4Record(c.st.mgmt.service.gateway));
    return 0;
}

int32_t serviceProtoSet(Call& c)
{
    uint32_t m = c.u32(0);
    if (m > kProtoDhcp)
        return kInvalid;
    ServicePort& s = c.st.mgmt.service;
    if (m != kProtoNone && m != s.protoMode)
        s.addr = s.mask = 0;
    s.protoMode = m;
    return changedIfOk(c, 0);
}

int32_t serviceProtoGet(Call& c)
{
    c.setU32(0, c.st.mgmt.service.protoMode);
    return 0;
}

// --- IPv6 of both ports --------------------------------------------------------------

Ipv6Port& networkV6(Call& c) { return c.st.mgmt.networkV6; }
Ipv6Port& serviceV6(Call& c) { return c.st.mgmt.serviceV6; }
std::string networkMac() { return systemMac(); }

template <Ipv6Port& (*port)(Call&)>
int32_t v6AdminSet(Call& c)
{
    if (c.u32(0) > 1)
        return kInvalid;
    port(c).adminMode = c.u32(0);
    return changedIfOk(c, 0);
}

template <Ipv6Port& (*port)(Call&)>
int32_t v6AdminGet(Call& c)
{
    c.setU32(0, port(c).adminMode);
    return 0;
}

template <Ipv6Port& (*port)(Call&)>
int32_t v6AutoSet(Call& c)
{
    if (c.u32(0) > 1)
        return kInvalid;
    port(c).autoConfig = c.u32(0);
    return changedIfOk(c, 0);
}

template <Ipv6Port& (*port)(Call&)>
int32_t v6AutoGet(Call& c)
{
    c.setU32(0, port(c).autoConfig);
    return 0;
}

// None or DHCPv6: there is no BOOTP for IPv6.
template <Ipv6Port& (*port)(Call&)>
int32_t v6ProtoSet(Call& c)
{
    if (c.u32(0) != kProtoNone && c.u32(0) != kProtoDhcp)
        return kInvalid;
    port(c).protoMode = c.u32(0);
    return changedIfOk(c, 0);
}

template <Ipv6Port& (*port)(Call&)>
int32_t v6ProtoGet(Call& c)
{
    c.setU32(0, port(c).protoMode);
    return 0;
}

template <Ipv6Port& (*port)(Call&)>
int32_t v6PrefixSet(Call& c)
{
    InetPrefix p = recIn<InetPrefix>(c, 0);
    if (p.family != kFamilyIpv6 || !portPrefixAdd(port(c), p.addr, p.pfxLen))
        return kInvalid;
    return changedIfOk(c, 0);
}

template <Ipv6Port& (*port)(Call&)>
int32_t v6PrefixDelete(Call& c)
{
    port(c).prefixes.clear();
    return changedIfOk(c, 0);
}

// An IPv6 gateway, or none (an unset record).
template <Ipv6Port& (*port)(Call&)>
int32_t v6GatewaySet(Call& c)
{
    InetAddr g = recIn<InetAddr>(c, 0);
    if ((g.family != kFamilyIpv6 && g.family != kFamilyUnset) || !portGatewayFits(g.addr))
        return kInvalid;
    port(c).gateway.assign(reinterpret_cast<const char*>(g.addr), 16);
    return changedIfOk(c, 0);
}

template <Ipv6Port& (*port)(Call&)>
int32_t v6GatewayGet(Call& c)
{
    InetAddr g{};
    g.family = kFamilyIpv6;
    memcpy(g.addr, port(c).gateway.data(), std::min<size_t>(16, port(c).gateway.size()));
    recOut(c, 0, g);
    return 0;
}

// The address after the key (unset: the first); -29 at the end.
template <Ipv6Port& (*port)(Call&), std::string (*mac)()>
int32_t v6AddrNext(Call& c)
{
    InetAddr k = recIn<InetAddr>(c, 0);
    if (k.family != kFamilyIpv6 && k.family != kFamilyUnset)
        return kInvalid;
    InetAddr next{};
    next.family = kFamilyIpv6;
    if (!portAddrNext(port(c), mac(), k.addr, next.addr))
        return kNotFound;
    recOut(c, 0, next);
    return 0;
}

// --- Up time, MAC addresses, time zone, makers ----------------------------------------

int32_t upTimeGet(Call& c)
{
    c.setU32(0, static_cast<uint32_t>(upTimeMsec() / 1000));
    return 0;
}

int32_t upTimeMsecGet(Call& c)
{
    c.setU32(0, static_cast<uint32_t>(upTimeMsec()));
    return 0;
}

int32_t macGet(Call& c)
{
    MacAddr m;
    memcpy(m.octet, systemMac().data(), 6);
    recOut(c, 0, m);
    return 0;
}

int32_t tzOffsetGet(Call& c)
{
    c.setU32(0, c.st.mgmt.tzOffsetMin);
    return 0;
}

int32_t operSysGet(Call& c)
{
    c.setText(0, "Linux 4.14.151");
    return 0;
}

// Units 0 (the local unit) and the stack's units.
int32_t manufacturerGet(Call& c)
{
    uint32_t unit = c.u32(0);
    bool known = unit == 0;
    for (const Unit& u : c.st.units)
        known = known || u.number == unit;
    if (!known)
        return kInvalid;
    c.setText(1, "TALVORN");
    return 0;
}

// --- Configuration -----------------------------------------------------------------

int32_t saveConfiguration(Call& c)
{
    saveStartupConfig(c.st);
    return changedIfOk(c, 0);
}

int32_t resetConfiguration(Call& c)
{
    resetConfigurationToDefault(c.st);
    return changedIfOk(c, 0);
}

// A reload would restart the switch; the simulator answers and goes on.
int32_t reload(Call&) { return 0; }

// --- ARP information walk -------------------------------------------------------------

// Entries in (interface, family, address) order; IPv4 addresses compare as
// numbers.
using ArpKey = std::tuple<uint32_t, uint32_t, std::string>;

ArpKey keyOf(uint32_t intf, const InetAddr& a)
{
    std::string bytes(reinterpret_cast<const char*>(a.addr), 16);
    if (a.family == kFamilyIpv4) {
        uint32_t v = v4Of(a.addr);
        bytes = std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                            static_cast<char>(v)} +
                std::string(12, '\0');
    }
    return ArpKey{intf, a.family, bytes};
}

int32_t arpInfoNext(Call& c)
{
    if (c.u32(0) != 0)
        return kInvalid;  // the switch has one ARP table
    InetAddr cur = recIn<InetAddr>(c, 2);
    if (cur.family != kFamilyIpv4 && cur.family != kFamilyIpv6 && cur.family != kFamilyUnset)
        return kInvalid;
    ArpKey after = keyOf(c.u32(1), cur);
    bool found = false;
    ArpKey best;
    uint32_t bestIp = 0;
    for (const auto& kv : c.st.routing.arp) {
        ArpKey k = keyOf(kv.second.intIfNum, v4Record(kv.first));
        if (k > after && (!found || k < best)) {
            best = k;
            bestIp = kv.first;
            found = true;
        }
    }
    if (!found)
        return kNotFound;
    const ArpEntry& e = c.st.routing.arp.at(bestIp);
    c.setU32(1, e.intIfNum);
    recOut(c, 2, v4Record(bestIp));
    MacAddr m;
    memcpy(m.octet, e.mac.data(), std::min<size_t>(6, e.mac.size()));
    recOut(c, 3, m);
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiSystemPromptSet, promptSet),
    SIM_OP(rpcclt_openapiSystemPromptMaxSizeGet, constantGet<kPromptMax>),
    SIM_OP(rpcclt_openapiSystemHostnameSet, hostNameSet),
    SIM_OP(rpcclt_openapiSystemHostnameGet, hostNameGet),
    SIM_OP(rpcclt_openapiSystemHostnameSizeGet, constantGet<kHostNameMax + 1>),
    SIM_OP(rpcclt_openapiSystemLocalUnitGet, localUnitGet),
    SIM_OP(rpcclt_openapiSystemNameGet, systemNameGet),
    SIM_OP(rpcclt_openapiSystemNameMaxSizeGet, constantGet<kSystemNameMax + 1>),
    SIM_OP(rpcclt_openapiLineTerminalLengthSet, termLengthSet),
    SIM_OP(rpcclt_openapiLineTerminalLengthGet, termLengthGet),
    SIM_OP(rpcclt_openapiLineTerminalLengthDefaultSet, termLengthDefault),
    SIM_OP(rpcclt_openapiSerialTimeoutSet, serialTimeoutSet),
    SIM_OP(rpcclt_openapiSerialTimeoutGet, serialTimeoutGet),
    SIM_OP(rpcclt_openapiSerialTimeoutDefaultSet, serialTimeoutDefault),
    SIM_OP(rpcclt_openapiNetworkMgmtVlanGet, mgmtVlanGet),
    SIM_OP(rpcclt_openapiNetworkMgmtVlanSet, mgmtVlanSet),
    SIM_OP(rpcclt_openapiNetworkPortLinkStateGet, networkLinkGet),
    SIM_OP(rpcclt_openapiNetworkPortIPv4ParametersSet, networkV4Set),
    SIM_OP(rpcclt_openapiNetworkPortIPv4ParametersDelete, networkV4Delete),
    SIM_OP(rpcclt_openapiNetworkPortIPv4AddrGet, networkV4AddrGet),
    SIM_OP(rpcclt_openapiNetworkPortGatewayIPv4AddrGet, networkGatewayGet),
    SIM_OP(rpcclt_openapiNetworkPortIPv4ProtocolModeSet, networkProtoSet),
    SIM_OP(rpcclt_openapiNetworkPortIPv4ProtocolModeGet, networkProtoGet),
    SIM_OP(rpcclt_openapiNetworkPortIPv6AdminModeSet, v6AdminSet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6AdminModeGet, v6AdminGet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6AutoConfigModeSet, v6AutoSet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6AutoConfigModeGet, v6AutoGet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6ProtocolModeSet, v6ProtoSet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6ProtocolModeGet, v6ProtoGet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6PrefixSet, v6PrefixSet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6PrefixDelete, v6PrefixDelete<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6GatewaySet, v6GatewaySet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6GatewayGet, v6GatewayGet<networkV6>),
    SIM_OP(rpcclt_openapiNetworkPortIPv6AddressesNextGet, v6AddrNext<networkV6, networkMac>),
    SIM_OP(rpcclt_openapiServicePortIPv4ParametersSet, serviceV4Set),
    SIM_OP(rpcclt_openapiServicePortIPv4ParametersDelete, serviceV4Delete),
    SIM_OP(rpcclt_openapiServicePortIPv4AddrGet, serviceV4AddrGet),
    SIM_OP(rpcclt_openapiServicePortMaskGet, serviceMaskGet),
    SIM_OP(rpcclt_openapiServicePortGatewayIPv4AddrGet, serviceGatewayGet),
    SIM_OP(rpcclt_openapiServicePortIPv4ProtocolModeSet, serviceProtoSet),
    SIM_OP(rpcclt_openapiServicePortIPv4ProtocolModeGet, serviceProtoGet),
    SIM_OP(rpcclt_openapiServicePortIPv6AdminModeSet, v6AdminSet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6AdminModeGet, v6AdminGet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6AutoConfigModeSet, v6AutoSet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6AutoConfigModeGet, v6AutoGet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6ProtocolModeSet, v6ProtoSet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6ProtocolModeGet, v6ProtoGet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6PrefixSet, v6PrefixSet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6PrefixDelete, v6PrefixDelete<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6GatewaySet, v6GatewaySet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6GatewayGet, v6GatewayGet<serviceV6>),
    SIM_OP(rpcclt_openapiServicePortIPv6AddressesNextGet, v6AddrNext<serviceV6, servicePortMac>),
    SIM_OP(rpcclt_openapiTelnetServerAdminModeSet, telnetSet),
    SIM_OP(rpcclt_openapiTelnetServerAdminModeGet, telnetGet),
    SIM_OP(rpcclt_openapiSystemUpTimeGet, upTimeGet),
    SIM_OP(rpcclt_openapiSystemUpTimeMsecGet, upTimeMsecGet),
    SIM_OP(rpcclt_openapiWarmRestartStatusGet, constantGet<0>),
    SIM_OP(rpcclt_openapiSystemMacAddrGet, macGet),
    SIM_OP(rpcclt_openapiSystemBurnedInMacAddrGet, macGet),
    SIM_OP(rpcclt_openapiSaveConfigurationSet, saveConfiguration),
    SIM_OP(rpcclt_openapiResetConfigurationSet, resetConfiguration),
    SIM_OP(rpcclt_openapiSystemReload, reload),
    SIM_OP(rpcclt_openapiTimeZoneOffsetGet, tzOffsetGet),
    SIM_OP(rpcclt_openapiOperSysGet, operSysGet),
    SIM_OP(rpcclt_openapiManufacturerGet, manufacturerGet),
    SIM_OP(rpcclt_openapiArpInfoNextGet, arpInfoNext),
};

}  // namespace
}  // namespace sim
