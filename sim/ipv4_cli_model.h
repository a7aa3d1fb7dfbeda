// IPv4 settings of the simulated switch that only its CLI changes: the ARP
// cache settings, the IP interface settings of each routing interface and
// the IPv4 counters of "show ip stats". Routes, addresses and ARP entries
// themselves live in the routing model; the route table helpers here keep
// it in order and tell the route change clients, as the control API does.
#pragma once

#include <cstdint>
#include <map>

#include "sim/routing_model.h"

struct cJSON;

namespace sim {

struct SwitchState;
class StateNode;

/// ARP cache settings ("arp ..." in global configuration).
struct ArpConfig {
    uint32_t ageTime = 1200;  // arp timeout (s)
    uint32_t respTime = 1;    // arp resptime (s)
    uint32_t retries = 4;     // arp retries
    uint32_t cacheSize = 896; // arp cachesize
    uint32_t dynamicRenew = 0;
    // Most entries the cache has held. The control API's ARP operations do
    // not keep it, so every look at the cache notes it too.
    mutable uint32_t peak = 0;
};
constexpr uint32_t kArpStaticMax = 128;

/// IP settings of one interface ("interface ...").
struct IpIntfCli {
    uint32_t localProxyArp = 0;      // ip local-proxy-arp
    uint32_t gratArp = 1;            // ip gratuitous-arp
    uint32_t unnumberedGratArp = 0;  // ip unnumbered gratuitous-arp
    uint32_t bandwidth = 0;          // bandwidth (kbit/s); 0: the link speed
};

/// The 44 counters of "show ip stats", in its line order.
constexpr size_t kIpStatsCount = 44;
extern const char* const kIpStatsNames[kIpStatsCount];

struct Ipv4CliModel {
    ArpConfig arp;
    std::map<uint32_t, IpIntfCli> intfs;  // by intIfNum
    uint64_t ipStats[kIpStatsCount] = {};
};

/// Adds the model to the state file's JSON object, and reads it back
/// (members absent from an older file keep their defaults).
void ipv4CliToJson(cJSON* root, const Ipv4CliModel& m);
void ipv4CliFromJson(const StateNode& root, Ipv4CliModel* m);

/// Route table order: family, prefix (IPv4 numerically), prefix length.
bool routeKeyLess(const RouteRecord& a, const RouteRecord& b);
/// Inserts a route in order / removes one, and queues the change for the
/// best-route clients of its family.
void routeTableInsert(RoutingModel& m, const Route& r);
void routeTableErase(RoutingModel& m, std::vector<Route>::iterator it);
void routeTableNotify(RoutingModel& m, uint32_t changeType, const Route& r);

/// The routing interface whose IPv4 subnet holds `ip`; 0 when none does.
uint32_t subnetIntfOf(const RoutingModel& m, uint32_t ip);

}  // namespace sim
