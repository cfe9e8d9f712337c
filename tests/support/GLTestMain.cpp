#include "support/GLTestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new GLTestEnvironment());
    return RUN_ALL_TESTS();
}
