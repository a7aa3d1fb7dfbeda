// Control API operations of the switch's identity, boot images, applications,
// key store, registry and clock (model_system.h).
#include <ctime>

#include "sim/api_util.h"
#include "sim/cli_engine.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

constexpr size_t kIdentityTextMax = 255;
constexpr size_t kAppVersionMax = 63;

int32_t verdictStatus(Call& c, ImageVerdict v)
{
    switch (v) {
    case ImageVerdict::kDone:
        c.changed = true;
        return 0;
    case ImageVerdict::kAbsent:
    case ImageVerdict::kNoFile:
        return kNotFound;
    default:
        return kInvalid;
    }
}

// --- MIB-II system group -------------------------------------------------------

int32_t sysDescrGet(Call& c)
{
    c.setText(0, sysDescr(c.st));
    return 0;
}

template <std::string SystemModel::*M>
int32_t identityGet(Call& c)
{
    c.setText(0, c.st.sysModel.*M);
    return 0;
}

template <std::string SystemModel::*M>
int32_t identitySet(Call& c)
{
    std::string v = c.text(0);
    if (!settableText(v, kIdentityTextMax))
        return kInvalid;
    c.changed = c.st.sysModel.*M != v;
    c.st.sysModel.*M = v;
    return 0;
}

// --- Registry --------------------------------------------------------------------

int32_t serialNumGet(Call& c)
{
    if (c.st.units.empty())
        return kNotFound;
    c.setText(0, c.st.units.front().serial);
    return 0;
}

int32_t machineTypeGet(Call& c)
{
    c.setText(0, "L3 Managed Ethernet Switch");
    return 0;
}

int32_t codeVersionGet(Call& c)
{
    c.setText(0, c.st.osVersion);
    return 0;
}

// --- Applications ----------------------------------------------------------------

AppInfo* findApp(Call& c)
{
    auto it = c.st.sysModel.apps.find(c.text(0));
    return it == c.st.sysModel.apps.end() ? nullptr : &it->second;
}

int32_t appStatusGet(Call& c)
{
    AppInfo* a = findApp(c);
    if (!a)
        return kInvalid;
    c.setU32(1, a->status);
    return 0;
}

int32_t appStatusSet(Call& c)
{
    AppInfo* a = findApp(c);
    if (!a || c.u32(1) > kAppStatusMax)
        return kInvalid;
    c.changed = a->status != c.u32(1);
    a->status = c.u32(1);
    return 0;
}

int32_t appVersionGet(Call& c)
{
    AppInfo* a = findApp(c);
    if (!a)
        return kInvalid;
    c.setText(1, a->version);
    return 0;
}

int32_t appVersionSet(Call& c)
{
    AppInfo* a = findApp(c);
    std::string v = c.text(1);
    if (!a || !settableText(v, kAppVersionMax, false))
        return kInvalid;
    c.changed = a->version != v;
    a->version = v;
    return 0;
}

// --- Key store -------------------------------------------------------------------

// A missing database or key is not found (-29), as for get and set.
int32_t appDbRemoveItem(Call& c)
{
    auto db = c.st.appDbs.find(c.text(0));
    if (db == c.st.appDbs.end() || !db->second.erase(c.text(1)))
        return kNotFound;
    c.changed = true;
    return 0;
}

// --- Images ----------------------------------------------------------------------

ImageSlot* findImage(Call& c, size_t arg, int32_t* status)
{
    std::string label = imageLabel(c.st.sysModel, c.text(arg));
    if (label.empty()) {
        *status = kInvalid;
        return nullptr;
    }
    ImageSlot& s = c.st.sysModel.images[label];
    if (s.version.empty()) {
        *status = kNotFound;
        return nullptr;
    }
    return &s;
}

int32_t imageDescrGet(Call& c)
{
    int32_t status = 0;
    ImageSlot* s = findImage(c, 0, &status);
    if (s)
        c.setText(1, s->descr);
    return status;
}

int32_t imageDescrSet(Call& c)
{
    int32_t status = 0;
    ImageSlot* s = findImage(c, 0, &status);
    std::string d = c.text(1);
    if (!s)
        return status;
    if (!settableText(d, kIdentityTextMax))
        return kInvalid;
    c.changed = s->descr != d;
    s->descr = d;
    return 0;
}

// Any label is a question: the answer is whether the switch has that label.
int32_t imageLabelIsValid(Call& c)
{
    c.setU32(1, imageLabel(c.st.sysModel, c.text(0)).empty() ? 0 : 1);
    return 0;
}

int32_t imageLabelsGet(Call& c)
{
    c.setText(0, c.st.sysModel.activeLabel);
    c.setText(1, backupLabel(c.st.sysModel));
    return 0;
}

// openapiImageUpgrade (image file, label): a file name or a path of the
// switch's work directories.
int32_t imageUpgrade(Call& c)
{
    std::string path = switchFilePath(c.text(0));
    if (!cliPathAllowed(path) || imageLabel(c.st.sysModel, c.text(1)).empty())
        return kInvalid;
    std::string text;
    if (!cliFileRead(path, &text))
        return kNotFound;
    return verdictStatus(c, imageInstall(c.st, c.text(1), text));
}

int32_t bootCodeVersion(Call& c)
{
    c.setText(0, c.st.sysModel.bootCode);
    return 0;
}

bool unitExists(const Call& c, uint32_t n)
{
    for (const Unit& u : c.st.units)
        if (u.number == n)
            return true;
    return false;
}

// The boot code is the one the running image carries: nothing to change.
int32_t bootCodeUpdate(Call& c) { return unitExists(c, c.u32(0)) ? 0 : kInvalid; }

// openapiImageActivate (unit, label, update boot code flag)
int32_t imageActivate(Call& c)
{
    if (c.u32(2) > 1)
        return kInvalid;
    return verdictStatus(c, sim::imageActivate(c.st, c.u32(0), c.text(1)));
}

// openapiImageDelete (label, unit)
int32_t imageDelete(Call& c) { return verdictStatus(c, sim::imageDelete(c.st, c.u32(1), c.text(0))); }

// openapiImageNamesGet (unit, active, backup, activated): labels.
int32_t imageNamesGet(Call& c)
{
    if (!unitExists(c, c.u32(0)))
        return kInvalid;
    const SystemModel& m = c.st.sysModel;
    c.setText(1, m.activeLabel);
    c.setText(2, backupLabel(m));
    c.setText(3, m.nextLabel);
    return 0;
}

// --- Clock and time zone ---------------------------------------------------------

int32_t clockGet(Call& c)
{
    c.setText(0, clockText(c.st.sysModel));
    c.setU32(1, c.st.sysModel.clockSource);
    return 0;
}

int32_t clockSet(Call& c)
{
    int64_t epoch = 0;
    if (!parseClock(c.text(0), &epoch))
        return kInvalid;
    c.st.sysModel.clockOffset = epoch - static_cast<int64_t>(time(nullptr));
    c.st.sysModel.clockSource = 1;
    c.changed = true;
    return 0;
}

int32_t timeZoneGet(Call& c)
{
    c.setText(0, c.st.sysModel.timeZone);
    return 0;
}

int32_t timeZoneSet(Call& c)
{
    std::string z = c.text(0);
    if (!validTimeZone(z))
        return kInvalid;
    c.changed = c.st.sysModel.timeZone != z;
    c.st.sysModel.timeZone = z;
    return 0;
}

const OpRegistrar kOps[] = {
    SIM_OP(rpcclt_openapi1213SystemSysDescrGet, sysDescrGet),
    SIM_OP(rpcclt_openapi1213SystemSysNameGet, identityGet<&SystemModel::sysName>),
    SIM_OP(rpcclt_openapi1213SystemSysNameSet, identitySet<&SystemModel::sysName>),
    SIM_OP(rpcclt_openapi1213SystemSysLocationGet, identityGet<&SystemModel::sysLocation>),
    SIM_OP(rpcclt_openapi1213SystemSysLocationSet, identitySet<&SystemModel::sysLocation>),
    SIM_OP(rpcclt_openapi1213SystemSysContactGet, identityGet<&SystemModel::sysContact>),
    SIM_OP(rpcclt_openapi1213SystemSysContactSet, identitySet<&SystemModel::sysContact>),
    SIM_OP(rpcclt_openapiSystemRegSerialNumGet, serialNumGet),
    SIM_OP(rpcclt_openapiSystemRegMachineTypeGet, machineTypeGet),
    SIM_OP(rpcclt_openapiSystemRegCodeVersionGet, codeVersionGet),
    SIM_OP(rpcclt_openapiAppCtrlStatusGet, appStatusGet),
    SIM_OP(rpcclt_openapiAppCtrlStatusSet, appStatusSet),
    SIM_OP(rpcclt_openapiAppCtrlVersionGet, appVersionGet),
    SIM_OP(rpcclt_openapiAppCtrlVersionSet, appVersionSet),
    SIM_OP(rpcclt_openapiUserAppConfigDbRemoveItem, appDbRemoveItem),
    SIM_OP(rpcclt_openapiImageDescrGet, imageDescrGet),
    SIM_OP(rpcclt_openapiImageDescrSet, imageDescrSet),
    SIM_OP(rpcclt_openapiImageLabelIsValid, imageLabelIsValid),
    SIM_OP(rpcclt_openapiImageLabelsGet, imageLabelsGet),
    SIM_OP(rpcclt_openapiImageUpgrade, imageUpgrade),
    SIM_OP(rpcclt_openapiBootCodeVersion, bootCodeVersion),
    SIM_OP(rpcclt_openapiBootCodeUpdate, bootCodeUpdate),
    SIM_OP(rpcclt_openapiImageActivate, imageActivate),
    SIM_OP(rpcclt_openapiImageDelete, imageDelete),
    SIM_OP(rpcclt_openapiImageNamesGet, imageNamesGet),
    SIM_OP(rpcclt_openapiClockGet, clockGet),
    SIM_OP(rpcclt_openapiClockSet, clockSet),
    SIM_OP(rpcclt_openapiTimeZoneGet, timeZoneGet),
    SIM_OP(rpcclt_openapiTimeZoneSet, timeZoneSet),
};

}  // namespace
}  // namespace sim
