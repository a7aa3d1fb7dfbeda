// Classes of the CLI-backed IPv6, router advertisement and IP helper routes.
//
// A CLI row names its class and the class's arguments: the work-file group,
// the show command or query name, the label and member, the conversion, the
// CLI text templates and the key token of the apply files. Reads answer
// without a trailing newline, writes with one; a POST walk answers with one
// only when it fails.
#pragma once

#include <cstdint>
#include <string>

#include "access/show_parse_routing.h"
#include "routing/cli_common.h"
#include "routing/route_classes.h"

namespace ip6cli {

/// How a label's value becomes the answer member.
using Conv = showparse::ValueConv;
using showparse::kEnableText;
using showparse::kIntfRef;
using showparse::kMode;
using showparse::kNumber;
using showparse::kPreference;
using showparse::kThirdOf;
using showparse::kYesNo;

/// How a request value chooses the text applied.
enum Take : uint8_t {
    kValue,        // number into "%u"; 0 sends the "no" form where the row has one
    kIsOne,        // the "on" text when the number is 1, else the "off" text
    kNonZero,      // "on" unless the number is 0 or absent
    kFlag,         // true (or a number other than 0) "on", false, 0 or absent "off"
    kEnable,       // the string "enable" "on", any other string or none "off"
    kPrefWord,     // 1 "high", 2 "low", anything else "medium" into "%s"
    kIntfName,     // body interface number -> CLI name into "%s"
    kQueryIntfName,  // the same from the query parameter named by the member
    kFixedText,    // no value: the text as it stands
};

/// Where an interface-scoped line goes: "interface vlan <query>" (the query
/// number is the VLAN of the routing interface) or "interface <u/s/p>" of the
/// query's interface number.
enum Scope : uint8_t { kVlan, kPort };

/// GET of one label of a global show: `labels` holds the labels to try in
/// order, separated by "|"; a label absent from the output answers 0.
int globalGet(const route::RouteCtx& r, const clitext::Group& g, const char* command, const char* labels,
              const char* member, Conv conv);
/// PUT of a global setting: `on` is the text for a value (with "%u" or
/// "%s"), or for the enabled state with `off` for the disabled one.
int globalPut(const route::RouteCtx& r, const clitext::Group& g, const char* member, Take take, const char* on,
              const char* off, const char* token);
/// A write without request values: applies `text` as it stands.
int textApply(const route::RouteCtx& r, const clitext::Group& g, const char* text, const char* token);

/// GET of one label of "show ipv6 interface vlan <query>"; `echo` answers the
/// query number under its own name before the value.
int intfGet(const route::RouteCtx& r, const clitext::Group& g, const char* query, const char* label,
            const char* member, Conv conv, bool echo);
/// PUT (or POST) of an interface setting: `line` for a value or the enabled
/// state, `noLine` for 0 or the disabled state (nullptr: `line` with 0).
int intfPut(const route::RouteCtx& r, const clitext::Group& g, Scope scope, const char* query, const char* member,
            Take take, const char* line, const char* noLine, const char* token);
/// PUT of an advertised prefix ("ipv6 nd prefix ...") on the VLAN of query `ifNum`.
int prefixPut(const route::RouteCtx& r, const char* token);

/// The VLAN of the first IPv6 routing interface listed by `command`.
int vlanFirst(const route::RouteCtx& r, const char* command);
/// The first VLAN listed by `command` above the query number `query`.
int vlanNext(const route::RouteCtx& r, const char* command, const char* query);

/// GET of the relay agent's statistics ("show ip helper statistics").
int helperStatistics(const route::RouteCtx& r);
/// POST walk of the helper addresses: the first, or the one after the body's.
int helperWalk(const route::RouteCtx& r, bool next);
/// DELETE of helper addresses: those of query `ifNum`'s interface, or without
/// one every address "show ip helper-address" lists.
int helperAddressesClear(const route::RouteCtx& r, const char* intfToken, const char* allToken);

// --- Text templates, shared with the tests --------------------------------

/// `tmpl` with its first "%u" or "%s" replaced by `value`.
std::string fillTemplate(const char* tmpl, const std::string& value);

}  // namespace ip6cli
