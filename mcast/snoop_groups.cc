// The two snooping group lists (mcast/snoop_groups.h).
#include "mcast/snoop_groups.h"

#include <cjson/cJSON.h>

#include <string>
#include <utility>

#include "access/cli_snoop.h"
#include "access/cli_text.h"
#include "access/cli_views.h"
#include "access/show_parse_mcast.h"
#include "mcast/detect.h"
#include "runtime/log.h"
#include "runtime/raii.h"

namespace swarmgate {

int groupListRow(const hf::RouteCtx& r, const clirow::CliRow& row)
{
    cliview::discardRequest();
    const bool igmp = row.picks == kSnoopGroups;
    JsonPtr streams = igmp ? streamDataRead() : nullptr;
    std::string text;
    int rc = clitext::showToText(row.output, row.show, row.cap, &text, r.leaf);
    if (rc != kResultOk) {
        LOG(kLogError, "\"%s\" failed (%d)\n", row.show, rc);
        return cliview::answerCode(r, !igmp || rc == kResultOpenFailed ? kResultGeneralFailed
                                                                        : static_cast<ResultCode>(rc));
    }
    const bool cut = text.size() >= row.cap;
    JsonPtr list(cJSON_CreateArray());
    if (igmp) {
        for (const showparse::SnoopGroupRow& g : showparse::snoopGroupsOf(text, cut))
            cJSON_AddItemToArray(list.get(), mcastcli::snoopGroupJson(g, streams.get()).release());
    } else {
        for (const showparse::SnoopSsmGroupRow& g : showparse::snoopSsmGroupsOf(text, cut))
            cJSON_AddItemToArray(list.get(), mcastcli::snoopSsmGroupJson(g).release());
    }
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddItemToObject(data.get(), row.answers, list.release());
    return cliview::answerData(r, std::move(data));
}

}  // namespace swarmgate
