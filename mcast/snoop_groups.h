// The two snooping group lists: the IGMP groups of "show igmpsnooping group"
// joined with the streams stream detection last saw, and the source-specific
// groups of "show igmpsnooping ssm groups".
//
//   CLI(snooping, "group", GET, handler, swarmgate::groupList, SHOW("show igmpsnooping group"),
//       OUTPUT("snoop_groups"), CAP(32767), ANSWERS("groups"), PICKS(swarmgate::kSnoopGroups))
//
// Each reads SHOW into a work file of its own named by OUTPUT, at most CAP
// bytes (a last line the cap cut is dropped), and answers the list under
// ANSWERS without a trailing newline; a list that cannot be built answers
// its code alone.
#pragma once

#include <cstdint>

#include "access/cli_row.h"
#include "runtime/handler_family.h"

namespace swarmgate {

enum GroupList : uint8_t {
    kSnoopGroups,     // the IGMP groups (access/cli_snoop.h snoopGroupJson), each joined with the first stream
                      // of the stream file (mcast/detect.h; none when unreadable) of its VLAN and group; a show
                      // that fails answers its code, a work file that cannot be opened 10000
    kSnoopSsmGroups,  // the SSM groups (snoopSsmGroupJson); any failure of the show answers 10000
};

int groupListRow(const hf::RouteCtx& r, const clirow::CliRow& row);

/// A snooping group list, as the row PICKS (GroupList).
constexpr clirow::RowClass<hf::RouteCtx, groupListRow> groupList{};

}  // namespace swarmgate
