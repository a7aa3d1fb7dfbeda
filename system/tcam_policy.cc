// TCAM policy records read from requests and answered. One table of the
// record's fields, in the order of the policy object, drives both ways.
#include "system/tcam_policy.h"

#include <cjson/cJSON.h>

#include <cmath>
#include <cstddef>
#include <cstring>

#include "runtime/text_convert.h"

namespace coregate {

namespace {

enum FieldType : uint8_t { kNumber, kMacBytes, kIpv6Bytes, kGroup };

struct Field {
    const char* name;
    FieldType type;
    size_t offset;  // in the record
    uint8_t width;  // bytes of a number field
    const Field* members;
    size_t count;
};

#define TCAM_AT(path) offsetof(TcamPolicy, path)
#define TCAM_NUM(name, path) Field{name, kNumber, TCAM_AT(path), sizeof(TcamPolicy::path), nullptr, 0}

// offsetof of a nested member is not portable C++; the nested groups name
// their fields from the group's own start.
constexpr size_t kVersionAt = offsetof(TcamPolicy, policyHeader) + offsetof(TcamPolicyHeader, versionInfo);
constexpr size_t kActionAt = offsetof(TcamPolicy, actionVal);

const Field kVersionFields[] = {
    {"versionMajor", kNumber, kVersionAt + offsetof(TcamVersion, versionMajor), 4, nullptr, 0},
    {"versionMinor", kNumber, kVersionAt + offsetof(TcamVersion, versionMinor), 4, nullptr, 0},
};

const Field kHeaderFields[] = {
    {"versionInfo", kGroup, 0, 0, kVersionFields, 2},
    {"headerLen", kNumber, offsetof(TcamPolicy, policyHeader) + offsetof(TcamPolicyHeader, headerLen), 4, nullptr, 0},
};

const Field kActionFields[] = {
    {"redirIntfNum", kNumber, kActionAt + offsetof(TcamPolicyAction, redirIntfNum), 4, nullptr, 0},
    {"srcAddr", kMacBytes, kActionAt + offsetof(TcamPolicyAction, srcAddr), 6, nullptr, 0},
    {"dstMac", kMacBytes, kActionAt + offsetof(TcamPolicyAction, dstMac), 6, nullptr, 0},
    {"etherType", kNumber, kActionAt + offsetof(TcamPolicyAction, etherType), 4, nullptr, 0},
    {"vlanId", kNumber, kActionAt + offsetof(TcamPolicyAction, vlanId), 2, nullptr, 0},
    {"vlanPrio", kNumber, kActionAt + offsetof(TcamPolicyAction, vlanPrio), 1, nullptr, 0},
    {"dscp", kNumber, kActionAt + offsetof(TcamPolicyAction, dscp), 1, nullptr, 0},
};

const Field kPolicyFields[] = {
    {"policyHeader", kGroup, 0, 0, kHeaderFields, 2},
    TCAM_NUM("policyType", policyType),
    TCAM_NUM("policyPrio", policyPrio),
    TCAM_NUM("ruleNum", ruleNum),
    TCAM_NUM("rulePrio", rulePrio),
    {"matchDstMac", kMacBytes, TCAM_AT(matchDstMac), 6, nullptr, 0},
    {"matchSrcMac", kMacBytes, TCAM_AT(matchSrcMac), 6, nullptr, 0},
    TCAM_NUM("matchVlanVal", matchVlanVal),
    TCAM_NUM("matchVlanPrio", matchVlanPrio),
    TCAM_NUM("matchEthType", matchEthType),
    TCAM_NUM("matchDstIp", matchDstIp),
    TCAM_NUM("matchDstIpMask", matchDstIpMask),
    TCAM_NUM("matchSrcIp", matchSrcIp),
    TCAM_NUM("matchSrcIpMask", matchSrcIpMask),
    TCAM_NUM("matchIpProto", matchIpProto),
    TCAM_NUM("matchIpProtoMask", matchIpProtoMask),
    TCAM_NUM("matchIpDscp", matchIpDscp),
    TCAM_NUM("matchIpDscpMask", matchIpDscpMask),
    TCAM_NUM("matchSrcPortIcmpType", matchSrcPortIcmpType),
    TCAM_NUM("matchSrcPortIcmpTypeMask", matchSrcPortIcmpTypeMask),
    TCAM_NUM("matchDstPortIcmpCode", matchDstPortIcmpCode),
    TCAM_NUM("matchDstPortIcmpCodeMask", matchDstPortIcmpCodeMask),
    {"matchSrcIpv6Addr", kIpv6Bytes, TCAM_AT(matchSrcIpv6Addr), 16, nullptr, 0},
    {"matchSrcIpv6Mask", kIpv6Bytes, TCAM_AT(matchSrcIpv6Mask), 16, nullptr, 0},
    {"matchDstIpv6Addr", kIpv6Bytes, TCAM_AT(matchDstIpv6Addr), 16, nullptr, 0},
    {"matchDstIpv6Mask", kIpv6Bytes, TCAM_AT(matchDstIpv6Mask), 16, nullptr, 0},
    TCAM_NUM("actionType", actionType),
    {"actionVal", kGroup, 0, 0, kActionFields, sizeof kActionFields / sizeof kActionFields[0]},
};

#undef TCAM_NUM
#undef TCAM_AT

// Stores a whole number of at most `width` bytes at `at` (record byte order
// is the host's, as for every record of the wire).
bool storeNumber(const cJSON* v, uint8_t width, unsigned char* at)
{
    if (!cJSON_IsNumber(v))
        return false;
    double d = v->valuedouble;
    double limit = width == 8 ? 18446744073709551616.0 : std::ldexp(1.0, 8 * width);
    if (!(d >= 0 && d < limit) || std::floor(d) != d)
        return false;
    uint64_t n = static_cast<uint64_t>(d);
    switch (width) {
    case 1: { uint8_t x = static_cast<uint8_t>(n); memcpy(at, &x, 1); break; }
    case 2: { uint16_t x = static_cast<uint16_t>(n); memcpy(at, &x, 2); break; }
    case 4: { uint32_t x = static_cast<uint32_t>(n); memcpy(at, &x, 4); break; }
    default: memcpy(at, &n, 8); break;
    }
    return true;
}

uint64_t loadNumber(uint8_t width, const unsigned char* at)
{
    switch (width) {
    case 1: return *at;
    case 2: { uint16_t x; memcpy(&x, at, 2); return x; }
    case 4: { uint32_t x; memcpy(&x, at, 4); return x; }
    default: { uint64_t x; memcpy(&x, at, 8); return x; }
    }
}

bool storeMac(const cJSON* v, unsigned char* at)
{
    if (!cJSON_IsArray(v))
        return false;
    int n = 0;
    const cJSON* e;
    cJSON_ArrayForEach(e, v)
    {
        if (n == 6)
            break;  // a MAC has six bytes: further elements are ignored
        if (!storeNumber(e, 1, at + n))
            return false;
        ++n;
    }
    return true;
}

bool readFields(const cJSON* obj, const Field* fields, size_t count, unsigned char* rec)
{
    if (!cJSON_IsObject(obj))
        return false;
    for (size_t i = 0; i < count; ++i) {
        const Field& f = fields[i];
        const cJSON* v = cJSON_GetObjectItem(obj, f.name);
        if (!v || cJSON_IsNull(v))
            continue;
        bool ok = true;
        switch (f.type) {
        case kNumber: ok = storeNumber(v, f.width, rec + f.offset); break;
        case kMacBytes: ok = storeMac(v, rec + f.offset); break;
        case kIpv6Bytes:
            // Text that is no IPv6 address leaves the field zero.
            if (!cJSON_IsString(v) || !conv::parseIpv6(v->valuestring, rec + f.offset))
                memset(rec + f.offset, 0, 16);
            break;
        case kGroup: ok = readFields(v, f.members, f.count, rec); break;
        }
        if (!ok)
            return false;
    }
    return true;
}

cJSON* fieldsJson(const Field* fields, size_t count, const unsigned char* rec)
{
    cJSON* o = cJSON_CreateObject();
    for (size_t i = 0; i < count; ++i) {
        const Field& f = fields[i];
        const unsigned char* at = rec + f.offset;
        switch (f.type) {
        case kNumber:
            cJSON_AddNumberToObject(o, f.name, static_cast<double>(loadNumber(f.width, at)));
            break;
        case kMacBytes: {
            cJSON* a = cJSON_AddArrayToObject(o, f.name);
            for (int k = 0; k < 6; ++k)
                cJSON_AddItemToArray(a, cJSON_CreateNumber(at[k]));
            break;
        }
        case kIpv6Bytes:
            cJSON_AddStringToObject(o, f.name, conv::ipv6Text(at).c_str());
            break;
        case kGroup:
            cJSON_AddItemToObject(o, f.name, fieldsJson(f.members, f.count, rec));
            break;
        }
    }
    return o;
}

}  // namespace

ResultCode readTcamPolicy(const cJSON* item, void* rec, void*)
{
    unsigned char* r = static_cast<unsigned char*>(rec);
    memset(r, 0, sizeof(TcamPolicy));
    if (!item)
        return kResultOk;
    if (!readFields(item, kPolicyFields, sizeof kPolicyFields / sizeof kPolicyFields[0], r)) {
        memset(r, 0, sizeof(TcamPolicy));
        return kResultInvalidArgument;
    }
    return kResultOk;
}

void writeTcamPolicy(cJSON* obj, const char* name, const void* rec, const void*, uint32_t)
{
    cJSON_AddItemToObject(obj, name,
                          fieldsJson(kPolicyFields, sizeof kPolicyFields / sizeof kPolicyFields[0],
                                     static_cast<const unsigned char*>(rec)));
}

}  // namespace coregate
