// What the simulated switch does behind coregate's identity, image,
// application, key store, clock, transfer and file routes: the rules a
// switch applies, seen end to end through the real coregate.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>
#include <string>

#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

const std::string kWork = "/mnt/application/oxel/tmp/";
const std::string kSys = "/api/v2/system/";

harness::CgiResult call(const std::string& method, const std::string& path, const std::string& query,
                        const std::string& body = "")
{
    harness::CgiRequest req;
    req.program = "coregate";
    req.method = method;
    req.uri = kSys + path + (query.empty() ? "" : "?" + query);
    req.query = query;
    req.body = body;
    return harness::runCgi(req);
}

int code(const std::string& method, const std::string& path, const std::string& query, const std::string& body = "")
{
    return harness::codeOf(call(method, path, query, body));
}

std::string get(const std::string& path, const std::string& query, const char* member)
{
    return harness::dataOf(call("GET", path, query), member);
}

/// The text a show command prints, through the CLI bridge into a bare file name.
std::string show(const std::string& command)
{
    std::string body = "{\"showCliCommand\":\"" + command + "\",\"fileName\":\"show.txt\"}";
    if (code("POST", "cli-script/show-execute-to-file", "", body) != 0)
        return "(refused)";
    return harness::readFile(kWork + "show.txt");
}

class SystemModel : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(sim.ok());
        harness::writeAdminSession();
    }
    harness::Simulator sim;
};

// The identity texts agree with what the switch reports elsewhere: its
// model, serial number and code version.
TEST_F(SystemModel, IdentityAgreesWithTheSwitch)
{
    const struct {
        const char* path;
        const char* member;
        const char* data;
    } cases[] = {
        {"1213/sys-descr", "1213", R"({"sys_descr":"KX810-A 24x1G 4x10G L3 Managed Switch, 4.1.2.7"})"},
        {"registry/reg-serial-num", "registry", R"({"serial_number":"KX810A0001"})"},
        {"registry/reg-machine-model", "registry", R"({"machine_model":"KX810-A"})"},
        {"registry/reg-machine-type", "registry", R"({"machine_type":"L3 Managed Ethernet Switch"})"},
        {"registry/reg-code-version", "registry", R"({"code_version":"4.1.2.7"})"},
        {"common/network-os-version", "common", R"({"version":"4.1.2.7"})"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(get(c.path, "", c.member), c.data) << c.path;
    // A control character is no part of a name: refused, nothing stored.
    EXPECT_EQ(code("PUT", "1213/sys-contact", "", R"({"sys_contact":"noc\tdesk"})"), 10003);
    EXPECT_EQ(get("1213/sys-contact", "", "1213"), R"({"sys_contact":""})");
}

// Boot images: the running image is never deleted or overwritten; the next
// boot's image follows "activate" and falls back to the running one when
// deleted; "show bootvar" shows the same images.
TEST_F(SystemModel, ImagesFollowActivateDeleteAndUpgrade)
{
    harness::writeFile(kWork + "bad.stk", "OXIMG1:4.1.3.0:OTHER-MODEL\nbody");
    harness::writeFile(kWork + "new.stk", "OXIMG1:4.1.3.0:KX810-A\nbody");
    const struct {
        const char* method;
        const char* path;
        const char* query;
        const char* body;
        int code;
    } steps[] = {
        {"POST", "image/activate", "unit=1", R"({"imageLabel":"image3","updateBootCode":false})", 10003},
        {"POST", "image/activate", "unit=9", R"({"imageLabel":"image2","updateBootCode":false})", 10003},
        {"DELETE", "image/delete", "imageLabel=image1&unit=1", "", 10003},  // the running image
        {"DELETE", "image/delete", "imageLabel=active&unit=1", "", 10003},
        {"POST", "image/upgrade", "", R"({"imagePath":"new.stk","imageLabel":"image1"})", 10003},
        {"POST", "image/upgrade", "", R"({"imagePath":"bad.stk","imageLabel":"image2"})", 10003},
        {"POST", "image/upgrade", "", R"({"imagePath":"none.stk","imageLabel":"image2"})", 10023},
        {"POST", "image/activate", "unit=1", R"({"imageLabel":"image2","updateBootCode":false})", 0},
    };
    for (const auto& s : steps)
        EXPECT_EQ(code(s.method, s.path, s.query, s.body), s.code) << s.path << " " << s.query << s.body;
    EXPECT_EQ(get("image/names", "unit=1", "image"),
              R"({"activeImage":"image1","backupImage":"image2","activatedImage":"image2"})");
    EXPECT_EQ(get("image/labels", "", "image"), R"({"activeLabel":"image1","backupLabel":"image2"})");
    EXPECT_NE(show("show bootvar").find("4.1.2.7     4.1.1.3             image1             image2"),
              std::string::npos)
        << show("show bootvar");

    // Deleting the next boot's image: the running image boots next.
    EXPECT_EQ(code("DELETE", "image/delete", "imageLabel=image2&unit=1"), 0);
    EXPECT_EQ(get("image/names", "unit=1", "image"),
              R"({"activeImage":"image1","backupImage":"image2","activatedImage":"image1"})");
    EXPECT_EQ(code("GET", "image/descr", "imageLabel=image2"), 10023);
    EXPECT_EQ(code("POST", "image/activate", "unit=1", R"({"imageLabel":"image2","updateBootCode":true})"), 10023);

    EXPECT_EQ(code("POST", "image/upgrade", "", R"({"imagePath":"/mnt/application/oxel/tmp/new.stk",)"
                                                R"("imageLabel":"backup"})"),
              0);
    EXPECT_EQ(get("image/descr", "imageLabel=image2", "image"), R"({"imageDescr":"image 4.1.3.0"})");
    EXPECT_NE(show("show bootvar").find("4.1.2.7     4.1.3.0"), std::string::npos) << show("show bootvar");

    const struct {
        const char* label;
        const char* isValid;
    } labels[] = {{"image1", "true"}, {"image2", "true"}, {"backup", "true"}, {"image3", "false"}, {"", "false"}};
    for (const auto& l : labels)
        EXPECT_EQ(harness::dataOf(call("POST", "image/label-is-valid", "",
                                       std::string("{\"imageLabel\":\"") + l.label + "\"}"),
                                  "image"),
                  std::string("{\"isValid\":") + l.isValid + "}")
            << l.label;
}

TEST_F(SystemModel, ApplicationsAreKnownByName)
{
    EXPECT_EQ(get("app-ctrl/version", "appName=ssh", "appCtrl"), R"({"appName":"ssh","version":"8.2.0"})");
    const struct {
        const char* method;
        const char* path;
        const char* query;
        const char* body;
    } refused[] = {
        {"GET", "app-ctrl/status", "appName=nope", ""},
        {"GET", "app-ctrl/version", "appName=nope", ""},
        {"PUT", "app-ctrl/status", "", R"({"appName":"nope","status":1})"},
        {"PUT", "app-ctrl/status", "", R"({"appName":"ssh","status":3})"},
        {"PUT", "app-ctrl/version", "", R"({"appName":"ssh","version":""})"},
    };
    for (const auto& r : refused)
        EXPECT_EQ(code(r.method, r.path, r.query, r.body), 10003) << r.path << " " << r.query << r.body;
    EXPECT_EQ(get("app-ctrl/status", "appName=ssh", "appCtrl"), R"({"appName":"ssh","status":1})");
}

// remove-item removes one key; a key or database that is not there is not
// found (-29, answered 10023), as for "get".
TEST_F(SystemModel, KeyStoreRemovesItems)
{
    const std::string d = "userapp-config-db/";
    ASSERT_EQ(code("POST", d + "create-app-db", "", R"({"appDbName":"ui"})"), 0);
    ASSERT_EQ(code("PUT", d + "set", "", R"({"appDbName":"ui","keyName":"a","keyData":"1"})"), 0);
    ASSERT_EQ(code("PUT", d + "set", "", R"({"appDbName":"ui","keyName":"b","keyData":"2"})"), 0);
    EXPECT_EQ(code("POST", d + "remove-item", "", R"({"appDbName":"ui","keyName":"a"})"), 0);
    EXPECT_NE(code("GET", d + "get", "appDbName=ui&keyName=a"), 0);
    EXPECT_EQ(get(d + "get", "appDbName=ui&keyName=b", "userappConfigDb"), R"({"keyData":"2"})");
    EXPECT_EQ(code("POST", d + "remove-item", "", R"({"appDbName":"ui","keyName":"a"})"), 10023);
    EXPECT_EQ(code("POST", d + "remove-item", "", R"({"appDbName":"none","keyName":"b"})"), 10023);
}

TEST_F(SystemModel, ClockAndTimeZone)
{
    ASSERT_EQ(code("PUT", "time/clock", "", R"({"bufd":"2030-01-02 03:04:05"})"), 0);
    harness::Json j(get("time/clock", "", "time"));
    ASSERT_TRUE(j.root);
    EXPECT_EQ(cJSON_GetObjectItem(j.root, "clockSrc")->valuedouble, 1);
    struct tm tm = {};
    ASSERT_TRUE(strptime(cJSON_GetObjectItem(j.root, "bufd")->valuestring, "%Y-%m-%d %H:%M:%S", &tm));
    long running = static_cast<long>(timegm(&tm)) - 1893553445L;  // seconds since the time set
    EXPECT_GE(running, 0);
    EXPECT_LT(running, 3600);
    for (const char* bad : {"2030-02-30 00:00:00", "2030-01-02T03:04:05", "2030-01-02 24:00:00", "soon", ""})
        EXPECT_EQ(code("PUT", "time/clock", "", std::string("{\"bufd\":\"") + bad + "\"}"), 10003) << bad;
    for (const char* bad : {"Europe/Paris", "UTC+1", "ABCDEF", ""})
        EXPECT_EQ(code("PUT", "time/zone", "", std::string("{\"bufd\":\"") + bad + "\"}"), 10003) << bad;
    EXPECT_EQ(get("time/zone", "", "time"), R"({"bufd":"UTC"})");
}

// Values a switch would not take are refused and leave the settings as
// they were.
TEST_F(SystemModel, TransferRefusesWhatNoSwitchTakes)
{
    const struct {
        const char* leaf;
        const char* body;
        const char* member;  // of the GET, unchanged
        const char* data;
    } cases[] = {
        {"mode", R"({"xfrMode":0})", "transfer", R"({"xfrMode":1})"},
        {"mode", R"({"xfrMode":7})", "transfer", R"({"xfrMode":1})"},
        {"file-type", R"({"fileType":10})", "transfer", R"({"fileType":1})"},
        {"digital-signature-verify-config", R"({"dsvConfigOption":4})", "transfer", R"({"dsvConfigOption":0})"},
        {"server-address", R"({"inetAddr":"0.0.0.0"})", "transfer", R"({"inetAddr":"0.0.0.0"})"},
        {"server-address", R"({"inetAddr":"127.0.0.1"})", "transfer", R"({"inetAddr":"0.0.0.0"})"},
        {"server-address", R"({"inetAddr":"239.1.1.1"})", "transfer", R"({"inetAddr":"0.0.0.0"})"},
        {"server-address", R"({"inetAddr":"::1"})", "transfer", R"({"inetAddr":"0.0.0.0"})"},
        {"file-remote", R"({"filePath":"/srv","fileName":"a/b"})", "transfer", R"({"filePath":"","fileName":""})"},
        {"file-remote", R"({"filePath":"/srv","fileName":""})", "transfer", R"({"filePath":"","fileName":""})"},
        {"file-local", R"({"imageLabel":"image3"})", "transfer", R"({"imageLabel":"image2"})"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(code("PUT", std::string("transfer/") + c.leaf, "", c.body), 10003) << c.leaf << " " << c.body;
        EXPECT_EQ(get(std::string("transfer/") + c.leaf, "", c.member), c.data) << c.leaf << " " << c.body;
    }
    // Nothing to download from yet.
    EXPECT_EQ(code("PUT", "transfer/down-start", ""), 10003);
    EXPECT_EQ(get("transfer/result", "", "transfer"),
              R"({"resultCode":0,"resultStatus":"No file transfer has been started."})");
}

// A download of a code image installs it into the local image slot; the
// simulated server is the work directory.
TEST_F(SystemModel, DownloadOutcomes)
{
    ASSERT_EQ(code("PUT", "transfer/server-address", "", R"({"inetAddr":"192.0.2.7"})"), 0);
    ASSERT_EQ(code("PUT", "transfer/file-type", "", R"({"fileType":1})"), 0);
    ASSERT_EQ(code("PUT", "transfer/file-remote", "", R"({"filePath":"/srv","fileName":"fw.stk"})"), 0);
    const struct {
        const char* file;   // nullptr: none
        const char* local;  // image slot
        int result;
    } cases[] = {
        {nullptr, "image2", 2},
        {"OXIMG1:4.1.3.x:KX810-A\n", "image2", 3},
        {"OXIMG1:4.1.4.0:KX810-A\n", "image1", 4},  // the running image
        {"OXIMG1:4.1.4.0:KX810-A\n", "image2", 1},
    };
    for (const auto& c : cases) {
        if (c.file)
            harness::writeFile(kWork + "fw.stk", c.file);
        ASSERT_EQ(code("PUT", "transfer/file-local", "", std::string("{\"imageLabel\":\"") + c.local + "\"}"), 0);
        EXPECT_EQ(code("PUT", "transfer/down-start", ""), 0);
        EXPECT_EQ(get("transfer/download-result-code", "", "transfer"),
                  "{\"resultCode\":" + std::to_string(c.result) + "}")
            << (c.file ? c.file : "no file");
        EXPECT_EQ(get("transfer/in-progress", "", "transfer"), R"({"isInProgress":false})");
    }
    EXPECT_EQ(get("image/descr", "imageLabel=image2", "image"), R"({"imageDescr":"image 4.1.4.0"})");
}

// The image header check and the password decryption, byte for byte.
TEST_F(SystemModel, ImageHeaderAndDecryptAnswersExactly)
{
    const std::string h = harness::kJsonHeader;
    const std::string ok = "\t\"resp\":\t{\n\t\t\"respCode\":\t0,\n\t\t\"respMsg\":\t\"Success\",\n"
                           "\t\t\"status\":\t\"success\"\n\t}\n}";
    const struct {
        const char* method;
        const char* path;
        std::string query;
        std::string body;
        std::string out;
    } cases[] = {
        {"GET", "transfer/image-header", "headerData=OXIMG1:4.1.3.0:KX810-A", "",
         h + "{\n\t\"transfer\":\t{\n\t\t\"isValid\":\t\"true\"\n\t},\n" + ok},
        {"GET", "transfer/image-header", "headerData=OXIMG1:4.1.3.0:KX810-B", "",
         h + "{\n\t\"transfer\":\t{\n\t\t\"isValid\":\t\"false\"\n\t},\n" + ok},
        {"GET", "transfer/image-header", "headerData=OXIMG1:4.1.3:KX810-A&x=1", "",
         h + "{\n\t\"transfer\":\t{\n\t\t\"isValid\":\t\"false\"\n\t},\n" + ok},
        {"POST", "pw-scramble/decrypt", "", R"({"encryptedPw":"1c1d061e4807"})",
         h + "{\"decryptedPw\":\"secret\"}\n"},
        {"POST", "pw-scramble/decrypt", "", R"({"encryptedPw":"3F19161F0D04181B1042"})",
         h + "{\"decryptedPw\":\"Pass word!\"}\n"},
        {"POST", "pw-scramble/decrypt", "", R"({"encryptedPw":"1c1d061e480"})",
         h + "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t10003,\n\t\t\"respMsg\":\t\"Invalid argument\",\n"
             "\t\t\"status\":\t\"fail\"\n\t}\n}\n"},
        {"POST", "pw-scramble/decrypt", "", R"({"encryptedPw":"secret"})",
         h + "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t10003,\n\t\t\"respMsg\":\t\"Invalid argument\",\n"
             "\t\t\"status\":\t\"fail\"\n\t}\n}\n"},
        {"POST", "pw-scramble/decrypt", "", R"({"encryptedPw":"6f"})",  // decodes to a NUL
         h + "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t10003,\n\t\t\"respMsg\":\t\"Invalid argument\",\n"
             "\t\t\"status\":\t\"fail\"\n\t}\n}\n"},
    };
    for (const auto& c : cases) {
        harness::CgiResult r = call(c.method, c.path, c.query, c.body);
        EXPECT_EQ(r.out, c.out) << c.path << " " << c.query << c.body;
    }
    EXPECT_EQ(get("transfer/image-header-size", "", "transfer"), R"({"headerSize":64})");
}

// The configuration files: bare names are files of the work directory; the
// generated running configuration is what "show running-config" prints and
// a script the CLI takes back; validation changes nothing.
TEST_F(SystemModel, ConfigurationFiles)
{
    harness::writeFile(kWork + "change.scr", "configure\nport-channel auto\narp timeout 600\nexit\n");
    ASSERT_EQ(code("POST", "cli-script/txt-cfg-apply", "", R"({"txtCfgFile":"change.scr","outFile":"change.out"})"),
              0);
    EXPECT_NE(harness::readFile(kWork + "change.out").find("port-channel auto"), std::string::npos);

    ASSERT_EQ(code("POST", "cli-script/running-cfg-generate", "", R"({"txtCfgFile":"run.cfg"})"), 0);
    std::string run = harness::readFile(kWork + "run.cfg");
    EXPECT_EQ(run, show("show running-config"));
    EXPECT_NE(run.find("\nconfigure\nport-channel auto\narp timeout 600\n"), std::string::npos) << run;
    EXPECT_NE(run.find("!System Software Version \"4.1.2.7\"\n"), std::string::npos) << run;

    // The running configuration validates; a script with a line the CLI
    // refuses does not, its answer written all the same; neither changes
    // the switch.
    EXPECT_EQ(code("POST", "cli-script/txt-cfg-validate", "", R"({"txtCfgFile":"run.cfg","outFile":"v1.out"})"), 0);
    EXPECT_EQ(harness::readFile(kWork + "v1.out").find("% "), std::string::npos);
    harness::writeFile(kWork + "bad.scr", "configure\nno port-channel auto\nbogus command\nexit\n");
    EXPECT_EQ(code("POST", "cli-script/txt-cfg-validate", "", R"({"txtCfgFile":"bad.scr","outFile":"v2.out"})"),
              10003);
    EXPECT_NE(harness::readFile(kWork + "v2.out").find("% "), std::string::npos);
    EXPECT_EQ(code("POST", "cli-script/txt-cfg-validate", "", R"({"txtCfgFile":"none.scr","outFile":"v3.out"})"),
              10023);
    EXPECT_EQ(show("show running-config"), run);

    ASSERT_EQ(code("POST", "cli-script/txt-cfg-ndc-generate", "", R"({"txtCfgFile":"ndc.cfg","outFile":"ndc.out"})"),
              0);
    EXPECT_EQ(harness::readFile(kWork + "ndc.cfg"), run);
    // The routes take names only; paths are the CLI bridge's (its own tests).
    EXPECT_EQ(code("POST", "cli-script/show-execute-to-file", "",
                   R"({"showCliCommand":"show vlan","fileName":"/tmp/vlan.txt"})"),
              10003);
    EXPECT_FALSE(harness::fileExists("/tmp/vlan.txt"));

    std::string support = harness::dataOf(call("POST", "suppfile/support-file-generate", ""), "suppfile");
    EXPECT_EQ(support, R"({"fileName":"/mnt/application/oxel/tmp/support-file.txt"})");
    std::string text = harness::readFile(kWork + "support-file.txt");
    EXPECT_NE(text.find("Serial Number: KX810A0001\n"), std::string::npos) << text;
    EXPECT_NE(text.find(run), std::string::npos);
}

// Common services: address texts both ways, the switch's ports and units,
// packets only out of ports and VLANs the switch has.
TEST_F(SystemModel, CommonServicesAnswerFromTheSwitch)
{
    const struct {
        const char* method;
        const char* path;
        const char* query;
        const char* body;
        int code;
        const char* data;  // under "common" when the code is 0
    } cases[] = {
        {"GET", "common/inet-addr", "ipStr=192.0.2.1", "", 0, R"({"ipAddr":"192.0.2.1"})"},
        {"GET", "common/inet-addr", "ipStr=2001:db8::1", "", 0, R"({"ipAddr":"2001:db8::1"})"},
        {"GET", "common/inet-addr", "ipStr=192.0.2.256", "", 10003, nullptr},
        {"GET", "common/inet-addr", "ipStr=switch", "", 10003, nullptr},
        {"POST", "common/inet-addr-from-ip-addr-host-name-str", "", R"({"ipOrHostStr":"10.1.2.3"})", 0,
         R"({"inetAddr":"10.1.2.3"})"},
        {"POST", "common/is-inet-addr-zero", "", R"({"ipAddr":"0.0.0.0"})", 0, R"({"isZero":true})"},
        {"POST", "common/is-inet-addr-zero", "", R"({"ipAddr":"10.0.0.1"})", 0, R"({"isZero":false})"},
        {"GET", "common/open-ipto-string", "openAddr=198.51.100.9", "", 0, R"({"bufdName":"198.51.100.9"})"},
        {"GET", "common/intf-display-name", "unit=1&slot=0&port=25", "", 0, R"({"bufdName":"1/0/25"})"},
        {"GET", "common/intf-display-name", "unit=1&slot=0&port=29", "", 10003, nullptr},
        {"GET", "common/intf-display-name", "unit=2&slot=0&port=1", "", 10003, nullptr},
        {"POST", "common/poe-is-supported", "unit=1", "", 0, R"({"isSupported":true})"},
        {"POST", "common/poe-is-supported", "unit=3", "", 10003, nullptr},
        {"GET", "common/intf-name-max-length", "", "", 0, R"({"maxLen":60})"},
        {"POST", "common/ip-address-max-string-length", "", "", 0, R"({"maxLen":46})"},
        {"POST", "pkt/ext-pkt-transmit", "ifNum=29&vlanId=1", R"({"type":0,"priority":7})", 0, nullptr},
        {"POST", "pkt/ext-pkt-transmit", "ifNum=500&vlanId=1", R"({"type":0,"priority":0})", 10003, nullptr},
        {"POST", "pkt/ext-pkt-transmit", "ifNum=1&vlanId=99", R"({"type":0,"priority":0})", 10003, nullptr},
        {"POST", "pkt/ext-pkt-transmit", "ifNum=1&vlanId=1", R"({"type":0,"priority":8})", 10003, nullptr},
    };
    for (const auto& c : cases) {
        harness::CgiResult r = call(c.method, c.path, c.query, c.body);
        EXPECT_EQ(harness::codeOf(r), c.code) << c.path << " " << c.query << c.body << "\n" << r.out;
        if (c.data) {
            EXPECT_EQ(harness::dataOf(r, "common"), c.data) << c.path << " " << c.query << c.body;
        }
    }
}

// The settings of this area are in the state file: a restarted switch has them.
TEST(SystemModelState, SettingsSurviveARestart)
{
    harness::writeAdminSession();
    const struct {
        const char* method;
        const char* path;
        const char* query;
        const char* body;
    } changes[] = {
        {"PUT", "1213/sys-location", "", R"({"sys_location":"rack 9"})"},
        {"PUT", "app-ctrl/status", "", R"({"appName":"sntp","status":2})"},
        {"PUT", "time/zone", "", R"({"bufd":"CET"})"},
        {"POST", "image/upgrade", "", R"({"imagePath":"fw.stk","imageLabel":"image2"})"},
        {"POST", "image/activate", "unit=1", R"({"imageLabel":"image2","updateBootCode":false})"},
        {"PUT", "transfer/remote-user-credentials", "", R"({"username":"ops","password":"s3cret"})"},
    };
    {
        harness::Simulator sim({"--state", "/tmp/system.json"});
        ASSERT_TRUE(sim.ok());
        harness::writeFile(kWork + "fw.stk", "OXIMG1:4.1.5.0:KX810-A\n");  // the simulator made the directory
        for (const auto& c : changes)
            ASSERT_EQ(code(c.method, c.path, c.query, c.body), 0) << c.path;
    }
    // The password is not kept in the clear.
    EXPECT_EQ(harness::readFile("/tmp/system.json").find("s3cret"), std::string::npos);
    harness::Simulator sim({"--state", "/tmp/system.json"});
    ASSERT_TRUE(sim.ok());
    EXPECT_EQ(get("1213/sys-location", "", "1213"), R"({"sys_location":"rack 9"})");
    EXPECT_EQ(get("app-ctrl/status", "appName=sntp", "appCtrl"), R"({"appName":"sntp","status":2})");
    EXPECT_EQ(get("time/zone", "", "time"), R"({"bufd":"CET"})");
    EXPECT_EQ(get("image/names", "unit=1", "image"),
              R"({"activeImage":"image1","backupImage":"image2","activatedImage":"image2"})");
    EXPECT_EQ(get("image/descr", "imageLabel=image2", "image"), R"({"imageDescr":"image 4.1.5.0"})");
    EXPECT_EQ(get("transfer/remote-user-credentials", "", "transfer"), R"({"username":"ops","password":"s3cret"})");
}

}  // namespace
