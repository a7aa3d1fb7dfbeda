// The CLI class of the layer-3 multicast route summaries, which the switch
// control API does not expose: the row's show command cut into its columns
// (access/show_parse_mcast.h) and answered as a list of routes.
//
//   CLI(ipv4_mroute, "summary", GET, handler, mcastcli::summary,
//       SHOW("show ip mroute summary"), OUTPUT("l3mcast_show"), ANSWERS("routes"))
//
// The answer holds the list under ANSWERS, each route with "sourceIp" and
// "groupIp", then "protocol", "incomingInterface" and
// "outgoingInterfaceList" where the route's column is not empty; no
// trailing newline. A show command that fails, or whose output cannot be
// read, answers 10000 without data.
#pragma once

#include "access/cli_row.h"
#include "runtime/handler_family.h"
#include "runtime/raii.h"

namespace showparse {
struct MrouteRow;
}

namespace mcastcli {

using clirow::CliRow;
using hf::RouteCtx;

int summaryRow(const RouteCtx& r, const CliRow& row);

/// GET of the routes of SHOW, run into a work file of OUTPUT, as ANSWERS.
constexpr clirow::RowClass<RouteCtx, summaryRow> summary{};

/// One route as the answer lists it.
JsonPtr routeJson(const showparse::MrouteRow& route);

}  // namespace mcastcli
