// The rules of the switch's own settings and files.
#include "sim/model_system.h"

#include <cctype>
#include <cstdio>
#include <ctime>

#include "sim/addr.h"
#include "sim/cli_engine.h"
#include "sim/cli_show.h"
#include "sim/state.h"

namespace sim {

namespace {

const char kScrambleKey[] = "oxel-switch-pw";
const char kHeaderMagic[] = "OXIMG1:";

bool printable(const std::string& v)
{
    for (unsigned char ch : v)
        if (ch < 0x20 || ch > 0x7e)
            return false;
    return true;
}

int hexDigit(char ch)
{
    if (ch >= '0' && ch <= '9')
        return ch - '0';
    if (ch >= 'a' && ch <= 'f')
        return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'F')
        return ch - 'A' + 10;
    return -1;
}

// Four dotted numbers of at most three digits each.
bool dottedVersion(const std::string& v)
{
    int parts = 0, digits = 0;
    for (char ch : v) {
        if (ch >= '0' && ch <= '9') {
            if (++digits > 3)
                return false;
        } else if (ch == '.' && digits > 0) {
            ++parts;
            digits = 0;
        } else {
            return false;
        }
    }
    return digits > 0 && parts == 3;
}

Unit* findUnit(SwitchState& st, uint32_t number)
{
    for (Unit& u : st.units)
        if (u.number == number)
            return &u;
    return nullptr;
}

int64_t hostNow() { return static_cast<int64_t>(time(nullptr)); }

}  // namespace

const char* transferResultText(uint32_t result)
{
    switch (result) {
    case kXfrNone:
        return "No file transfer has been started.";
    case kXfrDone:
        return "File transfer operation completed successfully.";
    case kXfrNoFile:
        return "File transfer failed: file not found on the server.";
    case kXfrBadHeader:
        return "File transfer failed: invalid image header.";
    case kXfrActiveImage:
        return "File transfer failed: the active image cannot be overwritten.";
    }
    return "File transfer failed.";
}

std::string sysDescr(const SwitchState& st)
{
    std::string model = st.units.empty() ? std::string("switch") : st.units.front().model;
    return model + " 24x1G 4x10G L3 Managed Switch, " + st.osVersion;
}

bool settableText(const std::string& v, size_t max, bool emptyOk)
{
    return v.size() <= max && (emptyOk || !v.empty()) && printable(v);
}

// --- Images --------------------------------------------------------------------

std::string imageLabel(const SystemModel& m, const std::string& name)
{
    if (name == "active")
        return m.activeLabel;
    if (name == "backup")
        return backupLabel(m);
    return m.images.count(name) ? name : std::string();
}

std::string backupLabel(const SystemModel& m)
{
    return m.activeLabel == "image1" ? "image2" : "image1";
}

void syncBootRecords(SwitchState& st)
{
    const SystemModel& m = st.sysModel;
    auto version = [&](const std::string& label) {
        auto it = m.images.find(label);
        return it == m.images.end() ? std::string() : it->second.version;
    };
    for (Unit& u : st.units) {
        u.image1 = version("image1");
        u.image2 = version("image2");
        u.currentImage = m.activeLabel;
        u.nextImage = m.nextLabel;
    }
}

ImageVerdict imageActivate(SwitchState& st, uint32_t unit, const std::string& name)
{
    std::string label = imageLabel(st.sysModel, name);
    if (label.empty())
        return ImageVerdict::kBadLabel;
    if (!findUnit(st, unit))
        return ImageVerdict::kBadUnit;
    if (st.sysModel.images[label].version.empty())
        return ImageVerdict::kAbsent;
    st.sysModel.nextLabel = label;
    syncBootRecords(st);
    return ImageVerdict::kDone;
}

ImageVerdict imageDelete(SwitchState& st, uint32_t unit, const std::string& name)
{
    SystemModel& m = st.sysModel;
    std::string label = imageLabel(m, name);
    if (label.empty())
        return ImageVerdict::kBadLabel;
    if (!findUnit(st, unit))
        return ImageVerdict::kBadUnit;
    if (label == m.activeLabel)
        return ImageVerdict::kRunning;
    if (m.images[label].version.empty())
        return ImageVerdict::kAbsent;
    m.images[label] = ImageSlot();
    if (m.nextLabel == label)
        m.nextLabel = m.activeLabel;
    syncBootRecords(st);
    return ImageVerdict::kDone;
}

ImageVerdict imageInstall(SwitchState& st, const std::string& name, const std::string& fileText)
{
    SystemModel& m = st.sysModel;
    std::string label = imageLabel(m, name);
    if (label.empty())
        return ImageVerdict::kBadLabel;
    if (label == m.activeLabel)
        return ImageVerdict::kRunning;
    std::string version;
    if (!imageHeaderVersion(st, fileText.substr(0, fileText.find('\n')), &version))
        return ImageVerdict::kBadHeader;
    m.images[label] = ImageSlot{version, "image " + version};
    syncBootRecords(st);
    return ImageVerdict::kDone;
}

bool imageHeaderVersion(const SwitchState& st, const std::string& header, std::string* version)
{
    std::string h = header.substr(0, header.find_first_of(std::string("\n\r\0", 3)));
    size_t magic = sizeof kHeaderMagic - 1;
    if (h.compare(0, magic, kHeaderMagic) != 0)
        return false;
    size_t colon = h.find(':', magic);
    if (colon == std::string::npos)
        return false;
    std::string v = h.substr(magic, colon - magic), model = h.substr(colon + 1);
    if (!dottedVersion(v) || st.units.empty() || model != st.units.front().model)
        return false;
    *version = v;
    return true;
}

// --- Password scrambling -------------------------------------------------------

std::string pwScramble(const std::string& clear)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    size_t keyLen = sizeof kScrambleKey - 1;
    for (size_t i = 0; i < clear.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(clear[i] ^ kScrambleKey[i % keyLen]);
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

bool pwUnscramble(const std::string& scrambled, std::string* clear)
{
    if (scrambled.empty() || scrambled.size() % 2)
        return false;
    size_t keyLen = sizeof kScrambleKey - 1;
    std::string out;
    for (size_t i = 0; i < scrambled.size(); i += 2) {
        int hi = hexDigit(scrambled[i]), lo = hexDigit(scrambled[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        out += static_cast<char>((hi << 4 | lo) ^ kScrambleKey[(i / 2) % keyLen]);
    }
    if (!printable(out))
        return false;
    *clear = out;
    return true;
}

// --- Clock and time zone -------------------------------------------------------

std::string clockText(const SystemModel& m)
{
    time_t t = static_cast<time_t>(hostNow() + m.clockOffset);
    struct tm tm;
    gmtime_r(&t, &tm);
    char buf[32];
    strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

bool parseClock(const std::string& text, int64_t* epoch)
{
    int y, mo, d, h, mi, s;
    char tail;
    if (text.size() != 19 || sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
        return false;
    if (text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return false;
    if (y < 1970 || y > 2037 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59 || h < 0 || mi < 0 ||
        s < 0)
        return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > kDays[mo - 1] + (mo == 2 && leap))
        return false;
    struct tm tm = {};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    *epoch = static_cast<int64_t>(timegm(&tm));
    return true;
}

bool validTimeZone(const std::string& zone)
{
    if (zone.empty() || zone.size() > 5)
        return false;
    for (char ch : zone)
        if (!((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z')))
            return false;
    return true;
}

bool parseTzOffset(const std::string& text, uint32_t* minutes, bool* west)
{
    unsigned h, m;
    char tail;
    bool neg = !text.empty() && text[0] == '-';
    const char* p = text.c_str() + (neg || (!text.empty() && text[0] == '+') ? 1 : 0);
    if (!isdigit(static_cast<unsigned char>(*p)) || sscanf(p, "%u:%u%c", &h, &m, &tail) != 2 || m > 59 ||
        h > (neg ? 12u : 14u) || (h == (neg ? 12u : 14u) && m != 0))
        return false;
    *minutes = h * 60 + m;
    *west = neg && *minutes != 0;
    return true;
}

std::string tzOffsetText(const SystemModel& m)
{
    return cli::format("UTC%c%u:%02u", m.tzOffsetWest ? '-' : '+', m.tzOffsetMinutes / 60, m.tzOffsetMinutes % 60);
}

// --- Files ---------------------------------------------------------------------

std::string switchFilePath(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos)
        return name;
    return std::string(kCliWorkDir) + name;
}

void saveStartupConfig(SwitchState& st) { st.sysModel.startupConfig = runningConfig(st); }

namespace {

const SdmTemplateInfo kSdmTemplateTable[kSdmTemplateCount] = {
    {"dual-ipv4-and-ipv6 default", true, 6144, 12288, 2560, 4096, 16, 1536, 512},
    {"dual-ipv4-and-ipv6 data-center", true, 8192, 16384, 4096, 6144, 32, 1024, 256},
    {"ipv4-routing default", false, 8192, 16384, 0, 0, 16, 2048, 0},
    {"ipv4-routing data-center", false, 12288, 24576, 0, 0, 48, 1024, 0},
    {"data-center-plus", true, 16384, 32768, 8192, 8192, 64, 1024, 256},
};

}  // namespace

const SdmTemplateInfo* sdmTemplateInfo(uint32_t id)
{
    return id < kSdmTemplateCount ? &kSdmTemplateTable[id] : nullptr;
}

bool sdmTemplateByName(const std::string& name, uint32_t* id)
{
    for (uint32_t i = 0; i < kSdmTemplateCount; ++i)
        if (name == kSdmTemplateTable[i].name) {
            *id = i;
            return true;
        }
    return false;
}

std::string runningConfig(const SwitchState& st)
{
    using cli::dottedText;
    using cli::format;
    const SystemModel& m = st.sysModel;
    std::string out = "!Current Configuration:\n!\n";
    out += "!System Description \"" + sysDescr(st) + "\"\n";
    out += "!System Software Version \"" + st.osVersion + "\"\n";
    if (!m.sysName.empty())
        out += "!System Name \"" + m.sysName + "\"\n";
    if (!m.sysLocation.empty())
        out += "!System Location \"" + m.sysLocation + "\"\n";
    if (!m.sysContact.empty())
        out += "!System Contact \"" + m.sysContact + "\"\n";
    out += "!Time Zone \"" + m.timeZone + "\"\n!\n";

    std::string vlans;
    for (const auto& kv : st.vlans)
        if (kv.first != 1 && kv.second.isStatic)
            vlans += format("vlan %u\n", kv.first);
    if (!vlans.empty())
        out += "vlan database\n" + vlans + "exit\n";

    out += "configure\n";
    if (m.sdmTemplate != kSdmDualDefault && sdmTemplateInfo(m.sdmTemplate))
        out += std::string("sdm prefer ") + sdmTemplateInfo(m.sdmTemplate)->name + "\n";
    const SystemConfig& sc = st.system;
    if (sc.mgmtMethod == "Manual")
        out += format("ip management vlan %u %s %s\n", sc.mgmtVlan, sc.mgmtAddress.c_str(), sc.mgmtMask.c_str());
    else if (sc.mgmtVlan != 1)
        out += format("ip management vlan %u dhcp\n", sc.mgmtVlan);
    if (sc.defaultGateway != "0.0.0.0" && !sc.defaultGateway.empty())
        out += "ip default-gateway " + sc.defaultGateway + "\n";
    if (sc.fanControlMode == 1 || sc.fanControlMode == 2)
        out += std::string("environment fan control mode ") + (sc.fanControlMode == 1 ? "off" : "quiet") + "\n";
    if (sc.lagAutoMode)
        out += "port-channel auto\n";
    if (m.timeZone != "UTC" || m.tzOffsetMinutes != 0)
        out += format("clock timezone %s%u:%02u zone %s\n", m.tzOffsetWest ? "-" : "", m.tzOffsetMinutes / 60,
                      m.tzOffsetMinutes % 60, m.timeZone.c_str());
    const ArpConfig def, &arp = st.routing.arpConfig;
    if (arp.cacheSize != def.cacheSize)
        out += format("arp cachesize %u\n", arp.cacheSize);
    if (arp.retries != def.retries)
        out += format("arp retries %u\n", arp.retries);
    if (arp.respTime != def.respTime)
        out += format("arp resptime %u\n", arp.respTime);
    if (arp.ageTime != def.ageTime)
        out += format("arp timeout %u\n", arp.ageTime);
    if (arp.dynamicRenew)
        out += "arp dynamicrenew\n";
    out += loggingRunningConfig(st);
    out += mvrRunningConfig(st);
    for (const Route& r : st.routing.routes) {
        if (r.rec.protoId != kProtoStatic || r.rec.family != kFamilyIpv4)
            continue;
        for (const NextHop& h : r.hops) {
            if (h.family != kFamilyIpv4)
                continue;
            out += "ip route " + dottedText(v4Of(r.rec.destPfx)) + " " + dottedText(maskOf(r.rec.pfxLen)) + " " +
                   dottedText(v4Of(h.addr));
            out += r.rec.pref != 1 ? format(" %u\n", r.rec.pref) : std::string("\n");
        }
    }
    for (const auto& kv : st.interfaces) {
        const Interface& i = kv.second;
        if (i.type != kIfPhysical)
            continue;
        std::string body;
        if (!i.autoNeg)
            body += format("speed %u %s\n", i.speedMbps, i.fullDuplex ? "full-duplex" : "half-duplex");
        if (i.flowControl)
            body += "flowcontrol symmetric\n";
        if (i.ptpTransparent)
            body += "ptp clock e2e-transparent\n";
        if (!i.poeSchedule.empty())
            body += "poe timer schedule " + i.poeSchedule + "\n";
        if (!body.empty())
            out += "interface " + i.name + "\n" + body + "exit\n";
    }
    out += "exit\n";
    return out;
}

std::string checkScript(const SwitchState& st, const std::string& script, size_t* refused)
{
    SwitchState scratch = st;
    bool changed = false;
    std::string answer = cli::runScript(scratch, script, &changed);
    size_t n = 0;
    for (size_t at = 0; at < answer.size();) {
        size_t nl = answer.find('\n', at);
        if (answer.compare(at, 2, "% ") == 0)
            ++n;
        at = nl == std::string::npos ? answer.size() : nl + 1;
    }
    *refused = n;
    return answer;
}

std::string supportText(const SwitchState& st)
{
    std::string out = "System Description: " + sysDescr(st) + "\n";
    if (!st.units.empty())
        out += "Serial Number: " + st.units.front().serial + "\n";
    out += "Clock: " + clockText(st.sysModel) + " " + st.sysModel.timeZone + "\n\n";
    std::string bootvar;
    if (cli::runShow(st, "show bootvar", &bootvar) == 0)
        out += bootvar + "\n";
    return out + runningConfig(st);
}

// --- State file ----------------------------------------------------------------

namespace {

using namespace schema;

// A signed number of seconds as decimal text.
struct Seconds {
    static cJSON* make(int64_t v) { return cJSON_CreateString(std::to_string(v).c_str()); }
    static void read(const StateNode& n, int64_t& v)
    {
        std::string t;
        if (!n.present() || !n.asText(&t))
            return;
        char* end = nullptr;
        long long x = strtoll(t.c_str(), &end, 10);
        if (t.empty() || *end)
            n.fault("a whole number of seconds expected");
        else
            v = x;
    }
};

const Table<ImageSlot> kImageSlotTable = {
    field<&ImageSlot::version>("version"),
    field<&ImageSlot::descr>("descr"),
};

const Table<AppInfo> kAppTable = {
    field<&AppInfo::status>("status"),
    field<&AppInfo::version>("version"),
};

const Table<TransferSettings> kTransferTable = {
    field<&TransferSettings::mode>("mode"),
    field<&TransferSettings::fileType>("fileType"),
    field<&TransferSettings::server, Wire<InetAddr>>("server"),
    field<&TransferSettings::remotePath>("remotePath"),
    field<&TransferSettings::remoteName>("remoteName"),
    field<&TransferSettings::localLabel>("localLabel"),
    field<&TransferSettings::user>("user"),
    field<&TransferSettings::password>("password"),
    field<&TransferSettings::dsvOption>("dsvOption"),
    field<&TransferSettings::result>("result"),
    field<&TransferSettings::bytesCompleted>("bytesCompleted"),
};

}  // namespace

const Table<SystemModel> kSystemModelTable = {
    field<&SystemModel::sysName>("sysName"),
    field<&SystemModel::sysLocation>("sysLocation"),
    field<&SystemModel::sysContact>("sysContact"),
    field<&SystemModel::images, NamedMap<Obj<ImageSlot, kImageSlotTable>>>("images"),
    field<&SystemModel::activeLabel>("activeLabel"),
    field<&SystemModel::nextLabel>("nextLabel"),
    field<&SystemModel::bootCode>("bootCode"),
    field<&SystemModel::apps, NamedMap<Obj<AppInfo, kAppTable>>>("apps"),
    field<&SystemModel::transfer, Obj<TransferSettings, kTransferTable>>("transfer"),
    field<&SystemModel::clockOffset, Seconds>("clockOffset"),
    field<&SystemModel::clockSource>("clockSource"),
    field<&SystemModel::timeZone>("timeZone"),
    field<&SystemModel::tzOffsetMinutes>("tzOffsetMinutes"),
    field<&SystemModel::tzOffsetWest>("tzOffsetWest"),
    field<&SystemModel::sdmTemplate>("sdmTemplate"),
    field<&SystemModel::startupConfig>("startupConfig"),
};

}  // namespace sim
