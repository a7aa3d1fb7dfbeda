// The TCAM policy store of the simulated switch: policies by handle, each
// with the interfaces it is applied to, and the external packet agents.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/openclt/openclt.h"
#include "sim/state_schema.h"

namespace sim {

struct TcamEntry {
    TcamPolicy policy{};
    std::vector<uint32_t> intfs;  // in the order they were added
};

/// Version of the policy record format the store takes.
constexpr uint32_t kTcamVersionMajor = 1, kTcamVersionMinor = 0;
constexpr uint32_t kTcamMaxPolicies = 64;

struct TcamModel {
    std::map<uint32_t, TcamEntry> policies;  // by handle
    uint32_t nextHandle = 1;                 // handles are never reused
    std::map<uint32_t, std::string> agents;  // packet agents by number
};

/// Whether the switch can hold the policy: VLAN ids and priorities in range.
bool tcamPolicyValid(const TcamPolicy& p);

extern const schema::Table<TcamModel> kTcamTable;

}  // namespace sim
