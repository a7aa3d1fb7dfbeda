// The switch's own settings and files: identity texts, the two boot images,
// applications, file transfer, clock and time zone, and the rules of the
// files the switch reads and writes (image headers, scrambled passwords,
// configuration scripts, the running configuration, the support file).
// The control API operations (api_system_*.cc) and the CLI's
// "show running-config" (cli_system.cc) use these rules.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "platform/openclt/routing_types.h"
#include "sim/state_schema.h"

namespace sim {

struct SwitchState;

/// A boot image slot ("image1", "image2"): the code version it holds (empty
/// when deleted) and its description.
struct ImageSlot {
    std::string version;
    std::string descr;
};

/// An application the switch runs: 0 stopped, 1 running, 2 started at boot.
struct AppInfo {
    uint32_t status = 1;
    std::string version;
};
constexpr uint32_t kAppStatusMax = 2;

/// File transfer settings and the outcome of the last download.
/// Modes 1 TFTP, 2 SFTP, 3 SCP, 4 HTTP, 5 HTTPS, 6 FTP; file types 1 code
/// image, 2 configuration, 3 backup configuration, 4 text configuration,
/// 5 script, 6 SSH key, 7 certificate, 8 CLI banner, 9 support file;
/// signature verification 0 none, 1 images, 2 configuration, 3 both.
struct TransferSettings {
    uint32_t mode = 1;
    uint32_t fileType = 1;
    InetAddr server{};
    std::string remotePath, remoteName;
    std::string localLabel = "image2";
    std::string user, password;
    uint32_t dsvOption = 0;
    uint32_t result = 0;  // TransferResult
    uint32_t bytesCompleted = 0;  // of the transfer under way, as its agent reports
};
constexpr uint32_t kTransferModeMax = 6;
constexpr uint32_t kTransferFileTypeMax = 9;
constexpr uint32_t kDsvOptionMax = 3;

enum TransferResult : uint32_t {
    kXfrNone = 0,         // no download yet
    kXfrDone = 1,         // completed
    kXfrNoFile = 2,       // the server holds no such file
    kXfrBadHeader = 3,    // the image header is not this switch's
    kXfrActiveImage = 4,  // the running image is never overwritten
};
/// The status text of a result ("File transfer operation completed successfully.").
const char* transferResultText(uint32_t result);

/// SDM templates by number; the dual IPv4 and IPv6 default is the default.
constexpr uint32_t kSdmDualDefault = 0;

/// One SDM template: its CLI name and the table sizes it gives the switch.
/// The IPv4-only templates carve no IPv6 tables (ipv6 false: their NDP and
/// IPv6 sizes are 0 and "show sdm prefer" leaves those lines out).
struct SdmTemplateInfo {
    const char* name;
    bool ipv6;
    uint32_t arpEntries, ipv4Routes, ndpEntries, ipv6Routes, ecmpNextHops, ipv4McastRoutes, ipv6McastRoutes;
};
/// The templates by number: 0 dual default, 1 dual data-center, 2 IPv4
/// default, 3 IPv4 data-center, 4 data-center-plus.
constexpr uint32_t kSdmTemplateCount = 5;
/// The template of a number, or nullptr.
const SdmTemplateInfo* sdmTemplateInfo(uint32_t id);
/// The number of a template by its CLI name; false for no template's name.
bool sdmTemplateByName(const std::string& name, uint32_t* id);

struct SystemModel {
    std::string sysName, sysLocation, sysContact;
    // "image1" holds the code version the switch runs (SwitchState::osVersion).
    std::map<std::string, ImageSlot> images = {{"image1", {"4.1.2.7", "default image"}},
                                               {"image2", {"4.1.1.3", "previous image"}}};
    std::string activeLabel = "image1";       // the running image
    std::string nextLabel = "image1";         // the image of the next boot
    std::string bootCode = "1.0.4.2";
    std::map<std::string, AppInfo> apps = {
        {"web", {1, "2.4.1"}}, {"ssh", {1, "8.2.0"}}, {"snmp", {1, "5.9.1"}}, {"sntp", {0, "4.2.8"}}};
    TransferSettings transfer;
    int64_t clockOffset = 0;  // seconds the set clock is ahead of the host's
    uint32_t clockSource = 0; // 0 none (the host's clock), 1 set by hand
    std::string timeZone = "UTC";
    // The time zone's offset from UTC in minutes ("clock timezone H:M zone X").
    uint32_t tzOffsetMinutes = 0;
    bool tzOffsetWest = false;
    // The SDM template in use. "sdm prefer" chooses the template of the next
    // boot; the simulated switch applies it at once, so the template in use
    // and the next boot's are always the same.
    uint32_t sdmTemplate = kSdmDualDefault;
    // The configuration the switch starts with: the running configuration as
    // it was last saved (defaultSwitch saves the fresh switch's).
    std::string startupConfig;
};

// --- Identity ----------------------------------------------------------------

/// The MIB-II system description: model, kind of switch and code version.
std::string sysDescr(const SwitchState& st);
/// A settable text: at most `max` printable characters.
bool settableText(const std::string& v, size_t max, bool emptyOk = true);

// --- Images --------------------------------------------------------------------

/// "image1" or "image2", also named by role: "active" or "backup"; empty for
/// anything else.
std::string imageLabel(const SystemModel& m, const std::string& name);
std::string backupLabel(const SystemModel& m);

enum class ImageVerdict { kDone, kBadLabel, kBadUnit, kAbsent, kRunning, kNoFile, kBadHeader };

/// Chooses the image of the next boot of every unit (units share their images).
ImageVerdict imageActivate(SwitchState& st, uint32_t unit, const std::string& label);
/// Deletes an image; the running one never. Deleting the next boot's image
/// makes the running image the next boot's again.
ImageVerdict imageDelete(SwitchState& st, uint32_t unit, const std::string& label);
/// Writes an image file into a slot (not the running one's): the file must
/// start with a header of this switch (imageHeaderVersion).
ImageVerdict imageInstall(SwitchState& st, const std::string& label, const std::string& fileText);
/// Copies the images' versions into the units' boot records ("show bootvar").
void syncBootRecords(SwitchState& st);

/// An image header is the text "OXIMG1:<version>:<model>" up to the first NUL
/// or line end, where the version is four dotted numbers and the model is the
/// switch's. Sets *version; false for anything else.
bool imageHeaderVersion(const SwitchState& st, const std::string& header, std::string* version);
constexpr uint32_t kImageHeaderSize = 64;

// --- Password scrambling -------------------------------------------------------

/// A password scrambles to the lower-case hex of its bytes, each XORed with
/// the key byte at its position (the key repeats). Only printable characters
/// scramble; unscramble answers false for a text scramble did not produce
/// (empty, odd length, not hex, or decoding to anything not printable).
std::string pwScramble(const std::string& clear);
bool pwUnscramble(const std::string& scrambled, std::string* clear);

// --- Clock and time zone -------------------------------------------------------

/// The clock as "YYYY-MM-DD HH:MM:SS" (UTC), and its parse; false for a text of
/// another form or a date that does not exist.
std::string clockText(const SystemModel& m);
bool parseClock(const std::string& text, int64_t* epoch);
/// A time zone acronym: 1 to 5 letters.
bool validTimeZone(const std::string& zone);
/// A time zone offset "[-]H:M" (hours 0 to 12 west, 0 to 14 east; minutes
/// 0 to 59) in minutes; false for anything else.
bool parseTzOffset(const std::string& text, uint32_t* minutes, bool* west);
/// The offset as the CLI writes it: "UTC+2:00", "UTC-5:30".
std::string tzOffsetText(const SystemModel& m);

/// The version of the switch's CPLD ("show version").
constexpr const char* kCpldVersion = "0x0c";

// --- Files ---------------------------------------------------------------------

/// The path of a file the switch reads or writes: a bare name (no "/", not
/// "." or "..") names a file in the CLI's work directory; anything else is
/// taken as a path, which cliPathAllowed judges.
std::string switchFilePath(const std::string& name);

/// The running configuration as "show running-config" prints it: the
/// identity as comments, then the configuration commands that bring a fresh
/// switch to this one (the CLI accepts every line).
std::string runningConfig(const SwitchState& st);
/// Saves the running configuration as the startup configuration.
void saveStartupConfig(SwitchState& st);

/// Runs a script on a copy of the switch: the CLI's answer, the switch
/// unchanged; *refused counts the lines the CLI refused.
std::string checkScript(const SwitchState& st, const std::string& script, size_t* refused);

/// Where the support file is written, and its text.
constexpr const char* kSupportFile = "/mnt/application/oxel/tmp/support-file.txt";
std::string supportText(const SwitchState& st);

/// The records of this area in the state file.
extern const schema::Table<SystemModel> kSystemModelTable;

}  // namespace sim
