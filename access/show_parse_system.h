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
