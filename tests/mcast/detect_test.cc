// swarmgate's multicast stream detection: the setting read from and
// replaced in its file (atomically, never leaving the temporary file), and
// the streams of the detector's data file, counted by VLAN and paged by
// offset and limit, with the data files that cannot be read.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "mcast/detect.h"
#include "runtime/raii.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

const std::string kConfig = "/tmp/mcast_detect_config";
const std::string kTmp = "/tmp/mcast_detect_config.tmp";
const std::string kData = "/tmp/mcast_data.json";

harness::CgiResult detect(const std::string& method, const std::string& leaf, const std::string& body = "",
                          const std::string& query = "")
{
    harness::CgiRequest r;
    r.program = "swarmgate";
    r.method = method;
    r.uri = "/api/v2/mcast/detect/" + leaf;
    r.body = body;
    r.query = query;
    return harness::runCgi(r);
}

// The detection envelope, printed indented: "resp", then what follows it.
std::string answer(int code, const std::string& rest = "")
{
    std::string resp = code == 0 ? "\"Success\",\n\t\t\"status\":\t\"success\""
                                 : "\"Error\",\n\t\t\"status\":\t\"fail\"";
    return std::string(harness::kJsonHeader) + "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t" + std::to_string(code) +
           ",\n\t\t\"respMsg\":\t" + resp + "\n\t}" + rest + "\n}";
}

std::string modeAnswer(const char* word)
{
    return answer(0, std::string(",\n\t\"data\":\t{\n\t\t\"adminMode\":\t\"") + word + "\"\n\t}");
}

class Detect : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim_.ok());
        harness::writeAdminSession();
        unlink(kConfig.c_str());
        unlink(kTmp.c_str());
        unlink(kData.c_str());
    }
    harness::Simulator sim_;
};

// --- The setting ------------------------------------------------------------------

TEST_F(Detect, AdminModeIsEnabledOnlyWhenTheFileSaysExactlySo)
{
    struct Case {
        const char* name;
        const char* content;  // nullptr: no file
        const char* word;
    } cases[] = {
        {"missing", nullptr, "disabled"},
        {"not JSON", "adminMode=enabled", "disabled"},
        {"empty", "", "disabled"},
        {"no member", "{\"mode\":\"enabled\"}", "disabled"},
        {"disabled", "{\"adminMode\":\"disabled\"}", "disabled"},
        {"other case", "{\"adminMode\":\"Enabled\"}", "disabled"},
        {"no string", "{\"adminMode\":true}", "disabled"},
        {"enabled", "{\"adminMode\":\"enabled\"}", "enabled"},
        {"enabled, spaced", "  { \"adminMode\" : \"enabled\" }\n", "enabled"},
    };
    for (const Case& c : cases) {
        unlink(kConfig.c_str());
        if (c.content)
            harness::writeFile(kConfig, c.content);
        EXPECT_EQ(detect("GET", "admin-mode").out, modeAnswer(c.word)) << c.name;
    }
    // Only its first 255 bytes are read: a longer text is cut and no JSON.
    harness::writeFile(kConfig, "{\"adminMode\":\"enabled\"" + std::string(240, ' ') + "}");
    EXPECT_EQ(detect("GET", "admin-mode").out, modeAnswer("disabled"));
    harness::writeFile(kConfig, "{\"adminMode\":\"enabled\"" + std::string(232, ' ') + "}");
    EXPECT_EQ(detect("GET", "admin-mode").out, modeAnswer("enabled"));
}

TEST_F(Detect, PutReplacesTheSettingAndLeavesNoTemporaryFile)
{
    for (const char* word : {"enabled", "disabled", "enabled"}) {
        EXPECT_EQ(detect("PUT", "admin-mode", std::string("{\"adminMode\":\"") + word + "\"}").out, answer(0)) << word;
        EXPECT_EQ(harness::readFile(kConfig), std::string("{\"adminMode\":\"") + word + "\"}");
        EXPECT_FALSE(harness::fileExists(kTmp)) << word;
        EXPECT_EQ(detect("GET", "admin-mode").out, modeAnswer(word));
        struct stat st;
        ASSERT_EQ(stat(kConfig.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0644u);
    }
}

TEST_F(Detect, PutRefusesAnythingButTheTwoWordsAndChangesNothing)
{
    harness::writeFile(kConfig, "{\"adminMode\":\"enabled\"}");
    const char* const bodies[] = {
        "{\"adminMode\":\"Enabled\"}", "{\"adminMode\":\"enable\"}", "{\"adminMode\":1}", "{\"mode\":\"disabled\"}",
        "{}", "adminMode=disabled", "", "{\"adminMode\":\"disabled \"}",
    };
    for (const char* b : bodies) {
        EXPECT_EQ(detect("PUT", "admin-mode", b).out, answer(10003)) << b;
        EXPECT_EQ(harness::readFile(kConfig), "{\"adminMode\":\"enabled\"}") << b;
        EXPECT_FALSE(harness::fileExists(kTmp)) << b;
    }
}

TEST_F(Detect, AFailedPutAnswers10000AndRemovesTheTemporaryFile)
{
    // The setting's name is a directory: the rename fails.
    ASSERT_EQ(mkdir(kConfig.c_str(), 0755), 0);
    EXPECT_EQ(detect("PUT", "admin-mode", "{\"adminMode\":\"enabled\"}").out, answer(10000));
    EXPECT_FALSE(harness::fileExists(kTmp));
    rmdir(kConfig.c_str());
}

TEST_F(Detect, LinksPlantedAsTheTemporaryFileAreNotWrittenThrough)
{
    const std::string target = "/tmp/victim";
    struct Case {
        const char* name;
        int (*plant)(const char*, const char*);
    } cases[] = {{"symbolic link", symlink}, {"hard link", link}};
    for (const Case& c : cases) {
        harness::writeFile(target, "precious");
        unlink(kTmp.c_str());
        ASSERT_EQ(c.plant(target.c_str(), kTmp.c_str()), 0) << c.name;
        EXPECT_EQ(detect("PUT", "admin-mode", "{\"adminMode\":\"enabled\"}").out, answer(0)) << c.name;
        EXPECT_EQ(harness::readFile(target), "precious") << c.name;
        EXPECT_EQ(harness::readFile(kConfig), "{\"adminMode\":\"enabled\"}") << c.name;
        struct stat st;
        EXPECT_NE(lstat(kTmp.c_str(), &st), 0) << c.name << ": the temporary name is free again";
        EXPECT_EQ(lstat(kConfig.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode)) << c.name;
        unlink(kConfig.c_str());
    }
}

// --- Streams ------------------------------------------------------------------------

// The data file as the stream detector writes it: streams of the VLANs given.
std::string dataFile(const std::vector<int>& vlans)
{
    JsonPtr root(cJSON_CreateObject());
    cJSON* streams = cJSON_AddArrayToObject(root.get(), "streams");
    int n = 0;
    for (int vlan : vlans) {
        ++n;
        cJSON* s = cJSON_CreateObject();
        std::string i = std::to_string(n);
        cJSON_AddStringToObject(s, "group_ip", ("239.1.1." + i).c_str());
        cJSON_AddStringToObject(s, "group_mac", ("01:00:5e:01:01:0" + i).c_str());
        cJSON_AddStringToObject(s, "source_ip", ("10.0.0." + i).c_str());
        cJSON_AddStringToObject(s, "source_mac", ("00:11:22:33:44:0" + i).c_str());
        cJSON_AddStringToObject(s, "interface", ("1/0/" + i).c_str());
        cJSON_AddNumberToObject(s, "vlan_id", vlan);
        cJSON_AddBoolToObject(s, "traffic_detected", n % 2);
        cJSON_AddStringToObject(s, "bit_rate", (i + " Mbps").c_str());
        cJSON* subs = cJSON_AddArrayToObject(s, "subscribers");
        cJSON* sub = cJSON_CreateObject();
        cJSON_AddStringToObject(sub, "subscriber_ip", ("192.168.1." + i).c_str());
        cJSON_AddStringToObject(sub, "interface", ("1/0/1" + i).c_str());
        cJSON_AddStringToObject(sub, "igmp_version", "v2");
        cJSON_AddItemToArray(subs, sub);
        cJSON_AddItemToArray(streams, s);
    }
    CStr text(cJSON_Print(root.get()));
    return text.get();
}

// The group addresses of the streams answered, and the total.
struct Listed {
    std::vector<std::string> groups;
    int total = -1;
    int code = -2;
};

Listed listed(const std::string& query)
{
    Listed l;
    harness::CgiResult r = detect("GET", "streams", "", query);
    std::unique_ptr<harness::Json> j = harness::envelope(r, harness::Ending::Bare);
    if (!j->root)
        return l;
    const cJSON* resp = cJSON_GetObjectItem(j->root, "resp");
    l.code = cJSON_GetObjectItem(resp, "respCode") ? cJSON_GetObjectItem(resp, "respCode")->valueint : -2;
    const cJSON* total = cJSON_GetObjectItem(j->root, "total");
    l.total = cJSON_IsNumber(total) ? total->valueint : -1;
    const cJSON* s = nullptr;
    cJSON_ArrayForEach(s, cJSON_GetObjectItem(j->root, "data"))
        l.groups.push_back(cJSON_GetStringValue(cJSON_GetObjectItem(s, "groupIp")));
    return l;
}

TEST_F(Detect, StreamsAreCountedByVlanAndPagedByOffsetAndLimit)
{
    harness::writeFile(kConfig, "{\"adminMode\":\"enabled\"}");
    harness::writeFile(kData, dataFile({10, 20, 10, 10, 30, 10, 10}));
    struct Case {
        const char* query;
        std::vector<std::string> groups;
        int total;
    } cases[] = {
        {"", {"239.1.1.1", "239.1.1.2", "239.1.1.3", "239.1.1.4", "239.1.1.5", "239.1.1.6", "239.1.1.7"}, 7},
        // Five streams of VLAN 10: the third of them.
        {"vlan=10&offset=2&limit=1", {"239.1.1.4"}, 5},
        {"vlan=10", {"239.1.1.1", "239.1.1.3", "239.1.1.4", "239.1.1.6", "239.1.1.7"}, 5},
        {"vlan=%31%30&limit=2", {"239.1.1.1", "239.1.1.3"}, 5},
        {"vlan=30", {"239.1.1.5"}, 1},
        {"vlan=40", {}, 0},
        {"vlan=0&offset=6", {"239.1.1.7"}, 7},
        {"vlan=-3&offset=5&limit=5", {"239.1.1.6", "239.1.1.7"}, 7},
        {"offset=-2&limit=-1&vlan=20", {"239.1.1.2"}, 1},
        {"offset=7", {}, 7},
        // Values beyond the range count as their bound, not as a wrapped number.
        {"vlan=10&offset=99999999999999999999999", {}, 5},
        {"vlan=10&offset=18446744073709551618", {}, 5},
        {"vlan=10&offset=4294967297&limit=1", {}, 5},
        {"vlan=10&offset=3&limit=99999999999999999999999", {"239.1.1.6", "239.1.1.7"}, 5},
        {"vlan=4294967306", {}, 0},
        // Exact names only.
        {"xvlan=20&myoffset=3", {"239.1.1.1", "239.1.1.2", "239.1.1.3", "239.1.1.4", "239.1.1.5", "239.1.1.6",
                                  "239.1.1.7"}, 7},
    };
    for (const Case& c : cases) {
        Listed l = listed(c.query);
        EXPECT_EQ(l.code, 0) << c.query;
        EXPECT_EQ(l.groups, c.groups) << c.query;
        EXPECT_EQ(l.total, c.total) << c.query;
    }
}

TEST_F(Detect, AStreamIsAnsweredMemberByMember)
{
    harness::writeFile(kConfig, "{\"adminMode\":\"enabled\"}");
    harness::writeFile(kData,
                       R"({"streams":[{"group_ip":"239.1.1.1","group_mac":"01:00:5e:01:01:01","source_ip":"10.0.0.1",)"
                       R"("source_mac":"00:11:22:33:44:55","interface":"1/0/3","vlan_id":10,"traffic_detected":true,)"
                       R"("bit_rate":"4.2 Mbps","subscribers":[{"subscriber_ip":"192.168.1.9","interface":"1/0/7",)"
                       R"("igmp_version":"v3"}]},{"group_ip":7,"vlan_id":"10","traffic_detected":1,"subscribers":{}}]})");
    EXPECT_EQ(detect("GET", "streams", "", "offset=0").out,
              answer(0, ",\n\t\"data\":\t[{\n"
                        "\t\t\t\"groupIp\":\t\"239.1.1.1\",\n\t\t\t\"groupMac\":\t\"01:00:5e:01:01:01\",\n"
                        "\t\t\t\"sourceIp\":\t\"10.0.0.1\",\n\t\t\t\"sourceMac\":\t\"00:11:22:33:44:55\",\n"
                        "\t\t\t\"interface\":\t\"1/0/3\",\n\t\t\t\"vlanId\":\t10,\n\t\t\t\"trafficDetected\":\ttrue,\n"
                        "\t\t\t\"subscribers\":\t[{\n\t\t\t\t\t\"subscriberIp\":\t\"192.168.1.9\",\n"
                        "\t\t\t\t\t\"interface\":\t\"1/0/7\",\n\t\t\t\t\t\"igmpVersion\":\t\"v3\"\n\t\t\t\t}],\n"
                        "\t\t\t\"bitRate\":\t\"4.2 Mbps\"\n"
                        "\t\t}, {\n"
                        "\t\t\t\"groupIp\":\t\"\",\n\t\t\t\"groupMac\":\t\"\",\n\t\t\t\"sourceIp\":\t\"\",\n"
                        "\t\t\t\"sourceMac\":\t\"\",\n\t\t\t\"interface\":\t\"\",\n\t\t\t\"vlanId\":\t0,\n"
                        "\t\t\t\"trafficDetected\":\tfalse,\n\t\t\t\"subscribers\":\t[],\n\t\t\t\"bitRate\":\t\"\"\n"
                        "\t\t}],\n\t\"total\":\t2"));
}

TEST_F(Detect, StreamsWhileDetectionIsDisabledAreNone)
{
    harness::writeFile(kData, dataFile({10, 10}));
    for (const char* setting : {"", "{\"adminMode\":\"disabled\"}", "garbage"}) {
        unlink(kConfig.c_str());
        if (*setting)
            harness::writeFile(kConfig, setting);
        EXPECT_EQ(detect("GET", "streams", "", "vlan=10").out, answer(0, ",\n\t\"data\":\t[],\n\t\"total\":\t0"))
            << setting;
    }
}

TEST_F(Detect, AnUnreadableDataFileAnswersMinusOne)
{
    harness::writeFile(kConfig, "{\"adminMode\":\"enabled\"}");
    // Just within the bound: a valid file of exactly 4 MiB.
    std::string exact = dataFile({10});
    exact += std::string(swarmgate::kStreamDataMax - exact.size(), ' ');
    struct Case {
        const char* name;
        std::string content;
        bool present;
        int code;
    } cases[] = {
        {"missing", "", false, -1},
        {"empty", "", true, -1},
        {"not JSON", "streams: none", true, -1},
        {"4 MiB and one byte", exact + " ", true, -1},
        {"4 MiB", exact, true, 0},
    };
    for (const Case& c : cases) {
        unlink(kData.c_str());
        if (c.present)
            harness::writeFile(kData, c.content);
        harness::CgiResult r = detect("GET", "streams");
        if (c.code != 0)
            EXPECT_EQ(r.out, answer(c.code)) << c.name;
        else
            EXPECT_EQ(listed("").total, 1) << c.name;
    }
    // A directory in the file's place is no file.
    unlink(kData.c_str());
    ASSERT_EQ(mkdir(kData.c_str(), 0755), 0);
    EXPECT_EQ(detect("GET", "streams").out, answer(-1));
    rmdir(kData.c_str());
}

TEST(DetectNumbers, QueryNumbersAreSignedAndBounded)
{
    struct Case {
        const char* text;
        long long value;
    } cases[] = {
        {"", 0}, {"12", 12}, {" 7", 7}, {"+3", 3}, {"-5", 0}, {"4x", 4}, {"x4", 0},
        {"9223372036854775807", 9223372036854775807LL},
        {"9223372036854775808", 9223372036854775807LL},
        {"99999999999999999999999999999", 9223372036854775807LL},
        {"-99999999999999999999999999999", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(swarmgate::detectQueryNumber(c.text), c.value) << c.text;
    EXPECT_EQ(swarmgate::detectQueryNumber(nullptr), 0);
}

}  // namespace
