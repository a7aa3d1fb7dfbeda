// Show commands of the simulated CLI, one renderer per command, each reading
// the switch model.
#include "sim/cli_show.h"

#include <cstdarg>
#include <cstdio>

#include "sim/cli_engine.h"

namespace sim {
namespace cli {

std::string labelLine(const std::string& label, const std::string& value)
{
    std::string line = label;
    if (line.size() + 1 < kLabelValueColumn)
        line.append(kLabelValueColumn - 1 - line.size(), '.');
    else
        line += '.';
    return line + " " + value + "\n";
}

std::string dashes(size_t n)
{
    return std::string(n, '-');
}

std::string format(const char* fmt, ...)
{
    char buf[512];
    va_list ap;
    va_start(ap, fmt);
    int n = vsnprintf(buf, sizeof buf, fmt, ap);
    va_end(ap);
    if (n < 0)
        return std::string();
    if (static_cast<size_t>(n) < sizeof buf)
        return std::string(buf, static_cast<size_t>(n));
    std::string out(static_cast<size_t>(n) + 1, '\0');
    va_start(ap, fmt);
    vsnprintf(&out[0], out.size(), fmt, ap);
    va_end(ap);
    out.resize(static_cast<size_t>(n));
    return out;
}

const char* enableText(uint32_t v) { return v ? "Enable" : "Disable"; }
const char* enabledText(uint32_t v) { return v ? "Enabled" : "Disabled"; }

uint32_t dotted(const std::string& s)
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (sscanf(s.c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) != 4)
        return 0;
    return a << 24 | b << 16 | c << 8 | d;
}

std::string dottedText(uint32_t v)
{
    return format("%u.%u.%u.%u", v >> 24, v >> 16 & 255, v >> 8 & 255, v & 255);
}

std::string intfName(const SwitchState& st, uint32_t intIfNum)
{
    auto it = st.interfaces.find(intIfNum);
    return it == st.interfaces.end() ? std::string() : it->second.name;
}

bool poeCapable(const Interface& i)
{
    return i.type == kIfPhysical && i.maxSpeedMbps <= 1000;
}

bool ptpSupported(const SwitchState& st)
{
    if (st.units.size() != 1)
        return false;
    for (const char* m : {"KX810-A", "KX810-B", "KX810-C"})
        if (st.units.front().model == m)
            return false;
    return true;
}

namespace {

const char* enabled(uint32_t v) { return v ? "Enabled" : "Disabled"; }

std::string speedText(uint32_t mbps, uint32_t full)
{
    return format("%u %s", mbps, full ? "Full" : "Half");
}

// Fan duty per control mode: off leaves the fans at full speed.
uint32_t fanDuty(uint32_t mode)
{
    switch (mode) {
    case 1:
        return 100;
    case 2:
        return 40;
    default:
        return 80;
    }
}

const char* fanModeText(uint32_t mode)
{
    switch (mode) {
    case 1:
        return "Off";
    case 2:
        return "Quiet";
    default:
        return "Cool";
    }
}

// show bootvar: a header of 14 lines, then one line per unit.
bool showBootvar(const SwitchState& st, const Args&, std::string* out)
{
    const SystemModel& m = st.sysModel;
    auto descr = [&m](const char* label) {
        auto it = m.images.find(label);
        return it == m.images.end() ? std::string() : it->second.descr;
    };
    // A deleted image has no version: its column says so in one word.
    auto version = [](const std::string& v) { return v.empty() ? std::string("none") : v; };
    *out += "\n"
            "Image Descriptions\n"
            "\n"
            " image1 : " + descr("image1") + "\n"
            " image2 : " + descr("image2") + "\n"
            "\n"
            "\n"
            " Images currently available on Flash\n"
            "\n" +
            dashes(68) + "\n" +
            " unit      image1      image2     current-active        next-active\n" + dashes(68) + "\n" +
            "\n"
            "\n";
    for (const Unit& u : st.units)
        *out += format("%5u %11s %11s %18s %18s\n", u.number, version(u.image1).c_str(), version(u.image2).c_str(),
                       u.currentImage.c_str(), u.nextImage.c_str());
    return true;
}

// show ip management: label lines of the network port.
bool showIpManagement(const SwitchState& st, const Args&, std::string* out)
{
    const SystemConfig& s = st.system;
    *out += labelLine("IPv4 Interface Status", "Up");
    *out += labelLine("IPv4 Management Interface", format("vlan %u", s.mgmtVlan));
    *out += labelLine("IP Address", s.mgmtAddress);
    *out += labelLine("Subnet Mask", s.mgmtMask);
    *out += labelLine("Default Gateway", s.defaultGateway);
    *out += labelLine("Method", s.mgmtMethod);
    *out += labelLine("Burned In MAC Address", "00:1E:C9:00:00:01");
    return true;
}

// show ptp clock e2e-transparent: one line per port and LAG.
bool showPtpTransparent(const SwitchState& st, const Args&, std::string* out)
{
    *out += labelLine("Transparent Clock Type", "End-to-End");
    *out += "\nInterface  Admin Mode\n" + dashes(9) + "  " + dashes(10) + "\n";
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfPhysical || i.type == kIfLag)
            *out += format("%-9s  %s\n", i.name.c_str(), enabled(i.ptpTransparent));
    }
    return true;
}

// show environment: fan control, then the temperature and fan tables.
bool showEnvironment(const SwitchState& st, const Args&, std::string* out)
{
    uint32_t duty = fanDuty(st.system.fanControlMode);
    static const struct {
        const char* name;
        uint32_t base;
    } kSensors[] = {{"MAC", 38}, {"CPU", 44}};
    // The sensors run warmer the slower the fans turn.
    auto temp = [duty](uint32_t base) { return base + (100 - duty) / 10; };
    *out += labelLine("Temp (C)", std::to_string(temp(kSensors[0].base)));
    *out += labelLine("Fan Control Mode", fanModeText(st.system.fanControlMode));
    *out += labelLine("Fan Quiet Mode", st.system.fanControlMode == 2 ? "Enable" : "Disable");
    *out += "Temperature traps range: 0 to 85 degrees (Celsius)\n";
    *out += "\nTemperature Sensors:\n";
    *out += "Unit     Sensor  Description       Temp (C)    State           Max_Temp (C)\n";
    *out += dashes(5) + "    " + dashes(6) + "  " + dashes(16) + "  " + dashes(10) + "  " + dashes(14) + "  " +
            dashes(14) + "\n";
    for (const Unit& u : st.units) {
        uint32_t sensor = 0;
        for (const auto& s : kSensors) {
            uint32_t t = temp(s.base);
            *out += format("%-8u %-7u %-16s  %-10u  %-14s  %u\n", u.number, ++sensor, s.name, t, "Normal", t + 3);
        }
    }
    *out += "\nFans:\n";
    *out += "Unit  Fan  Description           Type      Speed (RPM)  Duty level  State\n";
    *out += dashes(4) + "  " + dashes(3) + "  " + dashes(20) + "  " + dashes(8) + "  " + dashes(11) + "  " +
            dashes(10) + "  " + dashes(12) + "\n";
    for (const Unit& u : st.units)
        for (uint32_t f = 1; f <= 2; ++f)
            *out += format("%-4u  %-3u  %-20s  %-8s  %-11u  %-10s  %s\n", u.number, f, format("Fan-%u", f).c_str(),
                           "Fixed", duty * 150, format("%u%%", duty).c_str(), "Operational");
    return true;
}

// show port all: speed, duplex, link and flow control of every port and LAG.
bool showPortAll(const SwitchState& st, const Args&, std::string* out)
{
    *out += "                 Admin    Physical     Physical     Link    Flow\n"
            "Intf      Type   Mode     Mode         Status       Status  Control\n";
    *out += dashes(9) + " " + dashes(6) + " " + dashes(8) + " " + dashes(12) + " " + dashes(12) + " " + dashes(7) +
            " " + dashes(8) + "\n";
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfPhysical) {
            std::string mode = i.autoNeg ? "Auto" : speedText(i.speedMbps, i.fullDuplex);
            std::string status = i.linkUp ? speedText(i.speedMbps, i.fullDuplex) : "";
            *out += format("%-9s %-6s %-8s %-12s %-12s %-7s %s\n", i.name.c_str(), "", i.adminUp ? "Enable" : "Disable",
                           mode.c_str(), status.c_str(), i.linkUp ? "Up" : "Down",
                           i.flowControl ? "Active" : "Inactive");
        } else if (i.type == kIfLag) {
            *out += format("%-9s %-6s %-8s %-12s %-12s %s\n", i.name.c_str(), "LAG", i.adminUp ? "Enable" : "Disable",
                           "", "", i.linkUp ? "Up" : "Down");
        }
    }
    return true;
}

// show vlan: every VLAN with its name and type.
bool showVlan(const SwitchState& st, const Args&, std::string* out)
{
    *out += "VLAN ID VLAN Name                        VLAN Type\n";
    *out += dashes(7) + " " + dashes(32) + " " + dashes(9) + "\n";
    for (const auto& kv : st.vlans) {
        const Vlan& v = kv.second;
        const char* type = v.id == 1 ? "Default" : v.isStatic ? "Static" : "Dynamic";
        *out += format("%-7u %-32s %s\n", v.id, v.name.c_str(), type);
    }
    return true;
}

// show poe port configuration all: fixed-width columns, the timer schedule last.
bool showPoePortConfiguration(const SwitchState& st, const Args&, std::string* out)
{
    *out += "                              Max    Power          Detection     Power Up              Timer\n"
            "Intf   Admin   Priority Power  Limit Type     Type          Mode                  Schedule\n";
    *out += dashes(6) + " " + dashes(7) + " " + dashes(8) + " " + dashes(6) + " " + dashes(14) + " " + dashes(13) +
            " " + dashes(21) + " " + dashes(8) + "\n";
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        if (!poeCapable(i))
            continue;
        *out += format("%-6s %-7s %-8s %-6s %-14s %-13s %-21s %s\n", i.name.c_str(), "Enable", "Low", "30.0",
                       "Class Based", "IEEE 802.3at", "Auto", i.poeSchedule.empty() ? "None" : i.poeSchedule.c_str());
    }
    return true;
}

// show port-channel brief: automatic LAG creation and the LAGs.
bool showPortChannelBrief(const SwitchState& st, const Args&, std::string* out)
{
    *out += labelLine("Auto-LAG Mode", enabled(st.system.lagAutoMode));
    *out += "\nLogical\nInterface  Port-Channel Name  Link  Type\n";
    *out += dashes(9) + "  " + dashes(17) + "  " + dashes(4) + "  " + dashes(7) + "\n";
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        if (i.type == kIfLag)
            *out += format("%-9s  %-17s  %-4s  %s\n", i.name.c_str(), format("ch%u", i.port).c_str(),
                           i.linkUp ? "Up" : "Down", "Dynamic");
    }
    return true;
}

const ShowRegistrar kShowRows[] = {
    {"show bootvar", showBootvar},
    {"show ip management", showIpManagement},
    {"show ptp clock e2e-transparent", showPtpTransparent},
    {"show environment", showEnvironment},
    {"show port all", showPortAll},
    {"show vlan", showVlan},
    {"show poe port configuration all", showPoePortConfiguration},
    {"show port-channel brief", showPortChannelBrief},
};

}  // namespace
}  // namespace cli
}  // namespace sim
