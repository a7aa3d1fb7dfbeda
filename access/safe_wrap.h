// Lock-file wrappers: operations whose work files have fixed names run one
// process at a time, under an exclusive flock of "/tmp/<operation>.lock".
#pragma once

#include <cstdint>

#include "access/show_parse_system.h"
#include "platform/openclt/openclt.h"

struct cJSON;

typedef int (*SafeOp)(void* arg);

/// Runs op(arg) holding the lock of `opName`; `wrapperName` names the
/// caller in log messages. 10000 when the lock file cannot be opened or
/// locked (op not run) or unlocked; otherwise op's result. The lock file is
/// removed after use; a process that waited on a removed file locks the
/// fresh one instead, so two processes never run op at once.
int safeWrapperRun(const char* opName, const char* wrapperName, SafeOp op, void* arg);

int bootvarGetSafe(OpenClientHandle* client, int* count, BootImageRecord* records);
int managementPortIPv4ParametersGetSafe(OpenClientHandle* client, uint32_t* vlan, char* method, char* address,
                                        char* mask, char* gateway);
int managementPortIPv4ParametersSetSafe(OpenClientHandle* client, uint32_t vlan, int mode, const char* address,
                                        const char* mask, const char* gateway);
int multipleIfSpeedSetSafe(OpenClientHandle* client, const cJSON* ports, const char* speed);

/// The management VLAN (preset to 1, kept when the output names none).
int managementVlanGet(OpenClientHandle* client, uint32_t* vlan);
/// The management default gateway into `buf` (at most size - 1 characters),
/// left empty when none is set. 10003 for a missing argument or size 0.
int managementGatewayGet(OpenClientHandle* client, char* buf, size_t size);
