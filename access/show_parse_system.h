// Parsers of system show output: boot images ("show bootvar"), the
// management interface ("show ip management") and the SDM template ("show
// sdm prefer"), with the SDM template table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/openclt/openclt.h"

/// One unit's boot images: the four columns after the unit of "show bootvar".
struct BootImageRecord {
    int32_t unit;
    char active[12];
    char backup[12];
    char currentActive[18];
    char nextActive[18];
};
static_assert(sizeof(BootImageRecord) == 64, "boot image records are 64 bytes");

/// Size of each text of managementPortIPv4ParametersGet.
constexpr size_t kMgmtTextSize = 16;

/// The table lines of a "show bootvar" text after its 14 header lines, up
/// to `capacity` records; the table ends at the first other line. The count
/// filled.
int bootvarRecordsOf(const std::string& text, BootImageRecord* records, int capacity);

/// The management interface of a "show ip management" text; the texts are
/// 16 bytes each and cleared first, the VLAN written only when the text
/// names one (0..4095).
void managementParamsOf(const std::string& text, uint32_t* vlan, char* method, char* address, char* mask,
                        char* gateway);

/// One SDM template: its id, its CLI name, the id after it.
struct SdmTemplate {
    const char* id;
    const char* name;
    const char* next;
};
/// The five templates in table order; an id not among them has the name
/// "default" and the next id "sdm_template_dual_default".
extern const SdmTemplate kSdmTemplates[5];
/// The entry of `id`, or nullptr.
const SdmTemplate* sdmTemplate(const char* id);

/// The template id of a "show sdm prefer" text: the first line holding
/// "current template is" (or "active template is"), its text between the
/// first pair of double quotes (at most 127 characters) mapped by its words:
/// "dual-ipv4-and-ipv6" with "data-center" the dual data-center template,
/// else the dual default; "data-center-plus"; "ipv4" with "data-center" the
/// IPv4 data-center template, else the IPv4 default. False when no line
/// holds the wording, its quotes are missing or the text names none of them.
bool sdmTemplateIdOf(const std::string& text, std::string* id);

/// The number on the first line holding the first of the "|"-separated
/// labels that some line holds: the first run of digits after the label.
/// False when no line holds any label, or that line has no number of 32 bits.
bool labelNumberOf(const std::string& text, const char* labels, uint32_t* value);

/// Fills up to *count records from "show bootvar" and sets *count to the
/// number filled. 0; 10003 for a missing argument; the bridge's 10000; 10016
/// when the output cannot be opened.
int bootvarGet(OpenClientHandle* client, int* count, BootImageRecord* records);

/// Reads the management interface: VLAN, method ("DHCP", "Manual" ...),
/// address, mask and default gateway, each text 16 bytes. The VLAN is
/// written only when the output names it; the texts are cleared first.
/// 0; 10003; the bridge's 10000; 10016.
int managementPortIPv4ParametersGet(OpenClientHandle* client, uint32_t* vlan, char* method, char* address,
                                    char* mask, char* gateway);

// --- Environment, version, processes and up time ---------------------------------

/// The range of "Temperature traps range: <min> to <max> ...". False when no
/// line holds the label or its two numbers.
bool tempRangeOf(const std::string& text, uint32_t* minTemp, uint32_t* maxTemp);

/// The last column (the highest temperature) of sensor `sensor` in the table
/// after "Temperature Sensors:" (ended by "Fans:" or "Power Modules:"),
/// whose rows read "<unit> <sensor> <description> <temp> <state> <max>".
/// False when no row of the table is the sensor's.
bool sensorMaxTempOf(const std::string& text, uint32_t sensor, uint32_t* maxTemp);

/// Whether the line starting with `label` holds "Enable".
bool labelHoldsEnable(const std::string& text, const char* label);

/// One unit's boot images: the versions of "image1" and "image2" and the
/// names of the running image and the next boot's.
struct BootImages {
    std::string image1, image2, currentActive, nextActive;
};
/// The row of unit `unit` in the table after the first "----" line of a
/// "show bootvar" text ("<unit> <image1> <image2> <current> <next>", words of
/// at most 63 characters). False when the table has no row of the unit.
bool bootImagesOf(const std::string& text, uint32_t unit, BootImages* images);
/// The version of the image a unit runs: image1's when "image1" runs, else image2's.
const std::string& runningImageVersion(const BootImages& images);
/// The first unit's row of a "show bootvar" table.
bool firstBootImagesOf(const std::string& text, BootImages* images);

/// A code version "r.v.m.b" (each 0..255). False for anything else.
bool codeVersionOf(const std::string& value, ApiVersion* version);

/// Free and allocated memory of the lines "free <n>" and "alloc <n>" of a
/// "show process cpu" text. False unless both are there.
bool memoryOf(const std::string& text, uint64_t* freeBytes, uint64_t* allocBytes);

/// The seconds of the line starting with `label`: after blanks, dots and a
/// quote, "<d> days <h> hrs <m> mins <s> secs". False when no line starts
/// with the label or its value does not read so.
bool upTimeOf(const std::string& text, const char* label, uint64_t* seconds);
