// The logging CLI class: views read from the switch's logging show output
// and logging settings applied as CLI text. A row states the command, the
// label, the member and the script; PICKS chooses what the class does.
//
//   CLI(logging_buffered, "threshold", GET, handler, logcli::logging,
//       SHOW("show logging"), OUTPUT("show_logging_buffered_threshold"),
//       LABEL("Buffered Logging Threshold"), ANSWERS("threshold"), PICKS(logcli::kNumber))
//   CLI(logging_traps, "severity", PUT, handler, logcli::logging, READS(B, "severity"),
//       SENDS("config\nlogging traps %u\nexit\n"), SCRIPT("logging_trap_sev"), PICKS(logcli::kSetSeverity))
//
// Reads answer without a trailing newline, writes with one. A show command
// that fails or whose output cannot be read answers 10000, as does output
// without the row's line. A write answers 10003, before any work file is
// written, for a body value out of its range, and after the apply when the
// CLI refused a line of the text; else the bridge's result.
#pragma once

#include <cstdint>
#include <string>

#include "access/cli_row.h"
#include "runtime/handler_family.h"

namespace logcli {

using clirow::CliRow;
using hf::RouteCtx;

/// What a logging row does.
enum Pick : uint8_t {
    // Reads of SHOW, answered as ANSWERS.
    kNumber,        // the number on LABEL's line
    kSeverity,      // the number of the severity named on LABEL's line
    kEnabledMode,   // "enable" when LABEL's value is "enabled" (any case), else "disable"
    kOnMode,        // "enable" when LABEL's value is "On" (any case), else "disable"
    kProtocol,      // 1 when LABEL's value holds "RFC5424", else 0
    kText,          // LABEL's value as text
    kTrapSeverity,  // N of the first "logging traps N" (0-7) of SHOW; 5, the default, when none
    kHosts,         // the syslog hosts of SHOW as `hosts`, and LABEL's mode as ANSWERS
    // Writes of SCRIPT from the body member READS.
    kSetSeverity,   // a JSON number 0-7 into SENDS
    kSetPercent,    // a JSON number 0-100 into SENDS
    kSetProtocol,   // a JSON number 0-1 into SENDS
    kSetMode,       // "enable" SENDS, "disable" ELSE_SENDS (any case)
    kSetInterface,  // an interface name (one word, no control character) into SENDS
    kSend,          // no member: SENDS as it stands
};

int loggingRow(const RouteCtx& r, const CliRow& row);

constexpr clirow::RowClass<RouteCtx, loggingRow> logging{};

/// Names of the severities: "emergency" 0 ... "debug" 7; "" beyond.
const char* severityName(uint32_t severity);
/// The number of a severity name (any case); false for no severity's.
bool severityNumber(const std::string& name, uint32_t* severity);

/// A logging host of "show logging hosts".
struct LogHostLine {
    std::string host, severity, status, mode;
    int port = 0;
};
/// The hosts of "show logging hosts": the lines after the one holding
/// "-----", each longer than 9 characters, read as index, host, severity,
/// port, status and mode ("udp" when the line has none); a line of fewer
/// than four of them is no host.
std::vector<LogHostLine> logHostsOf(const std::string& text);

/// The switch's show text of `command` into a work file of `stem`: 0, else
/// 10000 (logged under the route's leaf).
int loggingShow(const RouteCtx& r, const char* stem, const char* command, std::string* text);

}  // namespace logcli
