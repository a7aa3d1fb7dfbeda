// The chassis of the simulated switch: its fans, power supplies, temperature
// sensors and the SFP modules in ports 25-28 (hardware, fixed), and what is
// set on it: the LED modes and the ports whose locator LED blinks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/state_schema.h"

namespace sim {

/// States of a fan, power supply or sensor as the control API numbers them.
enum ItemState : uint32_t { kItemNotPresent = 0, kItemOperational = 1, kItemFailed = 2 };

struct Fan {
    uint32_t speedRpm, state, type, dutyPercent;  // type: 1 fixed, 2 removable
};
struct PowerSupply {
    uint32_t state, type;  // type: 1 AC, 2 DC
};
struct TempSensor {
    const char* descrip;
    uint32_t celsius, state;
};
struct SfpModule {
    uint32_t intIfNum;
    const char* vendorName;
    const char* serialNumber;
    const char* partNumber;
    const char* vendorRev;
    const char* compliance;
    uint32_t linkLength50um, linkLength62_5um;  // in units of 10 m
    uint32_t nominalRate;                       // in units of 100 Mbit/s
};

/// Numbered from 1 by the control API.
extern const std::vector<Fan> kFans;
extern const std::vector<PowerSupply> kPowerSupplies;
extern const std::vector<TempSensor> kTempSensors;
/// The module in an SFP port, or nullptr (no such port or no module).
const SfpModule* sfpModule(uint32_t intIfNum);

/// Buffer sizes (with the NUL) of the texts the control API answers.
constexpr uint32_t kTempSensorDescripSize = 32;
constexpr uint32_t kSfpVendorNameSize = 17, kSfpSerialNumberSize = 17, kSfpPartNumberSize = 17;
constexpr uint32_t kSfpVendorRevSize = 5, kSfpComplianceSize = 32;
constexpr const char* kHardwareVersion = "A1";

/// The LED modes the LEDs can show.
constexpr uint32_t kPortLedModes = 3;    // 0 link/activity, 1 speed, 2 off
constexpr uint32_t kSystemLedModes = 4;  // 0 normal, 1 locate, 2 dim, 3 off

struct ChassisModel {
    uint32_t portLedsMode = 0;
    uint32_t systemLedMode = 0;
    std::vector<uint32_t> locatorPorts;  // in the order they were enabled
};

extern const schema::Table<ChassisModel> kChassisTable;

}  // namespace sim
