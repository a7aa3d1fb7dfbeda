// Interface notation helpers.
#include "access/intf_notation.h"

#include <cstdio>
#include <cstring>

#include "runtime/envelope.h"
#include "runtime/log.h"

int ifFirstOfTypeGet(OpenClientHandle* client, uint32_t type, uint32_t* intIfNum)
{
    int rc = openapiIfFirstGet(client, type, intIfNum);
    if (rc != 0)
        LOG_AS("swapiIfFirstGet", kLogError, "Bad return code trying to get first physical interface. result = %d\r\n",
               rc);
    return rc;
}

int ifUnitSlotPortGet(OpenClientHandle* client, uint32_t intIfNum, UnitSlotPort* usp)
{
    if (!usp)
        return kResultInvalidArgument;
    memset(usp, 0, sizeof *usp);
    return openapiHashIntfUnitSlotPortGet(client, intIfNum, usp) == 0 ? kResultOk : kResultGeneralFailed;
}

namespace {

int physicalName(OpenClientHandle* client, uint32_t intIfNum, char* name)
{
    UnitSlotPort usp;
    if (ifUnitSlotPortGet(client, intIfNum, &usp) != 0)
        return kResultGeneralFailed;
    // "255/255/65535" does not fit the 12 bytes: cut, as the callers' buffers are.
    char text[24];
    snprintf(text, sizeof text, "%d/%d/%d", usp.unit, usp.slot, usp.port);
    snprintf(name, kIfDisplayNameSize, "%.11s", text);
    return kResultOk;
}

}  // namespace

int ifDisplayNameGet(OpenClientHandle* client, uint32_t intIfNum, char* name)
{
    if (!name)
        return kResultInvalidArgument;
    uint32_t type = 0;
    if (openapiIfTypeGet(client, intIfNum, &type) != 0)
        return kResultGeneralFailed;
    if (type == kIfTypePhysical)
        return physicalName(client, intIfNum, name);
    if (type != kIfTypeLag)
        return kResultGeneralFailed;
    uint32_t firstLag = 0;
    if (ifFirstOfTypeGet(client, kIfTypeLag, &firstLag) != 0 || intIfNum < firstLag)
        return kResultGeneralFailed;
    snprintf(name, kIfDisplayNameSize, "lag %u", intIfNum - firstLag + 1);
    return kResultOk;
}

int ifDisplayNameFromTypeGet(OpenClientHandle* client, uint32_t intIfNum, uint32_t type, char* name)
{
    if (!name)
        return kResultInvalidArgument;
    if (type == kIfTypePhysical)
        return physicalName(client, intIfNum, name);
    if (type == kIfTypeLag)
        snprintf(name, kIfDisplayNameSize, "lag %u", intIfNum);
    return kResultOk;
}

namespace {

// Reads numbers separated by "/" as "%d/%d/%d" would, into at most three
// values; the count read. Negative or out-of-range numbers end the scan.
int numbersBySlash(const char* text, uint32_t (&v)[3])
{
    int n = 0;
    const char* p = text;
    while (n < 3) {
        while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r')
            ++p;
        if (*p == '+')
            ++p;
        if (*p < '0' || *p > '9')
            break;
        unsigned long long x = 0;
        while (*p >= '0' && *p <= '9') {
            x = x * 10 + static_cast<unsigned>(*p - '0');
            if (x > 0x7fffffffULL)
                return n;
            ++p;
        }
        v[n++] = static_cast<uint32_t>(x);
        if (*p != '/')
            break;
        ++p;
    }
    return n;
}

}  // namespace

int unitSlotPortParse(const char* text, uint32_t* unit, uint32_t* slot, uint32_t* port)
{
    if (!text || !unit || !slot || !port)
        return kResultOk;
    uint32_t v[3];
    int n = numbersBySlash(text, v);
    if (n == 3) {
        *unit = v[0];
        *slot = v[1];
        *port = v[2];
    } else if (n == 2) {
        *unit = 1;
        *slot = v[0];
        *port = v[1];
    }
    return kResultOk;
}

int stackMemberCountGet(OpenClientHandle* client, uint32_t* count)
{
    if (!count)
        return kResultInvalidArgument;
    uint32_t n = 0, unit = 0, next = 0;
    // A switch that answered the same unit again would never end the walk.
    while (n < 256 && openapiUnitMgrStackMemberGetNext(client, unit, &next) == 0 && next > unit) {
        ++n;
        unit = next;
    }
    *count = n;
    return kResultOk;
}
