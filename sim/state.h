// State of the simulated switch: the model (units, interfaces, VLANs), the
// application key store and the values stored by generic setters.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sim/ipv4_cli_model.h"
#include "sim/ipv6_model.h"
#include "sim/routing_model.h"

namespace sim {

enum IfType : uint32_t { kIfPhysical = 0, kIfLag = 1, kIfVlan = 2 };

struct Interface {
    uint32_t intIfNum = 0;
    IfType type = kIfPhysical;
    uint32_t unit = 0, slot = 0, port = 0;  // physical ports; LAGs keep their LAG number in port
    std::string name;                         // "1/0/5", "lag 1", "vlan 10"
    uint32_t speedMbps = 1000;
    uint32_t adminUp = 1;
    uint32_t linkUp = 0;
    uint32_t maxFrame = 1518;
    uint32_t pvid = 1;
    // Port settings of the CLI ("speed", "flowcontrol", "ptp ...", "poe ...").
    uint32_t maxSpeedMbps = 1000;  // fastest speed the port supports
    uint32_t autoNeg = 1;          // "speed auto"
    uint32_t fullDuplex = 1;
    uint32_t flowControl = 0;      // symmetric pause frames
    uint32_t ptpTransparent = 0;   // PTP end-to-end transparent clock
    std::string poeSchedule;       // PoE timer schedule name, empty for none
};

struct Unit {
    uint32_t number = 1;
    std::string model;
    std::string serial;
    // Boot images ("show bootvar"): the two flash images and the next boot's.
    std::string activeImage = "4.1.2.7";
    std::string backupImage = "4.1.1.3";
    std::string nextActiveImage = "4.1.2.7";
};

struct Vlan {
    uint32_t id = 1;
    std::string name;
    bool isStatic = true;
};

// Global settings the CLI changes: the management interface (network port),
// fan control, automatic LAG creation.
struct SystemConfig {
    uint32_t mgmtVlan = 1;
    std::string mgmtMethod = "DHCP";  // "DHCP" or "Manual"
    std::string mgmtAddress = "0.0.0.0";
    std::string mgmtMask = "0.0.0.0";
    std::string defaultGateway = "0.0.0.0";
    uint32_t fanControlMode = 3;  // 1 off, 2 quiet, 3 cool
    uint32_t lagAutoMode = 0;
};

struct SwitchState {
    std::vector<Unit> units;
    std::map<uint32_t, Interface> interfaces;  // by intIfNum
    std::map<uint32_t, Vlan> vlans;            // by VLAN id
    std::map<std::string, std::map<std::string, std::string>> appDbs;
    std::map<std::string, std::vector<std::string>> values;  // generic setters: "<stem>|<hex keys>" -> values
    RoutingModel routing;
    SystemConfig system;
    Ipv6Model ipv6;  // IPv6, router advertisement and DHCP relay settings of the CLI
    Ipv4CliModel ipv4Cli;  // ARP cache, IP interface settings and IPv4 counters of the CLI
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
/// shape the state gives it; absent members keep their defaults).
bool loadState(SwitchState* st, const std::string& path, std::string* why = nullptr);

/// Lower-case hex of a byte string, and back.
std::string hexOf(const std::string& bytes);
bool unhex(const std::string& hex, std::string* bytes);

}  // namespace sim
