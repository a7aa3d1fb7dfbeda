// State file section of the CLI settings.
#include "sim/cli_state.h"

#include <cjson/cJSON.h>

#include "sim/state_reader.h"

namespace sim {

namespace {

uint32_t numberOr(const cJSON* obj, const char* name, uint32_t dflt)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsNumber(it) && it->valuedouble >= 0 ? static_cast<uint32_t>(it->valuedouble) : dflt;
}

}  // namespace

void cliStateToJson(cJSON* root, const SwitchState& st)
{
    cJSON* o;
    size_t n = 0;
    cJSON_ArrayForEach(o, cJSON_GetObjectItemCaseSensitive(root, "units"))
    {
        if (n >= st.units.size())
            break;
        const Unit& u = st.units[n++];
        cJSON_AddStringToObject(o, "activeImage", u.activeImage.c_str());
        cJSON_AddStringToObject(o, "backupImage", u.backupImage.c_str());
        cJSON_AddStringToObject(o, "nextActiveImage", u.nextActiveImage.c_str());
    }
    cJSON_ArrayForEach(o, cJSON_GetObjectItemCaseSensitive(root, "interfaces"))
    {
        auto it = st.interfaces.find(numberOr(o, "intIfNum", 0));
        if (it == st.interfaces.end())
            continue;
        const Interface& i = it->second;
        cJSON_AddNumberToObject(o, "maxSpeedMbps", i.maxSpeedMbps);
        cJSON_AddNumberToObject(o, "autoNeg", i.autoNeg);
        cJSON_AddNumberToObject(o, "fullDuplex", i.fullDuplex);
        cJSON_AddNumberToObject(o, "flowControl", i.flowControl);
        cJSON_AddNumberToObject(o, "ptpTransparent", i.ptpTransparent);
        cJSON_AddStringToObject(o, "poeSchedule", i.poeSchedule.c_str());
    }
    const SystemConfig& s = st.system;
    cJSON* sys = cJSON_AddObjectToObject(root, "system");
    cJSON_AddNumberToObject(sys, "mgmtVlan", s.mgmtVlan);
    cJSON_AddStringToObject(sys, "mgmtMethod", s.mgmtMethod.c_str());
    cJSON_AddStringToObject(sys, "mgmtAddress", s.mgmtAddress.c_str());
    cJSON_AddStringToObject(sys, "mgmtMask", s.mgmtMask.c_str());
    cJSON_AddStringToObject(sys, "defaultGateway", s.defaultGateway.c_str());
    cJSON_AddNumberToObject(sys, "fanControlMode", s.fanControlMode);
    cJSON_AddNumberToObject(sys, "lagAutoMode", s.lagAutoMode);
}

void cliStateFromJson(const StateNode& root, SwitchState* st)
{
    size_t n = 0;
    root.member("units").eachElement([&](const StateNode& o) {
        if (n >= st->units.size())
            return;
        Unit& u = st->units[n++];
        o.text("activeImage", &u.activeImage);
        o.text("backupImage", &u.backupImage);
        o.text("nextActiveImage", &u.nextActiveImage);
    });
    root.member("interfaces").eachElement([&](const StateNode& o) {
        uint32_t intIfNum = 0;
        o.u32("intIfNum", &intIfNum);
        auto it = st->interfaces.find(intIfNum);
        if (it == st->interfaces.end())
            return;
        Interface& i = it->second;
        i.maxSpeedMbps = i.speedMbps;  // a file from before the setting: the speed it runs at
        o.u32("maxSpeedMbps", &i.maxSpeedMbps);
        o.u32("autoNeg", &i.autoNeg);
        o.u32("fullDuplex", &i.fullDuplex);
        o.u32("flowControl", &i.flowControl);
        o.u32("ptpTransparent", &i.ptpTransparent);
        o.text("poeSchedule", &i.poeSchedule);
    });
    StateNode sys = root.member("system");
    SystemConfig& s = st->system;
    sys.u32("mgmtVlan", &s.mgmtVlan);
    sys.text("mgmtMethod", &s.mgmtMethod);
    sys.text("mgmtAddress", &s.mgmtAddress);
    sys.text("mgmtMask", &s.mgmtMask);
    sys.text("defaultGateway", &s.defaultGateway);
    sys.u32("fanControlMode", &s.fanControlMode);
    sys.u32("lagAutoMode", &s.lagAutoMode);
}

}  // namespace sim
