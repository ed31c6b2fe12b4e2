// The parts that meet SDL: the video mode with its palette, the copy of the
// frame to the surface, fullscreen toggling and event polling. Run with the
// dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "portable.h"
#include "sdlfixture.h"
#include "screen/console.h"
#include "screen/video.h"

namespace {

using namespace screen;

class SdlTest : public SdlFixture {
protected:
    static std::vector<uint8_t> surfacepixels()
    {
        std::vector<uint8_t> out;
        if (SDL_LockSurface(surface) != 0) return out;
        const auto* p = static_cast<const uint8_t*>(surface->pixels);
        for (int y = 0; y < surface->h; ++y) out.insert(out.end(), p + y * surface->pitch, p + y * surface->pitch + surface->w);
        SDL_UnlockSurface(surface);
        return out;
    }

    static void push(uint8_t type, SDLKey sym = SDLK_UNKNOWN)
    {
        SDL_Event e;
        std::memset(&e, 0, sizeof e);
        e.type = type;
        if (type == SDL_KEYDOWN || type == SDL_KEYUP) e.key.keysym.sym = sym;
        ASSERT_EQ(SDL_PushEvent(&e), 0);
    }
};

TEST_F(SdlTest, OpensA640By400EightBitSurfaceWithThePalette)
{
    setvideomode(false);
    ASSERT_NE(surface, nullptr) << SDL_GetError();
    EXPECT_EQ(surface->w, 640);
    EXPECT_EQ(surface->h, 400);
    EXPECT_EQ(surface->format->BitsPerPixel, 8);
    EXPECT_FALSE(fullscreen);
    const SDL_Palette* pal = surface->format->palette;
    ASSERT_NE(pal, nullptr);
    ASSERT_EQ(pal->ncolors, 256);
    for (int i : {0, 2, 28, 109, 182, 227, 255}) {
        EXPECT_EQ(pal->colors[i].r, palette[i].r) << i;
        EXPECT_EQ(pal->colors[i].g, palette[i].g) << i;
        EXPECT_EQ(pal->colors[i].b, palette[i].b) << i;
    }
}

TEST_F(SdlTest, HeightFollowsTheRowCount)
{
    screenrows = 60;
    setvideomode(false);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->h, 480);
}

TEST_F(SdlTest, PresentationCopiesTheShownRowsToTheSurface)
{
    setvideomode(false);
    ASSERT_NE(surface, nullptr);
    curattr = 0x1F;
    conwriteat(0, 0, " Hello");
    conwriteat(70, 49, "bottom row");
    framebuf[400 * 640] = 123;  // below the shown rows: not copied
    presentframe();
    const std::vector<uint8_t> shown = surfacepixels();
    ASSERT_EQ(shown.size(), 640u * 400u);
    EXPECT_TRUE(std::equal(shown.begin(), shown.end(), framebuf.begin()));
    EXPECT_EQ(shown[0], colourmap[1]);
}

TEST_F(SdlTest, ToggleTwiceKeepsThePicture)
{
    setvideomode(false);
    ASSERT_NE(surface, nullptr);
    curattr = 0x4E;
    conwriteat(5, 5, "picture \xDB\xDF\xDC");
    presentframe();
    const std::vector<uint8_t> before = surfacepixels();

    setvideomode(true);
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(fullscreen);
    setvideomode(true);
    ASSERT_NE(surface, nullptr);
    EXPECT_FALSE(fullscreen);
    presentframe();  // nothing changed in the text; the frame is copied whole
    EXPECT_EQ(surfacepixels(), before);
    EXPECT_EQ(surface->format->palette->colors[colourmap[14]].g, 255);
}

TEST_F(SdlTest, PresentationSendsOnlyTheChangedRowsUntilANewMode)
{
    setvideomode(false);
    ASSERT_NE(surface, nullptr);
    conwriteat(0, 2, "first");
    presentframe();
    // Marks on the surface show which rows the next present rewrites.
    auto mark = [] {
        ASSERT_EQ(SDL_LockSurface(surface), 0);
        auto* p = static_cast<uint8_t*>(surface->pixels);
        for (int y : {0, 16, 24, 399}) p[y * surface->pitch + 600] = 77;
        SDL_UnlockSurface(surface);
    };
    auto marked = [](int y) { return surfacepixels()[static_cast<size_t>(y) * 640 + 600] == 77; };
    mark();
    curattr = 0x1F;
    conwriteat(70, 3, "changed");      // text row 3: pixel rows 24..31
    framebuf[399 * 640 + 600] = 5;     // a pixel drawn straight into the frame
    presentframe();
    EXPECT_TRUE(marked(0));
    EXPECT_TRUE(marked(16)) << "row 2 did not change";
    EXPECT_FALSE(marked(24));
    EXPECT_EQ(surfacepixels()[399 * 640 + 600], 5);

    mark();
    presentframe();
    EXPECT_TRUE(marked(24)) << "nothing changed, nothing sent";
    setvideomode(false);
    ASSERT_NE(surface, nullptr);
    mark();
    setvideomode(false);
    presentframe();
    EXPECT_EQ(surfacepixels(), std::vector<uint8_t>(framebuf.begin(), framebuf.begin() + 640 * 400))
        << "a new mode gets the whole frame";
}

TEST_F(SdlTest, PresentationWithoutSurfaceOnlyDraws)
{
    surface = nullptr;
    conwriteat(0, 0, "x");
    presentframe();
    EXPECT_EQ(shownscreen, textscreen);
}

TEST_F(SdlTest, SurfaceOpenedForFewerRowsIsNotOverrun)
{
    screenrows = 25;
    setvideomode(false);
    ASSERT_NE(surface, nullptr);
    screenrows = 60;
    for (auto& cell : textscreen) cell = {0xDB, 0x0F};
    presentframe();
    const std::vector<uint8_t> shown = surfacepixels();
    ASSERT_EQ(shown.size(), 640u * 200u);
    EXPECT_EQ(shown.back(), colourmap[15]);
}

TEST_F(SdlTest, KeyDownAndMouseDownAreKeys)
{
    push(SDL_KEYDOWN, SDLK_a);
    ASSERT_TRUE(pollkey());
    EXPECT_EQ(event.type, SDL_KEYDOWN);
    EXPECT_EQ(lastkey(), 'a');

    push(SDL_MOUSEBUTTONDOWN);
    EXPECT_TRUE(pollkey());
    EXPECT_EQ(event.type, SDL_MOUSEBUTTONDOWN);

    EXPECT_FALSE(pollkey()) << "queue empty";
}

TEST_F(SdlTest, OtherEventsAreTakenAndDropped)
{
    push(SDL_KEYUP, SDLK_b);
    push(SDL_MOUSEMOTION);
    push(SDL_MOUSEBUTTONUP);
    push(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_FALSE(pollkey());
    EXPECT_EQ(event.type, SDL_KEYUP);
    EXPECT_FALSE(pollkey());
    EXPECT_FALSE(pollkey());
    EXPECT_TRUE(pollkey()) << "one event per call";
    EXPECT_EQ(lastkey(), 13);
}

TEST_F(SdlTest, LastKeyIsTheLowByte)
{
    push(SDL_KEYDOWN, SDLK_F2);  // 283
    ASSERT_TRUE(pollkey());
    EXPECT_EQ(lastkey(), 283 & 0xFF);
}

TEST_F(SdlTest, WaitingMessageBoxEndsOnAMouseClick)
{
    setvideomode(false);
    push(SDL_KEYUP, SDLK_x);
    push(SDL_MOUSEBUTTONDOWN);
    push(SDL_KEYDOWN, SDLK_y);
    messagebox("Press a key", 0x4F, true);
    EXPECT_EQ(event.type, SDL_MOUSEBUTTONDOWN) << "the click was consumed";
    EXPECT_TRUE(pollkey());
    EXPECT_EQ(lastkey(), 'y') << "the next key is still queued";
    EXPECT_EQ(textscreen[25 * 80 + 35].code, 'P');
}

}  // namespace
