// The TCAM policy object against the switch's 192-byte policy record: where
// each member lands in the record, what is refused, and the object answered
// from a record.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/raii.h"
#include "system/tcam_policy.h"

namespace {

using coregate::readTcamPolicy;
using coregate::writeTcamPolicy;

struct Record {
    ResultCode code;
    TcamPolicy rec;
};

// Reads `policyText` (a JSON text, or nullptr for an absent member) into a
// record that starts filled with garbage, as a reused buffer would be.
Record read(const char* policyText)
{
    Record r;
    memset(&r.rec, 0xa5, sizeof r.rec);
    JsonPtr item(policyText ? cJSON_Parse(policyText) : nullptr);
    if (policyText) {
        EXPECT_NE(item.get(), nullptr) << policyText;
    }
    r.code = readTcamPolicy(item.get(), &r.rec, nullptr);
    return r;
}

std::string written(const TcamPolicy& rec)
{
    JsonPtr o(cJSON_CreateObject());
    writeTcamPolicy(o.get(), "policyInfo", &rec, nullptr, UINT32_MAX);
    CStr text(cJSON_PrintUnformatted(cJSON_GetObjectItem(o.get(), "policyInfo")));
    return text.get();
}

bool allZero(const void* p, size_t n)
{
    const unsigned char* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i)
        if (b[i])
            return false;
    return true;
}

template <class T>
T at(const TcamPolicy& rec, size_t offset)
{
    T v;
    memcpy(&v, reinterpret_cast<const unsigned char*>(&rec) + offset, sizeof v);
    return v;
}

// Every member, in the order a policy is answered, with values that differ
// from each other, so a member landing in the wrong field shows.
const char kFull[] =
    "{\"policyHeader\":{\"versionInfo\":{\"versionMajor\":1,\"versionMinor\":2},\"headerLen\":192},"
    "\"policyType\":3,\"policyPrio\":4,\"ruleNum\":8589934597,\"rulePrio\":6,"
    "\"matchDstMac\":[0,17,34,51,68,85],\"matchSrcMac\":[170,187,204,221,238,255],"
    "\"matchVlanVal\":4094,\"matchVlanPrio\":7,\"matchEthType\":2048,"
    "\"matchDstIp\":167772161,\"matchDstIpMask\":4294967040,\"matchSrcIp\":3232235777,\"matchSrcIpMask\":4294901760,"
    "\"matchIpProto\":6,\"matchIpProtoMask\":255,\"matchIpDscp\":46,\"matchIpDscpMask\":63,"
    "\"matchSrcPortIcmpType\":1024,\"matchSrcPortIcmpTypeMask\":65535,\"matchDstPortIcmpCode\":80,"
    "\"matchDstPortIcmpCodeMask\":65280,"
    "\"matchSrcIpv6Addr\":\"2001:db8::1\",\"matchSrcIpv6Mask\":\"ffff:ffff::\",\"matchDstIpv6Addr\":\"fe80::2\","
    "\"matchDstIpv6Mask\":\"::\",\"actionType\":9,"
    "\"actionVal\":{\"redirIntfNum\":12,\"srcAddr\":[2,0,0,0,0,1],\"dstMac\":[2,0,0,0,0,2],\"etherType\":34525,"
    "\"vlanId\":100,\"vlanPrio\":5,\"dscp\":34}}";

TEST(TcamPolicy, EveryMemberLandsAtItsRecordOffsetAndComesBackInOrder)
{
    Record r = read(kFull);
    ASSERT_EQ(r.code, kResultOk);
    EXPECT_EQ(at<uint32_t>(r.rec, 0), 1u);
    EXPECT_EQ(at<uint32_t>(r.rec, 4), 2u);
    EXPECT_EQ(at<uint32_t>(r.rec, 8), 192u);
    EXPECT_EQ(at<uint32_t>(r.rec, 12), 3u);
    EXPECT_EQ(at<uint32_t>(r.rec, 16), 4u);
    EXPECT_EQ(at<uint32_t>(r.rec, 20), 0u);  // padding stays zero
    EXPECT_EQ(at<uint64_t>(r.rec, 24), 8589934597ull);
    EXPECT_EQ(at<uint32_t>(r.rec, 32), 6u);
    EXPECT_EQ(at<uint8_t>(r.rec, 36 + 5), 85);
    EXPECT_EQ(at<uint8_t>(r.rec, 42), 170);
    EXPECT_EQ(at<uint16_t>(r.rec, 48), 4094);
    EXPECT_EQ(at<uint8_t>(r.rec, 50), 7);
    EXPECT_EQ(at<uint16_t>(r.rec, 52), 2048);
    EXPECT_EQ(at<uint32_t>(r.rec, 56), 167772161u);
    EXPECT_EQ(at<uint32_t>(r.rec, 68), 4294901760u);
    EXPECT_EQ(at<uint8_t>(r.rec, 84), 63);
    EXPECT_EQ(at<uint16_t>(r.rec, 86), 1024);
    EXPECT_EQ(at<uint16_t>(r.rec, 92), 65280);
    EXPECT_EQ(at<uint8_t>(r.rec, 96), 0x20);  // 2001:db8::1 in network order
    EXPECT_EQ(at<uint8_t>(r.rec, 111), 0x01);
    EXPECT_EQ(at<uint8_t>(r.rec, 128), 0xfe);
    EXPECT_TRUE(allZero(&r.rec.matchDstIpv6Mask, 16));
    EXPECT_EQ(at<uint32_t>(r.rec, 160), 9u);
    EXPECT_EQ(at<uint32_t>(r.rec, 164), 12u);
    EXPECT_EQ(at<uint8_t>(r.rec, 173), 1);
    EXPECT_EQ(at<uint8_t>(r.rec, 179), 2);
    EXPECT_EQ(at<uint32_t>(r.rec, 180), 34525u);
    EXPECT_EQ(at<uint16_t>(r.rec, 184), 100);
    EXPECT_EQ(at<uint8_t>(r.rec, 186), 5);
    EXPECT_EQ(at<uint8_t>(r.rec, 187), 34);
    EXPECT_TRUE(allZero(r.rec.pad5, sizeof r.rec.pad5));
    EXPECT_EQ(written(r.rec), kFull);
}

TEST(TcamPolicy, AnAbsentOrEmptyPolicyIsTheZeroRecordAnsweredWithZeroAddresses)
{
    for (const char* text : {static_cast<const char*>(nullptr), "{}", "{\"policyType\":null}"}) {
        Record r = read(text);
        EXPECT_EQ(r.code, kResultOk) << (text ? text : "absent");
        EXPECT_TRUE(allZero(&r.rec, sizeof r.rec)) << (text ? text : "absent");
    }
    std::string zero = written(read("{}").rec);
    EXPECT_NE(zero.find("\"matchSrcIpv6Addr\":\"::\""), std::string::npos) << zero;
    EXPECT_NE(zero.find("\"matchDstMac\":[0,0,0,0,0,0]"), std::string::npos) << zero;
    EXPECT_NE(zero.find("\"ruleNum\":0,"), std::string::npos) << zero;
}

struct Lenient {
    const char* text;
    size_t offset;
    const char* bytes;  // expected bytes at offset
    size_t count;
};

TEST(TcamPolicy, MacArraysTakeAtMostSixBytesAndBadIpv6TextLeavesZero)
{
    const Lenient cases[] = {
        {"{\"matchDstMac\":[1,2,3,4,5,6,7,8]}", 36, "\x01\x02\x03\x04\x05\x06\x00\x00\x00\x00\x00\x00", 12},
        {"{\"matchSrcMac\":[9,8,7]}", 42, "\x09\x08\x07\x00\x00\x00", 6},
        {"{\"matchDstMac\":[]}", 36, "\x00\x00\x00\x00\x00\x00", 6},
        {"{\"actionVal\":{\"dstMac\":[1,2,3,4,5,6,7]}}", 174, "\x01\x02\x03\x04\x05\x06\x00\x00", 8},
        {"{\"matchSrcIpv6Addr\":\"2001:db8::g\"}", 96, "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 16},
        {"{\"matchSrcIpv6Addr\":\"10.0.0.1\"}", 96, "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 16},
        {"{\"matchDstIpv6Mask\":17}", 144, "\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00", 16},
        {"{\"ruleNum\":18446744073709549568}", 24, "\x00\xf8\xff\xff\xff\xff\xff\xff", 8},
    };
    for (const Lenient& c : cases) {
        Record r = read(c.text);
        ASSERT_EQ(r.code, kResultOk) << c.text;
        EXPECT_EQ(memcmp(reinterpret_cast<const unsigned char*>(&r.rec) + c.offset, c.bytes, c.count), 0) << c.text;
    }
    EXPECT_NE(written(read("{\"matchSrcIpv6Addr\":\"nonsense\"}").rec).find("\"matchSrcIpv6Addr\":\"::\""),
              std::string::npos);
}

TEST(TcamPolicy, NumbersThatDoNotFitTheirFieldAreRefusedAndLeaveNothing)
{
    for (const char* text : {
             "[1,2]", "\"policy\"", "7",
             "{\"matchVlanVal\":65536}", "{\"matchVlanPrio\":256}", "{\"matchIpDscpMask\":-1}",
             "{\"policyType\":4294967296}", "{\"policyPrio\":1.5}", "{\"ruleNum\":-1}",
             "{\"ruleNum\":18446744073709551616}", "{\"matchDstIp\":\"10.0.0.1\"}", "{\"rulePrio\":true}",
             "{\"matchDstMac\":[1,2,256]}", "{\"matchDstMac\":[1,\"2\"]}", "{\"matchSrcMac\":\"00:11:22:33:44:55\"}",
             "{\"policyHeader\":5}", "{\"policyHeader\":{\"versionInfo\":{\"versionMajor\":-3}}}",
             "{\"actionVal\":{\"vlanId\":70000}}", "{\"actionVal\":{\"srcAddr\":[1,2,3,4,5,1000]}}",
             "{\"actionVal\":[]}",
         }) {
        Record r = read(text);
        EXPECT_EQ(r.code, kResultInvalidArgument) << text;
        EXPECT_TRUE(allZero(&r.rec, sizeof r.rec)) << text;
    }
}

TEST(TcamPolicy, MembersAreFoundWithoutRegardToCase)
{
    Record r = read("{\"POLICYTYPE\":5,\"actionval\":{\"VLANID\":9}}");
    ASSERT_EQ(r.code, kResultOk);
    EXPECT_EQ(r.rec.policyType, 5u);
    EXPECT_EQ(r.rec.actionVal.vlanId, 9);
}

}  // namespace
