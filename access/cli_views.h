// The CLI classes every program's rows may name, and the pieces the
// programs' own CLI classes build on: the request read, the text a request
// value chooses, a script applied with the CLI's refusals checked, a show
// command's text and the label answers.
//
//   CLI(iphelper, "admin-mode", PUT, handler, cliview::globalPut,
//       READS(B, "adminMode"), TAKES(kEnable), SENDS("configure\nip helper enable\nexit\n"),
//       ELSE_SENDS("configure\nno ip helper enable\nexit\n"), SCRIPT("iph_admin"))
//   CLI(sdm, "template-max-arp-entries", GET, handler, cliview::showValue,
//       SHOW("show sdm prefer"), OUTPUT("sdm"), LABEL("ARP Entries|ARP entries"),
//       ANSWERS("maxEntries"), PICKS(cliview::kLabelNumber))
//
// Reads answer without a trailing newline, writes with one.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "access/cli_row.h"
#include "runtime/handler_family.h"
#include "runtime/raii.h"

namespace cliview {

using clirow::CliRow;
using hf::RouteCtx;

// --- Classes ---------------------------------------------------------------------

int globalGetRow(const RouteCtx& r, const CliRow& row);
int globalPutRow(const RouteCtx& r, const CliRow& row);
int showValueRow(const RouteCtx& r, const CliRow& row);

/// GET of the LABEL of a global SHOW, answered AS the row says; a label
/// absent from the output answers 0.
constexpr clirow::RowClass<RouteCtx, globalGetRow> globalGet{};
/// PUT of a global setting: the value READS chooses (TAKES) between SENDS
/// and ELSE_SENDS, applied as SCRIPT. Without READS, SENDS as it stands.
/// A line the CLI refuses answers 10003.
constexpr clirow::RowClass<RouteCtx, globalPutRow> globalPut{};
/// A write without request values: SENDS as it stands, applied as SCRIPT.
constexpr clirow::RowClass<RouteCtx, globalPutRow> textApply{};

/// What a showValue row reads from its SHOW text. A show command that fails,
/// or whose output cannot be read, answers 10000 (kFanMode: "normal").
enum View : uint8_t {
    kLabelNumber,     // the number on the line holding LABEL ("a|b": the first held), as ANSWERS; none: 17002
    kTemplateId,      // the SDM template id of the quoted current template, as ANSWERS
    kTemplatePrefer,  // PUT: SENDS with the CLI name of the SDM template id of body member READS
    kLabelText,       // the value of the line starting with LABEL (at most MAX_LEN characters), as
                      // each of the "|"-separated ANSWERS; none: 10000
    kFanMode,         // "quiet" when the line starting with LABEL holds "Enable", else "normal"
    kTempRange,       // "Temperature traps range: <min> to <max>", as ANSWERS "min|max"
    kSensorMaxTemp,   // the last column of the sensor of query READS in the "Temperature Sensors:" table
    kBootImages,      // the boot images of the unit of query READS, as ANSWERS "active|backup|current|next"
    kWholeText,       // the whole show text, at most CAP bytes
    kMemory,          // the "free" and "alloc" lines, as ANSWERS "total|alloc|free"
    kLabelCodeVersion,  // the code version "a.b.c.d" of the line starting with LABEL, as ANSWERS
    kFlashCodeVersion,  // the code version of the running image of "show bootvar"'s first unit, as ANSWERS
    kUpTime,          // seconds of "<d> days <h> hrs <m> mins <s> secs" on the line starting with LABEL
};
/// The view PICKS (View) of a show text, or the template change.
constexpr clirow::RowClass<RouteCtx, showValueRow> showValue{};

// --- Pieces of CLI classes ----------------------------------------------------------

/// The reply of a CLI row: reads without a trailing newline, writes with one.
int answerCode(const RouteCtx& r, ResultCode code);
int answerData(const RouteCtx& r, JsonPtr data);

/// Reads and drops the request of a route that takes no values from it.
void discardRequest();
/// Reads the body when the row reads a member of it, and drops the request
/// otherwise: 0, or 10003 for a body that is no JSON object.
ResultCode readRowRequest(const RouteCtx& r, const CliRow& row, hf::Request* body);

/// Interface numbers by the CLI's names ("u/s/p", "lag N"), tried from 1 to
/// 256 as the switch numbers them; the names looked up are kept for the
/// rest of the request. 0 for a name no interface has.
class IntfNumbers {
public:
    uint32_t numberOf(const std::string& name);

private:
    std::map<uint32_t, std::string> names_;
};

/// A value that stays one word of one CLI line: 1 to `max` printable
/// characters, none of them a blank.
bool oneWord(const std::string& v, size_t max);

/// The CLI name of an interface number; 10003 for none.
ResultCode intfNameOf(uint32_t intIfNum, std::string* name);

/// The text for the request: the row's SENDS with the request's value, or
/// SENDS or ELSE_SENDS as the value chooses (TAKES). A value that would not
/// stay one word of one CLI line is refused with 10003.
ResultCode chooseText(const cJSON* body, const CliRow& row, std::string* text);

/// Applies a script as `stem`; a line the CLI refused (a value out of its
/// range, an interface it does not have) answers 10003: the switch kept its
/// setting.
ResultCode applyChecked(const char* stem, const std::string& text);

/// The output of `command` as the row's OUTPUT, up to its CAP: 0, 10016 for
/// a work file that could not be opened, 10000 for every other failure.
ResultCode showRowText(const CliRow& row, const std::string& command, std::string* text);

/// Adds `v` under `member` as `conv` says: true/false, "enable"/"disable" or a number.
void addConverted(cJSON* o, const char* member, showparse::ValueConv conv, uint32_t v);
/// The value of the first of the '|'-separated labels found in the text,
/// converted; a missing label converts as an empty value. An interface
/// named by the CLI is answered as its interface number (0 for "None").
uint32_t labelAnswer(const std::string& text, const char* labels, showparse::ValueConv conv);

}  // namespace cliview
