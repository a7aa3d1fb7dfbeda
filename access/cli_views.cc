// The CLI classes every program's rows may name (access/cli_views.h): label
// views and settings of global show commands and scripts, the views of
// system show output, and the pieces the programs' own CLI classes use.
#include "access/cli_views.h"

#include <cjson/cJSON.h>
#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "access/cli_text.h"
#include "access/intf_notation.h"
#include "access/show_parse_routing.h"
#include "access/show_parse_system.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/open_client.h"
#include "runtime/params.h"
#include "runtime/raii.h"
#include "runtime/route_tree.h"

namespace cliview {

using clitext::fillTemplate;

namespace {

// Longest word a row takes from a request when it names no MAX_LEN.
constexpr size_t kWordMax = 255;

// An "enable"/"disable" value: the string "enable" enables, any other
// string (or none) disables; a value of another type is refused.
ResultCode enableOf(const hf::Value& v, uint32_t* out)
{
    std::string s;
    if (!hf::textOf(v, &s))
        return kResultInvalidArgument;
    *out = s == "enable" ? 1 : 0;
    return kResultOk;
}

// "u/s/p" or "lag N": the only names the interface look-up gives.
bool intfNameShape(const std::string& name)
{
    unsigned a, b, c;
    char tail;
    return sscanf(name.c_str(), "%u/%u/%u%c", &a, &b, &c, &tail) == 3 ||
           sscanf(name.c_str(), "lag %u%c", &a, &tail) == 1;
}

// The "|"-separated names of ANSWERS, in order.
std::vector<std::string> answerNames(const char* answers)
{
    std::vector<std::string> names;
    std::string all = answers ? answers : "";
    size_t from = 0;
    for (;;) {
        size_t bar = all.find('|', from);
        names.push_back(all.substr(from, bar == std::string::npos ? std::string::npos : bar - from));
        if (bar == std::string::npos)
            return names;
        from = bar + 1;
    }
}

// The show text of a system view: 0, else 10000 (logged).
ResultCode viewText(const RouteCtx& r, const CliRow& row, std::string* text)
{
    int rc = clitext::showToText(row.output, row.show, row.cap, text, r.leaf);
    if (rc == kResultOk)
        return kResultOk;
    LOG(kLogError, "\"%s\" failed (%d)\n", row.show, rc);
    return kResultGeneralFailed;
}

void addCodeVersion(cJSON* data, const char* member, const ApiVersion& v)
{
    cJSON* o = cJSON_AddObjectToObject(data, member);
    cJSON_AddNumberToObject(o, "release", v.release);
    cJSON_AddNumberToObject(o, "version", v.version);
    cJSON_AddNumberToObject(o, "maint_level", v.maintLevel);
    cJSON_AddNumberToObject(o, "build_num", v.buildNum);
}

// The answer of view `view` of a show text into `data`: 0; 17002 for a
// table size the template does not have; 10000 for a text that does not
// hold what the view reads.
ResultCode readShowValue(const CliRow& row, const std::string& text, cJSON* data)
{
    std::vector<std::string> names = answerNames(row.answers);
    auto name = [&names](size_t i) { return names[i < names.size() ? i : names.size() - 1].c_str(); };
    switch (static_cast<View>(row.picks)) {
    case kLabelNumber: {
        uint32_t n = 0;
        if (!labelNumberOf(text, row.label, &n))
            return kResultUnsupported;
        cJSON_AddNumberToObject(data, name(0), n);
        return kResultOk;
    }
    case kTemplateId: {
        std::string id;
        if (!sdmTemplateIdOf(text, &id))
            return kResultGeneralFailed;
        cJSON_AddStringToObject(data, name(0), id.c_str());
        return kResultOk;
    }
    case kLabelText: {
        std::string v;
        if (!clitext::labelValue(text, row.label, &v, row.maxLen ? row.maxLen : 31))
            return kResultGeneralFailed;
        for (const std::string& n : names)
            cJSON_AddStringToObject(data, n.c_str(), v.c_str());
        return kResultOk;
    }
    case kFanMode:
        cJSON_AddStringToObject(data, name(0), labelHoldsEnable(text, row.label) ? "quiet" : "normal");
        return kResultOk;
    case kTempRange: {
        uint32_t lo, hi;
        if (!tempRangeOf(text, &lo, &hi))
            return kResultGeneralFailed;
        cJSON_AddNumberToObject(data, name(0), lo);
        cJSON_AddNumberToObject(data, name(1), hi);
        return kResultOk;
    }
    case kSensorMaxTemp: {
        uint32_t max;
        if (!sensorMaxTempOf(text, queryExactU32(row.reads[0]), &max))
            return kResultGeneralFailed;
        cJSON_AddNumberToObject(data, name(0), max);
        return kResultOk;
    }
    case kBootImages: {
        BootImages b;
        if (!bootImagesOf(text, queryExactU32(row.reads[0]), &b))
            return kResultGeneralFailed;
        bool first = b.currentActive == "image1";
        cJSON_AddStringToObject(data, name(0), (first ? b.image1 : b.image2).c_str());
        cJSON_AddStringToObject(data, name(1), (first ? b.image2 : b.image1).c_str());
        cJSON_AddStringToObject(data, name(2), b.currentActive.c_str());
        cJSON_AddStringToObject(data, name(3), b.nextActive.c_str());
        return kResultOk;
    }
    case kWholeText:
        cJSON_AddStringToObject(data, name(0), text.c_str());
        return kResultOk;
    case kMemory: {
        uint64_t freeBytes, allocBytes;
        if (!memoryOf(text, &freeBytes, &allocBytes))
            return kResultGeneralFailed;
        cJSON_AddNumberToObject(data, name(0), static_cast<double>(freeBytes + allocBytes));
        cJSON_AddNumberToObject(data, name(1), static_cast<double>(allocBytes));
        cJSON_AddNumberToObject(data, name(2), static_cast<double>(freeBytes));
        return kResultOk;
    }
    case kLabelCodeVersion: {
        std::string v;
        ApiVersion version;
        if (!clitext::labelValue(text, row.label, &v) || !codeVersionOf(v, &version))
            return kResultGeneralFailed;
        addCodeVersion(data, name(0), version);
        return kResultOk;
    }
    case kFlashCodeVersion: {
        BootImages b;
        ApiVersion version;
        if (!firstBootImagesOf(text, &b) || !codeVersionOf(runningImageVersion(b), &version))
            return kResultGeneralFailed;
        addCodeVersion(data, name(0), version);
        return kResultOk;
    }
    case kUpTime: {
        uint64_t seconds;
        if (!upTimeOf(text, row.label, &seconds))
            return kResultGeneralFailed;
        cJSON_AddNumberToObject(data, name(0), static_cast<double>(seconds));
        return kResultOk;
    }
    case kTemplatePrefer:
        break;
    }
    return kResultGeneralFailed;
}

int readView(const RouteCtx& r, const CliRow& row)
{
    discardRequest();
    std::string text;
    ResultCode c = viewText(r, row, &text);
    JsonPtr data(cJSON_CreateObject());
    if (c == kResultOk) {
        c = readShowValue(row, text, data.get());
        if (c == kResultGeneralFailed)
            LOG(kLogError, "\"%s\" holds no %s\n", row.show, row.answers);
    } else if (row.picks == kFanMode) {
        c = readShowValue(row, std::string(), data.get());  // the fans run normally unless told otherwise
    }
    if (c != kResultOk)
        return answerCode(r, c);
    return answerData(r, std::move(data));
}

int preferTemplate(const RouteCtx& r, const CliRow& row)
{
    hf::Request q;
    ResultCode c = hf::readRequest(r, true, false, &q);
    std::string id;
    if (c == kResultOk && !hf::textOf(hf::member(q.body.get(), row.reads[0]), &id))
        c = kResultInvalidArgument;
    const SdmTemplate* t = c == kResultOk ? sdmTemplate(id.c_str()) : nullptr;
    if (!t) {
        LOG(kLogError, "%s: member %s names no SDM template\n", r.leaf, row.reads[0]);
        return answerCode(r, kResultInvalidArgument);
    }
    return answerCode(r, applyChecked(row.script, fillTemplate(row.sends, t->name)));
}

}  // namespace

// --- Pieces of CLI classes ----------------------------------------------------------

bool oneWord(const std::string& v, size_t max)
{
    if (v.empty() || v.size() > max)
        return false;
    for (unsigned char ch : v)
        if (ch <= ' ' || ch >= 0x7f)
            return false;
    return true;
}

int answerCode(const RouteCtx& r, ResultCode code)
{
    return hf::reply(r, code, nullptr, r.method != kMethodGet); }
int answerData(const RouteCtx& r, JsonPtr data)
{
    return hf::reply(r, kResultOk, std::move(data), r.method != kMethodGet); }

// Reads and drops the request of a route that takes no values from it.
void discardRequest() { CStr dropped(requestDataGet()); }

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
        c = hf::numberOf(hf::member(body, member), 0, &v);
        if (c != kResultOk)
            return c;
        *text = v == 0 && off ? off : fillTemplate(on, std::to_string(v));
        return kResultOk;
    case clirow::kIsOne:
        c = hf::numberOf(hf::member(body, member), 0, &v);
        if (c != kResultOk)
            return c;
        *text = v == 1 ? on : off;
        return kResultOk;
    case clirow::kNonZero:
        c = hf::numberOf(hf::member(body, member), 0, &v);
        break;
    case clirow::kFlag:
        c = hf::flagOf(hf::member(body, member), &v);
        break;
    case clirow::kEnable:
        c = enableOf(hf::member(body, member), &v);
        break;
    case clirow::kPrefWord:
        c = hf::numberOf(hf::member(body, member), 0, &v);
        if (c != kResultOk)
            return c;
        *text = fillTemplate(on, v == 1 ? "high" : v == 2 ? "low" : "medium");
        return kResultOk;
    case clirow::kIntfName:
        if (row.readsFrom[0] == clirow::kFromB) {
            c = hf::numberOf(hf::member(body, member), 0, &v);
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
    case clirow::kWhen: {
        hf::Value given = hf::member(body, member);
        if (!given.found || !hf::textOf(given, &value))
            return kResultInvalidArgument;
        *text = row.when && value == row.when ? on : off;
        return kResultOk;
    }
    case clirow::kWord:
        if (!hf::textOf(hf::member(body, member), &value) || !oneWord(value, row.maxLen ? row.maxLen : kWordMax))
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
ResultCode readRowRequest(const RouteCtx& r, const CliRow& row, hf::Request* body)
{
    if (row.readsFrom[0] == clirow::kFromB)
        return hf::readRequest(r, true, false, body);
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
ResultCode showRowText(const CliRow& row, const std::string& command, std::string* text)
{
    int rc = clitext::showToText(row.output, command.c_str(), row.cap, text, "showAndRead");
    if (rc == kResultOpenFailed || rc == kResultOk)
        return rc;
    LOG(kLogError, "\"%s\" failed (%d)\n", command.c_str(), rc);
    return kResultGeneralFailed;
}

uint32_t IntfNumbers::numberOf(const std::string& name)
{
    if (!intfNameShape(name))
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

// --- Global settings -----------------------------------------------------------

int globalGetRow(const RouteCtx& r, const CliRow& row)
{
    std::string text;
    ResultCode c = showRowText(row, row.show, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    JsonPtr data(cJSON_CreateObject());
    addConverted(data.get(), row.answers, row.as, labelAnswer(text, row.label, row.as));
    return answerData(r, std::move(data));
}

int globalPutRow(const RouteCtx& r, const CliRow& row)
{
    hf::Request req;
    ResultCode c = readRowRequest(r, row, &req);
    if (c != kResultOk)
        return answerCode(r, c);
    std::string text;
    c = chooseText(req.body.get(), row, &text);
    if (c != kResultOk) {
        LOG(kLogError, "%s: member %s refused (%d)\n", r.leaf, row.reads[0] ? row.reads[0] : "-", c);
        return answerCode(r, c);
    }
    return answerCode(r, applyChecked(row.script, text));
}


int showValueRow(const RouteCtx& r, const CliRow& row)
{
    return row.picks == kTemplatePrefer ? preferTemplate(r, row) : readView(r, row);
}

}  // namespace cliview
