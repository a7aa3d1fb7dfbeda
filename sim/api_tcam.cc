// Control API of the TCAM policy store: policies created with the next
// handle, read, walked in handle order (-29 after the last), applied to and
// removed from ports and LAGs, destroyed one by one or all together; and the
// external packet agents by number. An unknown handle, an interface the
// policy cannot take and a policy the switch cannot hold answer -22; a full
// store -28; an agent number already taken -24.
#include <algorithm>

#include "sim/api_util.h"
#include "sim/model_tcam.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

TcamEntry* entry(Call& c, uint32_t handle)
{
    auto it = c.st.tcam.policies.find(handle);
    return it == c.st.tcam.policies.end() ? nullptr : &it->second;
}

// The API needs no session of its own: init and fini only succeed.
int32_t apiInit(Call&) { return 0; }
int32_t apiFini(Call&) { return 0; }

int32_t apiVersion(Call& c)
{
    c.setU32(0, kTcamVersionMajor);
    c.setU32(1, kTcamVersionMinor);
    c.setU32(2, kTcamVersionMajor << 8 | kTcamVersionMinor);
    return 0;
}

// (policy record, &handle)
int32_t policyCreate(Call& c)
{
    TcamPolicy p = recIn<TcamPolicy>(c, 0);
    if (!tcamPolicyValid(p))
        return kInvalid;
    TcamModel& m = c.st.tcam;
    if (m.policies.size() >= kTcamMaxPolicies || m.nextHandle == 0)
        return kOpenUnsupported;
    uint32_t h = m.nextHandle++;
    m.policies[h].policy = p;
    c.setU32(1, h);
    return changedIfOk(c, 0);
}

int32_t policyDestroy(Call& c)
{
    if (!c.st.tcam.policies.erase(c.u32(0)))
        return kInvalid;
    return changedIfOk(c, 0);
}

// Ports and LAGs take policies.
bool takesPolicy(const Call& c, uint32_t intf)
{
    auto it = c.st.interfaces.find(intf);
    return it != c.st.interfaces.end() && (it->second.type == kIfPhysical || it->second.type == kIfLag);
}

int32_t policyIntfAdd(Call& c)
{
    TcamEntry* e = entry(c, c.u32(0));
    uint32_t intf = c.u32(1);
    if (!e || !takesPolicy(c, intf))
        return kInvalid;
    if (std::find(e->intfs.begin(), e->intfs.end(), intf) == e->intfs.end())
        e->intfs.push_back(intf);
    return changedIfOk(c, 0);
}

int32_t policyIntfRem(Call& c)
{
    TcamEntry* e = entry(c, c.u32(0));
    if (!e)
        return kInvalid;
    auto at = std::find(e->intfs.begin(), e->intfs.end(), c.u32(1));
    if (at == e->intfs.end())
        return kInvalid;
    e->intfs.erase(at);
    return changedIfOk(c, 0);
}

// (handle, &policy)
int32_t policyGet(Call& c)
{
    TcamEntry* e = entry(c, c.u32(0));
    if (!e)
        return kInvalid;
    recOut(c, 1, e->policy);
    return 0;
}

// The first policy after `after` (0: the first of all) into (&policy, &handle)
// at `out`.
int32_t policyAfter(Call& c, uint32_t after, size_t out)
{
    auto it = c.st.tcam.policies.upper_bound(after);
    if (it == c.st.tcam.policies.end())
        return kNotFound;
    recOut(c, out, it->second.policy);
    c.setU32(out + 1, it->first);
    return 0;
}

int32_t policyGetFirst(Call& c) { return policyAfter(c, 0, 0); }
int32_t policyGetNext(Call& c) { return policyAfter(c, c.u32(0), 1); }

int32_t policyDeleteAll(Call& c)
{
    c.st.tcam.policies.clear();
    return changedIfOk(c, 0);
}

// (agent number, flags, name): agent 0 and an empty name are refused.
int32_t agentRegister(Call& c)
{
    uint32_t id = c.u32(0);
    std::string name = c.text(2);
    if (id == 0 || name.empty())
        return kInvalid;
    if (c.st.tcam.agents.count(id))
        return kExists;
    c.st.tcam.agents[id] = name;
    return changedIfOk(c, 0);
}

int32_t agentUnregister(Call& c)
{
    if (!c.st.tcam.agents.erase(c.u32(0)))
        return kInvalid;
    return changedIfOk(c, 0);
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiTcamApiInit, apiInit),
    SIM_OP(rpcclt_openapiTcamApiFini, apiFini),
    SIM_OP(rpcclt_openapiTcamApiVersionGet, apiVersion),
    SIM_OP(rpcclt_openapiTcamPolicyCreate, policyCreate),
    SIM_OP(rpcclt_openapiTcamPolicyDestroy, policyDestroy),
    SIM_OP(rpcclt_openapiTcamPolicyIntfAdd, policyIntfAdd),
    SIM_OP(rpcclt_openapiTcamPolicyIntfRem, policyIntfRem),
    SIM_OP(rpcclt_openapiTcamPolicyGet, policyGet),
    SIM_OP(rpcclt_openapiTcamPolicyGetFirst, policyGetFirst),
    SIM_OP(rpcclt_openapiTcamPolicyGetNext, policyGetNext),
    SIM_OP(rpcclt_openapiTcamPolicyDeleteAll, policyDeleteAll),
    SIM_OP(rpcclt_openapiExtAgentPktRegister, agentRegister),
    SIM_OP(rpcclt_openapiExtAgentPktUnregister, agentUnregister),
};

}  // namespace
}  // namespace sim
