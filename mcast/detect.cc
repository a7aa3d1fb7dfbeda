// Multicast stream detection: the setting and the stream file.
#include "mcast/detect.h"

#include <cjson/cJSON.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/log.h"
#include "runtime/params.h"
#include "runtime/raii.h"
#include "stores/form_params.h"

namespace swarmgate {

namespace {

// Prints the detection envelope: "resp" with the code, then `data` (when
// given) and "total" (when not negative).
int detectReply(int code, cJSON* data, long long total = -1)
{
    JsonPtr root(cJSON_CreateObject());
    cJSON* resp = cJSON_AddObjectToObject(root.get(), "resp");
    if (resp) {
        cJSON_AddNumberToObject(resp, "respCode", code);
        cJSON_AddStringToObject(resp, "respMsg", code == 0 ? "Success" : "Error");
        cJSON_AddStringToObject(resp, "status", code == 0 ? "success" : "fail");
    }
    if (data)
        cJSON_AddItemToObject(root.get(), "data", data);
    if (total >= 0)
        cJSON_AddNumberToObject(root.get(), "total", static_cast<double>(total));
    CStr text(cJSON_Print(root.get()));
    if (text)
        fputs(text.get(), stdout);
    return 0;
}

// Up to `max` bytes of the regular file `path`; false when it cannot be
// opened, is no regular file or its size is outside `least`..`max` (then
// nothing is read).
bool readLocal(const char* path, size_t least, size_t max, std::string* out)
{
    out->clear();
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<unsigned long long>(st.st_size) >= least &&
              (least == 0 || static_cast<unsigned long long>(st.st_size) <= max);
    while (ok && out->size() < max) {
        char buf[65536];
        size_t want = max - out->size() < sizeof buf ? max - out->size() : sizeof buf;
        ssize_t n = read(fd, buf, want);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            ok = false;
        if (n <= 0)
            break;
        out->append(buf, static_cast<size_t>(n));
    }
    close(fd);
    return ok;
}

// Whether the setting says "enabled".
bool detectionEnabled()
{
    std::string text;
    if (!readLocal(kDetectConfigPath, 0, kDetectConfigMax, &text))
        return false;
    JsonPtr j(cJSON_ParseWithLength(text.data(), text.size()));
    const cJSON* mode = cJSON_GetObjectItemCaseSensitive(j.get(), "adminMode");
    return cJSON_IsString(mode) && strcmp(mode->valuestring, "enabled") == 0;
}

// Writes `text` whole to `fd`.
bool writeAll(int fd, const std::string& text)
{
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// Replaces the setting: the temporary file, complete and on storage, renamed
// over it. The temporary file is gone after any failure.
bool saveSetting(const std::string& text)
{
    std::string tmp = std::string(kDetectConfigPath) + ".tmp";
    // A name left in its place (a link, a hard link to another file) is
    // removed, not written through: the file is made afresh.
    unlink(tmp.c_str());
    int fd = open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        LOG(kLogError, "detect: cannot create %s (%s)\n", tmp.c_str(), strerror(errno));
        return false;
    }
    struct stat st;
    bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && fchmod(fd, 0644) == 0 && writeAll(fd, text) &&
              fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    ok = ok && rename(tmp.c_str(), kDetectConfigPath) == 0;
    if (!ok) {
        LOG(kLogError, "detect: cannot write %s (%s)\n", kDetectConfigPath, strerror(errno));
        unlink(tmp.c_str());
    }
    return ok;
}

// A text member of `obj`; "" when missing or no string.
const char* textMember(const cJSON* obj, const char* name)
{
    const cJSON* v = cJSON_GetObjectItemCaseSensitive(obj, name);
    return cJSON_IsString(v) ? v->valuestring : "";
}

// One stream of the data file as answered.
cJSON* streamJson(const cJSON* s)
{
    cJSON* o = cJSON_CreateObject();
    if (!o)
        return nullptr;
    cJSON_AddStringToObject(o, "groupIp", textMember(s, "group_ip"));
    cJSON_AddStringToObject(o, "groupMac", textMember(s, "group_mac"));
    cJSON_AddStringToObject(o, "sourceIp", textMember(s, "source_ip"));
    cJSON_AddStringToObject(o, "sourceMac", textMember(s, "source_mac"));
    cJSON_AddStringToObject(o, "interface", textMember(s, "interface"));
    const cJSON* vlan = cJSON_GetObjectItemCaseSensitive(s, "vlan_id");
    cJSON_AddNumberToObject(o, "vlanId", cJSON_IsNumber(vlan) ? vlan->valuedouble : 0);
    cJSON_AddBoolToObject(o, "trafficDetected", cJSON_IsTrue(cJSON_GetObjectItemCaseSensitive(s, "traffic_detected")));
    cJSON* subs = cJSON_AddArrayToObject(o, "subscribers");
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(s, "subscribers");
    const cJSON* sub = nullptr;
    if (subs && cJSON_IsArray(list))
        cJSON_ArrayForEach(sub, list) {
            cJSON* one = cJSON_CreateObject();
            if (!one)
                continue;
            cJSON_AddStringToObject(one, "subscriberIp", textMember(sub, "subscriber_ip"));
            cJSON_AddStringToObject(one, "interface", textMember(sub, "interface"));
            cJSON_AddStringToObject(one, "igmpVersion", textMember(sub, "igmp_version"));
            cJSON_AddItemToArray(subs, one);
        }
    cJSON_AddStringToObject(o, "bitRate", textMember(s, "bit_rate"));
    return o;
}

// A query value of the stream walk ("" when absent), at most 31 characters.
std::string queryValue(const char* query, const char* key)
{
    char buf[32];
    if (queryParamDecodedGet(query, key, buf, sizeof buf) != 0)
        return std::string();
    return buf;
}

}  // namespace

JsonPtr streamDataRead()
{
    std::string text;
    if (!readLocal(kStreamDataPath, 1, kStreamDataMax, &text)) {
        LOG(kLogInfo, "%s unreadable, empty or over %zu bytes\n", kStreamDataPath, kStreamDataMax);
        return nullptr;
    }
    JsonPtr j(cJSON_ParseWithLength(text.data(), text.size()));
    if (!j)
        LOG(kLogInfo, "%s is no JSON\n", kStreamDataPath);
    return j;
}

long long detectQueryNumber(const char* text)
{
    if (!text)
        return 0;
    errno = 0;
    char* end = nullptr;
    long long v = strtoll(text, &end, 10);
    // strtoll gives the bound of its range, not a wrapped value, on overflow.
    if (end == text || v < 0)
        return 0;
    return v;
}

int detectAdminModeGet(const hf::RouteCtx&)
{
    free(requestDataGet());
    cJSON* data = cJSON_CreateObject();
    if (data)
        cJSON_AddStringToObject(data, "adminMode", detectionEnabled() ? "enabled" : "disabled");
    return detectReply(0, data);
}

int detectAdminModeSet(const hf::RouteCtx& r)
{
    CStr body(requestDataGet());
    JsonPtr j(body ? cJSON_Parse(body.get()) : nullptr);
    const cJSON* mode = cJSON_GetObjectItemCaseSensitive(j.get(), "adminMode");
    const char* word = cJSON_IsString(mode) ? mode->valuestring : "";
    if (strcmp(word, "enabled") != 0 && strcmp(word, "disabled") != 0) {
        LOG(kLogError, "%s: adminMode must be enabled or disabled\n", r.leaf);
        return detectReply(kResultInvalidArgument, nullptr);
    }
    std::string text = std::string("{\"adminMode\":\"") + word + "\"}";
    return detectReply(saveSetting(text) ? 0 : kResultGeneralFailed, nullptr);
}

int detectStreamsGet(const hf::RouteCtx& r)
{
    CStr query(requestDataGet());
    if (!detectionEnabled())
        return detectReply(0, cJSON_CreateArray(), 0);
    JsonPtr j = streamDataRead();
    if (!j) {
        LOG(kLogError, "%s: no streams from %s\n", r.leaf, kStreamDataPath);
        return detectReply(-1, nullptr);
    }
    const char* q = getenv("QUERY_STRING");
    q = q ? q : "";
    long long offset = detectQueryNumber(queryValue(q, "offset").c_str());
    long long limit = detectQueryNumber(queryValue(q, "limit").c_str());
    long long vlan = detectQueryNumber(queryValue(q, "vlan").c_str());
    cJSON* data = cJSON_CreateArray();
    long long total = 0, emitted = 0;
    const cJSON* streams = cJSON_GetObjectItemCaseSensitive(j.get(), "streams");
    const cJSON* s = nullptr;
    if (cJSON_IsArray(streams))
        cJSON_ArrayForEach(s, streams) {
            const cJSON* id = cJSON_GetObjectItemCaseSensitive(s, "vlan_id");
            if (vlan >= 1 && !(cJSON_IsNumber(id) && id->valuedouble == static_cast<double>(vlan)))
                continue;
            if (total++ < offset || (limit != 0 && emitted >= limit))
                continue;
            ++emitted;
            if (data)
                cJSON_AddItemToArray(data, streamJson(s));
        }
    return detectReply(0, data, total);
}

}  // namespace swarmgate
