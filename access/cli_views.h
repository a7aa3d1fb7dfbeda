// A CLI class every program's rows may name: views read from one show
// command's text by label or by a quoted template name, and the template
// change of "sdm prefer".
//
//   CLI(sdm, "template-max-arp-entries", GET, handler, cliview::showValue,
//       SHOW("show sdm prefer"), OUTPUT("sdm"), LABEL("ARP Entries|ARP entries"),
//       ANSWERS("maxEntries"), PICKS(cliview::kLabelNumber))
//
// Reads answer without a trailing newline, writes with one. A show command
// that fails, or whose output cannot be read, answers 10000.
#pragma once

#include <cstdint>

#include "access/cli_row.h"
#include "runtime/handler_family.h"

namespace cliview {

using clirow::CliRow;
using hf::RouteCtx;

/// What a showValue row does.
enum View : uint8_t {
    kLabelNumber,     // GET: the number on the line holding LABEL ("a|b": the first held), as ANSWERS; none: 17002
    kTemplateId,      // GET: the SDM template id of the quoted current template of SHOW, as ANSWERS
    kTemplatePrefer,  // PUT: SENDS with the CLI name of the SDM template id of body member READS, as SCRIPT
};

int showValueRow(const RouteCtx& r, const CliRow& row);

/// The view PICKS (View) of a show text, or the change it applies.
constexpr clirow::RowClass<RouteCtx, showValueRow> showValue{};

}  // namespace cliview
