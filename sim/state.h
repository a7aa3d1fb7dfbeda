// State of the simulated switch: the model (units, interfaces, VLANs), the
// application key store and the values stored by generic setters.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

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
};

struct Unit {
    uint32_t number = 1;
    std::string model;
    std::string serial;
};

struct Vlan {
    uint32_t id = 1;
    std::string name;
    bool isStatic = true;
};

struct SwitchState {
    std::vector<Unit> units;
    std::map<uint32_t, Interface> interfaces;  // by intIfNum
    std::map<uint32_t, Vlan> vlans;            // by VLAN id
    std::map<std::string, std::map<std::string, std::string>> appDbs;
    std::map<std::string, std::vector<std::string>> values;  // generic setters: "<stem>|<hex keys>" -> values
    RoutingModel routing;
    std::string osVersion = "4.1.2.7";
    uint8_t apiVersion[4] = {1, 26, 0, 3};
};

/// The switch a fresh simulator starts with.
SwitchState defaultSwitch();

/// The state as the JSON text of the state file.
std::string stateText(const SwitchState& st);
/// Saves atomically (temporary file, rename); false on failure.
bool saveState(const SwitchState& st, const std::string& path);
/// Loads a saved state; false when the file is absent or unreadable.
bool loadState(SwitchState* st, const std::string& path);

/// Lower-case hex of a byte string, and back.
std::string hexOf(const std::string& bytes);
bool unhex(const std::string& hex, std::string* bytes);

}  // namespace sim
