// swarmgate's layer-3 multicast route summaries: the column reader over
// hand-made tables (rules of four and five columns, a later rule, short and
// over-long columns), the route objects it answers, and both routes end to
// end against the simulated switch, byte for byte, leaving no work file.
#include <cjson/cJSON.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "access/cli_mroute.h"
#include "access/show_parse_mcast.h"
#include "runtime/raii.h"
#include "tests/support/answers.h"
#include "tests/support/harness.h"

namespace {

using showparse::MrouteRow;

// A row as "source|group|protocol|incoming|outgoing".
std::string flat(const MrouteRow& r)
{
    return r.source + "|" + r.group + "|" + r.protocol + "|" + r.incoming + "|" + r.outgoing;
}

std::vector<std::string> flatRows(const std::string& text)
{
    std::vector<std::string> out;
    for (const MrouteRow& r : showparse::mrouteRowsOf(text))
        out.push_back(flat(r));
    return out;
}

// A line with each text at its column (blanks between).
std::string placed(const std::vector<std::pair<size_t, std::string>>& cells)
{
    std::string line;
    for (const auto& c : cells) {
        if (line.size() < c.first)
            line.append(c.first - line.size(), ' ');
        line.replace(c.first, std::string::npos, c.second);
    }
    return line;
}

const std::string kRule5 = "---------------  ---------------  --------  ----------------  --------------------";
const std::string kRule4 = "---------------  ---------------  --------  ----------------";

struct ReaderCase {
    const char* name;
    std::string text;
    std::vector<std::string> rows;
};

std::string wide(char c, size_t n) { return std::string(n, c); }

// Columns far apart, so that a column's text may outgrow its reader.
const std::vector<size_t> kWide = {0, 200, 400, 500, 600};
std::string wideRule()
{
    std::string rule;
    for (size_t at : kWide)
        rule = placed({{0, rule}, {at, "-----"}});
    return rule;
}
std::string wideRow(const std::string& src, const std::string& grp, const std::string& proto, const std::string& in,
                    const std::string& out)
{
    return placed({{kWide[0], src}, {kWide[1], grp}, {kWide[2], proto}, {kWide[3], in}, {kWide[4], out}});
}

const std::vector<ReaderCase>& readerCases()
{
    static const std::vector<ReaderCase> cases = {
        {"FiveColumns",
         "Multicast Route Table Summary\n\n"
         "Source Address   Group Address    Protocol  Incoming          Outgoing\n" +
             kRule5 + "\n"
                      "10.1.1.5         239.1.1.1        PIMSM     1/0/5             1/0/6,1/0/7\n"
                      "*                239.2.2.2        PIMDM     vlan 10           1/0/8\n",
         {"10.1.1.5|239.1.1.1|PIMSM|1/0/5|1/0/6,1/0/7", "*|239.2.2.2|PIMDM|vlan 10|1/0/8"}},
        {"FourColumnsRunTheIncomingInterfaceToTheEnd",
         kRule4 + "\n10.1.1.5         239.1.1.1        PIMSM     1/0/5             1/0/6,1/0/7\n",
         {"10.1.1.5|239.1.1.1|PIMSM|1/0/5             1/0/6,1/0/7|"}},
        {"ALaterRuleReplacesTheColumns",
         kRule5 + "\n10.1.1.5         239.1.1.1        PIMSM     1/0/5             1/0/6\n" +
             "----- ----- ----- -----\n"
             "1.1.1 2.2.2 DVMRP 1/0/1 1/0/2\n",
         {"10.1.1.5|239.1.1.1|PIMSM|1/0/5|1/0/6", "1.1.1|2.2.2|DVMRP|1/0/1 1/0/2|"}},
        {"ALaterRuleOfThreeColumnsEndsTheTable",
         kRule5 + "\n10.1.1.5         239.1.1.1        PIMSM     1/0/5             1/0/6\n" +
             "-----  -----  -----\n"
             "10.1.1.6         239.1.1.2        PIMSM     1/0/5             1/0/6\n",
         {"10.1.1.5|239.1.1.1|PIMSM|1/0/5|1/0/6"}},
        {"LinesOfNineCharactersOrFewerAreNoRoutes",
         "---  ---  --  --  -----\n"
         "1.2  3.4  P\n"    // 11: a route
         "1.2  3.4  \n"     // 10: a route without protocol
         "1.2  3.4 \n"      // 9
         "1.2  3.\n",       // 7
         {"1.2|3.4|P||", "1.2|3.4|||"}},
        {"ABlankProtocolColumnStaysEmpty",
         kRule5 + "\n10.1.1.5         239.1.1.1                  1/0/5             1/0/6\n",
         {"10.1.1.5|239.1.1.1||1/0/5|1/0/6"}},
        {"TitlesAndHeadingsBeforeTheRuleAreNeverRoutes",
         "10.9.9.9         239.9.9.9        PIMSM     1/0/9             1/0/9\n"
         "Source Address   Group Address    Protocol  Incoming          Outgoing\n" +
             kRule5 + "\n",
         {}},
        {"NoRuleNoRoutes",
         "Source Address   Group Address    Protocol  Incoming          Outgoing\n"
         "10.1.1.5         239.1.1.1        PIMSM     1/0/5             1/0/6\n",
         {}},
        {"EmptyText", "", {}},
        {"ARowWithoutSourceIsNotListed",
         kRule5 + "\n                 239.1.1.1        PIMSM     1/0/5             1/0/6\n", {}},
        {"BlanksAndTabsAroundColumnsAreCut",
         kRule5 + "\n" +
             placed({{0, "  10.1.1.5\t"}, {17, " 239.1.1.1\t"}, {34, "\tPIMSM "}, {44, "\t1/0/5 "},
                     {62, " 1/0/6, 1/0/7 \t"}}) +
             "\n",
         {"10.1.1.5|239.1.1.1|PIMSM|1/0/5|1/0/6, 1/0/7"}},
        {"ALineEndsAtItsFirstCarriageReturn",
         kRule5 + "\r\n10.1.1.5         239.1.1.1        PIMSM     1/0/5\r             1/0/6\r\n",
         {"10.1.1.5|239.1.1.1|PIMSM|1/0/5|"}},
        {"ColumnsAtTheirLimitsAreTaken",
         wideRule() + "\n" + wideRow(wide('s', 127), wide('g', 127), wide('p', 63), wide('i', 63), wide('o', 255)) +
             "\n",
         {wide('s', 127) + "|" + wide('g', 127) + "|" + wide('p', 63) + "|" + wide('i', 63) + "|" + wide('o', 255)}},
        {"ColumnsBeyondTheirLimitsAreDroppedAndTheOutgoingListCut",
         wideRule() + "\n" + wideRow("10.1.1.5", wide('g', 128), wide('p', 64), wide('i', 64), wide('o', 300)) +
             "\n",
         {"10.1.1.5||||" + wide('o', 255)}},
        {"ASourceBeyondItsLimitDropsTheRow",
         wideRule() + "\n" + wideRow(wide('s', 128), "239.1.1.1", "PIMSM", "1/0/5", "1/0/6") + "\n", {}},
        {"TheRestOfALineBeyond1023CharactersIsNoLineOfItsOwn",
         kRule5 + "\n10.1.1.5         239.1.1.1        PIMSM     1/0/5             " + wide('o', 1100 - 62) +
             "10.7.7.7         239.7.7.7        PIMSM     1/0/7             1/0/8\n",
         {"10.1.1.5|239.1.1.1|PIMSM|1/0/5|" + wide('o', 255)}},
    };
    return cases;
}

TEST(MrouteReader, EveryTableGivesItsRows)
{
    for (const ReaderCase& c : readerCases()) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(flatRows(c.text), c.rows);
    }
}

TEST(MrouteReader, RouteObjectsHoldOnlyTheColumnsThatAreNotEmpty)
{
    struct Case {
        MrouteRow row;
        const char* json;
    } cases[] = {
        {{"10.1.1.5", "239.1.1.1", "PIMSM", "1/0/5", "1/0/6,1/0/7"},
         R"({"sourceIp":"10.1.1.5","groupIp":"239.1.1.1","protocol":"PIMSM","incomingInterface":"1/0/5",)"
         R"("outgoingInterfaceList":"1/0/6,1/0/7"})"},
        {{"10.1.1.5", "239.1.1.1", "", "1/0/5", ""},
         R"({"sourceIp":"10.1.1.5","groupIp":"239.1.1.1","incomingInterface":"1/0/5"})"},
        {{"*", "", "", "", "1/0/6"}, R"({"sourceIp":"*","groupIp":"","outgoingInterfaceList":"1/0/6"})"},
        {{"a\"b", "ff0e::1", "", "", ""}, R"({"sourceIp":"a\"b","groupIp":"ff0e::1"})"},
    };
    for (const Case& c : cases) {
        JsonPtr j = mcastcli::routeJson(c.row);
        CStr printed(cJSON_PrintUnformatted(j.get()));
        EXPECT_STREQ(printed.get(), c.json);
    }
}

// --- End to end --------------------------------------------------------------------

harness::CgiResult summary(const char* family)
{
    harness::CgiRequest r;
    r.program = "swarmgate";
    r.uri = std::string("/api/v2/mcast/") + family + "/mroute/summary";
    return harness::runCgi(r);
}

// The answer of a summary: the data object as the envelope prints it, then "resp".
std::string envelopeOf(const std::string& data)
{
    return std::string(harness::kJsonHeader) + "{\n\t\"l3Multicast\":\t" + data +
           ",\n\t\"resp\":\t{\n\t\t\"respCode\":\t0,\n\t\t\"respMsg\":\t\"Success\",\n\t\t\"status\":\t"
           "\"success\"\n\t}\n}";
}

const char* const kFamilies[] = {"ipv4", "ipv6"};

TEST(MrouteSummary, AFreshSwitchHasNoRoutes)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    for (const char* family : kFamilies) {
        harness::CgiResult r = summary(family);
        EXPECT_EQ(r.out, envelopeOf("{\n\t\t\"routes\":\t[]\n\t}")) << family;
        EXPECT_TRUE(harness::workFiles().empty()) << family;
    }
}

// Routes of both families as a state file gives them to the switch.
const char* const kStateRoutes = R"({
  "ipv4Routes": [
    {"source": "10.1.1.5", "group": "239.1.1.1", "protocol": "PIMSM", "incoming": "1/0/5", "outgoing": ["1/0/6", "1/0/7"]},
    {"source": "*", "group": "239.2.2.2", "protocol": "", "incoming": "vlan 10", "outgoing": []},
    {"source": "192.168.100.200", "group": "239.255.255.250", "protocol": "Static", "incoming": "1/0/1",
     "outgoing": ["1/0/2"]}
  ],
  "ipv6Routes": [
    {"source": "2001:db8:1234:5678:9abc:def0:1234:5678", "group": "ff3e:0:0:0:0:0:8000:1", "protocol": "PIMSM",
     "incoming": "1/0/3", "outgoing": ["1/0/4", "lag 1"]}
  ]
})";

// A state file of a fresh switch (written by one that stops) with the
// multicast routes of kStateRoutes.
void writeStateWithRoutes(const std::string& path)
{
    unlink(path.c_str());
    {
        harness::Simulator blank({"--state", path});
        ASSERT_TRUE(blank.ok());
    }
    JsonPtr state(cJSON_Parse(harness::readFile(path).c_str()));
    ASSERT_TRUE(state);
    ASSERT_TRUE(cJSON_GetObjectItem(state.get(), "mcast")) << "the switch keeps its multicast routes";
    cJSON* routes = cJSON_Parse(kStateRoutes);
    ASSERT_TRUE(routes);
    cJSON_ReplaceItemInObject(state.get(), "mcast", routes);
    CStr text(cJSON_Print(state.get()));
    harness::writeFile(path, text.get());
}

const char* const kIpv4Routes =
    "{\n\t\t\"routes\":\t[{\n"
    "\t\t\t\t\"sourceIp\":\t\"10.1.1.5\",\n\t\t\t\t\"groupIp\":\t\"239.1.1.1\",\n"
    "\t\t\t\t\"protocol\":\t\"PIMSM\",\n\t\t\t\t\"incomingInterface\":\t\"1/0/5\",\n"
    "\t\t\t\t\"outgoingInterfaceList\":\t\"1/0/6,1/0/7\"\n"
    "\t\t\t}, {\n"
    "\t\t\t\t\"sourceIp\":\t\"*\",\n\t\t\t\t\"groupIp\":\t\"239.2.2.2\",\n"
    "\t\t\t\t\"incomingInterface\":\t\"vlan 10\"\n"
    "\t\t\t}, {\n"
    "\t\t\t\t\"sourceIp\":\t\"192.168.100.200\",\n\t\t\t\t\"groupIp\":\t\"239.255.255.250\",\n"
    "\t\t\t\t\"protocol\":\t\"Static\",\n\t\t\t\t\"incomingInterface\":\t\"1/0/1\",\n"
    "\t\t\t\t\"outgoingInterfaceList\":\t\"1/0/2\"\n"
    "\t\t\t}]\n\t}";

const char* const kIpv6Routes =
    "{\n\t\t\"routes\":\t[{\n"
    "\t\t\t\t\"sourceIp\":\t\"2001:db8:1234:5678:9abc:def0:1234:5678\",\n"
    "\t\t\t\t\"groupIp\":\t\"ff3e:0:0:0:0:0:8000:1\",\n"
    "\t\t\t\t\"protocol\":\t\"PIMSM\",\n\t\t\t\t\"incomingInterface\":\t\"1/0/3\",\n"
    "\t\t\t\t\"outgoingInterfaceList\":\t\"1/0/4,lag 1\"\n"
    "\t\t\t}]\n\t}";

TEST(MrouteSummary, RoutesOfAStateFileAreListedInOrder)
{
    const std::string path = "/tmp/mcast_state.json";
    ASSERT_NO_FATAL_FAILURE(writeStateWithRoutes(path));
    harness::Simulator sim({"--state", path});
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    EXPECT_EQ(summary("ipv4").out, envelopeOf(kIpv4Routes));
    EXPECT_TRUE(harness::workFiles().empty());
    EXPECT_EQ(summary("ipv6").out, envelopeOf(kIpv6Routes));
    EXPECT_TRUE(harness::workFiles().empty());
    // The switch keeps them in its state when it stops.
    sim.stop();
    harness::Simulator again({"--state", path});
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(summary("ipv4").out, envelopeOf(kIpv4Routes));
    EXPECT_EQ(summary("ipv6").out, envelopeOf(kIpv6Routes));
}

TEST(MrouteSummary, AFailedShowAnswers10000WithoutData)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    harness::writeAdminSession();
    sim.ctl({"fault", "openapiCliShowExecuteToFile", "-1"});
    const std::string failed = std::string(harness::kJsonHeader) +
                               "{\n\t\"resp\":\t{\n\t\t\"respCode\":\t10000,\n\t\t\"respMsg\":\t\"General Failed\",\n"
                               "\t\t\"status\":\t\"fail\"\n\t}\n}";
    for (const char* family : kFamilies) {
        EXPECT_EQ(summary(family).out, failed) << family;
        EXPECT_TRUE(harness::workFiles().empty()) << family;
    }
}

}  // namespace
