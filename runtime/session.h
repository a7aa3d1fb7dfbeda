// Session and privilege check of protected routes. Sessions are files
// "/tmp/session/<id>" written by the login service: user name, uptime stamp,
// privilege ("ro"/"rw", users other than admin) and the session identifier.
#pragma once

struct RouteEntry;

/// 0 lets the request through, -1 refuses it (the dispatcher answers 403).
int checkSessionX(const char* sessionId, const char* refresh, const RouteEntry* entry);

/// The check with the clock given; checkSessionX passes the system uptime.
/// A negative uptime stands for a clock that could not be read.
int checkSessionAt(const char* sessionId, const char* refresh, const RouteEntry* entry, long uptime);

/// Seconds a session may stay idle.
constexpr long kSessionIdleLimit = 7200;
