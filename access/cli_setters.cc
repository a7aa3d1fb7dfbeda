// CLI-text setters of the shared library.
#include "access/cli_setters.h"

#include <cjson/cJSON.h>
#include <unistd.h>

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "access/cli_bridge.h"
#include "access/intf_notation.h"
#include "runtime/envelope.h"
#include "runtime/log.h"

namespace {

// Formats into a fixed script buffer; false when the text would be cut,
// since a cut script must never be applied.
template <size_t N>
bool scriptPrintf(char (&buf)[N], const char* fmt, ...) __attribute__((format(printf, 2, 3)));
template <size_t N>
bool scriptPrintf(char (&buf)[N], const char* fmt, ...)
{
    va_list ap;
    va_start(ap, fmt);
    int n = vsnprintf(buf, N, fmt, ap);
    va_end(ap);
    if (n < 0 || static_cast<size_t>(n) >= N) {
        buf[0] = '\0';
        return false;
    }
    return true;
}

void removePair(const char* in, const char* out)
{
    unlink(in);
    unlink(out);
}

// Writes the script, applies it and removes both files; 0 or 10000.
int scriptApply(OpenClientHandle* client, const char* in, const char* out, const char* script)
{
    int rc = writeToFile(in, script);
    if (rc == 0 && txtCfgApply(client, in, out) != 0)
        rc = kResultGeneralFailed;
    removePair(in, out);
    return rc == 0 ? kResultOk : kResultGeneralFailed;
}

// One dotted-quad IPv4 address, nothing else.
bool dottedQuad(const char* s)
{
    if (!s || strlen(s) > 15)
        return false;
    int parts = 0;
    const char* p = s;
    for (;;) {
        int digits = 0, v = 0;
        while (*p >= '0' && *p <= '9' && digits < 4) {
            v = v * 10 + (*p++ - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || v > 255)
            return false;
        ++parts;
        if (*p == '\0')
            return parts == 4;
        if (*p != '.' || parts == 4)
            return false;
        ++p;
    }
}

// A CLI name: 1-31 letters, digits, '-', '_' or '.'.
bool cliName(const char* s)
{
    size_t n = s ? strlen(s) : 0;
    if (n == 0 || n > 31)
        return false;
    for (size_t i = 0; i < n; ++i) {
        char c = s[i];
        bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                  c == '_' || c == '.';
        if (!ok)
            return false;
    }
    return true;
}

// The CLI's speed word(s) for a speed text: "100 Full" -> "100 full-duplex",
// "10 Half" -> "10 half-duplex", anything else "auto". What stands before
// "Full" or "Half" must be a number (blanks after it allowed); false otherwise.
bool speedWords(const char* speed, char* out, size_t size)
{
    char buf[32];
    snprintf(buf, sizeof buf, "%s", speed);
    const char* duplex = nullptr;
    char* at = strstr(buf, "Full");
    if (at)
        duplex = "full-duplex";
    else if ((at = strstr(buf, "Half")))
        duplex = "half-duplex";
    if (!at) {
        snprintf(out, size, "auto");
        return true;
    }
    *at = '\0';
    size_t digits = strspn(buf, "0123456789");
    if (digits == 0 || digits > 6 || strspn(buf + digits, " ") != strlen(buf + digits))
        return false;
    int n = snprintf(out, size, "%s%s", buf, duplex);
    return n > 0 && static_cast<size_t>(n) < size;
}

constexpr const char* kPtpModels[] = {"KX810-A", "KX810-B", "KX810-C"};

}  // namespace

int managementPortIPv4ParametersSet(OpenClientHandle* client, uint32_t vlan, int mode, const char* address,
                                    const char* mask, const char* gateway)
{
    const char* in = OXEL_TMP_DIR "oxel_in_ip_management_vlan";
    const char* out = OXEL_TMP_DIR "oxel_out_ip_management_vlan";
    char script[128];
    bool fits;
    if (mode != 1) {
        fits = scriptPrintf(script, "config\nip management vlan %u dhcp\nexit\n", vlan);
    } else {
        if (!dottedQuad(address) || !dottedQuad(mask))
            return kResultInvalidArgument;
        bool noGateway = !gateway || !gateway[0] || strcmp(gateway, "0.0.0.0") == 0;
        if (noGateway)
            fits = scriptPrintf(script, "config\nip management vlan %u %s %s\nno ip default-gateway\nexit\n", vlan,
                                address, mask);
        else if (!dottedQuad(gateway))
            return kResultInvalidArgument;
        else
            fits = scriptPrintf(script, "config\nip management vlan %u %s %s\nip default-gateway %s\nexit\n", vlan,
                                address, mask, gateway);
    }
    if (!fits)
        return kResultInvalidArgument;
    return scriptApply(client, in, out, script);
}

int multipleIfSpeedSet(OpenClientHandle* client, const cJSON* ports, const char* speed)
{
    const char* in = OXEL_TMP_DIR "oxel_in_speed";
    const char* out = OXEL_TMP_DIR "oxel_out_speed";
    if (!ports || !speed || !cJSON_IsArray(ports))
        return kResultInvalidArgument;
    char words[32];
    if (!speedWords(speed, words, sizeof words))
        return kResultInvalidArgument;
    const cJSON* p;
    cJSON_ArrayForEach(p, ports)
    {
        double v = cJSON_IsNumber(p) ? p->valuedouble : -1;
        if (!(v >= 1 && v <= 65535 && std::floor(v) == v))
            return kResultInvalidArgument;
    }
    // One script holds 1024 bytes; a longer port list goes out in several
    // scripts, each complete from "config" to "exit".
    static const char kHead[] = "config\n", kTail[] = "exit\n";
    char script[1024];
    snprintf(script, sizeof script, "%s", kHead);
    cJSON_ArrayForEach(p, ports)
    {
        char block[64];
        if (!scriptPrintf(block, "interface 0/%d\nspeed %s\nexit\n", static_cast<int>(p->valuedouble), words))
            return kResultInvalidArgument;
        if (strlen(script) + strlen(block) + strlen(kTail) >= sizeof script) {
            strcat(script, kTail);
            int rc = scriptApply(client, in, out, script);
            if (rc != 0)
                return rc;
            snprintf(script, sizeof script, "%s", kHead);
        }
        strcat(script, block);
    }
    strcat(script, kTail);
    return scriptApply(client, in, out, script);
}

int fanControlModeSet(OpenClientHandle* client, int mode)
{
    int suffix = tempFileSuffixGet();
    char in[kCliPathSize], out[kCliPathSize];
    snprintf(in, sizeof in, OXEL_TMP_DIR "oxel_in_fan_set_%d", suffix);
    snprintf(out, sizeof out, OXEL_TMP_DIR "oxel_out_fan_set_%d", suffix);
    static const char* const kModes[] = {nullptr, "off", "quiet", "cool"};
    char script[1024] = "";
    if (mode >= 1 && mode <= 3)
        scriptPrintf(script, "config\nenvironment fan control mode %s\nexit\n", kModes[mode]);
    return scriptApply(client, in, out, script);
}

int vlanMakeStatic(OpenClientHandle* client, uint32_t vlan)
{
    const char* in = OXEL_TMP_DIR "vlan_static_in";
    const char* out = OXEL_TMP_DIR "vlan_static_out";
    if (openapiVlanIsStatic(client, vlan) != 0)
        return kResultOk;
    char script[256];
    scriptPrintf(script, "vlan database\nvlan makestatic %u\nexit\n", vlan);
    return scriptApply(client, in, out, script);
}

int ptpTcIntfAdminModeSet(OpenClientHandle* client, uint32_t intIfNum, int mode)
{
    const char* in = OXEL_TMP_DIR "oxel_in_interface_ptp";
    const char* out = OXEL_TMP_DIR "oxel_out_interface_ptp";
    uint32_t members = 0;
    stackMemberCountGet(client, &members);
    char model[256];
    memset(model, 0, sizeof model);
    BufDesc modelDesc{sizeof model, model};
    openapiSystemRegMachineModelGet(client, &modelDesc);
    bool unsupported = members >= 2;
    for (const char* m : kPtpModels)
        unsupported = unsupported || strcmp(model, m) == 0;
    if (unsupported) {
        LOG(kLogWarn, "Unsupport PTP\n");
        return kResultNotImplemented;
    }
    char script[512] = "";
    const char* no = mode == 0 ? "no " : "";
    uint32_t firstLag = 0;
    if ((mode == 0 || mode == 1) && ifFirstOfTypeGet(client, kIfTypeLag, &firstLag) == 0) {
        UnitSlotPort usp;
        if (intIfNum >= firstLag)
            scriptPrintf(script, "config\ninterface lag %u\n%sptp clock e2e-transparent\nexit\nexit\n",
                         intIfNum - firstLag + 1, no);
        else if (ifUnitSlotPortGet(client, intIfNum, &usp) == 0)
            scriptPrintf(script, "config\ninterface %d/%d/%d\n%sptp clock e2e-transparent\nexit\nexit\n", usp.unit,
                         usp.slot, usp.port, no);
    }
    if (!script[0]) {
        removePair(in, out);
        return kResultOk;
    }
    return scriptApply(client, in, out, script);
}

int ifFlowControlSet(OpenClientHandle* client, uint32_t intIfNum, int mode)
{
    const char* in = OXEL_TMP_DIR "oxel_in_flowcontrol";
    const char* out = OXEL_TMP_DIR "oxel_out_flowcontrol";
    char script[512] = "";
    uint32_t firstLag = 0;
    UnitSlotPort usp;
    if ((mode == 0 || mode == 1) && ifFirstOfTypeGet(client, kIfTypeLag, &firstLag) == 0 && intIfNum < firstLag &&
        ifUnitSlotPortGet(client, intIfNum, &usp) == 0)
        scriptPrintf(script, "config\ninterface %d/%d/%d\n%s\nexit\nexit\n", usp.unit, usp.slot, usp.port,
                     mode ? "flowcontrol symmetric" : "no flowcontrol");
    return scriptApply(client, in, out, script);
}

int poePortTimerScheduleNameSet(OpenClientHandle* client, uint32_t intIfNum, const char* name)
{
    const char* in = OXEL_TMP_DIR "oxel_in_poe_port_TimerSchedule";
    const char* out = OXEL_TMP_DIR "oxel_out_poe_port_TimerSchedule";
    if (!cliName(name)) {
        removePair(in, out);
        return kResultInvalidArgument;
    }
    UnitSlotPort usp;
    memset(&usp, 0, sizeof usp);
    int rc = openapiHashIntfUnitSlotPortGet(client, intIfNum, &usp);
    if (rc != 0) {
        LOG(kLogError, "Bad return code trying to get unit/slot/port. (result = %d)\n", rc);
        removePair(in, out);
        return kResultGeneralFailed;
    }
    char script[1024];
    scriptPrintf(script, "config\ninterface %d/%d/%d\npoe timer schedule %s\nexit\n", usp.unit, usp.slot, usp.port,
                 name);
    return scriptApply(client, in, out, script);
}

int lagAutoModeSet(OpenClientHandle* client, int mode)
{
    const char* in = OXEL_TMP_DIR "oxel_in_auto_lag_mode";
    const char* out = OXEL_TMP_DIR "oxel_out_auto_lag_mode";
    return scriptApply(client, in, out, mode == 1 ? "config\nport-channel auto\nexit\n"
                                                  : "config\nno port-channel auto\nexit\n");
}

int ifConfigAVBSet(OpenClientHandle* client)
{
    (void)client;
    LOG(kLogDebug, "This model of switch does not support AVB.\r\n");
    removePair(OXEL_TMP_DIR "oxel_in_port_avb", OXEL_TMP_DIR "oxel_out_port_avb");
    return kResultOk;
}
