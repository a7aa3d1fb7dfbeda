// Logging of the simulated switch: the console, CLI command and syslog
// settings, the syslog hosts, the buffered (in-memory) log with its filter
// and wrapping, the trap log, and the settings the CLI alone reaches (trap
// severity, logging protocol, syslog source interface, buffered threshold).
// The control API (api_logging.cc) and the CLI (cli_logging.cc) both go
// through the functions below, so what one sets the other shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/openclt/openclt.h"
#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

/// Severities: 0 emergency ... 7 debug; a filter of N takes severities 0..N.
constexpr uint32_t kLogSeverityMax = 7;
/// Name of a severity ("emergency" ... "debug"); "" beyond 7.
const char* severityName(uint32_t severity);

constexpr uint32_t kLogMaxHosts = 8;
/// Longest host address text (characters).
constexpr uint32_t kLogHostMaxAddrLen = 63;
constexpr uint32_t kLogDefaultPort = 514;
/// Default severity of a new host: critical.
constexpr uint32_t kLogHostDefaultSeverity = 2;
/// Default trap severity; the running configuration leaves it out.
constexpr uint32_t kLogTrapDefaultSeverity = 5;
/// Default capacity of the buffered log (entries); a state file may give another.
constexpr uint32_t kBufferedLogDefaultCapacity = 400;
constexpr uint32_t kBufferedLogMaxCapacity = 65536;
/// Longest message SysLogWrite takes (characters).
constexpr uint32_t kLogMessageMax = 511;

struct LogHost {
    std::string address;
    uint32_t port = kLogDefaultPort;
    uint32_t severity = kLogHostDefaultSeverity;
};

/// The buffered log: a ring of `capacity` slots. Entries fill the slots in
/// turn; with wrapping on, a full log overwrites its oldest entry, else it
/// drops new messages.
struct BufferedLog {
    uint32_t mode = 1;
    uint32_t severity = 6;  // info
    uint32_t wrap = 1;
    uint32_t threshold = 80;  // percent
    uint32_t capacity = kBufferedLogDefaultCapacity;
    std::vector<std::string> slots;
    uint32_t nextSlot = 0;  // where a full log writes next (0-based)
    uint32_t sequence = 0;  // messages taken since the last clear
};

struct TrapRecord {
    std::string time;
    std::string text;
};

struct LoggingModel {
    uint32_t cliCommandMode = 0;
    uint32_t consoleMode = 1;
    uint32_t consoleSeverity = 3;  // error
    uint32_t syslogMode = 0;
    uint32_t syslogPort = kLogDefaultPort;
    uint32_t protocol = 0;  // 0 RFC3164, 1 RFC5424
    uint32_t trapSeverity = kLogTrapDefaultSeverity;
    std::string sourceInterface;  // "" none, "1/0/5", "vlan 10", "loopback 0"
    std::vector<LogHost> hosts;   // in the order they were added
    BufferedLog buffered;
    uint32_t received = 0, relayed = 0, dropped = 0;
    std::vector<TrapRecord> traps;  // oldest first, at most TRAP_LOG_MAX_ENTRIES
    uint32_t trapsSinceReset = 0;
    uint32_t trapsSinceViewed = 0;
};

/// Whether `text` names a host a syslog message can go to: an IPv4 or IPv6
/// address or a host name (letters, digits, '-' and '.'), at most
/// kLogHostMaxAddrLen characters.
bool logHostValid(const std::string& text);
LogHost* logHost(LoggingModel& m, const std::string& address);

/// Logs a message of `severity`: counted, relayed when syslog logging and a
/// host whose severity takes it are there, buffered when buffered logging
/// is on and its filter takes it (dropped when the log is full and does not wrap).
void logMessage(LoggingModel& m, uint32_t severity, const std::string& text);
/// The entries of the buffered log, oldest first.
std::vector<std::string> bufferedEntries(const BufferedLog& b);
/// The entries are numbered from 1, oldest first. The number after `index`
/// (0: the first); false when none. A full log is read round and round:
/// after its newest entry comes the oldest again.
bool bufferedNext(const BufferedLog& b, uint32_t index, uint32_t* next);
/// Entry number `n` (1: the oldest); "" when there is none.
std::string bufferedEntry(const BufferedLog& b, uint32_t n);
void bufferedClear(BufferedLog& b);

/// Raises a trap: kept in the trap log (the oldest dropped when full) and counted.
void raiseTrap(LoggingModel& m, const std::string& text);
void trapLogClear(LoggingModel& m);

/// The logging lines of the running configuration.
std::string loggingRunningConfig(const SwitchState& st);

/// The default switch's logging: its cold start trap.
LoggingModel defaultLogging();

extern const schema::Table<LoggingModel> kLoggingTable;

}  // namespace sim
