// CLI-backed IPv6, router advertisement and IP helper routes: show output
// read by label, CLI text built from the request and applied.
#include "routing/cli_ipv6.h"

#include <cjson/cJSON.h>
#include <strings.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "access/cli_text.h"
#include "access/intf_notation.h"
#include "access/show_parse_routing.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/open_client.h"
#include "runtime/params.h"
#include "runtime/route_tree.h"
#include "runtime/text_convert.h"

namespace ip6cli {

using route::RouteCtx;

namespace {

// VLANs a routing interface can be configured on.
constexpr uint32_t kVlanMin = 1, kVlanMax = 4093;
constexpr uint32_t kDefaultPlen = 64, kDefaultPrefLife = 604800, kDefaultValidLife = 2592000;

bool isGet(const RouteCtx& r) { return r.method == kMethodGet; }

/// Prints the envelope; the data object (owned here) only on success.
int answer(const RouteCtx& r, ResultCode code, cJSON* data, bool newline)
{
    char* text = nullptr;
    if (code == kResultOk && data && data->child)
        text = cJSON_PrintUnformatted(data);
    cJSON_Delete(data);
    replyEnvelope(code, text ? route::dataMemberOf(r.dir) : nullptr, text, newline);
    free(text);
    return 0;
}

/// Reads answer without a newline, writes with one.
int answerCode(const RouteCtx& r, ResultCode code) { return answer(r, code, nullptr, !isGet(r)); }

struct Json {
    cJSON* root = nullptr;
    Json() = default;
    Json(const Json&) = delete;
    Json& operator=(const Json&) = delete;
    ~Json() { cJSON_Delete(root); }
};

// The request body as a JSON object: 0, or 10003 for none or another text.
ResultCode readBody(const RouteCtx& r, Json* body)
{
    char* text = requestDataGet();
    body->root = text ? cJSON_Parse(text) : nullptr;
    free(text);
    if (!cJSON_IsObject(body->root)) {
        LOG(kLogError, "%s: request is not a JSON object\n", r.leaf);
        return kResultInvalidArgument;
    }
    return kResultOk;
}

// Reads and drops the request of a route that takes no values from it.
void discardRequest() { free(requestDataGet()); }

// A number member: absent gives `dflt`; a whole number 0..4294967295 (or a
// string of its digits) its value; anything else 10003.
ResultCode numberMember(const cJSON* body, const char* name, uint32_t dflt, uint32_t* out)
{
    *out = dflt;
    const cJSON* it = cJSON_GetObjectItem(body, name);
    if (!it)
        return kResultOk;
    if (cJSON_IsNumber(it)) {
        double d = it->valuedouble;
        if (!(d >= 0 && d <= 4294967295.0) || std::floor(d) != d)
            return kResultInvalidArgument;
        *out = static_cast<uint32_t>(d);
        return kResultOk;
    }
    if (cJSON_IsString(it) && conv::parseU32(it->valuestring, out))
        return kResultOk;
    return kResultInvalidArgument;
}

// A yes/no member: true/false or a number (not 0: yes); absent is no.
ResultCode flagMember(const cJSON* body, const char* name, uint32_t* out)
{
    const cJSON* it = cJSON_GetObjectItem(body, name);
    if (cJSON_IsBool(it)) {
        *out = cJSON_IsTrue(it) ? 1 : 0;
        return kResultOk;
    }
    ResultCode c = numberMember(body, name, 0, out);
    *out = *out ? 1 : 0;
    return c;
}

// An "enable"/"disable" member: the string "enable" enables, any other
// string (or none) disables; a member of another type is refused.
ResultCode enableMember(const cJSON* body, const char* name, uint32_t* out)
{
    const cJSON* it = cJSON_GetObjectItem(body, name);
    *out = 0;
    if (!it)
        return kResultOk;
    if (!cJSON_IsString(it))
        return kResultInvalidArgument;
    *out = strcmp(it->valuestring, "enable") == 0 ? 1 : 0;
    return kResultOk;
}

// The CLI name of an interface number; 10003 for none.
ResultCode intfNameOf(uint32_t intIfNum, std::string* name)
{
    if (intIfNum == 0)
        return kResultInvalidArgument;
    return clitext::intfCliName(intIfNum, name);
}

// The text for the request: the row's SENDS with the request's value, or
// SENDS or ELSE_SENDS as the value chooses. A value that would not stay one
// word of one CLI line is refused.
ResultCode chooseText(const cJSON* body, const CliRow& row, std::string* text)
{
    const char* member = row.reads[0];
    const char* on = row.sends;
    const char* off = row.elseSends;
    uint32_t v = 0;
    ResultCode c = kResultOk;
    std::string value;
    switch (row.takes) {
    case clirow::kValue:
        c = numberMember(body, member, 0, &v);
        if (c != kResultOk)
            return c;
        *text = v == 0 && off ? off : fillTemplate(on, std::to_string(v));
        return kResultOk;
    case clirow::kIsOne:
        c = numberMember(body, member, 0, &v);
        if (c != kResultOk)
            return c;
        *text = v == 1 ? on : off;
        return kResultOk;
    case clirow::kNonZero:
        c = numberMember(body, member, 0, &v);
        break;
    case clirow::kFlag:
        c = flagMember(body, member, &v);
        break;
    case clirow::kEnable:
        c = enableMember(body, member, &v);
        break;
    case clirow::kPrefWord:
        c = numberMember(body, member, 0, &v);
        if (c != kResultOk)
            return c;
        *text = fillTemplate(on, v == 1 ? "high" : v == 2 ? "low" : "medium");
        return kResultOk;
    case clirow::kIntfName:
        if (row.readsFrom[0] == clirow::kFromB) {
            c = numberMember(body, member, 0, &v);
            if (c != kResultOk)
                return c;
        } else {
            v = queryExactU32(member);
        }
        c = intfNameOf(v, &value);
        if (c != kResultOk)
            return c;
        if (!clitext::cliSafe(value))
            return kResultInvalidArgument;
        *text = fillTemplate(on, value);
        return kResultOk;
    case clirow::kFixed:
        *text = on;
        return kResultOk;
    }
    if (c != kResultOk)
        return c;
    *text = v ? on : (off ? off : "");
    return kResultOk;
}

// Reads the body when the row reads a member of it, and drops the request
// otherwise: 0, or 10003 for a body that is no JSON object.
ResultCode readRequest(const RouteCtx& r, const CliRow& row, Json* body)
{
    if (row.readsFrom[0] == clirow::kFromB)
        return readBody(r, body);
    discardRequest();
    return kResultOk;
}

// Applies a script; a line the CLI refused (a value out of its range, an
// interface it does not have) answers 10003: the switch kept its setting.
ResultCode applyChecked(const char* stem, const std::string& text)
{
    std::string answer;
    int rc = clitext::applyTextAnswer(stem, text, &answer);
    if (rc == kResultOk && clitext::cliRefused(answer)) {
        LOG(kLogError, "the CLI refused the text of %s\n", stem);
        return kResultInvalidArgument;
    }
    return rc;
}

// Show output of a group: 0, 10016 for a work file that could not be
// opened, 10000 for every other failure.
ResultCode showText(const CliRow& row, const std::string& command, std::string* text)
{
    int rc = clitext::showToText(row.output, command.c_str(), row.cap, text, "showAndRead");
    if (rc == kResultOpenFailed || rc == kResultOk)
        return rc;
    LOG(kLogError, "\"%s\" failed (%d)\n", command.c_str(), rc);
    return kResultGeneralFailed;
}

// The VLAN named by a query number: 1..4093, else 10003.
ResultCode vlanQuery(const char* query, uint32_t* vlan)
{
    *vlan = queryExactU32(query);
    if (!queryExactHas(query) || *vlan < kVlanMin || *vlan > kVlanMax) {
        LOG(kLogError, "query %s is no VLAN of a routing interface\n", query);
        return kResultInvalidArgument;
    }
    return kResultOk;
}

// The CLI name of the interface of a query number.
ResultCode portQuery(const char* query, std::string* name)
{
    if (!queryExactHas(query))
        return kResultInvalidArgument;
    return intfNameOf(queryExactU32(query), name);
}

// Interface numbers by the CLI's names, tried from 1 to 256 as the switch
// numbers them; the names looked up are kept for the rest of the request.
class IntfNumbers {
public:
    uint32_t numberOf(const std::string& name)
    {
        if (!nameShape(name))
            return 0;  // no port or LAG is named so: spare the 256 look-ups
        for (uint32_t n = 1; n <= 256; ++n) {
            auto it = names_.find(n);
            if (it == names_.end()) {
                char buf[kIfDisplayNameSize] = {0};
                it = names_.emplace(n, ifDisplayNameGet(&clientHandle, n, buf) == 0 ? buf : "").first;
            }
            if (!it->second.empty() && it->second == name)
                return n;
        }
        return 0;
    }

private:
    // "u/s/p" or "lag N": the only names the look-up gives.
    static bool nameShape(const std::string& name)
    {
        unsigned a, b, c;
        char tail;
        return sscanf(name.c_str(), "%u/%u/%u%c", &a, &b, &c, &tail) == 3 ||
               sscanf(name.c_str(), "lag %u%c", &a, &tail) == 1;
    }
    std::map<uint32_t, std::string> names_;
};

void addConverted(cJSON* o, const char* member, showparse::ValueConv conv, uint32_t v)
{
    switch (conv) {
    case showparse::kYesNo:
        cJSON_AddBoolToObject(o, member, v == 1);
        break;
    case showparse::kEnableText:
        cJSON_AddStringToObject(o, member, v == 1 ? "enable" : "disable");
        break;
    default:
        cJSON_AddNumberToObject(o, member, v);
        break;
    }
}

// The value of the first of the '|'-separated labels found in the text,
// converted; a missing label converts as an empty value.
uint32_t labelAnswer(const std::string& text, const char* labels, showparse::ValueConv conv)
{
    std::string value;
    showparse::labelsValue(text, labels, &value);
    if (conv == showparse::kIntfRef) {
        IntfNumbers numbers;
        return value.empty() || strcasecmp(value.c_str(), "None") == 0 ? 0 : numbers.numberOf(value);
    }
    return showparse::convertValue(value, conv);
}

}  // namespace

// --- Global settings -----------------------------------------------------------

int globalGetRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    ResultCode c = showText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    cJSON* data = cJSON_CreateObject();
    addConverted(data, row.answers, row.as, labelAnswer(text, row.label, row.as));
    return answer(r, kResultOk, data, !isGet(r));
}

int globalPutRow(const RouteCtx& r, const CliRow& row)
{
    Json body;
    ResultCode c = readRequest(r, row, &body);
    if (c != kResultOk)
        return answerCode(r, c);
    std::string text;
    c = chooseText(body.root, row, &text);
    if (c != kResultOk) {
        LOG(kLogError, "%s: member %s refused (%d)\n", r.leaf, row.reads[0] ? row.reads[0] : "-", c);
        return answerCode(r, c);
    }
    return answerCode(r, applyChecked(row.script, text));
}

// --- Interface settings ----------------------------------------------------------

int intfGetRow(const RouteCtx& r, const CliRow& row)
{
    uint32_t vlan;
    ResultCode c = vlanQuery(row.scopeQuery, &vlan);
    if (c != kResultOk)
        return answerCode(r, c);
    std::string text;
    c = showText(row, fillTemplate(row.show, std::to_string(vlan)), &text);
    if (c != kResultOk)
        return answerCode(r, c);
    cJSON* data = cJSON_CreateObject();
    if (row.echoes)
        cJSON_AddNumberToObject(data, row.scopeQuery, vlan);
    addConverted(data, row.answers, row.as, labelAnswer(text, row.label, row.as));
    return answer(r, kResultOk, data, !isGet(r));
}

int intfPutRow(const RouteCtx& r, const CliRow& row)
{
    Json body;
    ResultCode c = readRequest(r, row, &body);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan = 0;
    std::string port;
    bool inVlan = row.scope == clirow::kVlanScope;
    c = inVlan ? vlanQuery(row.scopeQuery, &vlan) : portQuery(row.scopeQuery, &port);
    if (c != kResultOk)
        return answerCode(r, c);
    std::string text;
    c = chooseText(body.root, row, &text);
    if (c != kResultOk) {
        LOG(kLogError, "%s: member %s refused (%d)\n", r.leaf, row.reads[0] ? row.reads[0] : "-", c);
        return answerCode(r, c);
    }
    std::string script = inVlan ? clitext::vlanScoped(vlan, text) : clitext::intfScoped(port, text);
    return answerCode(r, applyChecked(row.script, script));
}

int prefixPutRow(const RouteCtx& r, const CliRow& row)
{
    Json body;
    ResultCode c = readBody(r, &body);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan;
    c = vlanQuery(row.scopeQuery, &vlan);
    if (c != kResultOk)
        return answerCode(r, c);
    const cJSON* p = cJSON_GetObjectItem(body.root, "prefix");
    if (p && !cJSON_IsString(p))
        return answerCode(r, kResultInvalidArgument);
    std::string prefix = p ? p->valuestring : "";
    uint32_t plen, prefLife, validLife;
    if (numberMember(body.root, "plen", kDefaultPlen, &plen) != kResultOk || plen > 128 ||
        numberMember(body.root, "prefLife", kDefaultPrefLife, &prefLife) != kResultOk ||
        numberMember(body.root, "validLife", kDefaultValidLife, &validLife) != kResultOk)
        return answerCode(r, kResultInvalidArgument);
    if (prefix.empty())
        return answerCode(r, kResultOk);  // no prefix: nothing to advertise
    // The prefix becomes one word of the line: only an IPv6 address may.
    uint8_t bytes[16];
    if (!clitext::cliSafe(prefix) || !conv::parseIpv6(prefix, bytes)) {
        LOG(kLogError, "%s: prefix refused\n", r.leaf);
        return answerCode(r, kResultInvalidArgument);
    }
    bool onLink = cJSON_IsTrue(cJSON_GetObjectItem(body.root, "onLink"));
    bool autonomous = cJSON_IsTrue(cJSON_GetObjectItem(body.root, "autonomous"));
    char line[256];
    snprintf(line, sizeof line, "%s %s/%u %u %u%s%s", row.sends, prefix.c_str(), plen, validLife, prefLife,
             onLink ? "" : " no-onlink", autonomous ? "" : " no-autoconfig");
    return answerCode(r, applyChecked(row.script, clitext::vlanScoped(vlan, line)));
}

// --- IPv6 interface walk ---------------------------------------------------------

int vlanFirstRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    ResultCode c = showText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan = showparse::firstVlanLine(text);
    if (!vlan)
        return answerCode(r, kResultApiNotFound);
    cJSON* data = cJSON_CreateObject();
    cJSON_AddNumberToObject(data, row.answers, vlan);
    return answer(r, kResultOk, data, !isGet(r));
}

int vlanNextRow(const RouteCtx& r, const CliRow& row)
{
    uint32_t prev = queryExactU32(row.reads[0]);
    std::string text;
    ResultCode c = showText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan = showparse::nextVlanLine(text, prev);
    if (!vlan)
        return answerCode(r, kResultApiNotFound);
    cJSON* data = cJSON_CreateObject();
    cJSON_AddNumberToObject(data, row.answers, vlan);
    return answer(r, kResultOk, data, !isGet(r));
}

// --- IP helper -----------------------------------------------------------------

int helperStatisticsRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    ResultCode c = showText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    cJSON* data = cJSON_CreateObject();
    for (const showparse::Counter& k : showparse::helperStatsOf(text))
        cJSON_AddNumberToObject(data, k.member, static_cast<double>(k.value));
    return answer(r, kResultOk, data, !isGet(r));
}

int helperWalkRow(const RouteCtx& r, const CliRow& row)
{
    bool next = row.picks == kWalkNext;
    // A walk answers success without a newline and failure with one.
    auto fail = [&](ResultCode c) { return answer(r, c, nullptr, true); };
    uint32_t intIfNum = 0, udpPort = 0, server = 0;
    if (next) {
        Json body;
        ResultCode c = readBody(r, &body);
        if (c != kResultOk)
            return fail(c);
        // The current key, leniently: what cannot be read is 0.
        if (numberMember(body.root, "intIfNum", 0, &intIfNum) != kResultOk)
            intIfNum = 0;
        if (numberMember(body.root, "udpPort", 0, &udpPort) != kResultOk)
            udpPort = 0;
        const cJSON* s = cJSON_GetObjectItem(body.root, "serverAddr");
        if (!cJSON_IsString(s) || !conv::parseIpv4(s->valuestring, &server))
            server = 0;
    } else {
        discardRequest();
    }
    std::string text;
    ResultCode c = showText(row, row.show, &text);
    if (c != kResultOk)
        return fail(c);
    std::vector<showparse::HelperEntry> entries = showparse::helperEntries(text);
    IntfNumbers numbers;
    size_t at = 0;
    if (next) {
        at = entries.size();
        for (size_t i = 0; i < entries.size(); ++i) {
            const showparse::HelperEntry& e = entries[i];
            if (e.udpPort == udpPort && e.server == server && numbers.numberOf(e.intf) == intIfNum) {
                at = i + 1;
                break;
            }
        }
    }
    if (at >= entries.size())
        return fail(kResultApiNotFound);
    const showparse::HelperEntry& e = entries[at];
    cJSON* data = cJSON_CreateObject();
    cJSON_AddNumberToObject(data, "intIfNum", numbers.numberOf(e.intf));
    cJSON_AddNumberToObject(data, "udpPort", e.udpPort);
    cJSON_AddStringToObject(data, "serverAddr", conv::ipv4Text(e.server).c_str());
    cJSON_AddBoolToObject(data, "discard", e.discard);
    cJSON_AddBoolToObject(data, "isServerVrfSet", false);
    cJSON_AddStringToObject(data, "serverVrfName", "");
    cJSON_AddNumberToObject(data, "hitCount", e.hits);
    return answer(r, kResultOk, data, false);
}

int helperAddressesClearRow(const RouteCtx& r, const CliRow& row)
{
    discardRequest();
    uint32_t intIfNum = queryExactU32(row.scopeQuery);
    if (intIfNum) {
        std::string name;
        ResultCode c = intfNameOf(intIfNum, &name);
        if (c != kResultOk)
            return answerCode(r, c);
        return answerCode(r, applyChecked(row.script, clitext::intfScoped(name, row.sends)));
    }
    std::string text;
    ResultCode c = showText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    std::set<std::pair<uint32_t, uint32_t>> seen;
    std::string script = "configure\n";
    for (const showparse::HelperEntry& e : showparse::helperEntries(text)) {
        if (!seen.insert({e.server, e.udpPort}).second)
            continue;
        std::string line = fillTemplate(row.elseSends, conv::ipv4Text(e.server));
        script += fillTemplate(line.c_str(), std::to_string(e.udpPort)) + "\n";
    }
    if (seen.empty())
        return answerCode(r, kResultOk);  // nothing listed, nothing to remove
    script += "exit\n";
    return answerCode(r, applyChecked(row.elseScript, script));
}

}  // namespace ip6cli
