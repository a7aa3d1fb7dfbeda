// Request parameter readers.
#include "runtime/params.h"

#include <cjson/cJSON.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/log.h"
#include "runtime/text_convert.h"

namespace {

constexpr size_t kQueryMax = 8192;
constexpr long kBodyMax = 4 * 1024 * 1024;

char* dupText(const char* s, size_t n)
{
    char* p = static_cast<char*>(malloc(n + 1));
    if (!p)
        return nullptr;
    memcpy(p, s, n);
    p[n] = '\0';
    return p;
}

// Decimal text as the switch's 32-bit strtoul reads it, on any host: a
// magnitude beyond 32 bits gives 4294967295, a negative number wraps around.
// (A 64-bit strtoul would wrap large magnitudes instead.)
uint32_t decimalU32(const char* v)
{
    while (isspace(static_cast<unsigned char>(*v)))
        ++v;
    bool negative = *v == '-';
    if (*v == '-' || *v == '+')
        ++v;
    if (!isdigit(static_cast<unsigned char>(*v)))
        return 0;
    unsigned long long magnitude = strtoull(v, nullptr, 10);
    if (magnitude > 0xffffffffull)
        return 0xffffffffu;
    uint32_t u = static_cast<uint32_t>(magnitude);
    return negative ? 0u - u : u;
}

void logParamError(const cJSON* req, const char* name)
{
    char* text = cJSON_Print(req);
    LOG(kLogError, "%s param error :%s\r\n", name, text ? text : "");
    free(text);
}

}  // namespace

char* requestDataGet()
{
    const char* method = getenv("REQUEST_METHOD");
    if (!method)
        return nullptr;
    if (strcmp(method, "GET") == 0 || strcmp(method, "DELETE") == 0) {
        const char* q = getenv("QUERY_STRING");
        if (!q)
            q = "";
        return dupText(q, strnlen(q, kQueryMax));
    }
    if (strcmp(method, "POST") == 0 || strcmp(method, "PUT") == 0) {
        const char* cl = getenv("CONTENT_LENGTH");
        long len = cl ? strtol(cl, nullptr, 10) : 0;
        // A negative length is refused like an unknown method, and so is one
        // beyond any body the API takes.
        if (len < 0 || len > kBodyMax)
            return nullptr;
        char* text = static_cast<char*>(calloc(static_cast<size_t>(len) + 1, 1));
        if (!text)
            return nullptr;
        size_t got = len > 0 ? fread(text, 1, static_cast<size_t>(len), stdin) : 0;
        text[got] = '\0';
        return text;
    }
    return nullptr;
}

char** paramListSplit(const char* text)
{
    size_t cap = 10, used = 0;
    char** list = static_cast<char**>(calloc(cap, sizeof(char*)));
    if (!list)
        exit(1);
    const char* p = text ? text : "";
    for (;;) {
        const char* amp = strchr(p, '&');
        size_t n = amp ? static_cast<size_t>(amp - p) : strlen(p);
        // Keep one empty slot after the last piece.
        if (used + 1 >= cap) {
            char** grown = static_cast<char**>(realloc(list, (cap + 10) * sizeof(char*)));
            if (!grown)
                exit(1);
            memset(grown + cap, 0, 10 * sizeof(char*));
            list = grown;
            cap += 10;
        }
        list[used++] = dupText(p, n);
        if (!amp)
            break;
        p = amp + 1;
    }
    return list;
}

char* paramListFind(const char* key, char** list)
{
    if (!key || !list)
        return nullptr;
    for (char** p = list; *p; ++p) {
        if (!strstr(*p, key))
            continue;
        char* eq = strchr(*p, '=');
        if (eq)
            return eq + 1;
    }
    return nullptr;
}

void paramListFree(char** list)
{
    if (!list)
        return;
    for (char** p = list; *p; ++p)
        free(*p);
    free(list);
}

const char* queryExactValue(const char* name)
{
    const char* q = getenv("QUERY_STRING");
    size_t n = strlen(name);
    if (!q || n == 0)
        return nullptr;
    for (const char* p = q; (p = strstr(p, name)) != nullptr; ++p)
        if ((p == q || p[-1] == '&') && p[n] == '=')
            return p + n + 1;
    return nullptr;
}

int getStrAndCpyTo(const cJSON* req, const char* name, char* dst, size_t len)
{
    const cJSON* item = cJSON_GetObjectItem(req, name);
    if (!item || !cJSON_IsString(item)) {
        logParamError(req, name);
        return 10003;
    }
    strncpy(dst, item->valuestring, len);
    return 0;
}

int getIntAndCpyTo(const cJSON* req, const char* name, int32_t* dst)
{
    const cJSON* item = cJSON_GetObjectItem(req, name);
    if (!item) {
        logParamError(req, name);
        return 10003;
    }
    *dst = item->valueint;
    return 0;
}

uint32_t queryExactU32(const char* name)
{
    const char* v = queryExactValue(name);
    return v ? decimalU32(v) : 0;
}

bool queryExactHas(const char* name)
{
    return queryExactValue(name) != nullptr;
}

uint32_t queryExactIpv4(const char* name)
{
    const char* v = queryExactValue(name);
    if (!v)
        return 0;
    // At most 15 characters of the value are taken.
    size_t n = strcspn(v, "&");
    uint32_t addr;
    return conv::parseIpv4(std::string_view(v, n < 15 ? n : 15), &addr) ? addr : 0;
}

uint32_t paramListU32(const char* key, char** list, bool* found)
{
    const char* v = paramListFind(key, list);
    if (found)
        *found = v != nullptr;
    return v ? decimalU32(v) : 0;
}
