// Parsers of system show output: boot images ("show bootvar") and the
// management interface ("show ip management").
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
