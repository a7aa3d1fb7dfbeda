// Layer-3 multicast routing of the simulated switch.
#include "sim/model_mcast.h"

namespace sim {

using namespace schema;

namespace {

const Table<McastRoute> kMcastRouteTable = {
    requiredField<&McastRoute::source>("source"),
    requiredField<&McastRoute::group>("group"),
    field<&McastRoute::protocol>("protocol"),
    field<&McastRoute::incoming>("incoming"),
    field<&McastRoute::outgoing, List<Text>>("outgoing"),
};

}  // namespace

const Table<McastModel> kMcastTable = {
    field<&McastModel::ipv4Routes, List<Obj<McastRoute, kMcastRouteTable>>>("ipv4Routes"),
    field<&McastModel::ipv6Routes, List<Obj<McastRoute, kMcastRouteTable>>>("ipv6Routes"),
};

}  // namespace sim
