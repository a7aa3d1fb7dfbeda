// State of the simulated switch: one model per area (ports and the switch,
// routing, IPv6), the application key store and the values stored by
// generic setters; and the state file, written and read from the record
// tables the areas declare.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/model_chassis.h"
#include "sim/model_ipv6.h"
#include "sim/model_logging.h"
#include "sim/model_mcast.h"
#include "sim/model_mfdb.h"
#include "sim/model_mgmt.h"
#include "sim/model_mvr.h"
#include "sim/model_ports.h"
#include "sim/model_snooping.h"
#include "sim/model_system.h"
#include "sim/model_tcam.h"
#include "sim/routing_model.h"
#include "sim/state_schema.h"

namespace sim {

struct SwitchState {
    std::vector<Unit> units;
    std::map<uint32_t, Interface> interfaces;  // by intIfNum
    std::map<uint32_t, Vlan> vlans;            // by VLAN id
    std::map<std::string, std::map<std::string, std::string>> appDbs;
    std::map<std::string, std::vector<std::string>> values;  // generic setters: "<stem>|<hex keys>" -> values
    RoutingModel routing;
    SystemConfig system;
    Ipv6Model ipv6;  // IPv6, router advertisement and DHCP relay settings of the CLI
    SystemModel sysModel;  // identity, images, applications, transfer, clock
    MgmtModel mgmt;  // identity, terminal and serial access, management ports
    ChassisModel chassis;  // LED modes and port locators
    TcamModel tcam;  // TCAM policies and packet agents
    LoggingModel logging;  // console, syslog, buffered and trap logging
    McastModel mcast;  // layer-3 multicast routes
    MvrModel mvr;  // multicast VLAN registration
    MfdbModel mfdb;  // multicast forwarding database
    SnoopingModel snooping;  // IGMP and MLD snooping
    std::string osVersion = "4.1.2.7";
    uint8_t apiVersion[4] = {1, 26, 0, 3};
};

/// The switch a fresh simulator starts with.
SwitchState defaultSwitch();

/// The state as the JSON text of the state file.
std::string stateText(const SwitchState& st);
/// Saves atomically (temporary file, rename); false on failure.
bool saveState(const SwitchState& st, const std::string& path);
/// Loads a saved state; false, with the reason in *why, when the file is
/// absent, unreadable or not a state file (every member is checked for the
/// shape the state gives it; a member the file lacks keeps the fresh
/// switch's value, so a file of an older simulator loads its later areas as
/// a new switch has them).
bool loadState(SwitchState* st, const std::string& path, std::string* why = nullptr);

}  // namespace sim
