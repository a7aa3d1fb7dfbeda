// swarmgate's MFDB keys as the handler family reads and answers them.
#include "mcast/mcast_rows.h"

#include <cjson/cJSON.h>

#include <cctype>
#include <cstring>

#include "runtime/log.h"

namespace swarmgate {

bool vidMacValid(const std::string& t)
{
    if (t.size() != MFDB_VIDMAC_SIZE - 1)
        return false;
    for (size_t i = 0; i < t.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(t[i]);
        if (i % 3 == 2 ? c != ':' : !isxdigit(c))
            return false;
    }
    return true;
}

ResultCode readVidMac(const cJSON* item, void* rec, void*)
{
    if (!cJSON_IsString(item) || !vidMacValid(item->valuestring)) {
        LOG(kLogError, "MFDB key is not of the form vv:vv:mm:mm:mm:mm:mm:mm\n");
        return kResultInvalidArgument;
    }
    memcpy(static_cast<MfdbVidMac*>(rec)->text, item->valuestring, MFDB_VIDMAC_SIZE - 1);
    return kResultOk;
}

ResultCode readWalkVidMac(const cJSON* item, void* rec, void* owner)
{
    if (!item || (cJSON_IsString(item) && item->valuestring[0] == '\0'))
        return kResultOk;  // the zeroed key: the walk's start
    return readVidMac(item, rec, owner);
}

void writeVidMac(cJSON* obj, const char* name, const void* rec, const void*, uint32_t)
{
    const MfdbVidMac* k = static_cast<const MfdbVidMac*>(rec);
    cJSON_AddStringToObject(obj, name, std::string(k->text, strnlen(k->text, sizeof k->text)).c_str());
}

}  // namespace swarmgate
