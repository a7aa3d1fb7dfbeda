// The logging directory's composites of system/logging_views.h.
#include "system/logging_views.h"

#include <cjson/cJSON.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "access/cli_logging.h"
#include "access/cli_text.h"
#include "access/cli_views.h"
#include "access/show_parse_system.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/open_client.h"
#include "runtime/params.h"
#include "runtime/raii.h"
#include "runtime/route_tree.h"

namespace coregate {

namespace {

constexpr size_t kHostBuffer = 256;

using cliview::answerCode;

// An optional JSON number from lo to hi: absent is fine; anything else 10003.
ResultCode optionalNumber(const cJSON* body, const char* name, uint32_t lo, uint32_t hi, bool* present,
                          uint32_t* out)
{
    const cJSON* item = cJSON_GetObjectItem(body, name);
    *present = item != nullptr;
    if (!item)
        return kResultOk;
    if (!cJSON_IsNumber(item) || !(item->valuedouble >= lo) || !(item->valuedouble < static_cast<double>(hi) + 1))
        return kResultInvalidArgument;
    *out = static_cast<uint32_t>(item->valuedouble);
    return kResultOk;
}

// A host name or address: one word that fits the host buffer with its NUL.
bool hostText(const cJSON* item, std::string* host)
{
    if (!cJSON_IsString(item))
        return false;
    *host = item->valuestring;
    return cliview::oneWord(*host, kHostBuffer - 1);
}

// A mode of the switch (1 enabled) as yes/no.
void addModeCall(cJSON* d, const char* name, int (*op)(OpenClientHandle*, uint32_t*))
{
    uint32_t v = 0;
    if (op(&clientHandle, &v) == 0)
        cJSON_AddBoolToObject(d, name, v == 1);
}

void addLabelNumber(cJSON* d, const char* name, const std::string& text, const char* label)
{
    uint32_t n;
    if (labelNumberOf(text, label, &n))
        cJSON_AddNumberToObject(d, name, n);
}

}  // namespace

int hostAddRow(const RouteCtx& r, const CliRow&)
{
    hf::Request q;
    ResultCode c = hf::readRequest(r, true, false, &q);
    if (c != kResultOk)
        return answerCode(r, c);
    const cJSON* body = q.body.get();
    std::string host;
    bool hasPort = false, hasSeverity = false;
    uint32_t port = 0, severity = 0;
    if (!hostText(cJSON_GetObjectItem(body, "host"), &host) ||
        optionalNumber(body, "port", 1, 65535, &hasPort, &port) != kResultOk ||
        optionalNumber(body, "severity", 0, 7, &hasSeverity, &severity) != kResultOk) {
        LOG(kLogError, "%s: host, port or severity refused\n", r.leaf);
        return answerCode(r, kResultInvalidArgument);
    }
    char buf[kHostBuffer] = {};
    memcpy(buf, host.data(), host.size());
    BufDesc d{static_cast<uint32_t>(host.size() + 1), buf};
    int status = rpcclt_openapiLoggingHostAdd(&clientHandle, d);
    if (status != 0 && status != kOpenExists) {
        LOG(kLogError, "%s: adding the host failed (%d)\n", r.leaf, status);
        return answerCode(r, kResultGeneralFailed);
    }
    if (hasPort && (status = rpcclt_openapiLoggingHostPortSet(&clientHandle, d, port)) != 0) {
        LOG(kLogError, "%s: setting the host's port failed (%d)\n", r.leaf, status);
        return answerCode(r, OpenResultTranslate(status));
    }
    if (hasSeverity && (status = rpcclt_openapiLoggingHostSeveritySet(&clientHandle, d, severity)) != 0) {
        LOG(kLogError, "%s: setting the host's severity failed (%d)\n", r.leaf, status);
        return answerCode(r, OpenResultTranslate(status));
    }
    return answerCode(r, kResultOk);
}

int statusRow(const RouteCtx& r, const CliRow& row)
{
    free(requestDataGet());
    JsonPtr data(cJSON_CreateObject());
    cJSON* d = data.get();
    uint32_t v = 0;
    if (rpcclt_openapiSysLogPortGet(&clientHandle, &v) == 0)
        cJSON_AddNumberToObject(d, "clientLocalPort", v);
    addModeCall(d, "cliCommandLogging", rpcclt_openapiCliCmdLoggingModeGet);
    addModeCall(d, "consoleLogging", rpcclt_openapiConsoleLoggingModeGet);
    if (rpcclt_openapiConsoleLoggingSeverityGet(&clientHandle, &v) == 0 && *logcli::severityName(v))
        cJSON_AddStringToObject(d, "consoleSeverity", logcli::severityName(v));
    std::string text, value;
    bool shown = logcli::loggingShow(r, row.output, row.show, &text) == kResultOk;
    if (shown && clitext::labelValue(text, "Buffered Logging", &value))
        cJSON_AddBoolToObject(d, "bufferedLogging", strcasecmp(value.c_str(), "enabled") == 0);
    if (shown && clitext::labelValue(text, "Buffered Logging Severity Filter", &value) &&
        logcli::severityNumber(value, &v))
        cJSON_AddStringToObject(d, "bufferedSeverity", logcli::severityName(v));
    addModeCall(d, "syslogLogging", rpcclt_openapiSysLogModeGet);
    if (shown && clitext::labelValue(text, "Logging Protocol", &value))
        cJSON_AddNumberToObject(d, "loggingProtocol", value.find("RFC5424") != std::string::npos ? 1 : 0);
    if (shown) {
        addLabelNumber(d, "bufferedLogCount", text, "Buffered Log Count");
        addLabelNumber(d, "bufferedThreshold", text, "Buffered Log Threshold");
        addLabelNumber(d, "messagesReceived", text, "Messages Received");
        addLabelNumber(d, "messagesRelayed", text, "Messages Relayed");
        addLabelNumber(d, "messagesDropped", text, "Messages Dropped");
        if (clitext::labelValue(text, "Source Interface", &value))
            cJSON_AddStringToObject(d, "sourceInterface", value.c_str());
    }
    return hf::reply(r, kResultOk, std::move(data), false);
}

int bufferedLogRow(const RouteCtx& r, const CliRow& row)
{
    free(requestDataGet());
    std::string text, value;
    if (logcli::loggingShow(r, row.output, row.show, &text) != kResultOk)
        return answerCode(r, kResultGeneralFailed);
    JsonPtr data(cJSON_CreateObject());
    cJSON* d = data.get();
    if (clitext::labelValue(text, "Buffered Logging", &value))
        cJSON_AddBoolToObject(d, "enabled", strcasecmp(value.c_str(), "enabled") == 0);
    if (clitext::labelValue(text, "Buffered Logging Wrapping Behavior", &value))
        cJSON_AddStringToObject(d, "wrapBehavior", strcasecmp(value.c_str(), "On") == 0 ? "wrap-on-full" : "stop-on-full");
    addLabelNumber(d, "logCount", text, "Buffered Log Count");
    cJSON* logs = cJSON_AddArrayToObject(d, "logs");
    // The switch's log may be a ring read round and round: the walk ends at
    // the first index that does not advance, and after kBufferedLogReadMax entries.
    uint32_t index = 0;
    for (uint32_t n = 0; n < kBufferedLogReadMax; ++n) {
        char entry[kBufferedLogEntrySize] = {};
        BufDesc e{sizeof entry, entry};
        uint32_t next = index;
        if (rpcclt_openapiBufferedLogEntryNextGet(&clientHandle, &next, &e) != 0 || next <= index)
            break;
        index = next;
        std::string line(entry, strnlen(entry, sizeof entry));
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        cJSON_AddItemToArray(logs, cJSON_CreateString(line.c_str()));
    }
    return hf::reply(r, kResultOk, std::move(data), false);
}

ResultCode readTrapLog(const cJSON*, void*, void*) { return kResultOk; }

void writeTrapLog(cJSON* obj, const char*, const void* rec, const void*, uint32_t)
{
    const TrapLog& t = *static_cast<const TrapLog*>(rec);
    cJSON_AddNumberToObject(obj, "index", t.index);
    cJSON_AddNumberToObject(obj, "trapsSinceReset", t.trapsSinceReset);
    cJSON_AddNumberToObject(obj, "capacity", t.capacity);
    cJSON* logs = cJSON_AddArrayToObject(obj, "logs");
    uint32_t n = t.count < TRAP_LOG_MAX_ENTRIES ? t.count : TRAP_LOG_MAX_ENTRIES;
    for (uint32_t i = 0; i < n; ++i) {
        const TrapLogEntry& e = t.entries[i];
        cJSON* o = cJSON_CreateObject();
        cJSON_AddStringToObject(o, "time", std::string(e.time, strnlen(e.time, sizeof e.time)).c_str());
        cJSON_AddStringToObject(o, "trap", std::string(e.text, strnlen(e.text, sizeof e.text)).c_str());
        cJSON_AddItemToArray(logs, o);
    }
}

}  // namespace coregate
