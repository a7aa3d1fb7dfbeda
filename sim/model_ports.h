// Ports and the switch itself: stack units, interfaces (ports, LAGs, VLAN
// routing interfaces), VLANs and the global settings of the CLI.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "sim/state_schema.h"

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
    // Boot images ("show bootvar"): the versions of the two flash images, the
    // image the unit runs and the next boot's ("image1" or "image2").
    std::string image1 = "4.1.2.7";
    std::string image2 = "4.1.1.3";
    std::string currentImage = "image1";
    std::string nextImage = "image1";
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

/// The records of this area in the state file.
extern const schema::Table<Interface> kInterfaceTable;
extern const schema::Table<Unit> kUnitTable;
extern const schema::Table<Vlan> kVlanTable;
extern const schema::Table<SystemConfig> kSystemTable;

}  // namespace sim
