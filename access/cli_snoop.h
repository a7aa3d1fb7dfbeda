// The CLI class of the IGMP and MLD snooping settings the switch control API
// does not expose, and the answers of the two snooping group tables.
//
//   CLI(snooping, "snoop-report-flood-mode", PUT, handler, mcastcli::snoop, READS(B, "mode"),
//       SENDS("{no}set {proto} flood-report"), PICKS(mcastcli::kSnoopMode))
//   CLI(snooping, "snoop-vlan-mcast-rtr-expiry-time", GET, handler, mcastcli::snoop, IN_VLAN("vlan"),
//       SHOW("{show} {vlan}"), LABEL("Multicast Router Expiry Time"), ANSWERS("expiryTime"),
//       PICKS(mcastcli::kSnoopNumber))
//
// The family chooses the words: a read takes the query member "family", a
// write the body member "family" (0 or absent on a read, absent on a write:
// IGMP). Family 1 is IGMP ("show igmpsnooping", "igmp", "ip"), 2 MLD ("show
// mldsnooping", "mld", "ipv6"); any other family has no words and answers
// 17002. SHOW and SENDS name what the class fills in:
//   {show}  the family's show command    {proto} its protocol word
//   {ip}    its address keyword          {no}    "" to set, "no " to clear
//   {if}    the interface's CLI name     {vlan}  the VLAN
//   {n}     the request's number
// IN_PORT("ifNum"): the row is about the interface of that query member
// (no decimal text: 10003; no port or LAG: 10000), its text applied in the
// interface. IN_VLAN("vlan"): the row is about the VLAN of that query
// member, 1 to 4093 (else 10003). A write that also READS(B, <the scope's
// member>) takes the body member first, the query's when the body lacks it.
// A write's text is applied in the global configuration, in the interface
// of IN_PORT, or in APPLY_IN("vlan database").
//
// Reads answer under the directory's member without a trailing newline (a
// failed read the code alone), writes the code with one newline. Every
// request value that reaches a CLI line is checked first, before any work
// file; a line the CLI refuses answers 10003.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "access/cli_row.h"
#include "runtime/handler_family.h"
#include "runtime/raii.h"

struct cJSON;

namespace showparse {
struct SnoopGroupRow;
struct SnoopSsmGroupRow;
}  // namespace showparse

namespace mcastcli {

using clirow::CliRow;
using hf::RouteCtx;

/// Size of the values the snooping rows read (at most 63 characters).
constexpr size_t kSnoopValueSize = 64;
/// Size of a VLAN list value ("VLAN ID", at most 511 characters).
constexpr size_t kSnoopVlanListSize = 512;
/// Size of an interface mask value ("Interfaces", at most 255 characters).
constexpr size_t kSnoopMaskSize = 256;
/// Highest VLAN a request may name.
constexpr uint32_t kSnoopVlanMax = 4093;
/// Highest number a VLAN list of the switch holds.
constexpr uint32_t kSnoopListVlanMax = 4095;

/// What a snoop row does (PICKS).
enum SnoopView : uint8_t {
    kSnoopMode,        // GET: the LABEL value of SHOW as WHEN "yes|no" (default "enable|disable"), yes when it
                       // begins with "enable" in any case, as ANSWERS; PUT: body READS "enable" or "true"
                       // sends SENDS with {no} "", anything else with "no "
    kSnoopFamilyMode,  // as kSnoopMode, LABEL "igmp|mld": the family's label
    kSnoopIgmpMode,    // as kSnoopMode, for IGMP only: a read of family other than 0 or 1, a write of a body
                       // family other than 1, answers 17002
    kSnoopNumber,      // GET: the number of the LABEL value, as ANSWERS; PUT: body number READS (absent 0) as {n}
    kSnoopText,        // GET: the LABEL value, at most MAX_LEN characters, as ANSWERS
    kSnoopVlanList,    // GET: the VLANs 1..4095 of the LABEL value (split at blanks, commas, tabs) as the array
                       // ANSWERS; PUT: each VLAN of the body array READS in order as {vlan} with {no} "" when
                       // body READS(2nd) is "enable", else "no "; 0 and VLANs over 4095 are passed over; the
                       // first line that fails stops and answers its code; no array sends nothing, 0
    kSnoopVlanListed,  // GET: ANSWERS "enable" when the VLAN of query READS is among the LABEL value's, else
                       // "disable"
    kSnoopMasks,       // GET: the values of LABEL "a|b" as ANSWERS "x|y", an absent label ""; code 0
};

int snoopRow(const RouteCtx& r, const CliRow& row);

/// A CLI-backed snooping setting, as the row PICKS (SnoopView).
constexpr clirow::RowClass<RouteCtx, snoopRow> snoop{};

/// The family of a read: the query member "family", 0 or absent 1, its low 8 bits.
uint8_t snoopReadFamily();
/// Whether a family has CLI words: its show command, protocol word and
/// address keyword. False (all empty) for any family but 1 and 2.
bool snoopFamilyWords(uint8_t family, const char** show, const char** proto, const char** ip);
/// `tmpl` with each "{name}" of `names` ("show", "proto" ...) replaced by
/// the value at the same place of `values`; other text stays.
std::string snoopFill(const char* tmpl, const char* const* names, const std::string* values, size_t count);
/// The VLANs 1..4095 of a list value, split at blanks, commas and tabs, in order.
std::vector<uint32_t> snoopVlansOf(const std::string& value);

// --- The two group tables -------------------------------------------------------------

/// A group of "show igmpsnooping group" as the "group" list answers it:
/// "vlanId", "groupIp", "groupMac", "igmpVersion", "timeout",
/// "incomingInterface", "sourceIp", "sourceMac" from the first stream of
/// `streams` (the stream file's JSON, nullptr: none) of the same VLAN and
/// group address, "subscribers" ("subscriberIp", "subscriberMac",
/// "interface"); an empty or absent text is null.
JsonPtr snoopGroupJson(const showparse::SnoopGroupRow& g, const cJSON* streams);
/// A group of "show igmpsnooping ssm groups": "vlanId", "group",
/// "interface", "reporter", "filterMode" ("include"/"exclude") and
/// "sourceList" when the line has one.
JsonPtr snoopSsmGroupJson(const showparse::SnoopSsmGroupRow& g);

}  // namespace mcastcli
