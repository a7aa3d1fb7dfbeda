// Response envelope: {"<member>": data, "resp": {respCode, respMsg, status}}
// rendered by cJSON's formatted printer.
#include "runtime/envelope.h"

#include <cjson/cJSON.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/log.h"

namespace {

struct ResultRow {
    ResultCode code;
    const char* msg;
};

// Looked up by code, first match, so the row order is kept as the table has it.
const ResultRow kResults[] = {
    {0, "Success"},
    {999, "unknown fail"},
    {10000, "General Failed"},
    {10001, "system error"},
    {10002, "Invalid Pointer"},
    {10027, "Disable PTP Mode"},
    {10003, "Invalid argument"},
    {10004, "Not implemented"},
    {10005, "Out of memory"},
    {10006, "Buffer error"},
    {10007, "Permission denied"},
    {10008, "Timed out"},
    {10009, "Object not init"},
    {10010, "Object init failed"},
    {10011, "Object exist"},
    {10012, "Object not exist"},
    {10015, "Device or resource empty"},
    {10016, "Device or resource open failed"},
    {10017, "Device or resource read failed"},
    {10018, "Device or resource write failed"},
    {10019, "Device or resource delete failed"},
    {10020, "Network is unreachable"},
    {10021, "Illegal request"},
    {10022, "Invalid weibo user"},
    {10023, "Request api not found"},
    {10024, "HTTP method is not suported for this request"},
    {10025, "Upload file error"},
    {10026, "upgrade file error"},
    {12001, "User name or password is incorrect"},
    {12002, "Change default password"},
    {12003, "User lockout when login fail more than 5 time, please try again in 5 minutes"},
    {13103, "Add Interface IP error"},
    {13101, "Create Vlan error"},
    {14101, "This Template is being used by a Network Profile. Please delete the associated Network Profile first"},
    {14102, "Profile type was duplicated"},
    {14103, "The AVB profile template should be only configured on one vlan"},
    {14104, "Unable to set 802.1AS Status with Enable,PTP TC is enable. Disable PTP TC to enable 802.1AS Status"},
    {14105, "Unable to set PTP TC with Enable,802.1AS Status is enable. Disable 802.1AS Status to enable PTP TC"},
    {14106, "The Shure profile template should be only configured on one vlan"},
    {14107, "The profile name is already in use. Please enter a different name."},
    {14108, "The current device does not support this profile"},
    {14109, "The SMPTE profile template should be only configured on one vlan"},
    {15001, "Setting LAG Name is failed. Please check if it is a duplicate name"},
    {16001, "The maximum of 100 Time Ranges is already configured"},
    {17001, "The configuration is invalid"},
    {18001, "IP Address/Netmask entered conflicts with the configured IP Address/Netmask of a router interface"},
    {20001, "Invalid physical mode for this port."},
    {11000, ""},
    {17002, "Unsupported Feature"},
    {17003, "PTP Boundary Clock API is not supported on this model"},
    {26001, "Kernel upgrade required, please upload ONIE file"},
    {-200, "Maximum user accounts reached"},
    {-201, "Invalid user name, does not meet policy"},
    {-202, "Invalid password, does not meet policy"},
    {-203, "Invalid user type"},
    {-204, "Invalid user, user does not exist"},
    {-205, "User account already exist"},
    {-206, "Should not modify user type of admin account"},
    {-207, "Request failed, not a privileged user"},
    {-208, "Can not create/delete admin account"},
    {-300, "Failed to set configuration on the device"},
    {-301, "Failed to get configuration from the device"},
    {-302, "Invalid REST API request"},
    {-7, "Failed to allocate memory"},
};

// Builds the envelope tree; nullptr on failure. `dataRequired` makes a missing
// data text a parse failure (the buffer variant).
cJSON* buildEnvelope(ResultCode code, const char* member, const char* data, bool dataRequired, bool logFailures)
{
    cJSON* root = cJSON_CreateObject();
    if (!root) {
        if (logFailures)
            LOG(kLogError, "[MEM] Failed to create root object\n");
        return nullptr;
    }
    cJSON* resp = cJSON_CreateObject();
    if (!resp) {
        if (logFailures)
            LOG(kLogError, "[MEM] Failed to create resp object\n");
        cJSON_Delete(root);
        return nullptr;
    }
    cJSON_AddNumberToObject(resp, "respCode", code);
    cJSON_AddStringToObject(resp, "respMsg", respMsgGet(code));
    cJSON_AddStringToObject(resp, "status", code == 0 ? "success" : "fail");
    if (code == 0 && member && (data || dataRequired)) {
        cJSON* value = data ? cJSON_Parse(data) : nullptr;
        if (!value) {
            if (logFailures)
                LOG(kLogError, "[MEM] Failed to parse data JSON\n");
            cJSON_Delete(resp);
            cJSON_Delete(root);
            return nullptr;
        }
        cJSON_AddItemToObject(root, member, value);
    }
    cJSON_AddItemToObject(root, "resp", resp);
    return root;
}

}  // namespace

const char* respMsgGet(ResultCode code)
{
    for (const ResultRow& r : kResults)
        if (r.code == code)
            return r.msg;
    return "Error code unknown";
}

ResultCode OpenResultTranslate(int openResult)
{
    switch (openResult) {
    case 0:
        return kResultOk;
    case -22:
        return kResultInvalidArgument;
    case -24:
        return kResultObjectExist;
    case -28:
        return kResultUnsupported;
    case -29:
        return kResultApiNotFound;
    default:
        return kResultGeneralFailed;
    }
}

int responseJsonRreallocStr(ResultCode code, const char* member, const char* data, char** out)
{
    cJSON* root = buildEnvelope(code, member, data, false, true);
    if (!root)
        return kResultGeneralFailed;
    char* text = cJSON_Print(root);
    cJSON_Delete(root);
    if (!text) {
        LOG(kLogError, "[MEM] Failed to print JSON\n");
        return kResultGeneralFailed;
    }
    free(*out);
    *out = text;
    return 0;
}

int responseJsonStr(ResultCode code, const char* member, const char* data, char* buf, unsigned size)
{
    cJSON* root = buildEnvelope(code, member, data, true, false);
    if (!root)
        return -1;
    char* text = cJSON_Print(root);
    cJSON_Delete(root);
    if (!text) {
        LOG(kLogError, "package response str error\r\n");
        return -1;
    }
    // A rendering that does not fit (with room for the caller's NUL) is refused
    // rather than cut, so the caller never holds half a JSON document.
    size_t len = strlen(text);
    if (len >= size) {
        LOG(kLogError, "package response str error\r\n");
        free(text);
        return -1;
    }
    memcpy(buf, text, len);
    free(text);
    return 0;
}

int responseJsonToStr(const cJSON* tree, char** out)
{
    char* text = tree ? cJSON_Print(tree) : nullptr;
    if (!text) {
        LOG(kLogError, "Response error\r\n");
        return kResultGeneralFailed;
    }
    *out = text;
    return 0;
}

ResultCode replyEnvelope(ResultCode code, const char* member, const char* data, bool newline)
{
    char* text = nullptr;
    if (responseJsonRreallocStr(code, member, data, &text) != 0)
        return kResultGeneralFailed;
    fputs(text, stdout);
    if (newline)
        fputc('\n', stdout);
    free(text);
    return code;
}
