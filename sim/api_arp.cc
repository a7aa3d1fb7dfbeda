// Control API operations of the ARP cache: static entries, with the rules
// of the CLI's "arp" commands (model_arp.h), kernel entries and walks.
#include "sim/api_util.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

std::string macOf(const MacAddr& m) { return std::string(reinterpret_cast<const char*>(m.octet), 6); }

// openapiArpEntryAdd (ip, &mac)
int32_t arpEntryAdd(Call& c)
{
    bool changed = false;
    ArpVerdict v = arpStaticAdd(c.st.routing, c.u32(0), macOf(recIn<MacAddr>(c, 1)), &changed);
    c.changed = changed;
    return v == ArpVerdict::kDone ? 0 : kInvalid;
}

int32_t arpEntryDel(Call& c)
{
    return changedIfOk(c, arpDelete(c.st.routing, c.u32(0), true) == ArpVerdict::kDone ? 0 : kNotFound);
}

// openapiKernelArpAdd (stack ifindex, vrf, &address, &mac)
int32_t kernelArpAdd(Call& c)
{
    uint32_t stk = c.u32(0);
    InetAddr a = recIn<InetAddr>(c, 2);
    if (c.u32(1) != 0 || stk <= 100 || !intfExists(c, stk - 100) || a.family != kFamilyIpv4)
        return kInvalid;
    ArpVerdict v = arpDynamicAdd(c.st.routing, stk - 100, v4Of(a.addr), macOf(recIn<MacAddr>(c, 3)));
    return changedIfOk(c, v == ArpVerdict::kDone ? 0 : kInvalid);
}

// Kernel entries only: a static entry is not the kernel's to remove.
int32_t kernelArpDelete(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 1);
    if (c.u32(0) != 0 || a.family != kFamilyIpv4)
        return kInvalid;
    return changedIfOk(c, arpDelete(c.st.routing, v4Of(a.addr), false) == ArpVerdict::kDone ? 0 : kNotFound);
}

// Walks the ARP table in (interface, address) order.
int32_t arpEntryNextGet(Call& c)
{
    std::pair<uint32_t, uint32_t> after{c.u32(0), c.u32(1)}, best{0, 0};
    const ArpEntry* found = nullptr;
    for (const auto& kv : c.st.routing.arp) {
        std::pair<uint32_t, uint32_t> key{kv.second.intIfNum, kv.first};
        if (key > after && (!found || key < best)) {
            best = key;
            found = &kv.second;
        }
    }
    if (!found)
        return kNotFound;
    c.setU32(0, best.first);
    c.setU32(1, best.second);
    MacAddr m;
    memcpy(m.octet, found->mac.data(), 6);
    recOut(c, 2, m);
    return 0;
}

int32_t arpResolve(Call& c)
{
    InetAddr a = recIn<InetAddr>(c, 1);
    if (c.u32(0) != 0 || a.family != kFamilyIpv4)
        return kInvalid;
    auto it = c.st.routing.arp.find(v4Of(a.addr));
    if (it == c.st.routing.arp.end())
        return kNotFound;
    MacAddr m;
    memcpy(m.octet, it->second.mac.data(), 6);
    recOut(c, 5, m);
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiArpResolve, arpResolve),
    SIM_OP(rpcclt_openapiKernelArpAdd, kernelArpAdd),
    SIM_OP(rpcclt_openapiKernelArpDelete, kernelArpDelete),
    SIM_OP(rpcclt_openapiArpEntryAdd, arpEntryAdd),
    SIM_OP(rpcclt_openapiArpEntryDel, arpEntryDel),
    SIM_OP(rpcclt_openapiArpEntryNextGet, arpEntryNextGet),
};

}  // namespace
}  // namespace sim
