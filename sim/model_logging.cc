// Logging of the simulated switch.
#include "sim/model_logging.h"

#include <arpa/inet.h>

#include <cctype>

#include "sim/cli_show.h"
#include "sim/model_mgmt.h"
#include "sim/state.h"

namespace sim {

namespace {

const char* const kSeverityNames[] = {"emergency", "alert", "critical", "error",
                                      "warning",   "notice", "info",   "debug"};

bool hostNameValid(const std::string& t)
{
    if (t.empty() || t.front() == '-' || t.front() == '.' || t.back() == '-' || t.back() == '.')
        return false;
    for (unsigned char ch : t)
        if (!isalnum(ch) && ch != '-' && ch != '.')
            return false;
    return true;
}

}  // namespace

const char* severityName(uint32_t severity)
{
    return severity <= kLogSeverityMax ? kSeverityNames[severity] : "";
}

bool logHostValid(const std::string& text)
{
    if (text.empty() || text.size() > kLogHostMaxAddrLen)
        return false;
    unsigned char buf[16];
    return inet_pton(AF_INET, text.c_str(), buf) == 1 || inet_pton(AF_INET6, text.c_str(), buf) == 1 ||
           hostNameValid(text);
}

LogHost* logHost(LoggingModel& m, const std::string& address)
{
    for (LogHost& h : m.hosts)
        if (h.address == address)
            return &h;
    return nullptr;
}

void logMessage(LoggingModel& m, uint32_t severity, const std::string& text)
{
    ++m.received;
    if (m.syslogMode == 1)
        for (const LogHost& h : m.hosts)
            if (severity <= h.severity) {
                ++m.relayed;
                break;
            }
    BufferedLog& b = m.buffered;
    if (b.mode != 1 || severity > b.severity)
        return;
    std::string entry = cli::format("<%u> [%u] %s", 8 + severity, b.sequence + 1, text.c_str());
    if (b.slots.size() < b.capacity) {
        b.slots.push_back(entry);
    } else if (b.wrap == 1) {
        b.slots[b.nextSlot] = entry;
        b.nextSlot = (b.nextSlot + 1) % b.capacity;
    } else {
        ++m.dropped;
        return;
    }
    ++b.sequence;
}

std::string bufferedEntry(const BufferedLog& b, uint32_t n)
{
    size_t size = b.slots.size();
    if (n == 0 || n > size)
        return std::string();
    size_t first = size == b.capacity ? b.nextSlot : 0;
    return b.slots[(first + n - 1) % size];
}

std::vector<std::string> bufferedEntries(const BufferedLog& b)
{
    std::vector<std::string> out;
    for (uint32_t i = 1; i <= b.slots.size(); ++i)
        out.push_back(bufferedEntry(b, i));
    return out;
}

bool bufferedNext(const BufferedLog& b, uint32_t index, uint32_t* next)
{
    uint32_t n = static_cast<uint32_t>(b.slots.size());
    if (n == 0)
        return false;
    if (index < n) {
        *next = index + 1;
        return true;
    }
    // A full log has no end: its newest entry is followed by the oldest.
    if (n == b.capacity && index == n) {
        *next = 1;
        return true;
    }
    return false;
}

void bufferedClear(BufferedLog& b)
{
    b.slots.clear();
    b.nextSlot = 0;
    b.sequence = 0;
}

namespace {

// A trap at `s` seconds of up time.
void raiseTrapAt(LoggingModel& m, uint64_t s, const std::string& text)
{
    std::string time = cli::format("%u days %02u:%02u:%02u", static_cast<unsigned>(s / 86400),
                                   static_cast<unsigned>(s / 3600 % 24), static_cast<unsigned>(s / 60 % 60),
                                   static_cast<unsigned>(s % 60));
    if (m.traps.size() >= TRAP_LOG_MAX_ENTRIES)
        m.traps.erase(m.traps.begin());
    m.traps.push_back(TrapRecord{time, text.substr(0, sizeof(TrapLogEntry::text) - 1)});
    ++m.trapsSinceReset;
    ++m.trapsSinceViewed;
}

}  // namespace

void raiseTrap(LoggingModel& m, const std::string& text) { raiseTrapAt(m, upTimeMsec() / 1000, text); }

void trapLogClear(LoggingModel& m)
{
    m.traps.clear();
    m.trapsSinceReset = 0;
    m.trapsSinceViewed = 0;
}

std::string loggingRunningConfig(const SwitchState& st)
{
    const LoggingModel& m = st.logging;
    const LoggingModel def;
    std::string out;
    const BufferedLog& b = m.buffered;
    if (b.mode != def.buffered.mode)
        out += b.mode ? "logging buffered\n" : "no logging buffered\n";
    if (b.severity != def.buffered.severity)
        out += cli::format("logging buffered %u\n", b.severity);
    if (b.wrap != def.buffered.wrap)
        out += b.wrap ? "logging buffered wrap\n" : "no logging buffered wrap\n";
    if (b.threshold != def.buffered.threshold)
        out += cli::format("logging buffered threshold %u\n", b.threshold);
    if (m.protocol != def.protocol)
        out += cli::format("logging protocol %u\n", m.protocol);
    if (!m.sourceInterface.empty())
        out += "logging syslog source-interface " + m.sourceInterface + "\n";
    if (m.trapSeverity != def.trapSeverity)
        out += cli::format("logging traps %u\n", m.trapSeverity);
    return out;
}

LoggingModel defaultLogging()
{
    LoggingModel m;
    // The switch starts: its first trap is at no time of up time, so that
    // every fresh switch is the same.
    raiseTrapAt(m, 0, "Cold Start: Unit: 1");
    return m;
}

using namespace schema;

namespace {

const Table<LogHost> kLogHostTable = {
    field<&LogHost::address>("address"),
    field<&LogHost::port>("port"),
    field<&LogHost::severity>("severity"),
};

const Table<TrapRecord> kTrapTable = {
    field<&TrapRecord::time>("time"),
    field<&TrapRecord::text>("text"),
};

const Table<BufferedLog> kBufferedFields = {
    field<&BufferedLog::mode>("mode"),
    field<&BufferedLog::severity>("severity"),
    field<&BufferedLog::wrap>("wrap"),
    field<&BufferedLog::threshold>("threshold"),
    field<&BufferedLog::capacity>("capacity"),
    field<&BufferedLog::slots, List<Text>>("slots"),
    field<&BufferedLog::nextSlot>("nextSlot"),
    field<&BufferedLog::sequence>("sequence"),
};

// The buffered log, checked as a whole: a ring the model can walk.
void saveBuffered(cJSON* o, const Field<LoggingModel>& f, const LoggingModel& m)
{
    cJSON* b = cJSON_AddObjectToObject(o, f.name);
    saveRecord(b, m.buffered, kBufferedFields);
}

void loadBuffered(const StateNode& o, const Field<LoggingModel>& f, LoggingModel& m)
{
    StateNode n = o.member(f.name);
    BufferedLog b = m.buffered;
    if (!n.present())
        return;
    Obj<BufferedLog, kBufferedFields>::read(n, b);
    if (b.capacity == 0 || b.capacity > kBufferedLogMaxCapacity)
        n.member("capacity").fault("a capacity of 1 to 65536 entries expected");
    else if (b.slots.size() > b.capacity)
        n.member("slots").fault("no more entries than the capacity expected");
    else if (b.nextSlot >= b.capacity)
        n.member("nextSlot").fault("a slot below the capacity expected");
    else if (b.severity > kLogSeverityMax || b.threshold > 100)
        n.fault("a severity of 0 to 7 and a threshold of 0 to 100 expected");
    else
        m.buffered = b;
}

}  // namespace

const Table<LoggingModel> kLoggingTable = {
    field<&LoggingModel::cliCommandMode>("cliCommandMode"),
    field<&LoggingModel::consoleMode>("consoleMode"),
    field<&LoggingModel::consoleSeverity>("consoleSeverity"),
    field<&LoggingModel::syslogMode>("syslogMode"),
    field<&LoggingModel::syslogPort>("syslogPort"),
    field<&LoggingModel::protocol>("protocol"),
    field<&LoggingModel::trapSeverity>("trapSeverity"),
    field<&LoggingModel::sourceInterface>("sourceInterface"),
    field<&LoggingModel::hosts, List<Obj<LogHost, kLogHostTable>>>("hosts"),
    custom<LoggingModel>("buffered", saveBuffered, loadBuffered),
    field<&LoggingModel::received>("received"),
    field<&LoggingModel::relayed>("relayed"),
    field<&LoggingModel::dropped>("dropped"),
    field<&LoggingModel::traps, List<Obj<TrapRecord, kTrapTable>>>("traps"),
    field<&LoggingModel::trapsSinceReset>("trapsSinceReset"),
    field<&LoggingModel::trapsSinceViewed>("trapsSinceViewed"),
};

}  // namespace sim
