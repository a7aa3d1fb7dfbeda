// The ARP cache: static entries the control API and the CLI add with one
// rule set, dynamic entries the kernel adds, and the cache settings of the
// CLI.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "sim/state_schema.h"

namespace sim {

struct RoutingModel;

struct ArpEntry {
    uint32_t intIfNum = 0;
    std::string mac = std::string(6, '\0');
    bool isStatic = true;
};

/// ARP cache settings ("arp ..." in global configuration).
struct ArpConfig {
    uint32_t ageTime = 1200;  // arp timeout (s)
    uint32_t respTime = 1;    // arp resptime (s)
    uint32_t retries = 4;     // arp retries
    uint32_t cacheSize = 896; // arp cachesize
    uint32_t dynamicRenew = 0;
    uint32_t peak = 0;        // most entries the cache has held
};
constexpr uint32_t kArpStaticMax = 128;

/// A station's address: not all zeros, not a group address.
bool usableMac(const std::string& mac);

enum class ArpVerdict {
    kDone,       // added, replaced, or already as asked
    kBadAddress, // 0.0.0.0, or in no routing interface's subnet
    kBadMac,     // no station's address
    kFull,       // kArpStaticMax static entries already
    kNotFound
};

/// Adds or replaces the static entry of an address, on the routing
/// interface whose subnet holds it. Sets *changed when the cache changed.
ArpVerdict arpStaticAdd(RoutingModel& m, uint32_t ip, const std::string& mac, bool* changed);
/// An entry the kernel learnt on an interface.
ArpVerdict arpDynamicAdd(RoutingModel& m, uint32_t intIfNum, uint32_t ip, const std::string& mac);
/// Removes the entry of an address; a static one only when `staticToo`.
ArpVerdict arpDelete(RoutingModel& m, uint32_t ip, bool staticToo);
/// Removes the dynamic entries, the next hops of static routes only when
/// `gateways`; true when any was removed.
bool arpClearDynamic(RoutingModel& m, bool gateways);
/// Whether an address is the next hop of a static route.
bool isGateway(const RoutingModel& m, uint32_t ip);

/// The records of this area in the state file.
extern const schema::Table<ArpEntry> kArpEntryTable;
extern const schema::Table<ArpConfig> kArpConfigTable;

}  // namespace sim
