// The CLI class of the layer-3 multicast route summaries (access/cli_mroute.h).
#include "access/cli_mroute.h"

#include <cjson/cJSON.h>

#include <string>
#include <utility>
#include <vector>

#include "access/cli_text.h"
#include "access/cli_views.h"
#include "access/show_parse_mcast.h"
#include "runtime/log.h"

namespace mcastcli {

JsonPtr routeJson(const showparse::MrouteRow& route)
{
    JsonPtr o(cJSON_CreateObject());
    cJSON_AddStringToObject(o.get(), "sourceIp", route.source.c_str());
    cJSON_AddStringToObject(o.get(), "groupIp", route.group.c_str());
    const std::pair<const char*, const std::string*> optional[] = {
        {"protocol", &route.protocol},
        {"incomingInterface", &route.incoming},
        {"outgoingInterfaceList", &route.outgoing},
    };
    for (const auto& column : optional)
        if (!column.second->empty())
            cJSON_AddStringToObject(o.get(), column.first, column.second->c_str());
    return o;
}

int summaryRow(const RouteCtx& r, const CliRow& row)
{
    cliview::discardRequest();
    std::string text;
    int rc = clitext::showToText(row.output, row.show, row.cap, &text, r.leaf);
    if (rc != kResultOk) {
        LOG(kLogError, "\"%s\" failed (%d)\n", row.show, rc);
        return cliview::answerCode(r, kResultGeneralFailed);
    }
    JsonPtr routes(cJSON_CreateArray());
    for (const showparse::MrouteRow& route : showparse::mrouteRowsOf(text))
        cJSON_AddItemToArray(routes.get(), routeJson(route).release());
    JsonPtr data(cJSON_CreateObject());
    cJSON_AddItemToObject(data.get(), row.answers, routes.release());
    return cliview::answerData(r, std::move(data));
}

}  // namespace mcastcli
