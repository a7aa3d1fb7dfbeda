// The TCAM policy store of the simulated switch.
#include "sim/model_tcam.h"

namespace sim {

bool tcamPolicyValid(const TcamPolicy& p)
{
    return p.matchVlanVal <= 4095 && p.matchVlanPrio <= 7 && p.matchIpDscpMask <= 63 &&
           p.actionVal.vlanId <= 4095 && p.actionVal.vlanPrio <= 7 && p.actionVal.dscp <= 63;
}

using namespace schema;

namespace {

const Table<TcamEntry> kTcamEntryTable = {
    field<&TcamEntry::policy, Wire<TcamPolicy>>("policy"),
    field<&TcamEntry::intfs, List<U32>>("intfs"),
};

}  // namespace

const Table<TcamModel> kTcamTable = {
    field<&TcamModel::policies, Numbered<Obj<TcamEntry, kTcamEntryTable>>>("policies"),
    field<&TcamModel::nextHandle>("nextHandle"),
    field<&TcamModel::agents, Numbered<Text>>("agents"),
};

}  // namespace sim
