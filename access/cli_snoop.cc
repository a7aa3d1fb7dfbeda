// The CLI class of the snooping settings and the answers of the snooping
// group tables (access/cli_snoop.h).
#include "access/cli_snoop.h"

#include <cjson/cJSON.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "access/cli_mcast.h"
#include "access/cli_text.h"
#include "access/cli_views.h"
#include "access/show_parse_mcast.h"
#include "runtime/log.h"
#include "runtime/route_tree.h"
#include "runtime/text_convert.h"

namespace mcastcli {

uint8_t snoopReadFamily()
{
    std::string t;
    uint8_t f = 0;
    if (hf::queryExactText("family", &t))
        f = static_cast<uint8_t>(conv::decimalLoose(t.substr(0, 23)) & 0xff);
    return f ? f : 1;
}

bool snoopFamilyWords(uint8_t family, const char** show, const char** proto, const char** ip)
{
    static const char* const kWords[2][3] = {{"show igmpsnooping", "igmp", "ip"}, {"show mldsnooping", "mld", "ipv6"}};
    bool known = family == 1 || family == 2;
    *show = known ? kWords[family - 1][0] : "";
    *proto = known ? kWords[family - 1][1] : "";
    *ip = known ? kWords[family - 1][2] : "";
    return known;
}

std::string snoopFill(const char* tmpl, const char* const* names, const std::string* values, size_t count)
{
    std::string t = tmpl ? tmpl : "", out;
    for (size_t i = 0; i < t.size(); ++i) {
        size_t close = t[i] == '{' ? t.find('}', i) : std::string::npos;
        if (close != std::string::npos) {
            std::string name = t.substr(i + 1, close - i - 1);
            const std::string* v = nullptr;
            for (size_t k = 0; k < count && !v; ++k)
                if (name == names[k])
                    v = &values[k];
            if (v) {
                out += *v;
                i = close;
                continue;
            }
        }
        out += t[i];
    }
    return out;
}

std::vector<uint32_t> snoopVlansOf(const std::string& value)
{
    std::vector<uint32_t> vlans;
    size_t i = 0;
    while (i < value.size()) {
        size_t end = value.find_first_of(" ,\t", i);
        if (end == std::string::npos)
            end = value.size();
        uint32_t v = 0;
        if (conv::parseU32(value.substr(i, end - i), &v) && v >= 1 && v <= kSnoopListVlanMax)
            vlans.push_back(v);
        i = end + 1;
    }
    return vlans;
}

namespace {

using cliview::answerCode;
using cliview::answerData;

// What the class fills into a row's texts, by name.
enum Fill { kShow, kProto, kIp, kIf, kVlan, kNo, kN, kFills };
const char* const kFillNames[kFills] = {"show", "proto", "ip", "if", "vlan", "no", "n"};

struct Ctx {
    uint8_t family = 1;
    std::string fills[kFills];
    std::string text(const char* tmpl) const { return snoopFill(tmpl, kFillNames, fills, kFills); }
};

// Whether a write reads the scope's member from its body first.
bool bodyFirst(const CliRow& row)
{
    for (int i = 0; i < 2; ++i)
        if (row.reads[i] && row.readsFrom[i] == clirow::kFromB && strcmp(row.reads[i], row.scopeQuery) == 0)
            return true;
    return false;
}

// The number of the scope's member: the body's first when the row says so,
// else the query's (absent: 0). 10003 for one that is no decimal number.
ResultCode scopeNumber(const CliRow& row, const cJSON* body, uint32_t* n)
{
    *n = 0;
    hf::Value v = body && bodyFirst(row) ? hf::member(body, row.scopeQuery) : hf::Value();
    if (v.found)
        return hf::numberOf(v, 0, n);
    std::string t;
    if (hf::queryExactText(row.scopeQuery, &t) && !conv::parseU32(t, n))
        return kResultInvalidArgument;
    return kResultOk;
}

ResultCode scopeOf(const CliRow& row, const cJSON* body, Ctx* c)
{
    if (row.scope == clirow::kNoScope)
        return kResultOk;
    uint32_t n = 0;
    if (scopeNumber(row, body, &n) != kResultOk) {
        LOG(kLogError, "%s is no number\n", row.scopeQuery);
        return kResultInvalidArgument;
    }
    if (row.scope == clirow::kPortScope)
        return portNameOf(n, &c->fills[kIf]);
    if (n < 1 || n > kSnoopVlanMax) {
        LOG(kLogError, "%s %u is no VLAN\n", row.scopeQuery, n);
        return kResultInvalidArgument;
    }
    c->fills[kVlan] = std::to_string(n);
    return kResultOk;
}

// The "|"-separated parts of a row word.
std::vector<std::string> partsOf(const char* word)
{
    std::vector<std::string> parts;
    std::string all = word ? word : "";
    for (size_t from = 0;;) {
        size_t bar = all.find('|', from);
        parts.push_back(all.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos)
            return parts;
        from = bar + 1;
    }
}

bool isMode(uint8_t picks) { return picks == kSnoopMode || picks == kSnoopFamilyMode || picks == kSnoopIgmpMode; }

int answerMembers(const RouteCtx& r, const std::vector<std::string>& names, const std::vector<std::string>& texts)
{
    JsonPtr data(cJSON_CreateObject());
    for (size_t i = 0; i < names.size() && i < texts.size(); ++i)
        cJSON_AddStringToObject(data.get(), names[i].c_str(), texts[i].c_str());
    return answerData(r, std::move(data));
}

int readRow(const RouteCtx& r, const CliRow& row, const Ctx& c)
{
    std::string command = c.text(row.show);
    if (row.picks == kSnoopMasks) {
        std::vector<std::string> labels = partsOf(row.label), values;
        for (const std::string& label : labels) {
            std::string v;
            ResultCode rc =
                static_cast<ResultCode>(cliShowValueGet(command.c_str(), label.c_str(), kSnoopMaskSize, &v));
            if (rc != kResultOk && rc != kResultApiNotFound)
                return answerCode(r, rc);
            values.push_back(rc == kResultOk ? v : std::string());
        }
        return answerMembers(r, partsOf(row.answers), values);
    }
    std::string label = row.label ? row.label : "";
    if (row.picks == kSnoopFamilyMode) {
        std::vector<std::string> labels = partsOf(row.label);
        label = labels[std::min<size_t>(c.family - 1u, labels.size() - 1)];
    }
    size_t size = kSnoopValueSize;
    if (row.picks == kSnoopVlanList || row.picks == kSnoopVlanListed)
        size = kSnoopVlanListSize;
    else if (row.picks == kSnoopText && row.maxLen)
        size = row.maxLen + 1;
    std::string value;
    ResultCode rc = static_cast<ResultCode>(cliShowValueGet(command.c_str(), label.c_str(), size, &value));
    if (rc != kResultOk)
        return answerCode(r, rc);
    JsonPtr data(cJSON_CreateObject());
    switch (row.picks) {
    case kSnoopNumber:
        cJSON_AddNumberToObject(data.get(), row.answers, conv::decimalLoose(value));
        break;
    case kSnoopText:
        cJSON_AddStringToObject(data.get(), row.answers, value.c_str());
        break;
    case kSnoopVlanList: {
        cJSON* list = cJSON_AddArrayToObject(data.get(), row.answers);
        for (uint32_t v : snoopVlansOf(value))
            cJSON_AddItemToArray(list, cJSON_CreateNumber(v));
        break;
    }
    case kSnoopVlanListed: {
        std::string asked;
        uint32_t vlan = 0;
        bool listed = false;
        if (hf::queryExactText(row.reads[0], &asked) && conv::parseU32(asked, &vlan))
            for (uint32_t v : snoopVlansOf(value))
                listed = listed || v == vlan;
        cJSON_AddStringToObject(data.get(), row.answers, listed ? "enable" : "disable");
        break;
    }
    default: {
        std::vector<std::string> words = partsOf(row.when ? row.when : "enable|disable");
        bool yes = cliEnableWordTest(value.c_str());
        cJSON_AddStringToObject(data.get(), row.answers, (yes ? words.front() : words.back()).c_str());
        break;
    }
    }
    return answerData(r, std::move(data));
}

// Applies a line where the row's text belongs.
ResultCode applyLine(const CliRow& row, const Ctx& c, const std::string& line)
{
    if (row.scope == clirow::kPortScope)
        return static_cast<ResultCode>(cliInterfaceConfigApply(c.fills[kIf], line));
    if (row.applyIn && strcmp(row.applyIn, "vlan database") == 0)
        return static_cast<ResultCode>(cliVlanDatabaseConfigApply(line));
    return static_cast<ResultCode>(cliGlobalConfigApply(line));
}

// The VLANs of a static multicast router list, each checked before any is
// sent: numbers 0..4095 (0: passed over), of which 4094 and 4095 name no
// VLAN a request may set. 10003 for anything else.
ResultCode listVlans(const cJSON* list, std::vector<uint32_t>* vlans)
{
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, list) {
        hf::Value v;
        v.found = true;
        v.item = item;
        uint32_t n = 0;
        if (hf::numberOf(v, 0, &n) != kResultOk || (n > kSnoopVlanMax && n <= kSnoopListVlanMax))
            return kResultInvalidArgument;
        if (n >= 1 && n <= kSnoopVlanMax)
            vlans->push_back(n);
    }
    return kResultOk;
}

int writeRow(const RouteCtx& r, const CliRow& row, Ctx c, const cJSON* body)
{
    hf::Value given = hf::member(body, row.reads[0]);
    if (isMode(row.picks)) {
        std::string word;
        bool yes = hf::textOf(given, &word) && (word == "enable" || word == "true");
        c.fills[kNo] = yes ? "" : "no ";
        return answerCode(r, applyLine(row, c, c.text(row.sends)));
    }
    if (row.picks == kSnoopNumber) {
        uint32_t n = 0;
        if (hf::numberOf(given, 0, &n) != kResultOk) {
            LOG(kLogError, "%s: member %s refused\n", r.leaf, row.reads[0]);
            return answerCode(r, kResultInvalidArgument);
        }
        c.fills[kN] = std::to_string(n);
        return answerCode(r, applyLine(row, c, c.text(row.sends)));
    }
    if (row.picks == kSnoopVlanList) {
        if (!given.item || !cJSON_IsArray(given.item))
            return answerCode(r, kResultOk);
        std::vector<uint32_t> vlans;
        if (listVlans(given.item, &vlans) != kResultOk) {
            LOG(kLogError, "%s: member %s holds no VLAN list\n", r.leaf, row.reads[0]);
            return answerCode(r, kResultInvalidArgument);
        }
        std::string status;
        c.fills[kNo] = hf::textOf(hf::member(body, row.reads[1]), &status) && status == "enable" ? "" : "no ";
        for (uint32_t vlan : vlans) {
            c.fills[kVlan] = std::to_string(vlan);
            ResultCode rc = applyLine(row, c, c.text(row.sends));
            if (rc != kResultOk) {
                LOG(kLogError, "%s: VLAN %u failed (%d)\n", r.leaf, vlan, rc);
                return answerCode(r, rc);
            }
        }
        return answerCode(r, kResultOk);
    }
    return answerCode(r, kResultGeneralFailed);
}

}  // namespace

int snoopRow(const RouteCtx& r, const CliRow& row)
{
    const bool read = r.method == kMethodGet;
    hf::Request req;
    Ctx c;
    if (read) {
        cliview::discardRequest();
        c.family = snoopReadFamily();
    } else {
        ResultCode rc = hf::readRequest(r, true, false, &req);
        uint32_t f = 1;
        if (rc == kResultOk)
            rc = hf::numberOf(hf::member(req.body.get(), "family"), 1, &f);
        if (rc != kResultOk)
            return answerCode(r, kResultInvalidArgument);
        c.family = static_cast<uint8_t>(f & 0xff);
    }
    const char *show, *proto, *ip;
    if ((row.picks == kSnoopIgmpMode && c.family != 1) || !snoopFamilyWords(c.family, &show, &proto, &ip)) {
        LOG(kLogError, "%s: family %u has no CLI words here\n", r.leaf, c.family);
        return answerCode(r, kResultUnsupported);
    }
    c.fills[kShow] = show;
    c.fills[kProto] = proto;
    c.fills[kIp] = ip;
    ResultCode rc = scopeOf(row, req.body.get(), &c);
    if (rc != kResultOk)
        return answerCode(r, rc);
    return read ? readRow(r, row, c) : writeRow(r, row, c, req.body.get());
}

// --- The two group tables -------------------------------------------------------------

namespace {

void addText(cJSON* o, const char* name, const std::string& v)
{
    if (v.empty())
        cJSON_AddNullToObject(o, name);
    else
        cJSON_AddStringToObject(o, name, v.c_str());
}

// A text member of a stream; empty when absent or no string.
std::string streamText(const cJSON* s, const char* name)
{
    const cJSON* v = cJSON_GetObjectItemCaseSensitive(s, name);
    return cJSON_IsString(v) ? v->valuestring : "";
}

// The first stream of the VLAN and group address.
const cJSON* streamOf(const cJSON* streams, int vlan, const std::string& group)
{
    const cJSON* list = streams ? cJSON_GetObjectItemCaseSensitive(streams, "streams") : nullptr;
    const cJSON* s = nullptr;
    if (cJSON_IsArray(list))
        cJSON_ArrayForEach(s, list) {
            const cJSON* id = cJSON_GetObjectItemCaseSensitive(s, "vlan_id");
            if (cJSON_IsNumber(id) && id->valuedouble == vlan && streamText(s, "group_ip") == group)
                return s;
        }
    return nullptr;
}

}  // namespace

JsonPtr snoopGroupJson(const showparse::SnoopGroupRow& g, const cJSON* streams)
{
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddNumberToObject(o.get(), "vlanId", g.vlan);
    addText(o.get(), "groupIp", g.groupIp);
    addText(o.get(), "groupMac", g.groupMac);
    addText(o.get(), "igmpVersion", g.version);
    cJSON_AddNumberToObject(o.get(), "timeout", static_cast<double>(g.timeout));
    const cJSON* s = g.groupIp.empty() ? nullptr : streamOf(streams, g.vlan, g.groupIp);
    addText(o.get(), "incomingInterface", streamText(s, "interface"));
    addText(o.get(), "sourceIp", streamText(s, "source_ip"));
    addText(o.get(), "sourceMac", streamText(s, "source_mac"));
    cJSON* subs = cJSON_AddArrayToObject(o.get(), "subscribers");
    for (const showparse::SnoopSubscriber& sub : g.subscribers) {
        cJSON* one = cJSON_CreateObject();
        addText(one, "subscriberIp", sub.ip);
        addText(one, "subscriberMac", sub.mac);
        addText(one, "interface", sub.interface);
        cJSON_AddItemToArray(subs, one);
    }
    return o;
}

JsonPtr snoopSsmGroupJson(const showparse::SnoopSsmGroupRow& g)
{
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddNumberToObject(o.get(), "vlanId", g.vlan);
    cJSON_AddStringToObject(o.get(), "group", g.group.c_str());
    cJSON_AddStringToObject(o.get(), "interface", g.interface.c_str());
    cJSON_AddStringToObject(o.get(), "reporter", g.reporter.c_str());
    cJSON_AddStringToObject(o.get(), "filterMode", g.include ? "include" : "exclude");
    if (!g.sourceList.empty())
        cJSON_AddStringToObject(o.get(), "sourceList", g.sourceList.c_str());
    return o;
}

}  // namespace mcastcli
