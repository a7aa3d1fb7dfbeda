// Logging in the simulated CLI: "show logging", "show logging buffered",
// "show logging hosts", "show logging traplogs", and the configuration
// commands of the buffered log, the logging protocol, the syslog source
// interface and the trap severity. Every value is the logging model's
// (model_logging.h), which the control API reads and writes too.
#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/model_logging.h"
#include "sim/state.h"

namespace sim {
namespace cli {
namespace {

const char* onOff(uint32_t v) { return v ? "On" : "Off"; }
const char* enabledWord(uint32_t v) { return v ? "enabled" : "disabled"; }
const char* protocolText(uint32_t p) { return p == 1 ? "RFC5424" : "RFC3164"; }

// Every setting of "show logging". A label that begins another label
// ("Buffered Logging", "Console Logging") comes before it, so a reader
// taking the first line that starts with a label finds its own.
bool showLogging(const SwitchState& st, const Args&, std::string* out)
{
    const LoggingModel& m = st.logging;
    const BufferedLog& b = m.buffered;
    std::string src = m.sourceInterface.empty() ? "none" : m.sourceInterface;
    *out += "\n";
    *out += labelLine("Logging Client Local Port", std::to_string(m.syslogPort));
    *out += labelLine("CLI Command Logging", enabledWord(m.cliCommandMode));
    *out += labelLine("Console Logging", enabledWord(m.consoleMode));
    *out += labelLine("Console Logging Severity Filter", severityName(m.consoleSeverity));
    *out += labelLine("Buffered Logging", enabledWord(b.mode));
    *out += labelLine("Buffered Logging Severity Filter", severityName(b.severity));
    *out += labelLine("Buffered Logging Threshold", std::to_string(b.threshold));
    *out += labelLine("Buffered Log Threshold", std::to_string(b.threshold));
    *out += labelLine("Buffered Log Count", std::to_string(b.slots.size()));
    *out += labelLine("Syslog Logging", enabledWord(m.syslogMode));
    *out += labelLine("Logging Protocol", protocolText(m.protocol));
    *out += labelLine("Logging protocol", protocolText(m.protocol));
    *out += labelLine("Source Interface", src);
    *out += "\n";
    *out += labelLine("Messages Received", std::to_string(m.received));
    *out += labelLine("Messages Relayed", std::to_string(m.relayed));
    *out += labelLine("Messages Dropped", std::to_string(m.dropped));
    return true;
}

// The buffered log's settings and its entries, oldest first.
bool showLoggingBuffered(const SwitchState& st, const Args&, std::string* out)
{
    const BufferedLog& b = st.logging.buffered;
    *out += "\n";
    *out += labelLine("Buffered Logging", enabledWord(b.mode));
    *out += labelLine("Buffered Logging Wrapping Behavior", onOff(b.wrap));
    *out += labelLine("Buffered Log Count", std::to_string(b.slots.size()));
    *out += "\n";
    for (const std::string& e : bufferedEntries(b))
        *out += e + "\n";
    return true;
}

bool showLoggingHosts(const SwitchState& st, const Args&, std::string* out)
{
    const LoggingModel& m = st.logging;
    *out += "\n";
    *out += labelLine("Syslog Logging", enabledWord(m.syslogMode));
    *out += "\n";
    *out += "Index IP Address/Hostname         Severity    Port    Status     Mode\n";
    *out += "----- --------------------------- ----------- ------- ---------- ----\n";
    uint32_t n = 0;
    for (const LogHost& h : m.hosts)
        *out += format("%-5u %-27s %-11s %-7u %-10s %s\n", ++n, h.address.c_str(), severityName(h.severity), h.port,
                       "Active", "udp");
    return true;
}

bool showLoggingTraplogs(const SwitchState& st, const Args&, std::string* out)
{
    const LoggingModel& m = st.logging;
    *out += "\n";
    *out += labelLine("Number of Traps Since Last Reset", std::to_string(m.trapsSinceReset));
    *out += labelLine("Trap Log Capacity", std::to_string(TRAP_LOG_MAX_ENTRIES));
    *out += labelLine("Number of Traps Since Log Last Viewed", std::to_string(m.trapsSinceViewed));
    *out += "\nLog   System Up Time           Trap\n";
    *out += "----- ------------------------ -------------------------------------\n";
    uint32_t n = 0;
    for (const TrapRecord& t : m.traps)
        *out += format("%-5u %-24s %s\n", n++, t.time.c_str(), t.text.c_str());
    return true;
}

template <uint32_t BufferedLog::*F, uint32_t V>
Outcome bufferedFlag(Session& s, const Args&)
{
    assign(s, s.st.logging.buffered.*F, V);
    return accepted();
}

template <uint32_t Max>
bool inRange(const Args& a, uint32_t* v)
{
    *v = a.number(0);
    return *v <= Max;
}

Outcome bufferedSeverity(Session& s, const Args& a)
{
    uint32_t v;
    if (!inRange<kLogSeverityMax>(a, &v))
        return refuseParam(0);
    assign(s, s.st.logging.buffered.severity, v);
    return accepted();
}

Outcome bufferedThreshold(Session& s, const Args& a)
{
    uint32_t v;
    if (!inRange<100>(a, &v))
        return refuseParam(0);
    assign(s, s.st.logging.buffered.threshold, v);
    return accepted();
}

Outcome trapsSet(Session& s, const Args& a)
{
    uint32_t v;
    if (!inRange<kLogSeverityMax>(a, &v))
        return refuseParam(0);
    assign(s, s.st.logging.trapSeverity, v);
    return accepted();
}

Outcome protocolSet(Session& s, const Args& a)
{
    uint32_t v;
    if (!inRange<1>(a, &v))
        return refuseParam(0);
    assign(s, s.st.logging.protocol, v);
    return accepted();
}

// "logging syslog source-interface <port>": a physical port of the switch,
// kept by its full name.
Outcome sourcePort(Session& s, const Args& a)
{
    std::string t = a.param(0);
    for (const auto& kv : s.st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfPhysical && (i.name == t || format("%u/%u", i.slot, i.port) == t)) {
            assign(s, s.st.logging.sourceInterface, i.name);
            return accepted();
        }
    }
    return refuseParam(0);
}

Outcome sourceVlan(Session& s, const Args& a)
{
    if (!s.st.vlans.count(a.number(0)))
        return refuseParam(0);
    assign(s, s.st.logging.sourceInterface, format("vlan %u", a.number(0)));
    return accepted();
}

// Loopback interfaces 0-7.
Outcome sourceLoopback(Session& s, const Args& a)
{
    if (a.number(0) > 7)
        return refuseParam(0);
    assign(s, s.st.logging.sourceInterface, format("loopback %u", a.number(0)));
    return accepted();
}

Outcome sourceClear(Session& s, const Args&)
{
    assign(s, s.st.logging.sourceInterface, std::string());
    return accepted();
}

const ShowRegistrar kLoggingShowRows[] = {
    {"show logging", showLogging},
    {"show logging buffered", showLoggingBuffered},
    {"show logging hosts", showLoggingHosts},
    {"show logging traplogs", showLoggingTraplogs},
};

const CommandRegistrar kLoggingRows[] = {
    {kModeConfig, "logging buffered", bufferedFlag<&BufferedLog::mode, 1>},
    {kModeConfig, "no logging buffered", bufferedFlag<&BufferedLog::mode, 0>},
    {kModeConfig, "logging buffered wrap", bufferedFlag<&BufferedLog::wrap, 1>},
    {kModeConfig, "no logging buffered wrap", bufferedFlag<&BufferedLog::wrap, 0>},
    {kModeConfig, "logging buffered <uint>", bufferedSeverity},
    {kModeConfig, "logging buffered threshold <uint>", bufferedThreshold},
    {kModeConfig, "logging traps <uint>", trapsSet},
    {kModeConfig, "logging protocol <uint>", protocolSet},
    {kModeConfig, "logging syslog source-interface <port>", sourcePort},
    {kModeConfig, "logging syslog source-interface vlan <vlan>", sourceVlan},
    {kModeConfig, "logging syslog source-interface loopback <uint>", sourceLoopback},
    {kModeConfig, "no logging syslog source-interface", sourceClear},
};

}  // namespace
}  // namespace cli
}  // namespace sim
