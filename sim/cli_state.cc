// State file section of the CLI settings.
#include "sim/cli_state.h"

#include <cjson/cJSON.h>

namespace sim {

namespace {

uint32_t numberOr(const cJSON* obj, const char* name, uint32_t dflt)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsNumber(it) && it->valuedouble >= 0 ? static_cast<uint32_t>(it->valuedouble) : dflt;
}

std::string textOr(const cJSON* obj, const char* name, const std::string& dflt)
{
    const cJSON* it = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsString(it) ? it->valuestring : dflt;
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

void cliStateFromJson(const cJSON* root, SwitchState* st)
{
    const cJSON* o;
    size_t n = 0;
    cJSON_ArrayForEach(o, cJSON_GetObjectItemCaseSensitive(root, "units"))
    {
        if (n >= st->units.size())
            break;
        Unit& u = st->units[n++];
        u.activeImage = textOr(o, "activeImage", u.activeImage);
        u.backupImage = textOr(o, "backupImage", u.backupImage);
        u.nextActiveImage = textOr(o, "nextActiveImage", u.nextActiveImage);
    }
    cJSON_ArrayForEach(o, cJSON_GetObjectItemCaseSensitive(root, "interfaces"))
    {
        auto it = st->interfaces.find(numberOr(o, "intIfNum", 0));
        if (it == st->interfaces.end())
            continue;
        Interface& i = it->second;
        i.maxSpeedMbps = numberOr(o, "maxSpeedMbps", i.speedMbps);
        i.autoNeg = numberOr(o, "autoNeg", i.autoNeg);
        i.fullDuplex = numberOr(o, "fullDuplex", i.fullDuplex);
        i.flowControl = numberOr(o, "flowControl", i.flowControl);
        i.ptpTransparent = numberOr(o, "ptpTransparent", i.ptpTransparent);
        i.poeSchedule = textOr(o, "poeSchedule", i.poeSchedule);
    }
    const cJSON* sys = cJSON_GetObjectItemCaseSensitive(root, "system");
    SystemConfig& s = st->system;
    s.mgmtVlan = numberOr(sys, "mgmtVlan", s.mgmtVlan);
    s.mgmtMethod = textOr(sys, "mgmtMethod", s.mgmtMethod);
    s.mgmtAddress = textOr(sys, "mgmtAddress", s.mgmtAddress);
    s.mgmtMask = textOr(sys, "mgmtMask", s.mgmtMask);
    s.defaultGateway = textOr(sys, "defaultGateway", s.defaultGateway);
    s.fanControlMode = numberOr(sys, "fanControlMode", s.fanControlMode);
    s.lagAutoMode = numberOr(sys, "lagAutoMode", s.lagAutoMode);
}

}  // namespace sim
