// The CLI pieces of swarmgate's CLI-backed settings, and the CLI class of
// the MVR directory, whose settings the switch control API does not expose.
//
//   CLI(mvr, "mode-type", GET, handler, mcastcli::mvr, SHOW("show mvr"), LABEL("MVR Mode"),
//       ANSWERS("modeType"), WHEN("compatible=mvr_compatible_mode|=mvr_none_mode"), PICKS(mcastcli::kMvrWord))
//   CLI(mvr, "intf-group-ip", POST, handler, mcastcli::mvr, IN_PORT("ifNum"), READS(B, "groupIp"),
//       SHOW("show mvr"), LABEL("MVR multicast VLAN"), SENDS("mvr vlan %u group %s"), PICKS(mcastcli::kMvrGroup))
//
// Reads answer under the directory's member without a trailing newline (a
// failed read the code alone), writes the code with one newline. Every
// request value that reaches a CLI line is checked for what it stands for
// before any work file is written: 10003 when it is not that; an interface
// number that names no port or LAG answers 10000.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "access/cli_row.h"
#include "runtime/handler_family.h"

namespace mcastcli {

using clirow::CliRow;
using hf::RouteCtx;

// --- CLI pieces ----------------------------------------------------------------

/// Most of a show output a label value is read from.
constexpr size_t kLabelShowCap = 65535;
/// Most of "show mvr interface" read.
constexpr size_t kMvrIntfShowCap = 1023;
/// Size of the words of "show mvr interface" (at most 31 characters).
constexpr size_t kMvrWordSize = 32;
/// Size of the show values the MVR rows read (at most 63 characters).
constexpr size_t kShowValueSize = 64;
/// Most characters of a wrapped configuration text.
constexpr size_t kConfigTextMax = 511;

/// The value of the dotted line of `label` in the output of `command`, at
/// most `size` - 1 characters (clitext::leaderValue); "a|b": of the first
/// label that gives one. 0; 10003 for a
/// missing argument or a size of 0; the bridge's code when the command
/// failed; 10000 when its output cannot be read; 10023 when no line gives a value.
int cliShowValueGet(const char* command, const char* label, size_t size, std::string* value);

/// Applies a configuration text; 10003 when the CLI refused one of its
/// lines (the whole answer is read), else the bridge's result.
int cliConfigApplyChecked(const std::string& text);
/// "configure\n<text>\nexit\n" applied checked. 10003 for an empty text, a
/// wrapped text over 511 characters or a control character in `text`.
int cliGlobalConfigApply(const std::string& text);
/// "vlan database\n<text>\nexit\n", checked as cliGlobalConfigApply.
int cliVlanDatabaseConfigApply(const std::string& text);
/// "configure\ninterface <name>\n<text>\nexit\nexit\n", checked as
/// cliGlobalConfigApply; an empty name is refused too.
int cliInterfaceConfigApply(const std::string& name, const std::string& text);

/// Whether the value, after leading white space, begins with "enable" in any case.
bool cliEnableWordTest(const char* value);

/// The "Type:", "Status:" and "Immediate Leave:" words of "show mvr
/// interface <name>" (each output optional, cleared first, empty when its
/// label is absent, at most kMvrWordSize - 1 characters). 0; 10000 when the
/// number names no port or LAG or the show fails.
int mvrIntfShowGet(uint32_t intIfNum, std::string* type, std::string* status, std::string* immediate);

/// The CLI name of an interface number ("u/s/p", "lag N"): 0; 10000 when
/// the number names no port or LAG.
ResultCode portNameOf(uint32_t intIfNum, std::string* name);

/// An MVR group address of a request: a dotted IPv4 text, or the address as
/// a decimal text or a JSON number. False for anything else and for 0.
bool mvrGroupOf(const hf::Value& v, uint32_t* addr);
/// Whether an address (host order) is an IPv4 multicast address, 224.0.0.0
/// to 239.255.255.255.
bool ipv4Multicast(uint32_t addr);

/// The word a "key=word|key=word" table gives `key`: the first entry whose
/// key is `key` (`prefix`: begins `key`, any letter case; an empty key
/// begins every value). False when no entry takes it.
bool tableWord(const char* table, const std::string& key, bool prefix, std::string* word);

// --- The class of the MVR directory ---------------------------------------------------

/// What an mvr row does (PICKS). IN_PORT("ifNum") makes a row's setting the
/// interface's: it is read from mvrIntfShowGet by the LABEL "Type:",
/// "Status:" or "Immediate Leave:" and written in the interface's scope.
enum MvrView : uint8_t {
    kMvrWord,       // GET: the LABEL value's prefix mapped by WHEN ("PREFIX=answer|=default") as ANSWERS;
                    // PUT: the body string READS mapped by WHEN ("word=cli"; exact) into SENDS, else ELSE_SENDS
    kMvrNumber,     // GET: the number of the first of LABEL "a|b" that gives a value, as ANSWERS;
                    // PUT: the body number READS into SENDS, 0 or absent ELSE_SENDS
    kMvrVlan,       // PUT: as kMvrNumber, the number a VLAN 1 to 4093
    kMvrCounter,    // GET: the number of the label the query READS chooses in WHEN ("type=label"; the
                    // first is the default) from SHOW, as ANSWERS
    kMvrGroupId,    // GET: the group address of query READS as a number, as ANSWERS
    kMvrGroup,      // POST/DELETE: the multicast group of READS into SENDS; in an interface, the
                    // multicast VLAN of SHOW's LABEL (none: 10000) first
    kMvrVlanMatch,  // POST: "true" when SHOW's LABEL is a VLAN other than 0 and the query READS, else
                    // "false" (a failed show too), as ANSWERS; always 0
};

int mvrRow(const RouteCtx& r, const CliRow& row);

/// A setting of the MVR directory, as the row PICKS (MvrView).
constexpr clirow::RowClass<RouteCtx, mvrRow> mvr{};

}  // namespace mcastcli
