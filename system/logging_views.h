// The logging directory's composites: routes answered from several switch
// calls and show output, and the trap log record. Reached from rows of
// system/routes_logging.def.
#pragma once

#include <cstdint>

#include "access/cli_row.h"
#include "platform/openclt/openclt.h"
#include "runtime/handler_family.h"

namespace coregate {

using clirow::CliRow;
using hf::RouteCtx;

/// Most entries "buffered-log" reads from the switch's buffered log.
inline constexpr uint32_t kBufferedLogReadMax = 2048;
/// Buffer of one buffered log entry.
inline constexpr uint32_t kBufferedLogEntrySize = 592;

int hostAddRow(const RouteCtx& r, const CliRow& row);
int statusRow(const RouteCtx& r, const CliRow& row);
int bufferedLogRow(const RouteCtx& r, const CliRow& row);

/// "host" POST: body `host` (a string of 1-255 characters, no control
/// character or blank), `port` (1-65535) and `severity` (0-7), both
/// optional. Every member is checked before any switch call (10003); the
/// host is added (a host already there counts as added), then its port and
/// severity set; a failed call answers its code.
constexpr clirow::RowClass<RouteCtx, hostAddRow> hostAdd{};
/// "status" GET: the console, CLI command and syslog settings of the
/// switch calls and the buffered log, protocol, counters and source
/// interface of SHOW; a member whose call or line fails is left out.
constexpr clirow::RowClass<RouteCtx, statusRow> loggingStatus{};
/// "buffered-log" GET: `enabled`, `wrapBehavior` and `logCount` of SHOW,
/// and `logs`, the entries of the switch's buffered log walked from the
/// first: at most kBufferedLogReadMax, ending where the index does not advance.
constexpr clirow::RowClass<RouteCtx, bufferedLogRow> bufferedLog{};

ResultCode readTrapLog(const cJSON* item, void* rec, void* owner);
void writeTrapLog(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);
/// The trap log answered flat: `index`, `trapsSinceReset`, `capacity` and
/// `logs`, an array of {`time`, `trap`} (the row's own name is not answered).
inline constexpr hf::RecordKind kTrapLogRec{sizeof(TrapLog), readTrapLog, writeTrapLog, nullptr};

}  // namespace coregate
