// What swarmgate's route rows name besides the shared handler family: the
// MFDB's protocol and entry-type words, and its key, the VLAN and MAC
// address as eight colon-separated hexadecimal bytes ("00:0a:01:00:5e:01:01:01");
// snooping's filter-mode words and text sizes.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/handler_family.h"

struct cJSON;

namespace swarmgate {

// --- MFDB words ---------------------------------------------------------------

inline constexpr hf::EnumWord kMfdbProtocolWords[] = {
    {"mfdb_protocol_static", 1}, {"mfdb_protocol_gmrp", 2}, {"mfdb_protocol_igmp", 3},
    {"mfdb_protocol_mld", 4},    {"mfdb_protocol_mvr", 5},  {"mfdb_protocol_mmrp", 6},
    {"mfdb_protocol_msrp", 7},   {"mfdb_total_num_protocols", 8},
};
/// Protocols 1..8 by word; a value outside them answers "unknown", and an
/// absent, non-string or unknown word sends 1 (static).
inline constexpr hf::EnumTable kMfdbProtocol = hf::lenientEnumTable(kMfdbProtocolWords, "unknown", 1);

inline constexpr hf::EnumWord kMfdbTypeWords[] = {{"mfdb_type_static", 0}, {"mfdb_type_dynamic", 1}};
/// Entry types (answered only): 0 static, 1 dynamic, any other "unknown".
inline constexpr hf::EnumTable kMfdbType = hf::enumTable(kMfdbTypeWords, "unknown", 2);

// --- MFDB keys ------------------------------------------------------------------

/// Whether `t` is a key text: eight bytes of two hexadecimal digits each,
/// colon-separated (23 characters).
bool vidMacValid(const std::string& t);

/// A key that must be given as a key text (10003 otherwise: absent, no
/// string, longer than 23 characters or of another form).
ResultCode readVidMac(const cJSON* item, void* rec, void* owner);
/// The key a walk starts after: absent or "" starts at the first entry;
/// anything else as readVidMac.
ResultCode readWalkVidMac(const cJSON* item, void* rec, void* owner);
/// Answers the key's text.
void writeVidMac(cJSON* obj, const char* name, const void* rec, const void* owner, uint32_t limit);

inline constexpr hf::RecordKind kVidMacRec{sizeof(MfdbVidMac), readVidMac, writeVidMac, nullptr};
inline constexpr hf::RecordKind kWalkVidMacRec{sizeof(MfdbVidMac), readWalkVidMac, writeVidMac, nullptr};

/// Interface masks and descriptions as the switch answers them.
inline constexpr uint32_t kMfdbMaskSize = 4096;
inline constexpr uint32_t kMfdbDescSize = 16;
inline constexpr uint32_t kMfdbMacTextSize = 18;

// --- Snooping -------------------------------------------------------------------

inline constexpr hf::EnumWord kSnoopFilterModeWords[] = {{"include", 1}, {"exclude", 2}};
/// SSM filter modes (answered only): 1 include, 2 exclude, any other "none".
inline constexpr hf::EnumTable kSnoopFilterMode = hf::enumTable(kSnoopFilterModeWords, "none", 0);

/// Address texts (group, source, querier) at most 45 characters, and the
/// interface masks of snooping at most 3071.
inline constexpr uint32_t kSnoopAddrText = 46;
inline constexpr uint32_t kSnoopMaskText = 3072;

}  // namespace swarmgate
