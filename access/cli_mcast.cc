// swarmgate's CLI pieces and the CLI class of the MVR directory (access/cli_mcast.h).
#include "access/cli_mcast.h"

#include <cjson/cJSON.h>
#include <strings.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "access/cli_bridge.h"
#include "access/cli_text.h"
#include "access/cli_views.h"
#include "access/intf_notation.h"
#include "runtime/log.h"
#include "runtime/open_client.h"
#include "runtime/params.h"
#include "runtime/route_tree.h"
#include "runtime/text_convert.h"

namespace mcastcli {

// --- CLI pieces ----------------------------------------------------------------

int cliShowValueGet(const char* command, const char* label, size_t size, std::string* value)
{
    if (!command || !label || !value || size == 0)
        return kResultInvalidArgument;
    std::string text;
    int rc = clitext::showToText("cli_show", command, kLabelShowCap, &text, "cliShowValueGet");
    if (rc != kResultOk) {
        LOG(kLogError, "\"%s\" failed (%d)\n", command, rc);
        return rc == kResultOpenFailed ? kResultGeneralFailed : rc;
    }
    std::string labels = label;
    for (size_t from = 0;;) {
        size_t bar = labels.find('|', from);
        std::string one = labels.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
        rc = clitext::leaderValue(text, one.c_str(), size, value);
        if (rc == kResultOk || bar == std::string::npos)
            return rc;
        from = bar + 1;
    }
}

int cliConfigApplyChecked(const std::string& text)
{
    return cliview::applyChecked("mcast_cfg", text);
}

namespace {

// A configuration text wrapped as `head` <text> `tail`, applied checked;
// `name`, a part of the head, is one line as the text is.
int applyWrapped(const std::string& head, const std::string& name, const std::string& text, const char* tail)
{
    std::string wrapped = head + text + tail;
    if (text.empty() || !clitext::cliSafe(name) || !clitext::cliSafe(text) || wrapped.size() > kConfigTextMax) {
        LOG(kLogError, "configuration text refused (%zu characters)\n", text.size());
        return kResultInvalidArgument;
    }
    return cliConfigApplyChecked(wrapped);
}

}  // namespace

int cliGlobalConfigApply(const std::string& text)
{
    return applyWrapped("configure\n", "", text, "\nexit\n");
}

int cliVlanDatabaseConfigApply(const std::string& text)
{
    return applyWrapped("vlan database\n", "", text, "\nexit\n");
}

int cliInterfaceConfigApply(const std::string& name, const std::string& text)
{
    if (name.empty())
        return kResultInvalidArgument;
    return applyWrapped("configure\ninterface " + name + "\n", name, text, "\nexit\nexit\n");
}

bool cliEnableWordTest(const char* value)
{
    if (!value)
        return false;
    while (isspace(static_cast<unsigned char>(*value)))
        ++value;
    return strncasecmp(value, "enable", 6) == 0;
}

int mvrIntfShowGet(uint32_t intIfNum, std::string* type, std::string* status, std::string* immediate)
{
    char name[kIfDisplayNameSize] = {0};
    if (ifDisplayNameGet(&clientHandle, intIfNum, name) != 0 || !clitext::cliSafe(name)) {
        LOG(kLogError, "interface %u has no name\n", intIfNum);
        return kResultGeneralFailed;
    }
    std::string text;
    std::string command = std::string("show mvr interface ") + name;
    if (clitext::showToText("mvr_intf", command.c_str(), kMvrIntfShowCap, &text, "mvrIntfShowGet") != kResultOk) {
        LOG(kLogError, "\"%s\" failed\n", command.c_str());
        return kResultGeneralFailed;
    }
    const std::pair<std::string*, const char*> outputs[] = {
        {type, "Type:"}, {status, "Status:"}, {immediate, "Immediate Leave:"}};
    for (const auto& o : outputs)
        if (o.first)
            *o.first = clitext::wordAfter(text, o.second, kMvrWordSize);
    return kResultOk;
}

ResultCode portNameOf(uint32_t intIfNum, std::string* name)
{
    char buf[kIfDisplayNameSize] = {0};
    if (ifDisplayNameGet(&clientHandle, intIfNum, buf) != 0 || !clitext::cliSafe(buf) || !*buf) {
        LOG(kLogError, "interface %u names no port or LAG\n", intIfNum);
        return kResultGeneralFailed;
    }
    *name = buf;
    return kResultOk;
}

bool ipv4Multicast(uint32_t addr) { return (addr >> 28) == 0xe; }

bool mvrGroupOf(const hf::Value& v, uint32_t* addr)
{
    uint32_t a = 0;
    if (!v.found)
        return false;
    if (!v.item) {
        // Query text: dotted when it holds a dot, else decimal.
        if (v.text.find('.') != std::string::npos ? !conv::parseIpv4(v.text, &a) : !conv::parseU32(v.text, &a))
            return false;
    } else if (cJSON_IsString(v.item)) {
        std::string t = v.item->valuestring;
        if (!conv::parseIpv4(t, &a) && !conv::parseU32(t, &a))
            return false;
    } else if (cJSON_IsNumber(v.item)) {
        double d = v.item->valuedouble;
        if (!(d >= 0 && d <= 4294967295.0) || std::floor(d) != d)
            return false;
        a = static_cast<uint32_t>(d);
    } else {
        return false;
    }
    *addr = a;
    return a != 0;
}

bool tableWord(const char* table, const std::string& key, bool prefix, std::string* word)
{
    std::string all = table ? table : "";
    for (size_t from = 0; from <= all.size();) {
        size_t bar = all.find('|', from);
        if (bar == std::string::npos)
            bar = all.size();
        std::string entry = all.substr(from, bar - from);
        size_t eq = entry.find('=');
        std::string k = entry.substr(0, eq);
        bool takes = prefix ? key.size() >= k.size() && strncasecmp(key.c_str(), k.c_str(), k.size()) == 0
                            : key == k;
        if (eq != std::string::npos && takes) {
            *word = entry.substr(eq + 1);
            return true;
        }
        from = bar + 1;
    }
    return false;
}

// --- The class of the MVR directory ---------------------------------------------------

namespace {

using cliview::answerCode;
using cliview::answerData;

// The interface of a scoped row: its query number by name. 10003 for a
// number that is no decimal text; 10000 for one that names no port or LAG.
ResultCode scopeName(const CliRow& row, uint32_t* intIfNum, std::string* name)
{
    std::string text;
    if (!hf::queryExactText(row.scopeQuery, &text)) {
        LOG(kLogError, "no interface number %s\n", row.scopeQuery);
        return kResultGeneralFailed;
    }
    if (!conv::parseU32(text, intIfNum)) {
        LOG(kLogError, "interface number %s is no number\n", row.scopeQuery);
        return kResultInvalidArgument;
    }
    return portNameOf(*intIfNum, name);
}

bool scoped(const CliRow& row) { return row.scope == clirow::kPortScope; }

// Applies a line globally or in the row's interface.
int applyLine(const CliRow& row, const std::string& name, const std::string& line)
{
    return scoped(row) ? cliInterfaceConfigApply(name, line) : cliGlobalConfigApply(line);
}

// The value a read row's label(s) give: the interface word of a scoped row,
// else the first of the "|"-separated labels of SHOW that gives a value.
ResultCode readValue(const CliRow& row, std::string* value)
{
    if (scoped(row)) {
        uint32_t intIfNum = 0;
        std::string name;
        ResultCode c = scopeName(row, &intIfNum, &name);
        if (c != kResultOk)
            return c;
        std::string words[3];
        c = static_cast<ResultCode>(mvrIntfShowGet(intIfNum, &words[0], &words[1], &words[2]));
        if (c != kResultOk)
            return c;
        const char* labels[3] = {"Type:", "Status:", "Immediate Leave:"};
        for (size_t i = 0; i < 3; ++i)
            if (strcmp(row.label, labels[i]) == 0)
                *value = words[i];
        return kResultOk;
    }
    return static_cast<ResultCode>(cliShowValueGet(row.show, row.label, kShowValueSize, value));
}

int answerText(const RouteCtx& r, const CliRow& row, const std::string& text)
{
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddStringToObject(data.get(), row.answers, text.c_str());
    return answerData(r, std::move(data));
}

int answerNumber(const RouteCtx& r, const CliRow& row, uint32_t n)
{
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddNumberToObject(data.get(), row.answers, n);
    return answerData(r, std::move(data));
}

// The key of a table's first entry, its default.
std::string firstKey(const char* table)
{
    std::string all = table ? table : "";
    return all.substr(0, all.find('='));
}

int readRow(const RouteCtx& r, const CliRow& row)
{
    cliview::discardRequest();
    std::string value;
    if (row.picks == kMvrCounter) {
        std::string type, label;
        hf::queryExactText(row.reads[0], &type);
        if (!tableWord(row.when, type, false, &label))
            tableWord(row.when, firstKey(row.when), false, &label);
        ResultCode c = static_cast<ResultCode>(cliShowValueGet(row.show, label.c_str(), kShowValueSize, &value));
        return c == kResultOk ? answerNumber(r, row, conv::decimalLoose(value)) : answerCode(r, c);
    }
    ResultCode c = readValue(row, &value);
    if (c != kResultOk)
        return answerCode(r, c);
    if (row.picks == kMvrWord) {
        std::string word;
        tableWord(row.when, value, true, &word);
        return answerText(r, row, word);
    }
    return answerNumber(r, row, conv::decimalLoose(value));
}

int writeRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request req;
    ResultCode c = cliview::readRowRequest(r, row, &req);
    if (c != kResultOk)
        return answerCode(r, c);
    uint32_t intIfNum = 0;
    std::string name;
    if (scoped(row) && (c = scopeName(row, &intIfNum, &name)) != kResultOk)
        return answerCode(r, c);
    hf::Value given = row.readsFrom[0] == clirow::kFromB ? hf::member(req.body.get(), row.reads[0]) : hf::Value();
    std::string line;
    switch (row.picks) {
    case kMvrWord: {
        std::string value, word;
        hf::textOf(given, &value);  // a value of another type is no word of the table
        line = tableWord(row.when, value, false, &word) ? clitext::fillTemplate(row.sends, word) : row.elseSends;
        break;
    }
    case kMvrNumber:
    case kMvrVlan: {
        uint32_t n = 0;
        c = hf::numberOf(given, 0, &n);
        if (c == kResultOk && row.picks == kMvrVlan && n > 4093)
            c = kResultInvalidArgument;
        if (c != kResultOk) {
            LOG(kLogError, "%s: member %s refused\n", r.leaf, row.reads[0]);
            return answerCode(r, c);
        }
        line = n ? clitext::fillTemplate(row.sends, std::to_string(n)) : row.elseSends;
        break;
    }
    case kMvrGroup: {
        if (row.readsFrom[0] == clirow::kFromQ) {
            given.found = hf::queryExactText(row.reads[0], &given.text);
            given.item = nullptr;
        }
        uint32_t group = 0;
        if (!mvrGroupOf(given, &group) || !ipv4Multicast(group)) {
            LOG(kLogError, "%s: %s is no multicast group\n", r.leaf, row.reads[0]);
            return answerCode(r, kResultInvalidArgument);
        }
        std::string sends = row.sends;
        if (scoped(row)) {
            std::string vlan;
            uint32_t vid = 0;
            if (cliShowValueGet(row.show, row.label, kShowValueSize, &vlan) != kResultOk ||
                (vid = conv::decimalLoose(vlan)) == 0) {
                LOG(kLogError, "%s: no MVR multicast VLAN\n", r.leaf);
                return answerCode(r, kResultGeneralFailed);
            }
            sends = clitext::fillTemplate(sends.c_str(), std::to_string(vid));
        }
        line = clitext::fillTemplate(sends.c_str(), conv::ipv4Text(group));
        break;
    }
    default:
        return answerCode(r, kResultGeneralFailed);
    }
    return answerCode(r, static_cast<ResultCode>(applyLine(row, name, line)));
}

// The group address of the query as a number.
int groupIdRow(const RouteCtx& r, const CliRow& row)
{
    cliview::discardRequest();
    hf::Value given;
    given.found = hf::queryExactText(row.reads[0], &given.text);
    uint32_t group = 0;
    if (!mvrGroupOf(given, &group))
        return answerCode(r, kResultInvalidArgument);
    return answerNumber(r, row, group);
}

// Whether the query's VLAN is the MVR multicast VLAN. Answered like a read.
int vlanMatchRow(const RouteCtx& r, const CliRow& row)
{
    cliview::discardRequest();
    uint32_t asked = queryExactU32(row.reads[0]);
    std::string value;
    uint32_t vlan = cliShowValueGet(row.show, row.label, kShowValueSize, &value) == kResultOk
                        ? conv::decimalLoose(value)
                        : 0;
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddStringToObject(data.get(), row.answers, vlan != 0 && vlan == asked ? "true" : "false");
    return hf::reply(r, kResultOk, std::move(data), false);
}

}  // namespace

int mvrRow(const RouteCtx& r, const CliRow& row)
{
    switch (row.picks) {
    case kMvrGroupId:
        return groupIdRow(r, row);
    case kMvrVlanMatch:
        return vlanMatchRow(r, row);
    default:
        return r.method == kMethodGet ? readRow(r, row) : writeRow(r, row);
    }
}

}  // namespace mcastcli
