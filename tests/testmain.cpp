// The main of every test program: tests run without a display or a sound
// device, and find the build and source trees whether ctest started them or
// a developer did.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("TARPLAY_BUILD", TARPLAY_BUILD_DIR, 0);
    setenv("TARPLAY_SOURCE", TARPLAY_SOURCE_DIR, 0);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
