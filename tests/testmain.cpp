// The main of every test program: tests run without a display or a sound
// device, and find the build and source trees whether ctest started them or
// a developer did.
#include <gtest/gtest.h>

#include "portable.h"

int main(int argc, char** argv)
{
    portable::setenvdefault("SDL_VIDEODRIVER", "dummy");
    portable::setenvdefault("SDL_AUDIODRIVER", "dummy");
    portable::setenvdefault("TARPLAY_BUILD", TARPLAY_BUILD_DIR);
    portable::setenvdefault("TARPLAY_SOURCE", TARPLAY_SOURCE_DIR);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
