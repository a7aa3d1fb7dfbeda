// Multicast forwarding database (MFDB) of the simulated switch: the entries
// the protocols (static configuration, IGMP and MLD snooping, MVR ...) hold,
// each keyed by VLAN, MAC address and protocol, with its type, description
// and the interfaces it forwards to, filters and learnt its members on. A
// fresh switch holds two static entries in VLAN 1; a state file may hold
// others. The key text is "vv:vv:mm:mm:mm:mm:mm:mm" (VLAN high and low
// byte, then the MAC address), lower-case.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

/// Protocols that make entries: 1 static ... 7 MSRP.
constexpr uint32_t kMfdbProtocolFirst = 1;
constexpr uint32_t kMfdbProtocolLast = 7;
/// Entry types.
constexpr uint32_t kMfdbTypeStatic = 0;
constexpr uint32_t kMfdbTypeDynamic = 1;
/// Entries the table holds at most.
constexpr uint32_t kMfdbCapacity = 1024;
/// Longest description (characters).
constexpr size_t kMfdbDescriptionMax = 15;
/// Match types of the interface walks.
constexpr uint32_t kMfdbMatchExact = 1;
constexpr uint32_t kMfdbMatchNext = 2;

struct MfdbEntry {
    uint32_t vlan = 1;
    std::string mac;  // "01:00:5e:01:01:01"
    uint32_t protocol = 1;
    uint32_t type = kMfdbTypeStatic;
    std::string description;
    std::vector<std::string> forward;    // interface names
    std::vector<std::string> filtering;
    std::vector<std::string> learnt;
};

struct MfdbModel {
    std::vector<MfdbEntry> entries;  // any order; walks go in key order
    uint32_t mostEntries = 0;        // the most entries held at once
};

/// An entry's key as the switch orders it.
struct MfdbKey {
    uint32_t vlan = 0;
    uint8_t mac[6] = {0, 0, 0, 0, 0, 0};
    uint32_t protocol = 0;
};

/// Reads a key text ("vv:vv:mm:mm:mm:mm:mm:mm", two hex digits a byte);
/// false for any other text.
bool mfdbKeyParse(const std::string& text, MfdbKey* key);
/// The key text of an entry.
std::string mfdbKeyText(const MfdbEntry& e);
/// The entry's key (protocol included); false when its MAC is unusable.
bool mfdbKeyOf(const MfdbEntry& e, MfdbKey* key);
/// Key order: VLAN, MAC, protocol. `withProtocol` false compares VLAN and MAC only.
int mfdbCompare(const MfdbKey& a, const MfdbKey& b, bool withProtocol = true);

/// Entries whose VLAN, MAC and protocol are usable, in key order.
std::vector<const MfdbEntry*> mfdbOrdered(const SwitchState& st);
/// The names of the interfaces of `names` the switch has, comma-separated.
std::string mfdbMaskText(const SwitchState& st, const std::vector<std::string>& names);
/// Entries held now; the most held at once, never fewer than now.
uint32_t mfdbCurrent(const SwitchState& st);
uint32_t mfdbMost(const SwitchState& st);

/// The entries a fresh switch holds.
MfdbModel defaultMfdb();

extern const schema::Table<MfdbModel> kMfdbTable;

}  // namespace sim
