// Table of end-to-end rows. Later directories add their rows to the lists
// included here; each row runs in its own private root against a fresh switch.
#include <gtest/gtest.h>

#include "tests/e2e/e2e_rows.h"

namespace {

using e2e::Row;

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
