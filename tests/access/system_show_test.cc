// The readers of system show output that coregate's CLI views answer from:
// environment, boot images, code versions, memory and up time, each against
// texts as the switch writes them and as it might write them otherwise.
#include <gtest/gtest.h>

#include <string>

#include "access/cli_text.h"
#include "access/show_parse_system.h"

namespace {

const char kEnvironment[] =
    "Temp (C)...................................... 41\n"
    "Fan Quiet Mode................................ Enable\n"
    "Temperature traps range: 5 to 80 degrees (Celsius)\n"
    "\n"
    "Temperature Sensors:\n"
    "Unit     Sensor  Description       Temp (C)    State           Max_Temp (C)\n"
    "-----    ------  ----------------  ----------  --------------  --------------\n"
    "1        1       MAC               40          Normal          43\n"
    "1        2       CPU               46          Normal          49\n"
    "\n"
    "Fans:\n"
    "Unit  Fan  Description           Type      Speed (RPM)  Duty level  State\n"
    "1    3    Fan-3   Fixed   12000   80%   Operational\n"
    "1        3       Board             50          Normal          77\n";

TEST(SystemShow, SensorsAreReadFromTheirTableOnly)
{
    const struct {
        uint32_t sensor;
        bool found;
        uint32_t max;
    } cases[] = {{1, true, 43}, {2, true, 49}, {3, false, 0}, {0, false, 0}};
    for (const auto& c : cases) {
        uint32_t max = 0;
        EXPECT_EQ(sensorMaxTempOf(kEnvironment, c.sensor, &max), c.found) << c.sensor;
        if (c.found) {
            EXPECT_EQ(max, c.max) << c.sensor;
        }
    }
    uint32_t max = 0;
    EXPECT_FALSE(sensorMaxTempOf("1 1 MAC 40 Normal 43\n", 1, &max)) << "rows before the table heading";
}

TEST(SystemShow, TemperatureRangeAndFanQuietMode)
{
    uint32_t lo = 9, hi = 9;
    ASSERT_TRUE(tempRangeOf(kEnvironment, &lo, &hi));
    EXPECT_EQ(lo, 5u);
    EXPECT_EQ(hi, 80u);
    EXPECT_FALSE(tempRangeOf("Temperature traps range: hot\n", &lo, &hi));
    EXPECT_FALSE(tempRangeOf("Temperature Traps Range....... 0 to 85\n", &lo, &hi));

    EXPECT_TRUE(labelHoldsEnable(kEnvironment, "Fan Quiet Mode"));
    EXPECT_FALSE(labelHoldsEnable("Fan Quiet Mode........ Disable\n", "Fan Quiet Mode"));
    EXPECT_FALSE(labelHoldsEnable("Mode of Fan Quiet Mode Enable\n", "Fan Quiet Mode")) << "a label inside a line";
    EXPECT_FALSE(labelHoldsEnable("", "Fan Quiet Mode"));
}

const char kBootvar[] =
    "\nImage Descriptions\n\n image1 : default image\n image2 : previous image\n\n\n"
    " Images currently available on Flash\n\n"
    "--------------------------------------------------------------------\n"
    " unit      image1      image2     current-active        next-active\n"
    "--------------------------------------------------------------------\n\n\n"
    "    1     4.1.2.7     4.1.1.3             image1             image2\n"
    "    2     4.1.2.7     4.1.3.0             image2             image2\n";

TEST(SystemShow, BootImagesOfAUnit)
{
    const struct {
        uint32_t unit;
        bool found;
        const char* running;
        const char* next;
    } cases[] = {{1, true, "4.1.2.7", "image2"}, {2, true, "4.1.3.0", "image2"}, {0, true, "4.1.2.7", "image2"},
                 {3, false, "", ""}};
    for (const auto& c : cases) {
        BootImages b;
        ASSERT_EQ(bootImagesOf(kBootvar, c.unit, &b), c.found) << c.unit;
        if (!c.found)
            continue;
        EXPECT_EQ(runningImageVersion(b), c.running) << c.unit;
        EXPECT_EQ(b.nextActive, c.next) << c.unit;
    }
    BootImages b;
    EXPECT_FALSE(bootImagesOf("    1     4.1.2.7     4.1.1.3   image1   image1\n", 1, &b)) << "no separator line";
}

TEST(SystemShow, CodeVersionsAreFourNumbersOfAByteEach)
{
    const struct {
        const char* text;
        bool ok;
        ApiVersion v;
    } cases[] = {
        {"4.1.2.7", true, {4, 1, 2, 7}}, {"255.0.0.255", true, {255, 0, 0, 255}}, {"4.1.2", false, {}},
        {"4.1.2.256", false, {}},       {"4.1.2.7x", false, {}},                  {"", false, {}},
    };
    for (const auto& c : cases) {
        ApiVersion v{};
        ASSERT_EQ(codeVersionOf(c.text, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_TRUE(v.release == c.v.release && v.version == c.v.version && v.maintLevel == c.v.maintLevel &&
                        v.buildNum == c.v.buildNum)
                << c.text;
        }
    }
}

TEST(SystemShow, MemoryNeedsBothLines)
{
    uint64_t f = 0, a = 0;
    ASSERT_TRUE(memoryOf("status      bytes\n------ ----------\nfree   5000000000\nalloc  1234\n", &f, &a));
    EXPECT_EQ(f, 5000000000u);
    EXPECT_EQ(a, 1234u);
    EXPECT_FALSE(memoryOf("free   5000\n", &f, &a));
    EXPECT_FALSE(memoryOf("freeze 5\nallocs 6\n", &f, &a));
}

TEST(SystemShow, UpTimeInSeconds)
{
    const struct {
        const char* text;
        bool ok;
        uint64_t seconds;
    } cases[] = {
        {"System Up Time................ 1 days 2 hrs 3 mins 4 secs\n", true, 93784},
        {"System Up Time.... \"0 days 0 hrs 0 mins 5 secs\n", true, 5},
        {"System Up Time: 400 days 0 hrs 0 mins 0 secs\n", true, 34560000},
        {"System Up Time..... 1 day, 2 hours\n", false, 0},
        {"The System Up Time 1 days 2 hrs 3 mins 4 secs\n", false, 0},
        {"", false, 0},
    };
    for (const auto& c : cases) {
        uint64_t s = 0;
        ASSERT_EQ(upTimeOf(c.text, "System Up Time", &s), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(s, c.seconds) << c.text;
        }
    }
}

TEST(SystemShow, LabelValuesAreCutAtTheirBound)
{
    std::string model(200, 'M');
    std::string v;
    ASSERT_TRUE(clitext::labelValue("Machine Model....... " + model + "\n", "Machine Model", &v, 127));
    EXPECT_EQ(v, model.substr(0, 127));
    ASSERT_TRUE(clitext::labelValue("Machine Model....... " + model + "\n", "Machine Model", &v));
    EXPECT_EQ(v.size(), 31u);
}

}  // namespace
