// Lock-file wrappers of the fixed-name operations.
#include "access/safe_wrap.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "access/cli_bridge.h"
#include "access/cli_setters.h"
#include "runtime/envelope.h"
#include "runtime/log.h"

int safeWrapperRun(const char* opName, const char* wrapperName, SafeOp op, void* arg)
{
    if (!opName || !wrapperName || !op)
        return kResultInvalidArgument;
    char path[kCliPathSize];
    snprintf(path, sizeof path, "/tmp/%s.lock", opName);
    int fd;
    for (;;) {
        // No O_TRUNC: the file is only a lock; O_NOFOLLOW: a planted link
        // must not make us create or lock another file.
        fd = open(path, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0)
            return kResultGeneralFailed;
        int rc;
        do
            rc = flock(fd, LOCK_EX);
        while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            LOG_AS(wrapperName, kLogError, "File lock failed\n");
            // The file may be another process's lock: only its holder removes it.
            close(fd);
            return kResultGeneralFailed;
        }
        // The holder before us removes the file before it unlocks. If the
        // path no longer names the file we locked, a newer lock file may be
        // held by someone else: start again on that one.
        struct stat held, named;
        if (fstat(fd, &held) == 0 && lstat(path, &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            break;
        close(fd);
    }
    int result = op(arg);
    // Removed while still locked, so that no waiter can take it for live.
    unlink(path);
    if (flock(fd, LOCK_UN) != 0) {
        LOG_AS(wrapperName, kLogError, "File unlock failed\n");
        close(fd);
        return kResultGeneralFailed;
    }
    close(fd);
    return result;
}

namespace {

struct BootvarArgs {
    OpenClientHandle* client;
    int* count;
    BootImageRecord* records;
};

struct MgmtGetArgs {
    OpenClientHandle* client;
    uint32_t* vlan;
    char *method, *address, *mask, *gateway;
};

struct MgmtSetArgs {
    OpenClientHandle* client;
    uint32_t vlan;
    int mode;
    const char *address, *mask, *gateway;
};

struct SpeedArgs {
    OpenClientHandle* client;
    const cJSON* ports;
    const char* speed;
};

int bootvarOp(void* p)
{
    auto* a = static_cast<BootvarArgs*>(p);
    return bootvarGet(a->client, a->count, a->records);
}

int mgmtGetOp(void* p)
{
    auto* a = static_cast<MgmtGetArgs*>(p);
    return managementPortIPv4ParametersGet(a->client, a->vlan, a->method, a->address, a->mask, a->gateway);
}

int mgmtSetOp(void* p)
{
    auto* a = static_cast<MgmtSetArgs*>(p);
    return managementPortIPv4ParametersSet(a->client, a->vlan, a->mode, a->address, a->mask, a->gateway);
}

int speedOp(void* p)
{
    auto* a = static_cast<SpeedArgs*>(p);
    return multipleIfSpeedSet(a->client, a->ports, a->speed);
}

}  // namespace

int bootvarGetSafe(OpenClientHandle* client, int* count, BootImageRecord* records)
{
    BootvarArgs a{client, count, records};
    return safeWrapperRun("bootvarGet", __func__, bootvarOp, &a);
}

int managementPortIPv4ParametersGetSafe(OpenClientHandle* client, uint32_t* vlan, char* method, char* address,
                                        char* mask, char* gateway)
{
    MgmtGetArgs a{client, vlan, method, address, mask, gateway};
    return safeWrapperRun("managementPortIPv4ParametersGet", __func__, mgmtGetOp, &a);
}

int managementPortIPv4ParametersSetSafe(OpenClientHandle* client, uint32_t vlan, int mode, const char* address,
                                        const char* mask, const char* gateway)
{
    MgmtSetArgs a{client, vlan, mode, address, mask, gateway};
    return safeWrapperRun("managementPortIPv4ParametersSet", __func__, mgmtSetOp, &a);
}

int multipleIfSpeedSetSafe(OpenClientHandle* client, const cJSON* ports, const char* speed)
{
    SpeedArgs a{client, ports, speed};
    return safeWrapperRun("multipleIfSpeedSet", __func__, speedOp, &a);
}

int managementVlanGet(OpenClientHandle* client, uint32_t* vlan)
{
    if (!vlan)
        return kResultInvalidArgument;
    *vlan = 1;
    char method[kMgmtTextSize], address[kMgmtTextSize], mask[kMgmtTextSize], gateway[kMgmtTextSize];
    return managementPortIPv4ParametersGetSafe(client, vlan, method, address, mask, gateway);
}

int managementGatewayGet(OpenClientHandle* client, char* buf, size_t size)
{
    if (!client || !buf || size == 0)
        return kResultInvalidArgument;
    buf[0] = '\0';
    uint32_t vlan = 1;
    char method[kMgmtTextSize], address[kMgmtTextSize], mask[kMgmtTextSize], gateway[kMgmtTextSize];
    int rc = managementPortIPv4ParametersGetSafe(client, &vlan, method, address, mask, gateway);
    if (rc != 0)
        return rc;
    if (gateway[0] && strcmp(gateway, "0.0.0.0") != 0)
        snprintf(buf, size, "%s", gateway);
    return kResultOk;
}
