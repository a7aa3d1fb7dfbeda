// The chassis of the simulated switch: hardware and LED settings.
#include "sim/model_chassis.h"

namespace sim {

const std::vector<Fan> kFans = {
    {9120, kItemOperational, 1, 40},
    {9060, kItemOperational, 1, 40},
};

// The second bay is empty.
const std::vector<PowerSupply> kPowerSupplies = {
    {kItemOperational, 1},
    {kItemNotPresent, 1},
};

const std::vector<TempSensor> kTempSensors = {
    {"MAC", 45, kItemOperational},
    {"CPU", 52, kItemOperational},
};

namespace {

// Ports 25-27 hold short-reach modules, port 28 a long-reach one (no
// multimode reach).
const SfpModule kModules[] = {
    {25, "OPTIWAVE", "OW25A0001", "OW-SFP10-SR", "A", "10GBASE-SR", 8, 3, 103},
    {26, "OPTIWAVE", "OW26A0001", "OW-SFP10-SR", "A", "10GBASE-SR", 8, 3, 103},
    {27, "OPTIWAVE", "OW27A0001", "OW-SFP10-SR", "B", "10GBASE-SR", 8, 3, 103},
    {28, "OPTIWAVE", "OW28A0001", "OW-SFP10-LR", "A", "10GBASE-LR", 0, 0, 103},
};

}  // namespace

const SfpModule* sfpModule(uint32_t intIfNum)
{
    for (const SfpModule& m : kModules)
        if (m.intIfNum == intIfNum)
            return &m;
    return nullptr;
}

using namespace schema;

const Table<ChassisModel> kChassisTable = {
    field<&ChassisModel::portLedsMode>("portLedsMode"),
    field<&ChassisModel::systemLedMode>("systemLedMode"),
    field<&ChassisModel::locatorPorts, List<U32>>("locatorPorts"),
};

}  // namespace sim
