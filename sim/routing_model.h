// Routing part of the simulated switch, one model per area: routing
// interfaces and their addresses (model_ip_intf.h), the route table and
// router settings (model_routes.h), ARP (model_arp.h), OSPF (model_ospf.h)
// and IP helper (model_relay.h). The control API operations (api_*.cc) and
// the CLI commands (cli_*.cc) change them through the areas' operations.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "sim/model_arp.h"
#include "sim/model_ip_intf.h"
#include "sim/model_ospf.h"
#include "sim/model_relay.h"
#include "sim/model_routes.h"

namespace sim {

struct RoutingModel {
    std::map<uint32_t, RouterIntf> intfs;  // by intIfNum
    std::vector<Route> routes;             // in key order
    std::map<uint32_t, ArpEntry> arp;      // by IPv4 address
    ArpConfig arpConfig;
    Ospf ospf;
    IpHelper helper;
    Router router;
    std::map<uint32_t, Protocol> protocols = {{kProtoLocal, {kFamilyIpv4, "local", "C"}},
                                               {kProtoStatic, {kFamilyIpv4, "static", "S"}},
                                               {kProtoOspf, {kFamilyIpv4, "ospf", "O"}}};
    std::map<uint32_t, RouteType> routeTypes = {{1, {kFamilyIpv4, kProtoLocal, "connected", "C"}},
                                                {2, {kFamilyIpv4, kProtoStatic, "static", "S"}}};
    std::map<uint32_t, EventClient> clients;
    uint32_t nextClientId = 1;
    uint64_t ipStats[kIpStatsCount] = {};  // the IPv4 counters of "show ip stats"
};

/// The routing model in the state file: under "routing", and the CLI's
/// IPv4 settings (ARP cache settings, the CLI side of the interfaces, the
/// counters) under "ipv4Cli".
extern const schema::Table<RoutingModel> kRoutingTable;
extern const schema::Table<RoutingModel> kIpv4CliTable;

}  // namespace sim
