// Routing interfaces and their addresses: one set, changed and read by the
// control API operations and by the CLI alike. A port or LAG gains an entry
// when it is first configured; a VLAN routing interface has one from its
// creation. The routing interfaces are the VLAN routing interfaces and the
// interfaces with an address.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/openclt/routing_types.h"
#include "sim/state_schema.h"

namespace sim {

struct SwitchState;
struct RoutingModel;

/// An interface address; `addr` holds the record form (IPv4 host order in the first word).
struct IntfAddr {
    uint32_t family = kFamilyIpv4;
    std::string addr = std::string(16, '\0');
    uint32_t pfxLen = 0;
};

/// Routing settings of an interface (a port, a LAG or a VLAN routing interface).
struct RouterIntf {
    uint32_t intIfNum = 0;
    uint32_t vlanId = 0;  // VLAN routing interfaces only
    std::vector<IntfAddr> addrs;  // the first IPv4 address is the primary one
    uint32_t adminMode = 1;
    uint32_t ipMtu = 1500;
    uint32_t proxyArp = 0;
    uint32_t redirects = 1;
    uint32_t destUnreachable = 1;
    uint32_t netDirBcast = 0;
    uint32_t localProxyArp = 0;      // ip local-proxy-arp
    uint32_t gratArp = 1;            // ip gratuitous-arp
    uint32_t unnumberedGratArp = 0;  // ip unnumbered gratuitous-arp
    uint32_t bandwidth = 0;          // bandwidth (kbit/s); 0: the link speed
};

/// VLAN routing interfaces are numbered from here as they are created,
/// each the lowest number free; VLANs 1 to kMaxRoutingVlan can have one.
constexpr uint32_t kFirstVlanIntf = 37;
constexpr uint32_t kMaxRoutingVlan = 4093;
/// The CPU's interface: past every number a VLAN routing interface can take
/// (at most kMaxRoutingVlan of them, so the lowest free number is at most
/// kFirstVlanIntf + kMaxRoutingVlan - 1), so that it never names another.
constexpr uint32_t kCpuIntf = kFirstVlanIntf + kMaxRoutingVlan;

/// The 44 counters of "show ip stats", in its line order.
constexpr size_t kIpStatsCount = 44;
extern const char* const kIpStatsNames[kIpStatsCount];

/// The entry of an interface; nullptr when it has none.
const RouterIntf* findRouterIntf(const RoutingModel& m, uint32_t intIfNum);
/// The entry of an interface, made when it has none.
RouterIntf& routerIntfOf(RoutingModel& m, uint32_t intIfNum);
bool isRoutingIntf(const RouterIntf& r);
/// The routing interface of a VLAN; 0 when the VLAN has none.
uint32_t vlanRoutingIntf(const RoutingModel& m, uint32_t vlan);
/// The routing interface whose IPv4 subnet holds `ip`; 0 when none does.
uint32_t subnetIntfOf(const RoutingModel& m, uint32_t ip);
/// The primary (index 0) or a secondary (1, 2 ...) address of a family.
const IntfAddr* intfAddr(const RouterIntf* r, uint32_t family, uint32_t index);
/// The interface that has an IPv4 address; nullptr when none has.
const IntfAddr* ipv4Entry(const RoutingModel& m, uint32_t ip, uint32_t* intIfNum = nullptr);
/// Every IPv4 address of the switch as (address, interface), in that order.
std::vector<std::pair<uint32_t, uint32_t>> ipv4Table(const RoutingModel& m);

/// Adds an address to an interface, with its connected route. Refused
/// (kOpenInvalidParam): an unknown interface, a family or length that do
/// not fit, and IPv4's unspecified address, a subnet's number or its
/// broadcast; kOpenExists when any interface has the address.
int32_t addressAdd(SwitchState& st, uint32_t intIfNum, const IntfAddr& a);
/// Removes an address and its connected route; kOpenNotFound when absent.
int32_t addressDelete(SwitchState& st, uint32_t intIfNum, uint32_t family, const std::string& addr);
/// Creates VLAN N's routing interface (and the VLAN when it is missing).
int32_t vlanIntfCreate(SwitchState& st, uint32_t vlan);
/// Deletes it with the routes through it, its ARP entries and its OSPF settings.
int32_t vlanIntfDelete(SwitchState& st, uint32_t vlan);

/// The records of this area in the state file: the routing side of an
/// interface (under "routing"), and its CLI side (under "ipv4Cli").
extern const schema::Table<IntfAddr> kIntfAddrTable;
extern const schema::Table<RouterIntf> kRouterIntfTable;
extern const schema::Table<RouterIntf> kRouterIntfCliTable;

}  // namespace sim
