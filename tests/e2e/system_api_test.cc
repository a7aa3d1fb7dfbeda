// coregate's switch-API routes of the identity, application, CLI script,
// common, hash, image, password, registry, SDM, time, packet, transfer,
// support file and key store directories, run against a live switchsim.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "tests/support/answers.h"
#include "tests/support/harness.h"
#include "tests/support/route_list.h"

namespace {

const std::set<std::string> kDirectories = {
    "/api/v2/system/1213",     "/api/v2/system/app-ctrl", "/api/v2/system/cli-script", "/api/v2/system/common",
    "/api/v2/system/hash",     "/api/v2/system/image",    "/api/v2/system/pw-scramble", "/api/v2/system/registry",
    "/api/v2/system/sdm",      "/api/v2/system/time",     "/api/v2/system/timezone",   "/api/v2/system/pkt",
    "/api/v2/system/transfer", "/api/v2/system/suppfile", "/api/v2/system/userapp-config-db",
};

const std::set<std::string> kActsOnFiles = {"txt-cfg-apply", "txt-cfg-ndc-apply", "show-execute-to-file",
                                            "create-app-db"};
// Writes whose shared body value the switch refuses ("bufd" is a time zone,
// no clock); their own tests give them values they take.
const std::set<std::string> kRefuseSharedBody = {"PUT clock"};

// Query and body that every route of these directories accepts.
const char* const kQuery =
    "appName=web&imageLabel=image2&unit=1&slot=0&port=1&intf=1&intfNum=1&ipStr=10.0.0.1&openAddr=10.0.0.1"
    "&templateId=sdm_template_v4_default&headerData=00&rawTime=100&appDbName=db&keyName=k&ifNum=1&vlanId=1";
const char* const kBody =
    R"({"appName":"web","status":1,"version":"1.0","txtCfgFile":"a.scr","outFile":"a.out","fileName":"a.txt",)"
    R"("showCliCommand":"show version","ipOrHostStr":"10.0.0.1","ipAddr":"10.0.0.1","errSym":"*",)"
    R"("imageLabel":"image2","imageDescr":"d","imagePath":"img.stk","updateBootCode":false,)"
    R"("encryptedPw":"17","templateId":"sdm_template_v4_default","bufd":"x","xfrMode":1,"fileType":2,)"
    R"("inetAddr":"10.0.0.9","filePath":"p","username":"u","password":"w","dsvConfigOption":1,)"
    R"("appDbName":"db","keyName":"k","keyData":"v","type":1,"priority":0,)"
    R"("sys_name":"n","sys_location":"l","sys_contact":"c"})";

harness::CgiResult call(const std::string& method, const std::string& uri, const std::string& query,
                        const std::string& body = "")
{
    harness::CgiRequest req;
    req.program = "coregate";
    req.method = method;
    req.uri = uri + (query.empty() ? "" : "?" + query);
    req.query = query;
    req.body = body;
    return harness::runCgi(req);
}

std::string data(const harness::CgiResult& r, const char* member) { return harness::dataOf(r, member); }

class SystemApi : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    harness::Simulator sim;
};

// Every switch-API and fixed route of these directories is registered with its
// method and answers one well-formed envelope carrying its data member.
TEST_F(SystemApi, EveryRouteAnswersOneEnvelopeWithItsMember)
{
    // The key store's database of the requests below exists already.
    ASSERT_EQ(harness::codeOf(call("POST", "/api/v2/system/userapp-config-db/create-app-db", "", kBody)), 0);
    // The image file "upgrade" installs: a header of this switch.
    harness::writeFile("/mnt/application/oxel/tmp/img.stk", "OXIMG1:4.1.3.0:KX810-A\nbody");
    size_t seen = 0;
    for (const harness::ListedRoute& l : harness::routeList()) {
        if (l.program != "coregate" || !kDirectories.count(l.dir) || l.cls == "stub" || l.cls == "CLI")
            continue;
        // Answers as the CLI-backed "active-template": built with the CLI rows.
        if (l.leaf == "next-active-template")
            continue;
        ++seen;
        std::string where = l.method + " " + l.dir + "/" + l.leaf;
        bool write = l.method != "GET";
        harness::CgiResult r = call(l.method, l.dir + "/" + l.leaf, kQuery, write ? kBody : "");
        EXPECT_EQ(r.status, 0) << where;
        if (l.leaf == "decrypt") {
            // The bare data object on success.
            harness::Json j(r.out.substr(strlen(harness::kJsonHeader)), harness::Ending::Newline);
            ASSERT_TRUE(j.root) << where << ": " << j.why << r.out;
            EXPECT_TRUE(cJSON_GetObjectItem(j.root, "decryptedPw")) << r.out;
            continue;
        }
        auto env = harness::envelope(r, write ? harness::Ending::Newline : harness::Ending::Bare);
        ASSERT_TRUE(env->root) << where << ": " << env->why << "\n" << r.out;
        // Operations on files the switch does not hold refuse them; the
        // database exists already.
        if (!kActsOnFiles.count(l.leaf) && !kRefuseSharedBody.count(l.method + " " + l.leaf)) {
            EXPECT_EQ(harness::codeOf(r), 0) << where << "\n" << r.out;
        }
        cJSON* member = l.member == "-" ? nullptr : cJSON_GetObjectItem(env->root, l.member.c_str());
        // Reads answer data; writes that answer nothing carry no member.
        if (!write) {
            EXPECT_TRUE(cJSON_IsObject(member)) << where << "\n" << r.out;
        }
        if (l.member == "-") {
            EXPECT_EQ(cJSON_GetArraySize(env->root), 1) << where << "\n" << r.out;
        }
    }
    EXPECT_GT(seen, 90u);
}

// What a setter stores, its getter answers.
TEST_F(SystemApi, SettersRoundTripThroughTheirGetters)
{
    const struct {
        const char* method;
        const char* dir;
        const char* leaf;
        const char* body;
        const char* query;  // of the GET
        const char* member;
        const char* data;
    } cases[] = {
        {"PUT", "1213", "sys-name", R"({"sys_name":"core-7"})", "", "1213", R"({"sys_name":"core-7"})"},
        {"PUT", "1213", "sys-location", R"({"sys_location":"rack 4"})", "", "1213", R"({"sys_location":"rack 4"})"},
        {"PUT", "1213", "sys-contact", R"({"sys_contact":"noc"})", "", "1213", R"({"sys_contact":"noc"})"},
        {"PUT", "app-ctrl", "status", R"({"appName":"web","status":2})", "appName=web", "appCtrl",
         R"({"appName":"web","status":2})"},
        {"PUT", "app-ctrl", "version", R"({"appName":"web","version":"2.1"})", "appName=web", "appCtrl",
         R"({"appName":"web","version":"2.1"})"},
        {"PUT", "image", "descr", R"({"imageLabel":"image2","imageDescr":"spare"})", "imageLabel=image2", "image",
         R"({"imageDescr":"spare"})"},
        {"PUT", "time", "zone", R"({"bufd":"CET"})", "", "time", R"({"bufd":"CET"})"},
        {"PUT", "transfer", "mode", R"({"xfrMode":3})", "", "transfer", R"({"xfrMode":3})"},
        {"PUT", "transfer", "file-type", R"({"fileType":5})", "", "transfer", R"({"fileType":5})"},
        {"PUT", "transfer", "server-address", R"({"inetAddr":"192.0.2.7"})", "", "transfer",
         R"({"inetAddr":"192.0.2.7"})"},
        {"PUT", "transfer", "file-remote", R"({"filePath":"/srv","fileName":"img.stk"})", "", "transfer",
         R"({"filePath":"/srv","fileName":"img.stk"})"},
        {"PUT", "transfer", "file-local", R"({"imageLabel":"image2"})", "", "transfer", R"({"imageLabel":"image2"})"},
        {"PUT", "transfer", "remote-user-credentials", R"({"username":"ops","password":"pw"})", "", "transfer",
         R"({"username":"ops","password":"pw"})"},
        {"PUT", "transfer", "digital-signature-verify-config", R"({"dsvConfigOption":2})", "", "transfer",
         R"({"dsvConfigOption":2})"},
    };
    for (const auto& c : cases) {
        std::string uri = std::string("/api/v2/system/") + c.dir + "/" + c.leaf;
        harness::CgiResult set = call(c.method, uri, "", c.body);
        EXPECT_EQ(harness::codeOf(set), 0) << uri << "\n" << set.out;
        harness::CgiResult get = call("GET", uri, c.query);
        EXPECT_EQ(data(get, c.member), c.data) << uri << "\n" << get.out;
    }
}

TEST_F(SystemApi, KeyStoreKeepsKeysPerDatabase)
{
    const std::string d = "/api/v2/system/userapp-config-db/";
    EXPECT_EQ(harness::codeOf(call("POST", d + "create-app-db", "", R"({"appDbName":"ui"})")), 0);
    EXPECT_EQ(harness::codeOf(call("PUT", d + "set", "", R"({"appDbName":"ui","keyName":"theme","keyData":"dark"})")),
              0);
    EXPECT_EQ(data(call("GET", d + "get", "appDbName=ui&keyName=theme"), "userappConfigDb"), R"({"keyData":"dark"})");
    EXPECT_EQ(harness::codeOf(call("POST", d + "delete-app-db", "", R"({"appDbName":"ui"})")), 0);
    EXPECT_NE(harness::codeOf(call("GET", d + "get", "appDbName=ui&keyName=theme")), 0);
}

// Bad input answers a failure code and reaches no switch operation.
TEST_F(SystemApi, BadInputIsRefusedBeforeTheSwitch)
{
    const std::string t256(256, 'x'), f97(97, 'f');
    const struct {
        const char* method;
        const char* path;
        std::string query;
        std::string body;
        const char* op;  // must not have been called
    } cases[] = {
        {"PUT", "1213/sys-name", "", "sys_name=x", "rpcclt_openapi1213SystemSysNameSet"},
        {"PUT", "1213/sys-name", "", R"({"sys_name":5})", "rpcclt_openapi1213SystemSysNameSet"},
        {"PUT", "1213/sys-name", "", "{\"sys_name\":\"" + t256 + "\"}", "rpcclt_openapi1213SystemSysNameSet"},
        {"PUT", "app-ctrl/status", "", R"({"appName":"web","status":"high"})", "rpcclt_openapiAppCtrlStatusSet"},
        {"GET", "app-ctrl/version", "appName=" + t256, "", "rpcclt_openapiAppCtrlVersionGet"},
        {"PUT", "transfer/server-address", "", R"({"inetAddr":"10.0.0.300"})",
         "rpcclt_openapiTransferServerAddressSet"},
        {"PUT", "transfer/mode", "", R"({"xfrMode":-1})", "rpcclt_openapiTransferModeSet"},
        {"POST", "image/activate", "unit=1", R"({"imageLabel":"image1","updateBootCode":"yes"})",
         "rpcclt_openapiImageActivate"},
        {"POST", "cli-script/txt-cfg-apply", "", R"({"txtCfgFile":"../etc/passwd","outFile":"o"})",
         "openapiTxtCfgApply"},
        {"POST", "cli-script/txt-cfg-apply", "", R"({"txtCfgFile":"..","outFile":"o"})", "openapiTxtCfgApply"},
        {"POST", "cli-script/txt-cfg-validate", "", R"({"txtCfgFile":"a","outFile":"/tmp/o"})",
         "rpcclt_openapiTxtCfgValidate"},
        {"POST", "cli-script/running-cfg-generate", "", "{\"txtCfgFile\":\"" + f97 + "\"}",
         "rpcclt_openapiRunningCfgGenerate"},
        {"POST", "cli-script/txt-cfg-ndc-generate", "", R"({"txtCfgFile":"a\nb","outFile":"o"})",
         "rpcclt_openapiTxtCfgNDCGenerate"},
        {"POST", "cli-script/show-execute-to-file", "", R"({"showCliCommand":"show run\nreload","fileName":"o"})",
         "openapiCliShowExecuteToFile"},
        {"POST", "pw-scramble/decrypt", "", "{\"encryptedPw\":\"" + t256 + "\"}", "rpcclt_openapiPwDecrypt"},
        {"PUT", "userapp-config-db/set", "", R"({"appDbName":"db","keyName":"k","keyData":[1]})",
         "rpcclt_openapiUserAppConfigDbSet"},
        {"POST", "sdm/template-supported", "", "{", nullptr},
        {"POST", "sdm/template-supported", "", R"({"templateId":7})", nullptr},
    };
    for (const auto& c : cases) {
        std::string uri = std::string("/api/v2/system/") + c.path;
        harness::CgiResult r = call(c.method, uri, c.query, c.body);
        EXPECT_EQ(r.status, 0) << uri;
        EXPECT_EQ(harness::codeOf(r), 10003) << uri << " " << c.body << "\n" << r.out;
        if (c.op) {
            EXPECT_EQ(harness::callsTo(sim, c.op), 0) << uri << " " << c.body;
        }
    }
    // Nothing was stored.
    EXPECT_EQ(data(call("GET", "/api/v2/system/1213/sys-name", ""), "1213"), R"({"sys_name":""})");
}

TEST_F(SystemApi, SdmTemplateViewsFollowTheTemplateTable)
{
    const std::string d = "/api/v2/system/sdm/";
    std::vector<std::string> walk;
    std::string id = "";
    for (int i = 0; i < 7 && id != "sdm_template_none"; ++i) {
        std::string d2 = data(call("GET", d + "template-id-next", id.empty() ? "" : "templateId=" + id), "sdm");
        harness::Json j(d2);
        ASSERT_TRUE(j.root) << d2;
        id = cJSON_GetObjectItem(j.root, "templateId")->valuestring;
        walk.push_back(id);
    }
    EXPECT_EQ(walk, (std::vector<std::string>{"sdm_template_dual_default", "sdm_template_dual_data_center",
                                              "sdm_template_v4_default", "sdm_template_v4_data_center",
                                              "sdm_template_data_center_plus", "sdm_template_none"}));
    EXPECT_EQ(data(call("GET", d + "template-name", "templateId=sdm_template_v4_data_center"), "sdm"),
              R"({"templateName":"ipv4-routing data-center"})");
    EXPECT_EQ(data(call("GET", d + "template-name", "templateId=other"), "sdm"), R"({"templateName":"default"})");
    EXPECT_EQ(data(call("POST", d + "template-supported", "", R"({"templateId":"sdm_template_data_center_plus"})"),
                   "sdm"),
              R"({"supported":"true"})");
    EXPECT_EQ(data(call("POST", d + "template-supported", "", R"({"templateId":"sdm_template_none"})"), "sdm"),
              R"({"supported":"false"})");
}

TEST_F(SystemApi, ClockViewsAndNestedAnswers)
{
    std::string utc = data(call("GET", "/api/v2/system/timezone/utc-time", ""), "timezone");
    harness::Json j(utc);
    ASSERT_TRUE(j.root) << utc;
    cJSON* ct = cJSON_GetObjectItem(j.root, "ct");
    ASSERT_TRUE(cJSON_IsObject(ct)) << utc;
    EXPECT_GT(cJSON_GetObjectItem(ct, "seconds")->valuedouble, 1.6e9);
    EXPECT_EQ(cJSON_GetObjectItem(ct, "nanoseconds")->valuedouble, 0);
    // The private root runs in UTC: no offset.
    EXPECT_EQ(data(call("GET", "/api/v2/system/timezone/raw-adjusted-time", "rawTime=86400"), "timezone"),
              R"({"adjustedTime":86400})");
    EXPECT_EQ(data(call("GET", "/api/v2/system/time/zone-acronym-length", ""), "time"),
              R"({"minLength":1,"maxLength":5})");
    std::string usp = data(call("GET", "/api/v2/system/hash/intf-unit-slot-port", "intf=1"), "hash");
    harness::Json u(usp);
    ASSERT_TRUE(u.root) << usp;
    EXPECT_TRUE(cJSON_IsObject(cJSON_GetObjectItem(u.root, "usp"))) << usp;
}

}  // namespace
