// Control API of the chassis and the unit manager: fans, power supplies,
// temperature sensors and SFP modules by number, the LED modes, the port
// locator, and the one stand-alone unit. An item number the chassis does not
// have, a port without an SFP module, a mode the LEDs cannot show and a unit
// other than the local one (0 or its own number) answer -22.
#include <algorithm>

#include "sim/api_util.h"
#include "sim/model_chassis.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

// The item numbered `n` (from 1) of `items`, or nullptr.
template <class T>
const T* item(const std::vector<T>& items, uint32_t n)
{
    return n >= 1 && n <= items.size() ? &items[n - 1] : nullptr;
}

template <class T, uint32_t T::*M>
int32_t itemGet(Call& c, const std::vector<T>& items)
{
    const T* i = item(items, c.u32(0));
    if (!i)
        return kInvalid;
    c.setU32(1, i->*M);
    return 0;
}

template <uint32_t Fan::*M>
int32_t fanGet(Call& c) { return itemGet<Fan, M>(c, kFans); }
template <uint32_t PowerSupply::*M>
int32_t psGet(Call& c) { return itemGet<PowerSupply, M>(c, kPowerSupplies); }
template <uint32_t TempSensor::*M>
int32_t sensorGet(Call& c) { return itemGet<TempSensor, M>(c, kTempSensors); }

int32_t numOfFans(Call& c) { c.setU32(0, static_cast<uint32_t>(kFans.size())); return 0; }
int32_t numOfPowSupplies(Call& c) { c.setU32(0, static_cast<uint32_t>(kPowerSupplies.size())); return 0; }
int32_t numOfTempSensors(Call& c) { c.setU32(0, static_cast<uint32_t>(kTempSensors.size())); return 0; }

int32_t tempSensorDescrip(Call& c)
{
    const TempSensor* s = item(kTempSensors, c.u32(0));
    if (!s)
        return kInvalid;
    c.setText(1, s->descrip);
    return 0;
}

int32_t hwVersion(Call& c)
{
    c.setText(0, kHardwareVersion);
    return 0;
}

template <const char* SfpModule::*M>
int32_t sfpText(Call& c)
{
    const SfpModule* m = sfpModule(c.u32(0));
    if (!m)
        return kInvalid;
    c.setText(1, m->*M);
    return 0;
}

template <uint32_t SfpModule::*M>
int32_t sfpNumber(Call& c)
{
    const SfpModule* m = sfpModule(c.u32(0));
    if (!m)
        return kInvalid;
    c.setU32(1, m->*M);
    return 0;
}

// --- LEDs ----------------------------------------------------------------------

template <uint32_t ChassisModel::*M, uint32_t Modes>
int32_t ledModeSet(Call& c)
{
    uint32_t mode = c.u32(0);
    if (mode >= Modes)
        return kInvalid;
    c.st.chassis.*M = mode;
    return changedIfOk(c, 0);
}

template <uint32_t ChassisModel::*M>
int32_t ledModeGet(Call& c)
{
    c.setU32(0, c.st.chassis.*M);
    return 0;
}

int32_t locatorGlobalDisable(Call& c)
{
    c.st.chassis.locatorPorts.clear();
    return changedIfOk(c, 0);
}

// (interface, enable): only physical ports have a locator LED.
int32_t locatorInterfaceEnable(Call& c)
{
    auto it = c.st.interfaces.find(c.u32(0));
    if (it == c.st.interfaces.end() || it->second.type != kIfPhysical || c.u32(1) > 1)
        return kInvalid;
    std::vector<uint32_t>& ports = c.st.chassis.locatorPorts;
    auto at = std::find(ports.begin(), ports.end(), c.u32(0));
    if (c.u32(1) && at == ports.end())
        ports.push_back(c.u32(0));
    else if (!c.u32(1) && at != ports.end())
        ports.erase(at);
    return changedIfOk(c, 0);
}

// --- Unit manager --------------------------------------------------------------

// The unit a request names: 0 is the local unit.
const Unit* unitOf(const Call& c, uint32_t n)
{
    if (c.st.units.empty())
        return nullptr;
    if (n == 0)
        return &c.st.units.front();
    for (const Unit& u : c.st.units)
        if (u.number == n)
            return &u;
    return nullptr;
}

int32_t unitNumber(Call& c)
{
    const Unit* u = unitOf(c, 0);
    if (!u)
        return kNotFound;
    c.setU32(0, u->number);
    return 0;
}

// The highest unit number the stack holds: a stand-alone switch is its one unit.
int32_t unitMax(Call& c)
{
    uint32_t max = 0;
    for (const Unit& u : c.st.units)
        max = std::max(max, u.number);
    c.setU32(0, max);
    return 0;
}

int32_t serialNumber(Call& c)
{
    const Unit* u = unitOf(c, c.u32(0));
    if (!u)
        return kInvalid;
    c.setText(1, u->serial);
    return 0;
}

// The service tag is printed from the serial number at the factory.
int32_t serviceTag(Call& c)
{
    const Unit* u = unitOf(c, c.u32(0));
    if (!u)
        return kInvalid;
    c.setText(1, "ST-" + u->serial);
    return 0;
}

int32_t preconfigModelId(Call& c)
{
    const Unit* u = unitOf(c, c.u32(0));
    if (!u)
        return kInvalid;
    c.setText(1, u->model);
    return 0;
}

int32_t unitIsValid(Call& c)
{
    c.setU32(1, unitOf(c, c.u32(0)) ? 1 : 0);
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapiBoxsNumOfFansGet, numOfFans),
    SIM_OP(rpcclt_openapiBoxsFanSpeedGet, fanGet<&Fan::speedRpm>),
    SIM_OP(rpcclt_openapiBoxsFanStateGet, fanGet<&Fan::state>),
    SIM_OP(rpcclt_openapiBoxsFanTypeGet, fanGet<&Fan::type>),
    SIM_OP(rpcclt_openapiBoxsFanDutyCycleGet, fanGet<&Fan::dutyPercent>),
    SIM_OP(rpcclt_openapiBoxsNumOfPowSuppliesGet, numOfPowSupplies),
    SIM_OP(rpcclt_openapiBoxsPowSupplyStateGet, psGet<&PowerSupply::state>),
    SIM_OP(rpcclt_openapiBoxsPowSupplyTypeGet, psGet<&PowerSupply::type>),
    SIM_OP(rpcclt_openapiBoxsNumOfTempSensorsGet, numOfTempSensors),
    SIM_OP(rpcclt_openapiBoxsTempSensorDescripSizeGet, constantGet<kTempSensorDescripSize>),
    SIM_OP(rpcclt_openapiBoxsTempSensorDescripGet, tempSensorDescrip),
    SIM_OP(rpcclt_openapiBoxsTempGet, sensorGet<&TempSensor::celsius>),
    SIM_OP(rpcclt_openapiBoxsTempSensorStatusGet, sensorGet<&TempSensor::state>),
    SIM_OP(rpcclt_openapiBoxsHwVersionGet, hwVersion),
    SIM_OP(rpcclt_openapiBoxsSfpVendorNameSizeGet, constantGet<kSfpVendorNameSize>),
    SIM_OP(rpcclt_openapiBoxsSfpSerialNumberSizeGet, constantGet<kSfpSerialNumberSize>),
    SIM_OP(rpcclt_openapiBoxsSfpPartNumberSizeGet, constantGet<kSfpPartNumberSize>),
    SIM_OP(rpcclt_openapiBoxsSfpVendorRevSizeGet, constantGet<kSfpVendorRevSize>),
    SIM_OP(rpcclt_openapiBoxsSfpComplianceSizeGet, constantGet<kSfpComplianceSize>),
    SIM_OP(rpcclt_openapiBoxsSfpVendorNameGet, sfpText<&SfpModule::vendorName>),
    SIM_OP(rpcclt_openapiBoxsSfpSerialNumberGet, sfpText<&SfpModule::serialNumber>),
    SIM_OP(rpcclt_openapiBoxsSfpPartNumberGet, sfpText<&SfpModule::partNumber>),
    SIM_OP(rpcclt_openapiBoxsSfpVendorRevisionGet, sfpText<&SfpModule::vendorRev>),
    SIM_OP(rpcclt_openapiBoxsSfpComplianceGet, sfpText<&SfpModule::compliance>),
    SIM_OP(rpcclt_openapiBoxsSfpLinkLength50umGet, sfpNumber<&SfpModule::linkLength50um>),
    SIM_OP(rpcclt_openapiBoxsSfpLinkLength62_5umGet, sfpNumber<&SfpModule::linkLength62_5um>),
    SIM_OP(rpcclt_openapiBoxsSfpNominalSignalRate, sfpNumber<&SfpModule::nominalRate>),
    SIM_OP(rpcclt_openapiBoxsPortLedsModeSet, ledModeSet<&ChassisModel::portLedsMode, kPortLedModes>),
    SIM_OP(rpcclt_openapiBoxsPortLedsModeGet, ledModeGet<&ChassisModel::portLedsMode>),
    SIM_OP(rpcclt_openapiBoxsSystemLedModeSet, ledModeSet<&ChassisModel::systemLedMode, kSystemLedModes>),
    SIM_OP(rpcclt_openapiBoxsSystemLedModeGet, ledModeGet<&ChassisModel::systemLedMode>),
    SIM_OP(rpcclt_openapiPortLocatorGlobalDisable, locatorGlobalDisable),
    SIM_OP(rpcclt_openapiPortLocatorInterfaceEnable, locatorInterfaceEnable),
    SIM_OP(rpcclt_openapiUnitMgrNumberGet, unitNumber),
    SIM_OP(rpcclt_openapiUnitMgrUnitMaxGet, unitMax),
    SIM_OP(rpcclt_openapiUnitMgrSerialNumberGet, serialNumber),
    SIM_OP(rpcclt_openapiUnitMgrServiceTagGet, serviceTag),
    SIM_OP(rpcclt_openapiUnitMgrPreconfigModelIdGet, preconfigModelId),
    SIM_OP(rpcclt_openapiUnitMgrUnitIsValid, unitIsValid),
};

}  // namespace
}  // namespace sim
