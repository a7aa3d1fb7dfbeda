// The logging CLI class of access/cli_logging.h.
#include "access/cli_logging.h"

#include <cjson/cJSON.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "access/cli_text.h"
#include "access/cli_views.h"
#include "access/show_parse_system.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/params.h"
#include "runtime/raii.h"
#include "runtime/route_tree.h"

namespace logcli {

namespace {

const char* const kSeverityNames[] = {"emergency", "alert", "critical", "error",
                                      "warning",   "notice", "info",   "debug"};
constexpr uint32_t kSeverityCount = sizeof kSeverityNames / sizeof kSeverityNames[0];

// The trap severity of a running configuration without a "logging traps" line.
constexpr uint32_t kDefaultTrapSeverity = 5;
// Script texts are printed into buffers of this size (with the NUL).
constexpr size_t kScriptBuffer = 256;

using cliview::answerCode;

// "enable"/"disable" of a value equal (any case) to `on`.
const char* modeWord(const std::string& value, const char* on)
{
    return strcasecmp(value.c_str(), on) == 0 ? "enable" : "disable";
}

// N of the first line holding "logging traps N" with N a decimal 0-7.
bool trapSeverityOf(const std::string& text, uint32_t* severity)
{
    static const char kWords[] = "logging traps ";
    for (const std::string& line : clitext::linesOf(text)) {
        size_t at = line.find(kWords);
        if (at == std::string::npos)
            continue;
        const char* p = line.c_str() + at + sizeof kWords - 1;
        if (*p >= '0' && *p <= '7' && !(p[1] >= '0' && p[1] <= '9')) {
            *severity = static_cast<uint32_t>(*p - '0');
            return true;
        }
    }
    return false;
}

int readView(const RouteCtx& r, const CliRow& row)
{
    free(requestDataGet());
    std::string text;
    if (loggingShow(r, row.output, row.show, &text) != kResultOk)
        return answerCode(r, kResultGeneralFailed);
    JsonPtr data(cJSON_CreateObject());
    cJSON* d = data.get();
    if (row.picks == kTrapSeverity) {
        uint32_t sev = kDefaultTrapSeverity;
        trapSeverityOf(text, &sev);
        cJSON_AddNumberToObject(d, row.answers, sev);
        return hf::reply(r, kResultOk, std::move(data), false);
    }
    std::string value;
    bool found = clitext::labelValue(text, row.label, &value);
    if (row.picks == kHosts) {
        if (found)
            cJSON_AddStringToObject(d, row.answers, modeWord(value, "enabled"));
        cJSON* hosts = cJSON_AddArrayToObject(d, "hosts");
        for (const LogHostLine& h : logHostsOf(text)) {
            cJSON* o = cJSON_CreateObject();
            cJSON_AddStringToObject(o, "host", h.host.c_str());
            cJSON_AddStringToObject(o, "severity", h.severity.c_str());
            cJSON_AddNumberToObject(o, "port", h.port);
            cJSON_AddStringToObject(o, "status", h.status.c_str());
            cJSON_AddStringToObject(o, "mode", h.mode.c_str());
            cJSON_AddItemToArray(hosts, o);
        }
        return hf::reply(r, kResultOk, std::move(data), false);
    }
    uint32_t n = 0;
    bool ok = found;
    switch (row.picks) {
    case kNumber:
        ok = labelNumberOf(text, row.label, &n);
        cJSON_AddNumberToObject(d, row.answers, n);
        break;
    case kSeverity:
        ok = found && severityNumber(value, &n);
        cJSON_AddNumberToObject(d, row.answers, n);
        break;
    case kEnabledMode:
        cJSON_AddStringToObject(d, row.answers, modeWord(value, "enabled"));
        break;
    case kOnMode:
        cJSON_AddStringToObject(d, row.answers, modeWord(value, "On"));
        break;
    case kProtocol:
        cJSON_AddNumberToObject(d, row.answers, value.find("RFC5424") != std::string::npos ? 1 : 0);
        break;
    default:
        cJSON_AddStringToObject(d, row.answers, value.c_str());
        break;
    }
    if (!ok) {
        LOG(kLogError, "%s: \"%s\" has no line \"%s\" to read\n", r.leaf, row.show, row.label);
        return answerCode(r, kResultGeneralFailed);
    }
    return hf::reply(r, kResultOk, std::move(data), false);
}

// A whole JSON number from lo to hi (its integer part).
bool numberIn(const cJSON* item, uint32_t lo, uint32_t hi, uint32_t* out)
{
    if (!cJSON_IsNumber(item) || !(item->valuedouble >= lo) || !(item->valuedouble < static_cast<double>(hi) + 1))
        return false;
    *out = static_cast<uint32_t>(item->valuedouble);
    return true;
}

// The CLI text a write sends, from the body: 0 or 10003.
ResultCode chooseText(const RouteCtx& r, const CliRow& row, const cJSON* body, std::string* text)
{
    if (row.picks == kSend) {
        *text = row.sends;
        return kResultOk;
    }
    const cJSON* item = cJSON_GetObjectItem(body, row.reads[0]);
    uint32_t n = 0;
    switch (row.picks) {
    case kSetSeverity:
    case kSetPercent:
    case kSetProtocol: {
        uint32_t hi = row.picks == kSetSeverity ? kSeverityCount - 1 : row.picks == kSetPercent ? 100 : 1;
        if (!numberIn(item, 0, hi, &n))
            return kResultInvalidArgument;
        *text = clitext::fillTemplate(row.sends, std::to_string(n));
        break;
    }
    case kSetMode:
        if (!cJSON_IsString(item))
            return kResultInvalidArgument;
        if (strcasecmp(item->valuestring, "enable") == 0)
            *text = row.sends;
        else if (strcasecmp(item->valuestring, "disable") == 0)
            *text = row.elseSends;
        else
            return kResultInvalidArgument;
        break;
    case kSetInterface: {
        std::string name;
        if (!cJSON_IsString(item) || !cliview::oneWord(name = item->valuestring, kScriptBuffer))
            return kResultInvalidArgument;
        *text = clitext::fillTemplate(row.sends, name);
        break;
    }
    default:
        LOG(kLogError, "%s: the row picks no write\n", r.leaf);
        return kResultGeneralFailed;
    }
    // The text must fit the script buffer whole.
    return text->size() < kScriptBuffer ? kResultOk : kResultInvalidArgument;
}

int writeView(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    ResultCode c = hf::readRequest(r, row.picks != kSend, false, &q);
    if (c != kResultOk)
        return answerCode(r, c);
    std::string text;
    c = chooseText(r, row, q.body.get(), &text);
    if (c != kResultOk) {
        LOG(kLogError, "%s: member %s refused (%d)\n", r.leaf, row.reads[0] ? row.reads[0] : "-", c);
        return answerCode(r, c);
    }
    return answerCode(r, cliview::applyChecked(row.script, text));
}

}  // namespace

const char* severityName(uint32_t severity) { return severity < kSeverityCount ? kSeverityNames[severity] : ""; }

bool severityNumber(const std::string& name, uint32_t* severity)
{
    for (uint32_t i = 0; i < kSeverityCount; ++i)
        if (strcasecmp(name.c_str(), kSeverityNames[i]) == 0) {
            *severity = i;
            return true;
        }
    return false;
}

std::vector<LogHostLine> logHostsOf(const std::string& text)
{
    std::vector<LogHostLine> hosts;
    bool table = false;
    for (const std::string& line : clitext::linesOf(text)) {
        if (!table) {
            table = line.find("-----") != std::string::npos;
            continue;
        }
        if (line.size() <= 9)
            continue;
        int index = 0, port = 0;
        char host[128] = "", sev[32] = "", status[32] = "", mode[32] = "udp";
        int n = sscanf(line.c_str(), "%d %127s %31s %d %31s %31s", &index, host, sev, &port, status, mode);
        if (n < 4)
            continue;
        hosts.push_back(LogHostLine{host, sev, status, mode, port});
    }
    return hosts;
}

int loggingShow(const RouteCtx& r, const char* stem, const char* command, std::string* text)
{
    int rc = clitext::showToText(stem, command, clitext::kShowCap, text, r.leaf);
    if (rc == kResultOk)
        return kResultOk;
    LOG(kLogError, "%s: \"%s\" failed (%d)\n", r.leaf, command, rc);
    return kResultGeneralFailed;
}

int loggingRow(const RouteCtx& r, const CliRow& row)
{
    return row.picks >= kSetSeverity ? writeView(r, row) : readView(r, row);
}

}  // namespace logcli
