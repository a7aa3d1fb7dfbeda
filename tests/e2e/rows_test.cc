// Table of end-to-end rows. Later directories add their rows to the lists
// included here; each row runs in its own private root against a fresh switch.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_rows.h"

namespace {

using e2e::Row;
// The rows' words: envelope builders, common answers and set-up steps.
using e2e::codeEnvelope;
using e2e::dataEnvelope;
using e2e::dataEnvelopeNl;
using e2e::kInvalid;
using e2e::kInvalidNl;
using e2e::kNotFound;
using e2e::kNotFoundNl;
using e2e::kOkNl;
using e2e::kSetupHelpers;
using e2e::kSetupStaticRoute;
using e2e::kSetupTwoVlansInNet10;
using e2e::kSetupVlan10;
using e2e::kSetupVlan10Routing;
using e2e::kSetupVlan10TwoAddrs;
using e2e::kSetupVlans30And40;
using e2e::kUnsupported;
using e2e::kUnsupportedNl;
using e2e::steps;

const Row kRows[] = {
#include "tests/e2e/rows_runtime.inc"
#include "tests/e2e/rows_routing.inc"
#include "tests/e2e/rows_ipv6.inc"
#include "tests/e2e/rows_ipv4.inc"
};

class Rows : public testing::TestWithParam<Row> {};

TEST_P(Rows, AnswerIsExact)
{
    harness::Simulator sim;
    ASSERT_TRUE(sim.ok());
    const Row& row = GetParam();
    harness::CgiResult r = e2e::runRow(row);
    EXPECT_EQ(r.status, row.exit);
    EXPECT_EQ(r.out, std::string(harness::kJsonHeader) + row.expect);
}

INSTANTIATE_TEST_SUITE_P(E2E, Rows, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& i) { return std::string(i.param.name); });

}  // namespace
