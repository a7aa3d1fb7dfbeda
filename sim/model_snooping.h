// IGMP snooping (family 1, IPv4) and MLD snooping (family 2, IPv6) of the
// simulated switch, one record per family: the global switches and the
// querier, every port's and LAG's settings, every VLAN's settings and its
// querier, the multicast router ports (static and learnt, per interface and
// per VLAN), the learnt group table, the source-specific (SSM) group records
// with their source lists and the SSM forwarding entries with the interfaces
// they include and exclude. The control API (api_snooping.cc) reads and sets
// it; the CLI's snooping shows read the same fields; a state file may hold it.
// Addresses are kept as the text of their family ("239.1.1.1", "ff3e::1").
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

constexpr uint32_t kSnoopIgmp = 1;
constexpr uint32_t kSnoopMld = 2;

/// Group membership interval (seconds): default and range.
constexpr uint32_t kSnoopGmiDefault = 260;
constexpr uint32_t kSnoopGmiMin = 2;
constexpr uint32_t kSnoopGmiMax = 3600;
/// Maximum response time (seconds): default; IGMP up to 25, MLD up to 65.
constexpr uint32_t kSnoopResponseDefault = 10;
constexpr uint32_t kSnoopResponseMaxIgmp = 25;
constexpr uint32_t kSnoopResponseMaxMld = 65;
/// Multicast router expiry time (seconds, 0: never): range.
constexpr uint32_t kSnoopMrtrExpiryMax = 3600;
/// Querier: expiry interval, query interval (seconds) and version.
constexpr uint32_t kSnoopQuerierExpiryDefault = 125;
constexpr uint32_t kSnoopQuerierExpiryMin = 60;
constexpr uint32_t kSnoopQuerierExpiryMax = 300;
constexpr uint32_t kSnoopQueryIntervalDefault = 60;
constexpr uint32_t kSnoopQueryIntervalMin = 1;
constexpr uint32_t kSnoopQueryIntervalMax = 1800;
constexpr uint32_t kSnoopQuerierVersionMax = 2;
/// SSM forwarding entries a family holds at most.
constexpr uint32_t kSnoopSsmMfdbCapacity = 512;

/// Querier operational states of a VLAN.
enum SnoopQuerierState : uint32_t { kQuerierDisabled = 0, kQuerierActive = 1, kQuerierNonQuerier = 2 };
/// SSM filter modes.
enum SnoopFilterMode : uint32_t { kSnoopInclude = 1, kSnoopExclude = 2 };

struct SnoopIntf {
    uint32_t mode = 0;
    uint32_t fastLeave = 0;
    uint32_t proxyQuerier = 1;
    uint32_t gmi = kSnoopGmiDefault;
    uint32_t responseTime = kSnoopResponseDefault;
    uint32_t mrtrExpiry = 0;
    uint32_t staticMrouter = 0;   // "snooping mrouter interface"
    uint32_t dynamicMrouter = 0;  // a router's queries were heard here
    std::vector<uint32_t> staticMrtrVlans;  // "set igmp mrouter <vlan>", in the order added
};

struct SnoopVlan {
    uint32_t mode = 0;
    uint32_t fastLeave = 0;
    uint32_t gmi = kSnoopGmiDefault;
    uint32_t maxResponse = kSnoopResponseDefault;
    uint32_t proxyQuerier = 1;
    uint32_t reportSupp = 0;
    uint32_t mrtrExpiry = 0;
    uint32_t plusMode = 0;        // IGMP-Plus / MLD-Plus
    uint32_t excludeMrouter = 0;
    uint32_t reportFlood = 0;
    uint32_t querierMode = 0;
    uint32_t querierElection = 0;
    std::string querierAddr;      // "" : none (the global address serves)
    std::vector<uint32_t> dynamicMrouters;  // intIfNums learnt as router ports
    // The other querier last heard in the VLAN ("" : none), its version,
    // and the querier MAC address.
    std::string lastQuerierAddr;
    uint32_t lastQuerierVersion = 0;
    std::string querierMac;
};

/// A learnt group membership: one subscriber of a group on an interface.
struct SnoopGroup {
    uint32_t vlan = 1;
    std::string group;
    uint32_t intIfNum = 0;
    std::string subscriber;
    std::string subscriberMac;
    uint32_t version = 2;
    uint32_t timeout = kSnoopGmiDefault;
};

/// An SSM group record: a group reported on an interface in a VLAN.
struct SnoopSsmGroup {
    std::string group;
    uint32_t intIfNum = 0;
    uint32_t vlan = 1;
    uint32_t filterMode = kSnoopInclude;
    std::string reporter;
    std::vector<std::string> sources;
};

/// An SSM forwarding entry (group, source, VLAN) and its interfaces.
struct SnoopSsmMfdb {
    std::string group;
    std::string source;
    uint32_t vlan = 1;
    std::vector<uint32_t> include;
    std::vector<uint32_t> exclude;
};

struct SnoopFamily {
    uint32_t adminMode = 0;
    uint32_t proxyQuerier = 1;
    uint32_t plusMode = 0;
    uint32_t excludeMrouter = 0;
    uint32_t reportFlood = 0;
    uint32_t headerValidation = 1;  // IGMP only: router alert required
    uint32_t fastLeaveAuto = 0;     // IGMP only: fast-leave auto-assignment
    std::string querierAddr;        // "" : none
    uint32_t querierAdmin = 0;
    uint32_t querierExpiry = kSnoopQuerierExpiryDefault;
    uint32_t queryInterval = kSnoopQueryIntervalDefault;
    uint32_t querierVersion = 2;
    uint64_t controlFrames = 0;
    uint64_t dataForwarded = 0;
    std::map<uint32_t, SnoopIntf> interfaces;  // by intIfNum; absent: the defaults
    std::map<uint32_t, SnoopVlan> vlans;       // by VLAN; absent: the defaults
    std::vector<SnoopGroup> groups;
    std::vector<SnoopSsmGroup> ssmGroups;      // any order; walks go in key order
    std::vector<SnoopSsmMfdb> ssmMfdb;
    uint32_t ssmMostEntries = 0;
};

struct SnoopingModel {
    SnoopFamily igmp;
    SnoopFamily mld;
    uint32_t floodUnknownAll = 0;
    uint32_t autoVideoMode = 0;
    uint32_t autoVideoVlan = 0;  // 0: none
};

/// The record of a family; nullptr for any family but 1 and 2.
SnoopFamily* snoopFamily(SnoopingModel& m, uint32_t family);
const SnoopFamily* snoopFamily(const SnoopingModel& m, uint32_t family);

/// An interface snooping serves: a port or a LAG the switch has.
bool snoopIntfValid(const SwitchState& st, uint32_t intIfNum);
/// A VLAN the switch has.
bool snoopVlanValid(const SwitchState& st, uint32_t vlan);
/// The settings of an interface or VLAN (the defaults for one never set).
SnoopIntf snoopIntf(const SnoopFamily& f, uint32_t intIfNum);
SnoopVlan snoopVlan(const SnoopFamily& f, uint32_t vlan);
/// Largest maximum response time of the family.
uint32_t snoopResponseMax(uint32_t family);

/// An address of the family in record form (16 bytes, IPv4 in the first
/// word, host order), from its text; false when it is none of the family's.
bool snoopAddrBytes(uint32_t family, const std::string& text, std::string* bytes);
/// The canonical text of an address of the family in record form.
std::string snoopAddrText(uint32_t family, const std::string& bytes);

/// The querier of a VLAN as it runs: state, version and maximum response time.
struct SnoopQuerierOper {
    uint32_t state = kQuerierDisabled;
    uint32_t version = 0;
    uint32_t maxRespTime = 0;
};
SnoopQuerierOper snoopQuerierOper(const SnoopFamily& f, uint32_t vlan);

/// The interfaces of `list` the switch has, by name, comma-separated.
std::string snoopMaskText(const SwitchState& st, const std::vector<uint32_t>& list);
/// The interfaces named in a comma-separated text (blanks around names
/// allowed; "" none); false when a name is no port or LAG of the switch.
bool snoopMaskParse(const SwitchState& st, const std::string& text, std::vector<uint32_t>* out);
/// Interfaces on which the family's snooping is enabled, in number order.
std::vector<uint32_t> snoopEnabledIntfs(const SwitchState& st, const SnoopFamily& f);
/// The interfaces that are static multicast router ports of a VLAN.
std::vector<uint32_t> snoopStaticMrouters(const SnoopFamily& f, uint32_t vlan);

/// Forgets what the family learnt: groups, SSM records and entries, and the
/// learnt router ports.
void snoopFlush(SnoopFamily& f);

/// SSM forwarding entries held now, and the most held at once.
uint32_t snoopSsmCurrent(const SnoopFamily& f);
uint32_t snoopSsmMost(const SnoopFamily& f);

extern const schema::Table<SnoopingModel> kSnoopingTable;

}  // namespace sim
