// Control API operations of IP helper: the mode, helper addresses and
// discard entries, with the rules of the CLI's helper commands
// (model_relay.h).
#include "sim/api_util.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

IpHelper& helper(Call& c) { return c.st.routing.helper; }

int32_t helperModeSet(Call& c)
{
    if (c.u32(0) > 1)
        return kInvalid;
    helper(c).mode = c.u32(0);
    c.changed = true;
    return 0;
}

int32_t helperAddressAdd(Call& c) { return changedIfOk(c, sim::helperAddressAdd(helper(c), c.u32(0), c.u32(1))); }
int32_t helperAddressDel(Call& c) { return changedIfOk(c, helperAddressDelete(helper(c), c.u32(0), c.u32(1))); }

int32_t intfHelperAddressAdd(Call& c)
{
    return changedIfOk(c, sim::intfHelperAddressAdd(c.st, c.u32(0), c.u32(1), c.u32(2)));
}

int32_t intfHelperAddressDel(Call& c)
{
    return changedIfOk(c, intfHelperAddressDelete(helper(c), c.u32(0), c.u32(1), c.u32(2)));
}

int32_t intfHelperDiscardAdd(Call& c) { return changedIfOk(c, helperDiscardAdd(c.st, c.u32(0), c.u32(1))); }
int32_t intfHelperDiscardDel(Call& c) { return changedIfOk(c, helperDiscardDelete(helper(c), c.u32(0), c.u32(1))); }

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiIpHelperModeSet, helperModeSet),
    SIM_OP(rpcclt_openapiIpHelperAddressAdd, helperAddressAdd),
    SIM_OP(rpcclt_openapiIpHelperAddressDel, helperAddressDel),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperAddressAdd, intfHelperAddressAdd),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperAddressDel, intfHelperAddressDel),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperDiscardAdd, intfHelperDiscardAdd),
    SIM_OP(rpcclt_openapiRtrIntfIpHelperDiscardDel, intfHelperDiscardDel),
};

}  // namespace
}  // namespace sim
