// Process log: leveled printf-style lines to "/tmp/qv700.log", syslog and/or
// standard output, filtered by the shared one-digit level file.
#pragma once

#include <cstdarg>

/// Output mask bits of logOpen.
enum LogOutput { kLogToFile = 1, kLogToSyslog = 2, kLogToStdout = 4 };

/// Log levels as callers use them.
enum LogLevel { kLogError = 3, kLogWarn = 4, kLogNotice = 5, kLogInfo = 6, kLogDebug = 7 };

/// Opens the process log (re-opening closes the previous state first).
void logOpen(const char* identity, int mask, int facility);
/// Writes one message when its level passes the threshold; adds no newline.
void logPrint(int level, const char* fmt, ...) __attribute__((format(printf, 2, 3)));
void logPrintV(int level, const char* fmt, va_list ap);
/// Closes the log file, syslog connection and level map.
void logClose();

/// Every message starts with the calling function and line.
#define LOG(level, fmt, ...) logPrint((level), "[%s:%d] " fmt, __func__, __LINE__, ##__VA_ARGS__)
/// The same, naming another function: for helpers that speak for their caller.
#define LOG_AS(func, level, fmt, ...) logPrint((level), "[%s:%d] " fmt, (func), __LINE__, ##__VA_ARGS__)

namespace logtest {
/// Paths used by the log, for tests that need to inspect them.
extern const char* const kLevelFile;
extern const char* const kLogFile;
extern const char* const kOldLogFile;
constexpr long kRotateBytes = 1048576;
}  // namespace logtest
