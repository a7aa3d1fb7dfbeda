// Control API of logging: console, CLI command and syslog modes and
// severities, the syslog port, syslog hosts by address text, messages
// logged, the buffered log's entries and the trap log. A mode other than 0
// or 1, a severity above 7, a port outside 1-65535 and a host address the
// switch cannot send to answer -22; an unknown host -29; a host added twice
// -24; a full host table -28.
#include "sim/api_util.h"
#include "sim/model_logging.h"
#include "sim/state.h"

namespace sim {
namespace {

using namespace api;

template <uint32_t LoggingModel::*F>
int32_t valueGet(Call& c)
{
    c.setU32(0, c.st.logging.*F);
    return 0;
}

template <uint32_t LoggingModel::*F, uint32_t Lo, uint32_t Hi>
int32_t valueSet(Call& c)
{
    uint32_t v = c.u32(0);
    if (v < Lo || v > Hi)
        return kInvalid;
    c.st.logging.*F = v;
    return changedIfOk(c, 0);
}

int32_t hostAdd(Call& c)
{
    LoggingModel& m = c.st.logging;
    std::string a = c.text(0);
    if (!logHostValid(a))
        return kInvalid;
    if (logHost(m, a))
        return kExists;
    if (m.hosts.size() >= kLogMaxHosts)
        return kOpenUnsupported;
    LogHost h;
    h.address = a;
    m.hosts.push_back(h);
    return changedIfOk(c, 0);
}

int32_t hostRemove(Call& c)
{
    LoggingModel& m = c.st.logging;
    std::string a = c.text(0);
    for (auto it = m.hosts.begin(); it != m.hosts.end(); ++it)
        if (it->address == a) {
            m.hosts.erase(it);
            return changedIfOk(c, 0);
        }
    return kNotFound;
}

template <uint32_t LogHost::*F>
int32_t hostGet(Call& c)
{
    LogHost* h = logHost(c.st.logging, c.text(0));
    if (!h)
        return kNotFound;
    c.setU32(1, h->*F);
    return 0;
}

template <uint32_t LogHost::*F, uint32_t Lo, uint32_t Hi>
int32_t hostSet(Call& c)
{
    LogHost* h = logHost(c.st.logging, c.text(0));
    if (!h)
        return kNotFound;
    uint32_t v = c.u32(1);
    if (v < Lo || v > Hi)
        return kInvalid;
    h->*F = v;
    return changedIfOk(c, 0);
}

// The host after the one given, in the order they were added ("": the first).
int32_t hostNext(Call& c)
{
    const std::vector<LogHost>& hosts = c.st.logging.hosts;
    std::string cur = c.text(0);
    size_t i = 0;
    if (!cur.empty()) {
        while (i < hosts.size() && hosts[i].address != cur)
            ++i;
        if (i == hosts.size())
            return kNotFound;
        ++i;
    }
    if (i >= hosts.size())
        return kNotFound;
    c.setText(1, hosts[i].address);
    return 0;
}

int32_t sysLogWrite(Call& c)
{
    std::string text = c.text(0);
    uint32_t severity = c.u32(1);
    if (severity > kLogSeverityMax || text.size() > kLogMessageMax)
        return kInvalid;
    for (unsigned char ch : text)
        if (ch < 0x20 || ch == 0x7f)
            return kInvalid;  // one message is one line of the log
    logMessage(c.st.logging, severity, text);
    return changedIfOk(c, 0);
}

int32_t bufferedEntryNext(Call& c)
{
    const BufferedLog& b = c.st.logging.buffered;
    uint32_t next;
    if (!bufferedNext(b, c.u32(0), &next))
        return kNotFound;
    c.setU32(0, next);
    c.setText(1, bufferedEntry(b, next));
    return 0;
}

int32_t bufferedLogClear(Call& c)
{
    bufferedClear(c.st.logging.buffered);
    return changedIfOk(c, 0);
}

// The whole trap log; reading it counts as viewing it.
int32_t trapLogGet(Call& c)
{
    LoggingModel& m = c.st.logging;
    TrapLog t;
    memset(static_cast<void*>(&t), 0, sizeof t);
    size_t n = std::min<size_t>(m.traps.size(), TRAP_LOG_MAX_ENTRIES);
    size_t first = m.traps.size() - n;
    t.capacity = TRAP_LOG_MAX_ENTRIES;
    t.trapsSinceReset = m.trapsSinceReset;
    t.count = static_cast<uint32_t>(n);
    t.index = n ? m.trapsSinceReset : 0;
    for (size_t i = 0; i < n; ++i) {
        const TrapRecord& r = m.traps[first + i];
        strncpy(t.entries[i].time, r.time.c_str(), sizeof t.entries[i].time - 1);
        strncpy(t.entries[i].text, r.text.c_str(), sizeof t.entries[i].text - 1);
    }
    recOut(c, 0, t);
    if (m.trapsSinceViewed != 0) {
        m.trapsSinceViewed = 0;
        c.changed = true;
    }
    return 0;
}

int32_t trapLogClearOp(Call& c)
{
    trapLogClear(c.st.logging);
    return changedIfOk(c, 0);
}

const OpRegistrar kLoggingOps[] = {
    SIM_OP(rpcclt_openapiCliCmdLoggingModeGet, valueGet<&LoggingModel::cliCommandMode>),
    SIM_OP(rpcclt_openapiCliCmdLoggingModeSet, valueSet<&LoggingModel::cliCommandMode, 0, 1>),
    SIM_OP(rpcclt_openapiConsoleLoggingModeGet, valueGet<&LoggingModel::consoleMode>),
    SIM_OP(rpcclt_openapiConsoleLoggingModeSet, valueSet<&LoggingModel::consoleMode, 0, 1>),
    SIM_OP(rpcclt_openapiConsoleLoggingSeverityGet, valueGet<&LoggingModel::consoleSeverity>),
    SIM_OP(rpcclt_openapiConsoleLoggingSeveritySet, valueSet<&LoggingModel::consoleSeverity, 0, kLogSeverityMax>),
    SIM_OP(rpcclt_openapiSysLogModeGet, valueGet<&LoggingModel::syslogMode>),
    SIM_OP(rpcclt_openapiSysLogModeSet, valueSet<&LoggingModel::syslogMode, 0, 1>),
    SIM_OP(rpcclt_openapiSysLogPortGet, valueGet<&LoggingModel::syslogPort>),
    SIM_OP(rpcclt_openapiSysLogPortSet, valueSet<&LoggingModel::syslogPort, 1, 65535>),
    SIM_OP(rpcclt_openapiLoggingHostAdd, hostAdd),
    SIM_OP(rpcclt_openapiLoggingHostRemove, hostRemove),
    SIM_OP(rpcclt_openapiLoggingHostPortGet, hostGet<&LogHost::port>),
    SIM_OP(rpcclt_openapiLoggingHostPortSet, hostSet<&LogHost::port, 1, 65535>),
    SIM_OP(rpcclt_openapiLoggingHostSeverityGet, hostGet<&LogHost::severity>),
    SIM_OP(rpcclt_openapiLoggingHostSeveritySet, hostSet<&LogHost::severity, 0, kLogSeverityMax>),
    SIM_OP(rpcclt_openapiLoggingHostIpAddrNextGet, hostNext),
    SIM_OP(rpcclt_openapiMaxLoggingHostsSupportedGet, constantGet<kLogMaxHosts>),
    SIM_OP(rpcclt_openapiLoggingHostMaxAddrLenGet, constantGet<kLogHostMaxAddrLen>),
    SIM_OP(rpcclt_openapiSysLogWrite, sysLogWrite),
    SIM_OP(rpcclt_openapiBufferedLogEntryNextGet, bufferedEntryNext),
    SIM_OP(rpcclt_openapiBufferedLogClear, bufferedLogClear),
    SIM_OP(rpcclt_openapiTrapLogGet, trapLogGet),
    SIM_OP(rpcclt_openapiTrapLogClear, trapLogClearOp),
};

}  // namespace
}  // namespace sim
