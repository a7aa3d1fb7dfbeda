// Form-encoded request values.
#include "stores/form_params.h"

#include <cjson/cJSON.h>

#include <cstring>
#include <string>

#include "runtime/envelope.h"
#include "runtime/handler_family.h"
#include "runtime/raii.h"

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Copies at most size - 1 characters of the value and decodes them.
int copyDecoded(const char* value, size_t len, char* out, size_t size)
{
    size_t n = len < size - 1 ? len : size - 1;
    memcpy(out, value, n);
    out[n] = '\0';
    urlDecodeInPlace(out);
    return kResultOk;
}

bool usable(const char* text, const char* key, char* out, size_t size)
{
    if (out && size > 0)
        out[0] = '\0';
    return text && key && *key && out && size > 0;
}

}  // namespace

void urlDecodeInPlace(char* text)
{
    if (!text)
        return;
    char* w = text;
    for (const char* r = text; *r;) {
        int hi, lo;
        if (*r == '%' && (hi = hexValue(r[1])) >= 0 && (lo = hexValue(r[2])) >= 0) {
            *w++ = static_cast<char>(hi << 4 | lo);
            r += 3;
        } else {
            *w++ = *r == '+' ? ' ' : *r;
            ++r;
        }
    }
    *w = '\0';
}

int queryParamDecodedGet(const char* params, const char* key, char* out, size_t size)
{
    if (!usable(params, key, out, size))
        return kResultGeneralFailed;
    size_t keyLen = strlen(key);
    for (const char* item = params;; ++item) {
        size_t len = strcspn(item, "&");
        const char* eq = static_cast<const char*>(memchr(item, '=', len));
        if (eq && static_cast<size_t>(eq - item) == keyLen && memcmp(item, key, keyLen) == 0)
            return copyDecoded(eq + 1, len - keyLen - 1, out, size);
        item += len;
        if (!*item)
            return kResultGeneralFailed;
    }
}

int jsonParamDecodedGet(const char* json, const char* key, char* out, size_t size)
{
    if (!usable(json, key, out, size))
        return kResultGeneralFailed;
    JsonPtr tree(cJSON_Parse(json));
    if (!cJSON_IsObject(tree.get()))
        return kResultGeneralFailed;
    hf::Value v = hf::member(tree.get(), key);
    std::string text;
    if (!v.found || !hf::textOf(v, &text))
        return kResultGeneralFailed;
    return copyDecoded(text.data(), text.size(), out, size);
}
