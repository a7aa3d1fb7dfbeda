// Client session and application key store.
#include "runtime/open_client.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "runtime/log.h"

extern "C" {
OpenClientHandle clientHandle;
}

namespace {

// Copies a text of at most 255 characters into a 256-byte buffer.
void copy256(char (&dst)[256], const char* src)
{
    snprintf(dst, sizeof dst, "%s", src ? src : "");
}

BufDesc textDesc(char* text)
{
    return BufDesc{static_cast<uint32_t>(strlen(text) + 1), text};
}

// Reads key `key` of `app` into `value` (256 bytes); the switch status.
int readKey(OpenClientHandle* handle, const char* app, const char* key, char (&value)[256])
{
    char appBuf[256], keyBuf[256];
    copy256(appBuf, app);
    copy256(keyBuf, key);
    memset(value, 0, sizeof value);
    BufDesc appDesc{sizeof appBuf, appBuf};
    BufDesc keyDesc{sizeof keyBuf, keyBuf};
    BufDesc valDesc{sizeof value, value};
    return rpcclt_openapiUserAppConfigDbGet(handle, appDesc, keyDesc, &valDesc);
}

}  // namespace

int initHandler(const char* programName, OpenClientHandle* handle)
{
    l7proc_crashlog_register();
    char name[100];
    snprintf(name, sizeof name, "%s_%d", programName ? programName : "common.c", static_cast<int>(getpid()));
    int rc = openapiClientRegister(name, handle);
    if (rc != 0) {
        LOG(kLogError, "\nFailed to initialize RPC to OpEN. Exiting (result = %d)\n", rc);
        return -1;
    }
    LOG(kLogDebug, "Register RPC to OpEN success. (client name = %s)\n", name);
    for (int attempt = 1;; ++attempt) {
        rc = rpcclt_openapiConnectivityCheck(handle);
        if (rc == 0)
            break;
        if (attempt == openclient::kConnectivityAttempts)
            return -1;
        LOG(kLogWarn, "RPC call can fail until server starts. Keep trying (result = %d)\n", rc);
        sleep(openclient::kRetrySeconds);
    }
    char version[100] = {0};
    BufDesc vdesc{sizeof version, version};
    if (rpcclt_openapiNetworkOSVersionGet(handle, &vdesc) == 0)
        LOG(kLogDebug, "Network OS Version = %s\n", version);
    else
        LOG(kLogError, "Network OS Version retrieve error\n");
    ApiVersion api{};
    if (rpcclt_openapiApiVersionGet(handle, &api) != 0)
        LOG(kLogError, "Open API Version retrieve error\n");
    else
        LOG(kLogDebug, "Open API Version = %d.%d.%d.%d\n", api.release, api.version, api.maintLevel, api.buildNum);
    return 0;
}

int createDB(OpenClientHandle* handle, const char* app)
{
    char appBuf[256];
    copy256(appBuf, app);
    int rc = rpcclt_openapiUserAppConfigDbCreateAppDb(handle, textDesc(appBuf));
    if (rc == 0 || rc == kOpenExists) {
        LOG(kLogDebug, "Create db success\n");
        return 0;
    }
    LOG(kLogError, "Create db  error:%d\n", rc);
    return 10000;
}

int deleteDB(OpenClientHandle* handle, const char* app)
{
    char appBuf[256];
    copy256(appBuf, app);
    int rc = rpcclt_openapiUserAppConfigDbDeleteAppDb(handle, textDesc(appBuf));
    if (rc == 0 || rc == kOpenExists) {
        LOG(kLogDebug, "Delete db success\n");
        return 0;
    }
    LOG(kLogError, "Delete db  error:%d\n", rc);
    return 10000;
}

int setDB(OpenClientHandle* handle, const char* app, const char* key, const char* data)
{
    char probe[256];
    if (readKey(handle, app, "probe", probe) == kOpenNotFound && createDB(handle, app) != 0)
        return 10000;
    char appBuf[256], keyBuf[256], dataBuf[256];
    copy256(appBuf, app);
    copy256(keyBuf, key);
    copy256(dataBuf, data);
    int rc = rpcclt_openapiUserAppConfigDbSet(handle, textDesc(appBuf), textDesc(keyBuf), textDesc(dataBuf));
    if (rc != 0) {
        LOG(kLogDebug, "Set AppName:%s KeyName:%s KeyData:%s error :%d\n", appBuf, keyBuf, dataBuf, rc);
        return 10000;
    }
    LOG(kLogDebug, "Set AppName:%s KeyName:%s KeyData:%s success\n", appBuf, keyBuf, dataBuf);
    return 0;
}

int getDB(OpenClientHandle* handle, const char* app, const char* key, char* dst, size_t dstSize)
{
    char value[256];
    int rc = readKey(handle, app, key, value);
    if (rc != 0) {
        LOG(kLogError, "Get AppName:%s keyName:%s error :%d\n", app, key, rc);
        return 10000;
    }
    if (dst && dstSize > 0)
        snprintf(dst, dstSize, "%s", value);
    LOG(kLogDebug, "Get AppName:%s keyName:%s KeyData:%s success\n", app, key, value);
    return 0;
}

int appDbExists(OpenClientHandle* handle, const char* app)
{
    char probe[256];
    return readKey(handle, app, "probe", probe) == kOpenNotFound ? 0 : 1;
}
