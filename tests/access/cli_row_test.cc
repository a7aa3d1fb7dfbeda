// CLI rows: the named parts of a row land where the classes read them, and
// every CLI row of the route tables names the files of what it runs.
#include <dirent.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "access/cli_bridge.h"
#include "access/cli_row.h"
#include "tests/support/harness.h"

namespace {

using clirow::CliRow;

TEST(CliRowParts, EachPartFillsItsOwnField)
{
    CliRow r = CliRow::of({SHOW("show ipv6 interface vlan %u"), OUTPUT("ip6m"), CAP(131072), LABEL("A|B"),
                           ANSWERS("val"), AS(kThirdOf), IN_VLAN("ifNum"), ECHOES_SCOPE, PICKS(3)});
    EXPECT_STREQ(r.show, "show ipv6 interface vlan %u");
    EXPECT_STREQ(r.output, "ip6m");
    EXPECT_EQ(r.cap, 131072u);
    EXPECT_STREQ(r.label, "A|B");
    EXPECT_STREQ(r.answers, "val");
    EXPECT_EQ(r.as, showparse::kThirdOf);
    EXPECT_EQ(r.scope, clirow::kVlanScope);
    EXPECT_STREQ(r.scopeQuery, "ifNum");
    EXPECT_TRUE(r.echoes);
    EXPECT_EQ(r.picks, 3);
    EXPECT_EQ(r.script, nullptr);
    EXPECT_EQ(r.sends, nullptr);
}

TEST(CliRowParts, WritesKeepBothCasesAndBothReadsInRowOrder)
{
    CliRow r = CliRow::of({IN_PORT("intIfNum"), READS(B, "ipAddress"), READS(Q, "macAddr"), TAKES(kEnable),
                           SENDS("on"), ELSE_SENDS("off"), SCRIPT("a_b"), ELSE_SCRIPT("a_c")});
    EXPECT_EQ(r.scope, clirow::kPortScope);
    EXPECT_STREQ(r.reads[0], "ipAddress");
    EXPECT_EQ(r.readsFrom[0], clirow::kFromB);
    EXPECT_STREQ(r.reads[1], "macAddr");
    EXPECT_EQ(r.readsFrom[1], clirow::kFromQ);
    EXPECT_EQ(r.takes, clirow::kEnable);
    EXPECT_STREQ(r.sends, "on");
    EXPECT_STREQ(r.elseSends, "off");
    EXPECT_STREQ(r.script, "a_b");
    EXPECT_STREQ(r.elseScript, "a_c");
}

TEST(CliRowParts, DefaultsOfARowThatSaysLittle)
{
    CliRow r = CliRow::of({SENDS("clear arp-switch\n"), SCRIPT("rcfg_arpSwClear")});
    EXPECT_EQ(r.cap, clitext::kShowCap);
    EXPECT_EQ(r.takes, clirow::kFixed);
    EXPECT_EQ(r.readsFrom[0], clirow::kNoSrc);
    EXPECT_EQ(r.scope, clirow::kNoScope);
    EXPECT_FALSE(r.echoes);
}

// --- The rows of every route table -------------------------------------------

struct Row {
    std::string where, text;
};

// Every CLI row of the .def files of a program directory, joined to one line.
std::vector<Row> cliRowsOf(const std::string& dir)
{
    std::vector<Row> rows;
    std::string path = harness::sourcePath(dir);
    DIR* d = opendir(path.c_str());
    if (!d)
        return rows;
    std::vector<std::string> files;
    while (dirent* e = readdir(d))
        if (strstr(e->d_name, ".def"))
            files.push_back(e->d_name);
    closedir(d);
    for (const std::string& f : files) {
        std::istringstream in(harness::readFile(path + "/" + f));
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("CLI(", 0) == 0)
                rows.push_back({dir + "/" + f + ": " + line.substr(0, line.find(',', line.find(',') + 1)), line});
            else if (!rows.empty() && line.rfind("    ", 0) == 0 && rows.back().text.back() != ')')
                rows.back().text += line;
        }
    }
    return rows;
}

// The texts of every part `name("...")` of a row.
std::vector<std::string> partTexts(const std::string& row, const std::string& name)
{
    std::vector<std::string> out;
    std::string open = name + "(\"";
    for (size_t at = row.find(open); at != std::string::npos; at = row.find(open, at + 1)) {
        if (at > 0 && (isalnum(static_cast<unsigned char>(row[at - 1])) || row[at - 1] == '_'))
            continue;  // ELSE_SCRIPT is no SCRIPT
        size_t from = at + open.size();
        out.push_back(row.substr(from, row.find('"', from) - from));
    }
    return out;
}

TEST(CliRowTables, EveryShowNamesItsOutputAndEverySentTextItsScript)
{
    std::vector<Row> rows = cliRowsOf("routing");
    ASSERT_GT(rows.size(), 100u);
    // The longest stem a work file may have: "oxel_out_" and the stem within kTempStemMax.
    const size_t kStemMax = kTempStemMax - strlen("oxel_out_");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.where);
        std::vector<std::string> shows = partTexts(r.text, "SHOW"), outputs = partTexts(r.text, "OUTPUT");
        std::vector<std::string> sends = partTexts(r.text, "SENDS"), scripts = partTexts(r.text, "SCRIPT");
        EXPECT_EQ(shows.size(), outputs.size()) << "a show command without its output file, or the reverse";
        if (!sends.empty()) {
            EXPECT_EQ(scripts.size(), 1u) << "sent text without its script files";
        }
        EXPECT_LE(shows.size() + sends.size(), 2u);
        EXPECT_FALSE(shows.empty() && sends.empty()) << "a CLI row that neither shows nor sends";
        for (const std::string& stem : outputs)
            EXPECT_LE(stem.size(), kStemMax) << stem;
        for (const std::string& stem : scripts)
            EXPECT_LE(stem.size(), kStemMax) << stem;
    }
}

}  // namespace
