// The TCAM policy record of the switch's policy operations. It crosses the
// wire as raw bytes, so every field is fixed-width, every padding byte is
// spelled out and the layout is checked below: a 32-bit client and the
// switch control process must agree on all 192 bytes.
#pragma once

#include <stddef.h>
#include <stdint.h>

/// Version of the policy record format a client fills in.
struct TcamVersion {
    uint32_t versionMajor;
    uint32_t versionMinor;
};

struct TcamPolicyHeader {
    TcamVersion versionInfo;
    uint32_t headerLen;
};

/// What a matching packet gets: redirection, rewritten addresses and tags.
struct TcamPolicyAction {
    uint32_t redirIntfNum;
    uint8_t srcAddr[6];
    uint8_t dstMac[6];
    uint32_t etherType;
    uint16_t vlanId;
    uint8_t vlanPrio;
    uint8_t dscp;
};

/// One policy: its header, the fields it matches (IPv4 addresses host order,
/// IPv6 addresses network order) and its action.
struct TcamPolicy {
    TcamPolicyHeader policyHeader;
    uint32_t policyType;
    uint32_t policyPrio;
    uint8_t pad0[4];
    uint64_t ruleNum;
    uint32_t rulePrio;
    uint8_t matchDstMac[6];
    uint8_t matchSrcMac[6];
    uint16_t matchVlanVal;
    uint8_t matchVlanPrio;
    uint8_t pad1;
    uint16_t matchEthType;
    uint8_t pad2[2];
    uint32_t matchDstIp;
    uint32_t matchDstIpMask;
    uint32_t matchSrcIp;
    uint32_t matchSrcIpMask;
    uint32_t matchIpProto;
    uint32_t matchIpProtoMask;
    uint32_t matchIpDscp;
    uint8_t matchIpDscpMask;
    uint8_t pad3;
    uint16_t matchSrcPortIcmpType;
    uint16_t matchSrcPortIcmpTypeMask;
    uint16_t matchDstPortIcmpCode;
    uint16_t matchDstPortIcmpCodeMask;
    uint8_t pad4[2];
    uint8_t matchSrcIpv6Addr[16];
    uint8_t matchSrcIpv6Mask[16];
    uint8_t matchDstIpv6Addr[16];
    uint8_t matchDstIpv6Mask[16];
    uint32_t actionType;
    TcamPolicyAction actionVal;
    uint8_t pad5[4];
};

static_assert(sizeof(TcamPolicyAction) == 24, "TcamPolicyAction layout");
static_assert(offsetof(TcamPolicyAction, srcAddr) == 4 && offsetof(TcamPolicyAction, dstMac) == 10 &&
                  offsetof(TcamPolicyAction, etherType) == 16 && offsetof(TcamPolicyAction, vlanId) == 20 &&
                  offsetof(TcamPolicyAction, vlanPrio) == 22 && offsetof(TcamPolicyAction, dscp) == 23,
              "TcamPolicyAction layout");
static_assert(sizeof(TcamPolicy) == 192, "TcamPolicy layout");
static_assert(offsetof(TcamPolicy, policyType) == 12 && offsetof(TcamPolicy, policyPrio) == 16 &&
                  offsetof(TcamPolicy, ruleNum) == 24 && offsetof(TcamPolicy, rulePrio) == 32 &&
                  offsetof(TcamPolicy, matchDstMac) == 36 && offsetof(TcamPolicy, matchSrcMac) == 42 &&
                  offsetof(TcamPolicy, matchVlanVal) == 48 && offsetof(TcamPolicy, matchVlanPrio) == 50 &&
                  offsetof(TcamPolicy, matchEthType) == 52 && offsetof(TcamPolicy, matchDstIp) == 56 &&
                  offsetof(TcamPolicy, matchDstIpMask) == 60 && offsetof(TcamPolicy, matchSrcIp) == 64 &&
                  offsetof(TcamPolicy, matchSrcIpMask) == 68 && offsetof(TcamPolicy, matchIpProto) == 72 &&
                  offsetof(TcamPolicy, matchIpProtoMask) == 76 && offsetof(TcamPolicy, matchIpDscp) == 80 &&
                  offsetof(TcamPolicy, matchIpDscpMask) == 84 && offsetof(TcamPolicy, matchSrcPortIcmpType) == 86 &&
                  offsetof(TcamPolicy, matchSrcPortIcmpTypeMask) == 88 &&
                  offsetof(TcamPolicy, matchDstPortIcmpCode) == 90 &&
                  offsetof(TcamPolicy, matchDstPortIcmpCodeMask) == 92 &&
                  offsetof(TcamPolicy, matchSrcIpv6Addr) == 96 && offsetof(TcamPolicy, matchSrcIpv6Mask) == 112 &&
                  offsetof(TcamPolicy, matchDstIpv6Addr) == 128 && offsetof(TcamPolicy, matchDstIpv6Mask) == 144 &&
                  offsetof(TcamPolicy, actionType) == 160 && offsetof(TcamPolicy, actionVal) == 164,
              "TcamPolicy layout");
