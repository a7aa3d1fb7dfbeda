// Control API operations of the common services: address texts and
// records, name lengths, interface display names, PoE support per unit and
// packets an agent sends out of an interface.
#include <arpa/inet.h>

#include "sim/api_util.h"
#include "sim/cli_show.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

constexpr uint32_t kIntfNameMax = 60;      // as rpcclt_openapiIntfNameSizeGet
constexpr uint32_t kAddrTextMax = 46;      // the longest IPv6 text and its NUL
constexpr uint32_t kPktPriorityMax = 7;    // 802.1p priorities
constexpr uint32_t kPktTypeMax = 2;        // 0 data, 1 control, 2 management

// An address text in record form: IPv4 as its host-order word, IPv6 as its
// 16 bytes; false for anything else.
bool addrOfText(const std::string& text, InetAddr* a)
{
    *a = InetAddr{};
    in_addr v4;
    if (inet_pton(AF_INET, text.c_str(), &v4) == 1) {
        uint32_t host = ntohl(v4.s_addr);
        a->family = kFamilyIpv4;
        memcpy(a->addr, &host, 4);
        return true;
    }
    if (inet_pton(AF_INET6, text.c_str(), a->addr) == 1) {
        a->family = kFamilyIpv6;
        return true;
    }
    return false;
}

bool textOfAddr(const InetAddr& a, std::string* text)
{
    char buf[INET6_ADDRSTRLEN] = "";
    if (a.family == kFamilyIpv4) {
        in_addr v4;
        v4.s_addr = htonl(v4Of(a.addr));
        inet_ntop(AF_INET, &v4, buf, sizeof buf);
    } else if (a.family == kFamilyIpv6) {
        inet_ntop(AF_INET6, a.addr, buf, sizeof buf);
    } else {
        return false;
    }
    *text = buf;
    return true;
}

int32_t inetAddrGet(Call& c)
{
    InetAddr a;
    if (!addrOfText(c.text(0), &a))
        return kInvalid;
    recOut(c, 1, a);
    return 0;
}

// The simulated switch resolves no host names: an address text only.
int32_t inetAddrFromText(Call& c) { return inetAddrGet(c); }

int32_t isInetAddrZero(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 0);
    if (!validFamily(a.family))
        return kInvalid;
    static const uint8_t kZero[16] = {};
    c.setU32(1, memcmp(a.addr, kZero, a.family == kFamilyIpv4 ? 4 : 16) == 0 ? 1 : 0);
    return 0;
}

int32_t addrToText(Call& c)
{
    std::string text;
    if (!textOfAddr(recIn<InetAddr>(c, 0), &text))
        return kInvalid;
    c.setText(1, text);
    return 0;
}

const Unit* findUnit(const Call& c, uint32_t n)
{
    for (const Unit& u : c.st.units)
        if (u.number == n)
            return &u;
    return nullptr;
}

// A unit supplies PoE when one of its ports does.
int32_t poeIsSupported(Call& c)
{
    if (!findUnit(c, c.u32(0)))
        return kInvalid;
    uint32_t any = 0;
    for (const auto& kv : c.st.interfaces)
        if (kv.second.unit == c.u32(0) && cli::poeCapable(kv.second))
            any = 1;
    c.setU32(1, any);
    return 0;
}

// openapiIntfDisplayNameGet (unit, slot, port, name): the port's name.
int32_t intfDisplayNameGet(Call& c)
{
    for (const auto& kv : c.st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfPhysical && i.unit == c.u32(0) && i.slot == c.u32(1) && i.port == c.u32(2)) {
            c.setText(3, i.name);
            return 0;
        }
    }
    return kInvalid;
}

// openapiExtPktTransmit (interface, VLAN, type, priority): out of a port or
// LAG the switch has, in a VLAN it has.
int32_t extPktTransmit(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(0));
    if (it == c.st.interfaces.end() || it->second.type == kIfVlan || !c.st.vlans.count(c.u32(1)) ||
        c.u32(2) > kPktTypeMax || c.u32(3) > kPktPriorityMax)
        return kInvalid;
    return 0;
}

int32_t currentSdmGet(Call& c)
{
    c.setU32(0, c.st.sysModel.sdmTemplate);
    return 0;
}

// The ping and trace route agents report their probes (sequence number,
// round trip, type, source; hop and probe counts, error symbol): the switch
// takes each report and keeps nothing of it.
int32_t probeReport(Call&) { return 0; }

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiCurrentSDMGet, currentSdmGet),
    SIM_OP(rpcclt_openapiPingCallback, probeReport),
    SIM_OP(rpcclt_openapiTraceRouteCallbackFn, probeReport),
    SIM_OP(rpcclt_openapiInetAddrMaxSizeGet, constantGet<sizeof(InetAddr)>),
    SIM_OP(rpcclt_openapiInetAddrGet, inetAddrGet),
    SIM_OP(rpcclt_openapiInetAddrFromIPAddrHostNameStr, inetAddrFromText),
    SIM_OP(rpcclt_openapiIsInetAddrZero, isInetAddrZero),
    SIM_OP(rpcclt_openapiIntfNameMaxLengthGet, constantGet<kIntfNameMax>),
    SIM_OP(rpcclt_openapiIpAddressMaxStringLength, constantGet<kAddrTextMax>),
    SIM_OP(rpcclt_openapiOpenIPtoStringGet, addrToText),
    SIM_OP(rpcclt_openapiPoeIsSupported, poeIsSupported),
    SIM_OP(rpcclt_openapiIntfDisplayNameGet, intfDisplayNameGet),
    SIM_OP(rpcclt_openapiExtPktTransmit, extPktTransmit),
};

}  // namespace
}  // namespace sim
