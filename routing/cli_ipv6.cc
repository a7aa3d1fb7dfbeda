// CLI-backed IPv6, router advertisement and IP helper routes: show output
// read by label, CLI text built from the request and applied.
#include "routing/cli_ipv6.h"

#include <cjson/cJSON.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "access/cli_text.h"
#include "access/cli_views.h"
#include "access/intf_notation.h"
#include "access/show_parse_routing.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/open_client.h"
#include "runtime/params.h"
#include "runtime/raii.h"
#include "runtime/route_tree.h"
#include "runtime/text_convert.h"

namespace ip6cli {

using cliview::answerCode;
using cliview::answerData;
using cliview::applyChecked;
using cliview::chooseText;
using cliview::discardRequest;
using cliview::intfNameOf;
using cliview::IntfNumbers;
using cliview::labelAnswer;
using cliview::addConverted;

namespace {

// VLANs a routing interface can be configured on.
constexpr uint32_t kVlanMin = 1, kVlanMax = 4093;
constexpr uint32_t kDefaultPlen = 64, kDefaultPrefLife = 604800, kDefaultValidLife = 2592000;

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

}  // namespace

// --- Interface settings ----------------------------------------------------------

int intfGetRow(const RouteCtx& r, const CliRow& row)
{
    uint32_t vlan;
    ResultCode c = vlanQuery(row.scopeQuery, &vlan);
    if (c != kResultOk)
        return answerCode(r, c);
    std::string text;
    c = cliview::showRowText(row, fillTemplate(row.show, std::to_string(vlan)), &text);
    if (c != kResultOk)
        return answerCode(r, c);
    JsonPtr data(cJSON_CreateObject());
    if (row.echoes)
        cJSON_AddNumberToObject(data.get(), row.scopeQuery, vlan);
    addConverted(data.get(), row.answers, row.as, labelAnswer(text, row.label, row.as));
    return answerData(r, std::move(data));
}

int intfPutRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request req;
    ResultCode c = cliview::readRowRequest(r, row, &req);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan = 0;
    std::string port;
    bool inVlan = row.scope == clirow::kVlanScope;
    c = inVlan ? vlanQuery(row.scopeQuery, &vlan) : portQuery(row.scopeQuery, &port);
    if (c != kResultOk)
        return answerCode(r, c);
    std::string text;
    c = chooseText(req.body.get(), row, &text);
    if (c != kResultOk) {
        LOG(kLogError, "%s: member %s refused (%d)\n", r.leaf, row.reads[0] ? row.reads[0] : "-", c);
        return answerCode(r, c);
    }
    std::string script = inVlan ? clitext::vlanScoped(vlan, text) : clitext::intfScoped(port, text);
    return answerCode(r, applyChecked(row.script, script));
}

int prefixPutRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request req;
    ResultCode c = hf::readRequest(r, true, false, &req);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan;
    c = vlanQuery(row.scopeQuery, &vlan);
    if (c != kResultOk)
        return answerCode(r, c);
    const cJSON* p = cJSON_GetObjectItem(req.body.get(), "prefix");
    if (p && !cJSON_IsString(p))
        return answerCode(r, kResultInvalidArgument);
    std::string prefix = p ? p->valuestring : "";
    uint32_t plen, prefLife, validLife;
    if (hf::numberOf(hf::member(req.body.get(), "plen"), kDefaultPlen, &plen) != kResultOk || plen > 128 ||
        hf::numberOf(hf::member(req.body.get(), "prefLife"), kDefaultPrefLife, &prefLife) != kResultOk ||
        hf::numberOf(hf::member(req.body.get(), "validLife"), kDefaultValidLife, &validLife) != kResultOk)
        return answerCode(r, kResultInvalidArgument);
    if (prefix.empty())
        return answerCode(r, kResultOk);  // no prefix: nothing to advertise
    // The prefix becomes one word of the line: only an IPv6 address may.
    uint8_t bytes[16];
    if (!clitext::cliSafe(prefix) || !conv::parseIpv6(prefix, bytes)) {
        LOG(kLogError, "%s: prefix refused\n", r.leaf);
        return answerCode(r, kResultInvalidArgument);
    }
    bool onLink = cJSON_IsTrue(cJSON_GetObjectItem(req.body.get(), "onLink"));
    bool autonomous = cJSON_IsTrue(cJSON_GetObjectItem(req.body.get(), "autonomous"));
    char line[256];
    snprintf(line, sizeof line, "%s %s/%u %u %u%s%s", row.sends, prefix.c_str(), plen, validLife, prefLife,
             onLink ? "" : " no-onlink", autonomous ? "" : " no-autoconfig");
    return answerCode(r, applyChecked(row.script, clitext::vlanScoped(vlan, line)));
}

// --- IPv6 interface walk ---------------------------------------------------------

int vlanFirstRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    ResultCode c = cliview::showRowText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan = showparse::firstVlanLine(text);
    if (!vlan)
        return answerCode(r, kResultApiNotFound);
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddNumberToObject(data.get(), row.answers, vlan);
    return answerData(r, std::move(data));
}

int vlanNextRow(const RouteCtx& r, const CliRow& row)
{
    uint32_t prev = queryExactU32(row.reads[0]);
    std::string text;
    ResultCode c = cliview::showRowText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t vlan = showparse::nextVlanLine(text, prev);
    if (!vlan)
        return answerCode(r, kResultApiNotFound);
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddNumberToObject(data.get(), row.answers, vlan);
    return answerData(r, std::move(data));
}

// --- IP helper -----------------------------------------------------------------

int helperStatisticsRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    ResultCode c = cliview::showRowText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    JsonPtr data(cJSON_CreateObject());
    for (const showparse::Counter& k : showparse::helperStatsOf(text))
        cJSON_AddNumberToObject(data.get(), k.member, static_cast<double>(k.value));
    return answerData(r, std::move(data));
}

int helperWalkRow(const RouteCtx& r, const CliRow& row)
{
    bool next = row.picks == kWalkNext;
    // A walk answers success without a newline and failure with one.
    auto fail = [&](ResultCode c) { return hf::reply(r, c, nullptr, true); };
    uint32_t intIfNum = 0, udpPort = 0, server = 0;
    if (next) {
        hf::Request req;
        ResultCode c = hf::readRequest(r, true, false, &req);
        if (c != kResultOk)
            return fail(c);
        // The current key, leniently: what cannot be read is 0.
        if (hf::numberOf(hf::member(req.body.get(), "intIfNum"), 0, &intIfNum) != kResultOk)
            intIfNum = 0;
        if (hf::numberOf(hf::member(req.body.get(), "udpPort"), 0, &udpPort) != kResultOk)
            udpPort = 0;
        const cJSON* s = cJSON_GetObjectItem(req.body.get(), "serverAddr");
        if (!cJSON_IsString(s) || !conv::parseIpv4(s->valuestring, &server))
            server = 0;
    } else {
        discardRequest();
    }
    std::string text;
    ResultCode c = cliview::showRowText(row, row.show, &text);
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
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddNumberToObject(data.get(), "intIfNum", numbers.numberOf(e.intf));
    cJSON_AddNumberToObject(data.get(), "udpPort", e.udpPort);
    cJSON_AddStringToObject(data.get(), "serverAddr", conv::ipv4Text(e.server).c_str());
    cJSON_AddBoolToObject(data.get(), "discard", e.discard);
    cJSON_AddBoolToObject(data.get(), "isServerVrfSet", false);
    cJSON_AddStringToObject(data.get(), "serverVrfName", "");
    cJSON_AddNumberToObject(data.get(), "hitCount", e.hits);
    return hf::reply(r, kResultOk, std::move(data), false);
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
    ResultCode c = cliview::showRowText(row, row.show, &text);
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
