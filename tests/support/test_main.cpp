// Entry of every test program: the application object is initialised as the program does it.
#include <gtest/gtest.h>

#include "gui/application.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    Application().Initialize();
    return RUN_ALL_TESTS();
}
