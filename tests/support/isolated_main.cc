// Test main: enter the private root, then run the tests.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/support/harness.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!harness::enterPrivateRoot()) {
        fprintf(stderr, "tests need a private mount and network namespace (run as root)\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
