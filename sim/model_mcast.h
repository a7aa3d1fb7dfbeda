// Layer-3 multicast routing of the simulated switch: the multicast routes
// of each address family, as the routing protocols (or static entries)
// installed them. A fresh switch has none; a state file may hold some.
#pragma once

#include <string>
#include <vector>

#include "sim/state_schema.h"

namespace sim {

/// One multicast route: (source, group), the protocol that made it, the
/// interface its traffic arrives on and the interfaces it leaves by.
struct McastRoute {
    std::string source;    // an address, or "*" for every source
    std::string group;
    std::string protocol;  // "PIMSM", "PIMDM", "DVMRP", "Static"; empty when none is named
    std::string incoming;  // the interface name ("1/0/5", "vlan 10")
    std::vector<std::string> outgoing;
};

struct McastModel {
    std::vector<McastRoute> ipv4Routes;
    std::vector<McastRoute> ipv6Routes;
};

extern const schema::Table<McastModel> kMcastTable;

}  // namespace sim
