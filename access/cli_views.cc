// The show-value views and the template change of access/cli_views.h.
#include "access/cli_views.h"

#include <cjson/cJSON.h>

#include <cstdlib>
#include <string>

#include "access/cli_text.h"
#include "access/show_parse_system.h"
#include "runtime/envelope.h"
#include "runtime/log.h"
#include "runtime/params.h"
#include "runtime/raii.h"
#include "runtime/route_tree.h"

namespace cliview {

namespace {

int answerCode(const RouteCtx& r, ResultCode code) { return hf::reply(r, code, nullptr, r.method != kMethodGet); }

// The show text of the row: 0, else 10000 (logged).
ResultCode showText(const RouteCtx& r, const CliRow& row, std::string* text)
{
    int rc = clitext::showToText(row.output, row.show, row.cap, text, r.leaf);
    if (rc == kResultOk)
        return kResultOk;
    LOG(kLogError, "\"%s\" failed (%d)\n", row.show, rc);
    return kResultGeneralFailed;
}

int readView(const RouteCtx& r, const CliRow& row)
{
    free(requestDataGet());
    std::string text;
    ResultCode c = showText(r, row, &text);
    if (c != kResultOk)
        return answerCode(r, c);
    JsonPtr data(cJSON_CreateObject());
    if (row.picks == kLabelNumber) {
        uint32_t n = 0;
        if (!labelNumberOf(text, row.label, &n))
            return answerCode(r, kResultUnsupported);
        cJSON_AddNumberToObject(data.get(), row.answers, n);
    } else {
        std::string id;
        if (!sdmTemplateIdOf(text, &id)) {
            LOG(kLogError, "\"%s\" names no SDM template\n", row.show);
            return answerCode(r, kResultGeneralFailed);
        }
        cJSON_AddStringToObject(data.get(), row.answers, id.c_str());
    }
    return hf::reply(r, kResultOk, std::move(data), false);
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
    std::string answer;
    int rc = clitext::applyTextAnswer(row.script, clitext::fillTemplate(row.sends, t->name), &answer);
    if (rc == kResultOk && clitext::cliRefused(answer)) {
        LOG(kLogError, "the CLI refused the text of %s\n", row.script);
        rc = kResultInvalidArgument;
    }
    return answerCode(r, static_cast<ResultCode>(rc));
}

}  // namespace

int showValueRow(const RouteCtx& r, const CliRow& row)
{
    return row.picks == kTemplatePrefer ? preferTemplate(r, row) : readView(r, row);
}

}  // namespace cliview
