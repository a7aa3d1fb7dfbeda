// Multicast stream detection, served from two local files without the
// switch: the detection setting "/tmp/mcast_detect_config" ({"adminMode":
// "enabled"} or "disabled") and the streams the stream detector last saw,
// "/tmp/mcast_data.json". Its answers carry an envelope of their own,
// printed indented: {"resp":{"respCode","respMsg","status"}, "data" ...}.
#pragma once

#include <string>

#include "runtime/handler_family.h"
#include "runtime/raii.h"

namespace swarmgate {

inline constexpr const char* kDetectConfigPath = "/tmp/mcast_detect_config";
inline constexpr const char* kStreamDataPath = "/tmp/mcast_data.json";
/// Bytes of the setting read at most.
inline constexpr size_t kDetectConfigMax = 255;
/// Largest stream file read (bytes); an empty or larger one is unreadable.
inline constexpr size_t kStreamDataMax = 4194304;

/// GET admin-mode: "enabled" when the setting says exactly that, else
/// "disabled" (no file, no JSON, no member). Always code 0.
int detectAdminModeGet(const hf::RouteCtx& r);
/// PUT admin-mode: body "adminMode" exactly "enabled" or "disabled" (else
/// 10003) replaces the setting atomically: a complete ".tmp" file, made
/// afresh without following links, flushed to storage and renamed over it;
/// any failure removes the temporary file and answers 10000.
int detectAdminModeSet(const hf::RouteCtx& r);
/// GET streams: while detection is not enabled, no streams and total 0;
/// else the streams of the data file counted by query "vlan" (below 1:
/// every one) and emitted from "offset", at most "limit" (0: no bound) of
/// them, with the count as "total". A data file that cannot be read, is
/// empty, over kStreamDataMax or no JSON answers -1.
int detectStreamsGet(const hf::RouteCtx& r);

/// The stream file as JSON; nullptr when it cannot be read, is empty, over
/// kStreamDataMax or no JSON.
JsonPtr streamDataRead();

/// A signed decimal query value as the stream walk reads it: leading
/// blanks and a sign, then digits; negative, absent or no number 0; beyond
/// the range its bound.
long long detectQueryNumber(const char* text);

}  // namespace swarmgate
