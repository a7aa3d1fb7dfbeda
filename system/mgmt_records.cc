// Records of the system directory's operations.
#include "system/mgmt_records.h"

#include <cjson/cJSON.h>

#include <cstring>

namespace coregate {

ResultCode readNoInput(const cJSON*, void*, void*) { return kResultOk; }

void writeSigned(cJSON* obj, const char* name, const void* rec, const void*, uint32_t)
{
    int32_t v;
    memcpy(&v, rec, sizeof v);
    cJSON_AddNumberToObject(obj, name, v);
}

}  // namespace coregate
