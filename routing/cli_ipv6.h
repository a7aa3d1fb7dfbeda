// Classes of the CLI-backed IPv6, router advertisement and IP helper routes.
//
// A CLI row names its class and, by name, what the class runs and answers
// (access/cli_row.h): the show command and its output file, the label read
// and the member answered, the request member read, the CLI text sent and
// the script files. Reads answer without a trailing newline, writes with
// one; a POST walk answers with one only when it fails.
#pragma once

#include <cstdint>
#include <string>

#include "access/cli_row.h"
#include "runtime/handler_family.h"

namespace ip6cli {

using clirow::CliRow;
using hf::RouteCtx;

/// The helper-address walk: the first entry, or the one after the body's.
enum Walk : uint8_t { kWalkFirst, kWalkNext };

int intfGetRow(const RouteCtx& r, const CliRow& row);
int intfPutRow(const RouteCtx& r, const CliRow& row);
int prefixPutRow(const RouteCtx& r, const CliRow& row);
int vlanFirstRow(const RouteCtx& r, const CliRow& row);
int vlanNextRow(const RouteCtx& r, const CliRow& row);
int helperStatisticsRow(const RouteCtx& r, const CliRow& row);
int helperWalkRow(const RouteCtx& r, const CliRow& row);
int helperAddressesClearRow(const RouteCtx& r, const CliRow& row);

/// GET of the LABEL of a SHOW about the interface of IN_VLAN; ECHOES_SCOPE
/// answers the query number under its own name before the value.
constexpr clirow::RowClass<RouteCtx, intfGetRow> intfGet{};
/// PUT (or POST, DELETE) of an interface setting: as cliview::globalPut, the text
/// inside the interface of IN_VLAN or IN_PORT.
constexpr clirow::RowClass<RouteCtx, intfPutRow> intfPut{};
/// PUT of an advertised prefix: SENDS followed by the body's prefix, its
/// length, lifetimes and flags, on the VLAN of IN_VLAN.
constexpr clirow::RowClass<RouteCtx, prefixPutRow> prefixPut{};
/// The VLAN of the first IPv6 routing interface SHOW lists, ANSWERS.
constexpr clirow::RowClass<RouteCtx, vlanFirstRow> vlanFirst{};
/// The first VLAN SHOW lists above the number READS, ANSWERS.
constexpr clirow::RowClass<RouteCtx, vlanNextRow> vlanNext{};
/// The relay agent's counters of SHOW.
constexpr clirow::RowClass<RouteCtx, helperStatisticsRow> helperStatistics{};
/// POST walk of the helper addresses SHOW lists: PICKS(kWalkFirst) or PICKS(kWalkNext).
constexpr clirow::RowClass<RouteCtx, helperWalkRow> helperWalk{};
/// DELETE of helper addresses: SENDS inside the port of IN_PORT (SCRIPT), or
/// without one ELSE_SENDS for every address SHOW lists (ELSE_SCRIPT).
constexpr clirow::RowClass<RouteCtx, helperAddressesClearRow> helperAddressesClear{};

// --- Text templates, shared with the tests --------------------------------

using clitext::fillTemplate;

}  // namespace ip6cli
