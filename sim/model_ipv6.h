// IPv6 and router advertisement settings: the global IPv6 settings, the
// IPv6 and neighbour discovery settings of each VLAN routing interface, the
// auto-state of ports; and the DHCP relay agent, kept beside them in the
// state file. The CLI changes them; IPv6 addresses live with the routing
// interfaces.
#pragma once

#include <cjson/cJSON.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/model_relay.h"
#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

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

struct Ipv6Model {
    Ipv6Global global;
    std::map<uint32_t, Ipv6Intf> vlans;  // by VLAN id
    std::map<uint32_t, uint32_t> portAutoState;  // "auto-state" of ports, by intIfNum (absent: 1)
    RelayConfig relay;
};

/// Adds or replaces the advertised prefix of the same address and length;
/// false when the preferred lifetime exceeds the valid one. Sets *changed
/// when the settings changed.
bool raPrefixSet(Ipv6Intf& v, const RaPrefix& p, bool* changed);

/// "auto-state" of an interface: a port's own, a VLAN routing interface's
/// from its VLAN's IPv6 settings. 1 unless configured off.
uint32_t autoStateOf(const SwitchState& st, uint32_t intIfNum);

/// Reads the "ipv6" section of a parsed state file into *m; false, leaving
/// *m as it was, when the section has a member of the wrong shape (an
/// absent section or member keeps what *m holds).
bool ipv6FromJson(const cJSON* root, Ipv6Model* m);

/// The records of this area in the state file.
extern const schema::Table<Ipv6Model> kIpv6Table;

}  // namespace sim
