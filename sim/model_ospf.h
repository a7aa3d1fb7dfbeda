// OSPF settings of the switch: the router's, each area's, each interface's
// and the network area entries. Only the control API changes them.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "sim/model_routes.h"
#include "sim/state_schema.h"

namespace sim {

struct OspfIntf {
    uint32_t adminMode = 0;
    uint32_t areaId = 0;
    uint32_t areaMode = 0;
    uint32_t deadInterval = 40;
    uint32_t helloInterval = 10;
    uint32_t passive = 0;
    uint32_t secondaries = 1;
    uint32_t type = 1;
    std::map<uint32_t, uint32_t> metricByTos;
};

struct OspfArea {
    uint32_t summary = 2;
    uint32_t importExt = 1;
    uint32_t nssaSummary = 2;
};

struct OspfNetwork {
    uint32_t ip = 0, wildcard = 0, areaId = 0, areaIdFmt = 0;
};

struct Ospf {
    uint32_t routerId = 0;
    uint32_t autoCost = 100;
    uint32_t maxPaths = kMaxEqualCostPaths;
    uint32_t rfc1583 = 1;
    uint32_t spfDelay = 5;
    uint32_t spfHold = 10;
    uint32_t logAdj = 0, logDetail = 0;
    uint32_t stubMode = 0, stubDuration = 0, stubOverride = 0, stubMetric = 0;
    std::map<uint32_t, uint32_t> traps;  // by trap type
    std::map<uint32_t, OspfArea> areas;
    std::map<uint32_t, OspfIntf> intfs;  // by intIfNum
    std::vector<OspfNetwork> networks;
};

/// The records of this area in the state file.
extern const schema::Table<Ospf> kOspfTable;

}  // namespace sim
