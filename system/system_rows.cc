// Records and computed views of coregate's rows.
#include "system/system_rows.h"

#include <cjson/cJSON.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "runtime/params.h"
#include "runtime/route_tree.h"

namespace coregate {

ResultCode readApiVersion(const cJSON*, void*, void*) { return kResultOk; }

void writeApiVersionFlat(cJSON* obj, const char*, const void* rec, const void*, uint32_t)
{
    const ApiVersion* v = static_cast<const ApiVersion*>(rec);
    cJSON_AddNumberToObject(obj, "release", v->release);
    cJSON_AddNumberToObject(obj, "version", v->version);
    cJSON_AddNumberToObject(obj, "maint_level", v->maintLevel);
    cJSON_AddNumberToObject(obj, "build_num", v->buildNum);
}

}  // namespace coregate

namespace hf {

namespace {

bool isRead(const RouteCtx& r) { return r.method == kMethodGet; }

// The template of query member `name` (exact reader); nullptr when absent or
// no template's id.
const coregate::SdmTemplate* queryTemplate(const char* name)
{
    free(requestDataGet());
    std::string id;
    if (!queryExactText(name, &id))
        return nullptr;
    return coregate::sdmTemplate(id.c_str());
}

int answerText(const RouteCtx& r, const char* member, const char* text)
{
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddStringToObject(o.get(), member, text);
    return reply(r, kResultOk, std::move(o), !isRead(r));
}

}  // namespace

int fixedSdmTemplateName(const RouteCtx& r, const char* name, const char*)
{
    const coregate::SdmTemplate* t = queryTemplate(name);
    return answerText(r, "templateName", t ? t->name : "default");
}

int fixedSdmTemplateIdNext(const RouteCtx& r, const char* name, const char*)
{
    const coregate::SdmTemplate* t = queryTemplate(name);
    return answerText(r, "templateId", t ? t->next : coregate::kSdmTemplates[0].id);
}

int fixedSdmTemplateSupported(const RouteCtx& r, const char* name, const char*)
{
    Request q;
    ResultCode c = readRequest(r, true, false, &q);
    std::string id;
    if (c == kResultOk && !textOf(member(q.body.get(), name), &id))
        c = kResultInvalidArgument;
    if (c != kResultOk)
        return reply(r, c, nullptr, true);
    return answerText(r, "supported", coregate::sdmTemplate(id.c_str()) ? "true" : "false");
}

}  // namespace hf

// The row of "active-template" (system/routes_sdm.def).
extern "C" int handleV2SystemSdmActiveTemplateGet(void);

namespace hf {

int fixedSdmNextActiveTemplate(const RouteCtx&, const char*, const char*)
{
    return handleV2SystemSdmActiveTemplateGet();
}

int fixedUtcTime(const RouteCtx& r, const char*, const char*)
{
    free(requestDataGet());
    JsonPtr o(cJSON_CreateObject());
    cJSON* ct = cJSON_AddObjectToObject(o.get(), "ct");
    cJSON_AddNumberToObject(ct, "seconds", static_cast<double>(time(nullptr)));
    cJSON_AddNumberToObject(ct, "nanoseconds", 0);
    return reply(r, kResultOk, std::move(o), !isRead(r));
}

int fixedAdjustedTime(const RouteCtx& r, const char*, const char*)
{
    free(requestDataGet());
    time_t now = time(nullptr);
    struct tm tm;
    if (!localtime_r(&now, &tm))
        return reply(r, kResultGeneralFailed, nullptr, !isRead(r));
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddNumberToObject(o.get(), "year", tm.tm_year + 1900);
    cJSON_AddNumberToObject(o.get(), "month", tm.tm_mon + 1);
    cJSON_AddNumberToObject(o.get(), "day", tm.tm_mday);
    cJSON_AddNumberToObject(o.get(), "hour", tm.tm_hour);
    cJSON_AddNumberToObject(o.get(), "minutes", tm.tm_min);
    cJSON_AddNumberToObject(o.get(), "seconds", tm.tm_sec);
    return reply(r, kResultOk, std::move(o), !isRead(r));
}

int fixedRawAdjustedTime(const RouteCtx& r, const char* name, const char*)
{
    free(requestDataGet());
    tzset();
    long long adjusted = static_cast<long long>(queryExactU32(name)) - static_cast<long long>(timezone);
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddNumberToObject(o.get(), "adjustedTime", static_cast<double>(adjusted));
    return reply(r, kResultOk, std::move(o), !isRead(r));
}

}  // namespace hf
