// Interface notation helpers against the simulated switch.
#include <cstring>

#include "access/intf_notation.h"
#include "tests/access/access_fixture.h"

namespace {

using accesstest::AccessTest;

class IntfNotation : public AccessTest {
protected:
    void SetUp() override
    {
        AccessTest::SetUp();
        start();
    }
};

TEST_F(IntfNotation, DisplayNamesOfPortsAndLags)
{
    char name[kIfDisplayNameSize];
    EXPECT_EQ(ifDisplayNameGet(&h, 5, name), 0);
    EXPECT_STREQ(name, "1/0/5");
    EXPECT_EQ(ifDisplayNameGet(&h, 29, name), 0);
    EXPECT_STREQ(name, "lag 1");
    EXPECT_EQ(ifDisplayNameGet(&h, 36, name), 0);
    EXPECT_STREQ(name, "lag 8");
    EXPECT_EQ(ifDisplayNameGet(&h, 999, name), 10000);
    EXPECT_EQ(ifDisplayNameGet(&h, 5, nullptr), 10003);
}

TEST_F(IntfNotation, FailedFirstLagLookupIsLoggedAsSwapiIfFirstGet)
{
    sim().ctl({"fault", "openapiIfFirstGet", "-29"});
    char name[kIfDisplayNameSize] = "keep";
    EXPECT_EQ(ifDisplayNameGet(&h, 30, name), 10000);
    EXPECT_NE(log().find("[swapiIfFirstGet:"), std::string::npos);
    EXPECT_NE(log().find("] Bad return code trying to get first physical interface. result = -29\r\n"),
              std::string::npos);
}

TEST_F(IntfNotation, DisplayNameFromType)
{
    char name[kIfDisplayNameSize];
    EXPECT_EQ(ifDisplayNameFromTypeGet(&h, 7, kIfTypePhysical, name), 0);
    EXPECT_STREQ(name, "1/0/7");
    EXPECT_EQ(ifDisplayNameFromTypeGet(&h, 3, kIfTypeLag, name), 0);
    EXPECT_STREQ(name, "lag 3");
    strcpy(name, "keep");
    EXPECT_EQ(ifDisplayNameFromTypeGet(&h, 3, 7, name), 0);
    EXPECT_STREQ(name, "keep");
    EXPECT_EQ(ifDisplayNameFromTypeGet(&h, 999, kIfTypePhysical, name), 10000);
}

TEST_F(IntfNotation, UnitSlotPortAndStackCount)
{
    UnitSlotPort usp;
    memset(&usp, 0xff, sizeof usp);
    EXPECT_EQ(ifUnitSlotPortGet(&h, 12, &usp), 0);
    EXPECT_EQ(usp.unit, 1);
    EXPECT_EQ(usp.slot, 0);
    EXPECT_EQ(usp.port, 12);
    memset(&usp, 0xff, sizeof usp);
    EXPECT_EQ(ifUnitSlotPortGet(&h, 999, &usp), 10000);
    EXPECT_EQ(usp.unit + usp.slot + usp.port, 0);  // cleared first
    uint32_t count = 0;
    EXPECT_EQ(stackMemberCountGet(&h, &count), 0);
    EXPECT_EQ(count, 1u);
    uint32_t type = 9;
    EXPECT_EQ(openapiIfTypeGet(&h, 29, &type), 0);
    EXPECT_EQ(type, kIfTypeLag);
}

}  // namespace
