// Routes, next hops and route changes read from requests and answered.
#include "routing/route_records.h"

#include <cjson/cJSON.h>

#include <cstring>
#include <string>

#include "runtime/text_convert.h"

namespace pathgate {

namespace {

// An address member of a record: absent or empty leaves it unset; text in
// neither family is refused.
ResultCode addrMember(const cJSON* obj, const char* name, uint32_t* family, uint8_t* addr, size_t addrSize)
{
    const cJSON* a = cJSON_GetObjectItem(obj, name);
    if (!a)
        return kResultOk;
    InetAddr parsed;
    if (!cJSON_IsString(a) || (*a->valuestring && !hf::parseAddr(a->valuestring, &parsed)))
        return kResultInvalidArgument;
    if (*a->valuestring) {
        *family = parsed.family;
        memcpy(addr, parsed.addr, addrSize);
    }
    return kResultOk;
}

// A number member of a record that must fit its field.
ResultCode fieldOf(const cJSON* obj, const char* name, uint32_t max, uint32_t* out)
{
    ResultCode c = hf::numberOf(hf::member(obj, name), 0, out);
    return c != kResultOk || *out > max ? kResultInvalidArgument : kResultOk;
}

}  // namespace

ResultCode readNothing(const cJSON*, void*, void*) { return kResultOk; }

ResultCode readRoute(const cJSON* o, void* rec, void*)
{
    RouteRecord* r = static_cast<RouteRecord*>(rec);
    memset(r, 0, sizeof *r);
    if (!o)
        return kResultOk;
    if (!cJSON_IsObject(o))
        return kResultInvalidArgument;
    if (addrMember(o, "destPfx", &r->family, r->destPfx, sizeof r->destPfx) != kResultOk)
        return kResultInvalidArgument;
    struct Field {
        const char* name;
        uint32_t max;
        uint32_t value;
    } f[] = {{"pfxLen", 255, 0},     {"routeType", 255, 0},   {"protoId", 0xffffffffu, 0},
             {"rejectRoute", 255, 0}, {"discardRoute", 255, 0}, {"pref", 65535, 0},
             {"metric", 0xffffffffu, 0}, {"numNextHops", 0xffffffffu, 0}, {"leakedRoute", 255, 0},
             {"rfc5549Route", 255, 0}, {"unnumberedRoute", 255, 0}};
    for (Field& x : f)
        if (fieldOf(o, x.name, x.max, &x.value) != kResultOk)
            return kResultInvalidArgument;
    r->pfxLen = static_cast<uint8_t>(f[0].value);
    r->routeType = static_cast<uint8_t>(f[1].value);
    r->protoId = f[2].value;
    r->rejectRoute = static_cast<uint8_t>(f[3].value);
    r->discardRoute = static_cast<uint8_t>(f[4].value);
    r->pref = static_cast<uint16_t>(f[5].value);
    r->metric = f[6].value;
    r->numNextHops = f[7].value;
    r->leakedRoute = static_cast<uint8_t>(f[8].value);
    r->rfc5549Route = static_cast<uint8_t>(f[9].value);
    r->unnumberedRoute = static_cast<uint8_t>(f[10].value);
    return kResultOk;
}

ResultCode readNextHops(const cJSON* arr, void* rec, void* owner)
{
    NextHopList* list = static_cast<NextHopList*>(rec);
    memset(list, 0, sizeof *list);
    uint32_t count = 0;
    if (arr && !cJSON_IsArray(arr))
        return kResultInvalidArgument;
    const cJSON* e;
    cJSON_ArrayForEach(e, arr)
    {
        if (count == kMaxNextHops)
            break;  // more than a list holds: the rest is ignored
        if (!cJSON_IsObject(e))
            return kResultInvalidArgument;
        NextHop& h = list->hop[count];
        if (addrMember(e, "nhAddr", &h.family, h.addr, sizeof h.addr) != kResultOk)
            return kResultInvalidArgument;
        if (fieldOf(e, "ifNum", 0xffffffffu, &h.ifNum) != kResultOk)
            return kResultInvalidArgument;
        ++count;
    }
    // The count sent is the number of next hops actually in the list.
    if (owner)
        static_cast<RouteRecord*>(owner)->numNextHops = count;
    return kResultOk;
}

JsonPtr routeJson(const RouteRecord& r)
{
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddStringToObject(o.get(), "destPfx", hf::addrText(r.family, r.destPfx).c_str());
    cJSON_AddNumberToObject(o.get(), "pfxLen", r.pfxLen);
    cJSON_AddNumberToObject(o.get(), "routeType", r.routeType);
    cJSON_AddNumberToObject(o.get(), "protoId", r.protoId);
    cJSON_AddNumberToObject(o.get(), "rejectRoute", r.rejectRoute);
    cJSON_AddNumberToObject(o.get(), "discardRoute", r.discardRoute);
    cJSON_AddNumberToObject(o.get(), "pref", r.pref);
    cJSON_AddNumberToObject(o.get(), "metric", r.metric);
    cJSON_AddNumberToObject(o.get(), "numNextHops", r.numNextHops);
    cJSON_AddNumberToObject(o.get(), "leakedRoute", r.leakedRoute);
    cJSON_AddNumberToObject(o.get(), "rfc5549Route", r.rfc5549Route);
    cJSON_AddNumberToObject(o.get(), "unnumberedRoute", r.unnumberedRoute);
    return o;
}

JsonPtr nextHopsJson(const NextHopList& l, uint32_t count)
{
    JsonPtr a(cJSON_CreateArray());
    for (uint32_t i = 0; i < count && i < kMaxNextHops; ++i) {
        cJSON* o = cJSON_CreateObject();
        cJSON_AddStringToObject(o, "nhAddr", hf::addrText(l.hop[i].family, l.hop[i].addr).c_str());
        cJSON_AddNumberToObject(o, "ifNum", l.hop[i].ifNum);
        cJSON_AddItemToArray(a.get(), o);
    }
    return a;
}

void writeRoute(cJSON* obj, const char* name, const void* rec, const void*, uint32_t)
{
    cJSON_AddItemToObject(obj, name, routeJson(*static_cast<const RouteRecord*>(rec)).release());
}

void writeNextHops(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t)
{
    uint32_t count = owner ? static_cast<const RouteRecord*>(owner)->numNextHops : 0;
    cJSON_AddItemToObject(obj, name, nextHopsJson(*static_cast<const NextHopList*>(rec), count).release());
}

namespace {

void addChange(cJSON* o, const RouteChange& c)
{
    cJSON_AddNumberToObject(o, "chType", c.chType);
    cJSON_AddItemToObject(o, "route", routeJson(c.route).release());
    cJSON_AddItemToObject(o, "nextHops", nextHopsJson(c.nextHops, c.route.numNextHops).release());
}

}  // namespace

void writeRouteChange(cJSON* obj, const char*, const void* rec, const void*, uint32_t)
{
    addChange(obj, *static_cast<const RouteChange*>(rec));
}

void writeRouteChanges(cJSON* obj, const char* name, const void* rec, const void*, uint32_t limit)
{
    const RouteChangeSet& set = *static_cast<const RouteChangeSet*>(rec);
    cJSON* a = cJSON_AddArrayToObject(obj, name);
    for (uint32_t k = 0; k < limit && k < kRouteChangeSlots && set.slot[k].inUse; ++k) {
        cJSON* c = cJSON_CreateObject();
        addChange(c, set.slot[k]);
        cJSON_AddItemToArray(a, c);
    }
}

}  // namespace pathgate
