// Interfaces, stack members, the machine model and VLAN queries of the
// simulated switch. The control API numbers interface types 0 (physical
// port), 2 (LAG) and 3 (VLAN routing interface).
#include "sim/ops.h"

namespace sim {
namespace {

constexpr uint32_t kOpenIfPhysical = 0, kOpenIfLag = 2, kOpenIfVlan = 3;

uint32_t openType(IfType t)
{
    switch (t) {
    case kIfPhysical:
        return kOpenIfPhysical;
    case kIfLag:
        return kOpenIfLag;
    case kIfVlan:
        return kOpenIfVlan;
    }
    return 99;
}

const Interface* findIf(const Call& c, uint32_t intIfNum)
{
    auto it = c.st.interfaces.find(intIfNum);
    return it == c.st.interfaces.end() ? nullptr : &it->second;
}

// Next interface of a type after `after` (0: the first).
int32_t nextOfType(Call& c, uint32_t type, uint32_t after, size_t out)
{
    for (auto it = c.st.interfaces.upper_bound(after); it != c.st.interfaces.end(); ++it)
        if (openType(it->second.type) == type) {
            c.setU32(out, it->first);
            return 0;
        }
    return kOpenNotFound;
}

// openapiIfFirstGet (type, &intIfNum)
int32_t ifFirstGet(Call& c) { return nextOfType(c, c.u32(0), 0, 1); }

// openapiIfNextGet (type, intIfNum, &next)
int32_t ifNextGet(Call& c) { return nextOfType(c, c.u32(0), c.u32(1), 2); }

// openapiIfTypeGet (intIfNum, &type)
int32_t ifTypeGet(Call& c)
{
    const Interface* i = findIf(c, c.u32(0));
    if (!i)
        return kOpenNotFound;
    c.setU32(1, openType(i->type));
    return 0;
}

// openapiIfNameGet (intIfNum, name buffer)
int32_t ifNameGet(Call& c)
{
    const Interface* i = findIf(c, c.u32(0));
    if (!i)
        return kOpenNotFound;
    c.setText(1, i->name);
    return 0;
}

// openapiIfSpeedGet (intIfNum, &Mbit/s)
int32_t ifSpeedGet(Call& c)
{
    const Interface* i = findIf(c, c.u32(0));
    if (!i)
        return kOpenNotFound;
    c.setU32(1, i->speedMbps);
    return 0;
}

// openapiHashIntfUnitSlotPortGet (intIfNum, &record): zeros for an
// interface that is not a physical port.
int32_t hashIntfUnitSlotPortGet(Call& c)
{
    const Interface* i = findIf(c, c.u32(0));
    if (!i)
        return kOpenNotFound;
    UnitSlotPort usp{};
    if (i->type == kIfPhysical) {
        usp.unit = static_cast<uint8_t>(i->unit);
        usp.slot = static_cast<uint8_t>(i->slot);
        usp.port = static_cast<uint16_t>(i->port);
    }
    c.setBytes(1, std::string(reinterpret_cast<const char*>(&usp), sizeof usp));
    return 0;
}

// openapiUnitMgrStackMemberGetNext (unit, &next unit)
int32_t stackMemberGetNext(Call& c)
{
    uint32_t after = c.u32(0), best = 0;
    for (const Unit& u : c.st.units)
        if (u.number > after && (best == 0 || u.number < best))
            best = u.number;
    if (best == 0)
        return kOpenNotFound;
    c.setU32(1, best);
    return 0;
}

// openapiSystemRegMachineModelGet (model buffer): the management unit's model.
int32_t machineModelGet(Call& c)
{
    if (c.st.units.empty())
        return kOpenNotFound;
    c.setText(0, c.st.units.front().model);
    return 0;
}

// openapiNetworkMgmtVlanGet (&VLAN)
int32_t networkMgmtVlanGet(Call& c)
{
    c.setU32(0, c.st.system.mgmtVlan);
    return 0;
}

// openapiVlanIsStatic (VLAN) answers in its result: 1 for a static VLAN, 0 for
// a dynamic one (one that "vlan makestatic" would change), -29 for an
// unknown VLAN.
int32_t vlanIsStatic(Call& c)
{
    auto it = c.st.vlans.find(c.u32(0));
    if (it == c.st.vlans.end())
        return kOpenNotFound;
    return it->second.isStatic ? 1 : 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(openapiIfFirstGet, ifFirstGet),
    SIM_OP(openapiIfNextGet, ifNextGet),
    SIM_OP(openapiIfTypeGet, ifTypeGet),
    SIM_OP(openapiIfNameGet, ifNameGet),
    SIM_OP(openapiIfSpeedGet, ifSpeedGet),
    SIM_OP(openapiHashIntfUnitSlotPortGet, hashIntfUnitSlotPortGet),
    SIM_OP(openapiUnitMgrStackMemberGetNext, stackMemberGetNext),
    SIM_OP(openapiSystemRegMachineModelGet, machineModelGet),
    SIM_OP(openapiNetworkMgmtVlanGet, networkMgmtVlanGet),
    SIM_OP(openapiVlanIsStatic, vlanIsStatic),
};

}  // namespace
}  // namespace sim
