// Registration of the process as a switch control API client, and the
// application key store helpers.
#pragma once

#include <cstddef>

#include "platform/openclt/openclt.h"

/// The process's client handle, passed to every switch control call.
extern "C" OpenClientHandle clientHandle;

/// Registers "<name>_<pid>", waits for the server (7 checks, 3 s apart) and
/// logs the versions; 0, or -1 when the server does not answer.
int initHandler(const char* programName, OpenClientHandle* handle);

int createDB(OpenClientHandle* handle, const char* app);
int deleteDB(OpenClientHandle* handle, const char* app);
int setDB(OpenClientHandle* handle, const char* app, const char* key, const char* data);
int getDB(OpenClientHandle* handle, const char* app, const char* key, char* dst, size_t dstSize);
/// 1 when the application database exists, 0 when the server reports it missing.
int appDbExists(OpenClientHandle* handle, const char* app);

namespace openclient {
/// Seconds between connectivity checks; tests of the retry policy keep 3.
constexpr unsigned kRetrySeconds = 3;
constexpr int kConnectivityAttempts = 7;
}  // namespace openclient
