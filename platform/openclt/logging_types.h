// The trap log record of the switch's logging operations. It crosses the
// wire as raw bytes: fixed-width fields only, no padding, the layout checked
// below, so a 32-bit client and the switch control process agree on it.
#pragma once

#include <stddef.h>
#include <stdint.h>

/// Entries a trap log record holds (the switch's trap log capacity).
#define TRAP_LOG_MAX_ENTRIES 64

/// One trap: when it was raised (the switch's up time) and what it says.
struct TrapLogEntry {
    char time[32];
    char text[224];
};

/// The trap log as the switch answers it: the number, counted since the log
/// was last cleared, of the newest trap held (0: none), traps raised since
/// then, the log's capacity and the entries, oldest first.
struct TrapLog {
    uint32_t index;
    uint32_t trapsSinceReset;
    uint32_t capacity;
    uint32_t count;
    TrapLogEntry entries[TRAP_LOG_MAX_ENTRIES];
};

static_assert(sizeof(TrapLogEntry) == 256, "trap log entry layout");
static_assert(offsetof(TrapLog, entries) == 16 && sizeof(TrapLog) == 16 + 256 * TRAP_LOG_MAX_ENTRIES,
              "trap log layout");
