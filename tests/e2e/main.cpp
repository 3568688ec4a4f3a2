// Entry of the end-to-end tests: says where the program's files come from and where
// the screenshots go, since a run is read back from both.
#include <gtest/gtest.h>

#include <cstdio>

#include "driver/driver.h"

int main(int argc, char **argv) {
    testing::InitGoogleTest(&argc, argv);
    std::printf("program files: %s\nsource tree: %s\nscreenshots: %s\n", qdriver::ExeFolder().c_str(),
                qdriver::SourceFolder().c_str(), qdriver::ScreensFolder().c_str());
    return RUN_ALL_TESTS();
}
