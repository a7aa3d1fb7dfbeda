// Parsers of "show bootvar" and "show ip management".
#include "access/show_parse_system.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "access/cli_bridge.h"
#include "runtime/envelope.h"
#include "runtime/log.h"

namespace {

constexpr size_t kLineSize = 1024;

bool startsWith(const char* line, const char* label)
{
    return strncmp(line, label, strlen(label)) == 0;
}

// The first word at `column` of a line, at most size - 1 characters.
void wordAt(const char* line, size_t column, char* dst, size_t size)
{
    if (strlen(line) <= column)
        return;
    const char* p = line + column;
    p += strspn(p, " \t");
    size_t n = strcspn(p, " \t\r\n");
    if (n >= size)
        n = size - 1;
    memcpy(dst, p, n);
    dst[n] = '\0';
}

}  // namespace

int bootvarGet(OpenClientHandle* client, int* count, BootImageRecord* records)
{
    if (!count || !records)
        return kResultInvalidArgument;
    int capacity = *count > 0 ? *count : 0;
    memset(records, 0, sizeof(BootImageRecord) * static_cast<size_t>(capacity));
    *count = 0;
    const char* path = OXEL_TMP_DIR "oxel_out_show_bootvar";
    int rc = cliShowExecuteToFile(client, "show bootvar", path);
    if (rc != 0)
        return rc;
    FILE* f = fopen(path, "re");
    if (!f) {
        LOG(kLogError, "can not open file:%s\r\n", path);
        return kResultOpenFailed;
    }
    char line[kLineSize];
    int lineNo = 0, filled = 0;
    while (fgets(line, sizeof line, f)) {
        if (++lineNo <= 14)
            continue;  // the header
        if (filled >= capacity)
            break;
        BootImageRecord r{};
        if (sscanf(line, "%d %11s %11s %17s %17s", &r.unit, r.active, r.backup, r.currentActive, r.nextActive) != 5)
            break;  // the table ends at the first other line
        records[filled++] = r;
    }
    fclose(f);
    unlink(path);
    *count = filled;
    return kResultOk;
}

int managementPortIPv4ParametersGet(OpenClientHandle* client, uint32_t* vlan, char* method, char* address,
                                    char* mask, char* gateway)
{
    if (!vlan || !method || !address || !mask || !gateway)
        return kResultInvalidArgument;
    for (char* t : {method, address, mask, gateway})
        memset(t, 0, kMgmtTextSize);
    const char* path = OXEL_TMP_DIR "oxel_out_show_ip_management";
    int rc = cliShowExecuteToFile(client, "show ip management", path);
    if (rc != 0)
        return rc;
    FILE* f = fopen(path, "re");
    if (!f) {
        LOG(kLogError, "can not open file:%s\r\n", path);
        return kResultOpenFailed;
    }
    char line[kLineSize];
    while (fgets(line, sizeof line, f)) {
        if (startsWith(line, "IPv4 Management Interface")) {
            if (strlen(line) > 52) {
                char* end;
                long v = strtol(line + 52, &end, 10);
                if (end != line + 52 && v >= 0 && v <= 4095)
                    *vlan = static_cast<uint32_t>(v);
            }
        } else if (startsWith(line, "IP Address")) {
            wordAt(line, 47, address, kMgmtTextSize);
        } else if (startsWith(line, "Subnet Mask")) {
            wordAt(line, 47, mask, kMgmtTextSize);
        } else if (startsWith(line, "Method")) {
            wordAt(line, 47, method, kMgmtTextSize);
        } else if (startsWith(line, "Default Gateway")) {
            wordAt(line, 47, gateway, kMgmtTextSize);
        }
    }
    fclose(f);
    unlink(path);
    return kResultOk;
}
