// Multicast VLAN registration of the simulated switch: the global mode and
// mode type, the multicast VLAN, the query response time, the MVR groups
// (at most maxGroups), each interface's MVR type, mode, immediate leave and
// static group memberships, and the MVR traffic counters. The CLI
// (cli_mvr.cc) sets and shows it; a state file may hold it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

enum MvrModeType : uint32_t { kMvrCompatible = 0, kMvrDynamic = 1 };
enum MvrPortType : uint32_t { kMvrPortNone = 0, kMvrPortReceiver = 1, kMvrPortSource = 2 };

/// Query response time in tenths of a second: default and range.
constexpr uint32_t kMvrQueryTimeDefault = 5;
constexpr uint32_t kMvrQueryTimeMax = 100;
constexpr uint32_t kMvrMaxGroupsDefault = 256;

/// The traffic counters, in the order "show mvr traffic" prints them.
constexpr size_t kMvrCounterCount = 10;
extern const char* const kMvrCounterLabels[kMvrCounterCount];

struct MvrIntf {
    uint32_t type = kMvrPortNone;
    uint32_t mode = 0;
    uint32_t immediate = 0;
    std::vector<uint32_t> groups;  // static memberships (host-order addresses), in the order added
};

struct MvrModel {
    uint32_t mode = 0;
    uint32_t modeType = kMvrCompatible;
    uint32_t vlan = 0;  // 0: none configured
    uint32_t queryTime = kMvrQueryTimeDefault;
    uint32_t maxGroups = kMvrMaxGroupsDefault;
    std::vector<uint32_t> groups;  // host-order addresses, in the order added
    std::map<uint32_t, MvrIntf> interfaces;  // by intIfNum; absent: the defaults
    std::vector<uint32_t> counters = std::vector<uint32_t>(kMvrCounterCount, 0);
};

/// Whether a host-order address is an IPv4 multicast group (224.0.0.0/4).
bool mvrGroupAddress(uint32_t addr);
/// The interface's settings (the defaults for one never set).
MvrIntf mvrIntf(const MvrModel& m, uint32_t intIfNum);

/// The MVR lines of the running configuration: global lines, then an
/// "interface" block for every interface with settings of its own.
std::string mvrRunningConfig(const SwitchState& st);

extern const schema::Table<MvrModel> kMvrTable;

}  // namespace sim
