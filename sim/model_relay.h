// IP helper and the DHCP relay agent: helper addresses (global and per
// interface) and discard entries, which the control API and the CLI change
// with one rule set, and the relay agent's options and statistics.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

struct IpHelper {
    uint32_t mode = 0;
    std::set<std::pair<uint32_t, uint32_t>> global;              // (server, UDP port)
    std::set<std::tuple<uint32_t, uint32_t, uint32_t>> perIntf;  // (intf, server, UDP port)
    std::set<std::pair<uint32_t, uint32_t>> discards;            // (intf, UDP port)
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

/// Helper addresses: a server is a unicast host address (not 0/8, 127/8 or
/// 224/3), a UDP port 0-65535 (0: the default ports). kOpenInvalidParam for
/// other values, kOpenExists for an entry that is there already; removal
/// answers kOpenNotFound for one that is not.
bool helperServerValid(uint32_t server);
int32_t helperAddressAdd(IpHelper& h, uint32_t server, uint32_t udpPort);
int32_t helperAddressDelete(IpHelper& h, uint32_t server, uint32_t udpPort);
/// The same on one interface, which the switch must have.
int32_t intfHelperAddressAdd(SwitchState& st, uint32_t intIfNum, uint32_t server, uint32_t udpPort);
int32_t intfHelperAddressDelete(IpHelper& h, uint32_t intIfNum, uint32_t server, uint32_t udpPort);
/// Discard entries: relayed packets of a UDP port arriving on an interface are dropped.
int32_t helperDiscardAdd(SwitchState& st, uint32_t intIfNum, uint32_t udpPort);
int32_t helperDiscardDelete(IpHelper& h, uint32_t intIfNum, uint32_t udpPort);
/// Removes every helper address and discard entry of an interface; true
/// when there was any.
bool helperClearIntf(IpHelper& h, uint32_t intIfNum);

/// The records of this area in the state file.
extern const schema::Table<IpHelper> kIpHelperTable;
extern const schema::Table<RelayConfig> kRelayTable;

}  // namespace sim
