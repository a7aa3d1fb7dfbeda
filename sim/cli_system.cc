// "show running-config": the running configuration of the switch model, the
// same text the control API's configuration generators write. "show sdm
// prefer" and "sdm prefer <template>": the SDM template and the table sizes
// it gives the switch. The switch's version, up time, processes and memory,
// service port, clock and time zone, and the quiet mode of its fans.
#include <cstdio>

#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/model_mgmt.h"
#include "sim/model_system.h"
#include "sim/state.h"

namespace sim {
namespace cli {
namespace {

bool showRunningConfig(const SwitchState& st, const Args&, std::string* out)
{
    *out += runningConfig(st);
    return true;
}

// The template in use and its table sizes, each size on a line of its own
// label; an IPv4-only template has no NDP or IPv6 lines.
bool showSdmPrefer(const SwitchState& st, const Args&, std::string* out)
{
    const SdmTemplateInfo* t = sdmTemplateInfo(st.sysModel.sdmTemplate);
    if (!t)
        t = sdmTemplateInfo(kSdmDualDefault);
    auto line = [out](const char* label, uint32_t n) { *out += labelLine(label, std::to_string(n)); };
    *out += format("\n The current template is \"%s\".\n\n", t->name);
    line("ARP Entries", t->arpEntries);
    line("IPv4 Unicast Routes", t->ipv4Routes);
    if (t->ipv6) {
        line("NDP Entries", t->ndpEntries);
        line("IPv6 Unicast Routes", t->ipv6Routes);
    }
    line("ECMP Next Hops", t->ecmpNextHops);
    line("IPv4 Multicast Routes", t->ipv4McastRoutes);
    if (t->ipv6)
        line("IPv6 Multicast Routes", t->ipv6McastRoutes);
    return true;
}

// "sdm prefer <template>": the template of the next boot, which the
// simulated switch applies at once. The name is the table's spelling of the
// words typed; a name that is no template's is refused.
Outcome sdmPrefer(Session& s, const Args& a)
{
    std::string name;
    for (size_t i = 0; i < a.params.size(); ++i)
        name += (i ? " " : "") + a.param(i);
    uint32_t id;
    if (!sdmTemplateByName(name, &id))
        return refuseParam(0);
    assign(s, s.st.sysModel.sdmTemplate, id);
    return accepted();
}


std::string unitModel(const SwitchState& st)
{
    return st.units.empty() ? std::string("switch") : st.units.front().model;
}

// show version: the unit's model, serial number and versions.
bool showVersion(const SwitchState& st, const Args&, std::string* out)
{
    *out += "\n";
    *out += labelLine("Switch", "1");
    *out += "\n";
    *out += labelLine("System Description", sysDescr(st));
    *out += labelLine("Machine Type", "L3 Managed Switch");
    *out += labelLine("Machine Model", unitModel(st));
    *out += labelLine("Serial Number", st.units.empty() ? std::string() : st.units.front().serial);
    *out += labelLine("Software Version", st.osVersion);
    *out += labelLine("Boot Code Version", st.sysModel.bootCode);
    *out += labelLine("CPLD version", kCpldVersion);
    return true;
}

// The up time as the CLI writes it: "1 days 2 hrs 3 mins 4 secs".
std::string upTimeText(uint64_t secs)
{
    return format("%llu days %llu hrs %llu mins %llu secs", static_cast<unsigned long long>(secs / 86400),
                  static_cast<unsigned long long>(secs % 86400 / 3600),
                  static_cast<unsigned long long>(secs % 3600 / 60), static_cast<unsigned long long>(secs % 60));
}

// show sysinfo: the identity texts and the time since the switch started.
bool showSysinfo(const SwitchState& st, const Args&, std::string* out)
{
    const SystemModel& m = st.sysModel;
    *out += "\n";
    *out += labelLine("System Description", sysDescr(st));
    *out += labelLine("System Name", m.sysName);
    *out += labelLine("System Location", m.sysLocation);
    *out += labelLine("System Contact", m.sysContact);
    *out += labelLine("System Object ID", "1.3.6.1.4.1.4413");
    *out += labelLine("System Up Time", upTimeText(upTimeMsec() / 1000));
    *out += labelLine("Current SNTP Synchronized Time", "SNTP Client Mode Is Disabled");
    return true;
}

// Memory of the simulated switch: 1 GiB, of which the tables the switch
// holds take a share.
constexpr uint64_t kMemoryTotal = 1073741824;
uint64_t memoryAllocated(const SwitchState& st)
{
    return 402653184 + 4096 * (st.interfaces.size() + st.vlans.size()) + 65536 * st.units.size();
}

// show process cpu [all]: memory, then the tasks' share of the CPU.
bool showProcessCpu(const SwitchState& st, const Args&, std::string* out)
{
    uint64_t alloc = memoryAllocated(st);
    for (const Unit& u : st.units) {
        *out += format("Memory and Process CPU Utilization Info of Unit: %u\n\n", u.number);
        *out += "Memory Utilization Report\n\nstatus      bytes\n------ ----------\n";
        *out += format("free   %llu\n", static_cast<unsigned long long>(kMemoryTotal - alloc));
        *out += format("alloc  %llu\n\n", static_cast<unsigned long long>(alloc));
        *out += "CPU Utilization:\n\n"
                "  PID      Name                    5 Secs     60 Secs    300 Secs\n"
                "-----------------------------------------------------------------\n";
        static const struct {
            unsigned pid;
            const char* name;
            const char* load[3];
        } kTasks[] = {
            {1201, "osapiTimer", {"0.39%", "0.41%", "0.40%"}},
            {1240, "dtlTask", {"0.19%", "0.22%", "0.21%"}},
            {1322, "hapiRxTask", {"0.59%", "0.48%", "0.50%"}},
            {1415, "emWeb", {"0.00%", "0.03%", "0.02%"}},
            {1508, "ipMapForwardingTask", {"0.19%", "0.11%", "0.10%"}},
        };
        for (const auto& t : kTasks)
            *out += format(" %-8u %-22s %8s %11s %11s\n", t.pid, t.name, t.load[0], t.load[1], t.load[2]);
        *out += "-----------------------------------------------------------------\n";
        *out += " Total CPU Utilization           1.36%       1.25%       1.23%\n\n";
    }
    return true;
}

// show serviceport: the out-of-band management port.
bool showServiceport(const SwitchState&, const Args&, std::string* out)
{
    std::string mac = servicePortMac();
    const unsigned char* b = reinterpret_cast<const unsigned char*>(mac.data());
    *out += labelLine("Interface Status", "Up");
    *out += labelLine("IP Address", "0.0.0.0");
    *out += labelLine("Subnet Mask", "0.0.0.0");
    *out += labelLine("Default Gateway", "0.0.0.0");
    *out += labelLine("Configured IPv4 Protocol", "None");
    *out += labelLine("Burned In MAC Address",
                      format("%02X:%02X:%02X:%02X:%02X:%02X", b[0], b[1], b[2], b[3], b[4], b[5]));
    return true;
}

// show clock detail: the time, then the time zone and its offset.
bool showClockDetail(const SwitchState& st, const Args&, std::string* out)
{
    const SystemModel& m = st.sysModel;
    *out += "\n" + clockText(m) + " " + m.timeZone + "(" + tzOffsetText(m) + ")\n";
    *out += m.clockSource ? "Time source is user configured\n\n" : "No time source\n\n";
    *out += "Time Zone:\n";
    *out += labelLine("Time zone", m.timeZone);
    *out += labelLine("Offset", tzOffsetText(m));
    *out += "\nSummer-time is disabled\n";
    return true;
}

// "clock timezone <[-]H:M> zone <acronym>": the offset and the acronym.
Outcome clockTimezone(Session& s, const Args& a)
{
    uint32_t minutes;
    bool west;
    if (!parseTzOffset(a.param(0), &minutes, &west))
        return refuseParam(0);
    std::string zone = a.param(1);
    if (!validTimeZone(zone))
        return refuseParam(1);
    assign(s, s.st.sysModel.tzOffsetMinutes, minutes);
    assign(s, s.st.sysModel.tzOffsetWest, west);
    assign(s, s.st.sysModel.timeZone, zone);
    return accepted();
}

// "[no] fan quiet": the fans' quiet control mode, or back to cooling.
Outcome fanQuiet(Session& s, const Args&)
{
    assign(s, s.st.system.fanControlMode, 2u);
    return accepted();
}
Outcome noFanQuiet(Session& s, const Args&)
{
    if (s.st.system.fanControlMode == 2)
        assign(s, s.st.system.fanControlMode, 3u);
    return accepted();
}

const ShowRegistrar kSystemShowRows[] = {
    {"show running-config", showRunningConfig},
    {"show sdm prefer", showSdmPrefer},
    {"show version", showVersion},
    {"show sysinfo", showSysinfo},
    {"show process cpu", showProcessCpu},
    {"show process cpu all", showProcessCpu},
    {"show serviceport", showServiceport},
    {"show clock detail", showClockDetail},
};

const CommandRegistrar kSystemRows[] = {
    {kModeConfig, "sdm prefer {dual-ipv4-and-ipv6|ipv4-routing} {default|data-center}", sdmPrefer},
    {kModeConfig, "sdm prefer {data-center-plus}", sdmPrefer},
    {kModeConfig, "clock timezone <word> zone <word>", clockTimezone},
    {kModeConfig, "fan quiet", fanQuiet},
    {kModeConfig, "no fan quiet", noFanQuiet},
};

}  // namespace
}  // namespace cli
}  // namespace sim
