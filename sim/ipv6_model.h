// IPv6 and DHCP relay settings of the simulated switch that only its CLI
// changes: the global IPv6 settings, the IPv6 and router advertisement
// settings of each VLAN routing interface, the relay agent's options and its
// statistics. The helper addresses themselves live in the routing model.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct cJSON;

namespace sim {

struct SwitchState;
class StateNode;

/// A prefix advertised in router advertisements ("ipv6 nd prefix").
struct RaPrefix {
    std::string prefix;  // "2001:db8::" as typed (validated IPv6 text)
    uint32_t pfxLen = 64;
    uint32_t validLife = 2592000;
    uint32_t prefLife = 604800;
    uint32_t onLink = 1;
    uint32_t autonomous = 1;
};

enum RaPreference : uint32_t { kRaPrefMedium = 0, kRaPrefHigh = 1, kRaPrefLow = 2 };

/// IPv6 settings of one VLAN routing interface ("interface vlan N").
struct Ipv6Intf {
    uint32_t enabled = 0;        // ipv6 enable
    uint32_t autoState = 1;      // auto-state
    uint32_t unreachables = 1;   // ipv6 unreachables
    uint32_t mtu = 0;            // ipv6 mtu; 0: the link's
    uint32_t dadTransmits = 1;   // ipv6 nd dad attempts
    uint32_t nsInterval = 0;     // ipv6 nd ns-interval (ms); 0: unspecified
    uint32_t reachableTime = 0;  // ipv6 nd reachable-time (ms); 0: unspecified
    uint32_t raInterval = 600;   // ipv6 nd ra-interval (s)
    uint32_t raLifetime = 1800;  // ipv6 nd ra-lifetime (s)
    uint32_t raMtu = 0;          // ipv6 nd mtu; 0: not advertised
    uint32_t raPreference = kRaPrefMedium;
    uint32_t managedFlag = 0;
    uint32_t otherFlag = 0;
    uint32_t hopLimitUnspec = 0;
    uint32_t suppress = 0;
    std::vector<RaPrefix> prefixes;
};

/// Global IPv6 settings ("ipv6 ..." in global configuration).
struct Ipv6Global {
    uint32_t unicastRouting = 0;
    uint32_t nbrsDynRenew = 0;
    uint32_t nudBackoff = 1;
    uint32_t nudMaxUnicast = 3;
    uint32_t nudMaxMulticast = 3;
    uint32_t unresolvedRateLimit = 1024;
    uint32_t hopLimit = 64;
};

/// Relay options of one port (interface configuration).
struct RelayIntf {
    uint32_t serverOverride = 0;
    uint32_t cidOption = 0;
    uint32_t cidCheck = 0;
    uint32_t sourceIntf = 0;  // intIfNum, 0 for none
};

/// Counters of "show ip helper statistics", in its line order.
enum RelayCounter : size_t {
    kDhcpClientReceived, kDhcpClientRelayed, kDhcpServerReceived, kDhcpServerRelayed, kUdpClientReceived,
    kUdpClientRelayed, kHopsTooMany, kWaitTooEarly, kSpoofedGiaddr, kTtlExpired, kMatchDiscard, kRelayCounters
};

/// DHCP relay agent: the global options and the per-port ones.
struct RelayConfig {
    uint32_t maxHopCount = 4;
    uint32_t minWaitTime = 0;
    uint32_t cidOption = 0;
    uint32_t cidCheck = 1;
    uint32_t serverOverride = 0;
    uint32_t sourceIntf = 0;  // intIfNum of a port, 0 for none
    std::map<uint32_t, RelayIntf> intfs;  // by intIfNum
    // A switch that has been relaying since it booted.
    uint32_t counters[kRelayCounters] = {18, 18, 16, 16, 4, 4, 1, 0, 0, 0, 2};
};

struct Ipv6Model {
    Ipv6Global global;
    std::map<uint32_t, Ipv6Intf> vlans;  // by VLAN id
    std::map<uint32_t, uint32_t> portAutoState;  // "auto-state" of ports, by intIfNum (absent: 1)
    RelayConfig relay;
};

/// Adds the model to the state file's JSON object, and reads it back
/// (members absent from an older file keep their defaults).
void ipv6ToJson(cJSON* root, const Ipv6Model& m);
void ipv6FromJson(const StateNode& root, Ipv6Model* m);
/// The same from a parsed state file; false, leaving *m as it was, when the
/// section has a member of the wrong shape.
bool ipv6FromJson(const cJSON* root, Ipv6Model* m);

/// "auto-state" of an interface: a port's own, a VLAN routing interface's
/// from its VLAN's IPv6 settings. 1 unless configured off.
uint32_t autoStateOf(const SwitchState& st, uint32_t intIfNum);

}  // namespace sim
