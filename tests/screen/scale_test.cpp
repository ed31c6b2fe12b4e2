// The screen shown larger: the window at 2x to 4x and full screen at the
// desktop's own size, each screen pixel a block, the border black, and the
// mouse mapped back to the screen's pixels. Run with the dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <vector>

#include "portable.h"
#include "sdlfixture.h"
#include "screen/console.h"
#include "screen/video.h"

namespace {

using namespace screen;

class ScaleTest : public SdlFixture {
protected:
    // The surface as a grey-less picture: width, height and pixels.
    struct picture {
        int w = 0, h = 0;
        std::vector<uint8_t> px;
        uint8_t at(int x, int y) const { return px[static_cast<size_t>(y * w + x)]; }
    };
    static picture shot()
    {
        picture p;
        if (!surface || SDL_LockSurface(surface) != 0) return p;
        p.w = surface->w;
        p.h = surface->h;
        const auto* s = static_cast<const uint8_t*>(surface->pixels);
        for (int y = 0; y < surface->h; ++y) p.px.insert(p.px.end(), s + y * surface->pitch, s + y * surface->pitch + surface->w);
        SDL_UnlockSurface(surface);
        return p;
    }

    // A screen of text in several colours and some drawn pixels.
    static void drawsomething(int salt)
    {
        for (int row = 0; row < 50; row += 3) {
            curattr = static_cast<uint8_t>(0x10 * (row % 8) + (row + salt) % 16);
            conwriteat(row % 20, row, "tarplay \xDB\xB1 scaled " + inttostr(row * salt));
        }
        for (int x = 0; x < 640; ++x) framebuf[static_cast<size_t>((300 + x % 7) * framewidth + x)] = static_cast<uint8_t>(x + salt);
    }

    // Whether big shows small with every pixel a k x k block at (ox, oy),
    // and only black outside it.
    static ::testing::AssertionResult scaledfrom(const picture& big, const picture& small, int k, int ox, int oy)
    {
        for (int y = 0; y < big.h; ++y)
            for (int x = 0; x < big.w; ++x) {
                const int sx = x - ox, sy = y - oy;
                const bool inside = sx >= 0 && sy >= 0 && sx < small.w * k && sy < small.h * k;
                const uint8_t want = inside ? small.at(sx / k, sy / k) : 0;
                if (big.at(x, y) != want)
                    return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << int(big.at(x, y))
                                                         << ", wanted " << int(want);
            }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(ScaleTest, EveryScaleShowsTheOneTimesPictureInBlocksAndPresentsChangesAlike)
{
    drawsomething(1);
    setvideomode(false);
    presentframe();
    const picture one = shot();
    ASSERT_EQ(one.w, 640);
    ASSERT_EQ(one.h, 400);
    for (int k = 2; k <= maxscale; ++k) {
        windowscale = k;
        setvideomode(false);
        ASSERT_NE(surface, nullptr) << SDL_GetError();
        presentframe();
        const picture big = shot();
        ASSERT_EQ(big.w, 640 * k);
        ASSERT_EQ(big.h, 400 * k);
        EXPECT_TRUE(scaledfrom(big, one, k, 0, 0)) << k << "x";
    }

    // A change presented at 3x lands as the same change at 1x would.
    windowscale = 3;
    setvideomode(false);
    presentframe();
    drawsomething(5);
    presentframe();
    const picture changed3 = shot();
    windowscale = 1;
    setvideomode(false);
    presentframe();
    EXPECT_TRUE(scaledfrom(changed3, shot(), 3, 0, 0));
}

TEST_F(ScaleTest, FullScreenFillsTheDesktopWithTheLargestWholeScaleCentredOnBlack)
{
    drawsomething(2);
    setvideomode(false);
    presentframe();
    const picture one = shot();

    const struct { int w, h, k; } desktops[] = {{1920, 1080, 2}, {2560, 1440, 3}, {3840, 2160, 4}, {1024, 768, 1}, {7680, 4320, 4}};
    for (const auto& d : desktops) {
        desktopwidth = d.w;
        desktopheight = d.h;
        fullscreen = false;
        setvideomode(true);
        ASSERT_NE(surface, nullptr) << SDL_GetError();
        EXPECT_TRUE(fullscreen);
        presentframe();
        const picture full = shot();
        ASSERT_EQ(full.w, d.w);
        ASSERT_EQ(full.h, d.h);
        const int ox = (d.w - 640 * d.k) / 2, oy = (d.h - 400 * d.k) / 2;
        EXPECT_EQ(placement, (tplacement{d.k, ox, oy})) << d.w;
        EXPECT_TRUE(scaledfrom(full, one, d.k, ox, oy)) << d.w << "x" << d.h;
    }
    // Leaving full screen: the window at its scale again.
    windowscale = 2;
    setvideomode(true);
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(surface->w, 1280);
    EXPECT_EQ(placement, (tplacement{2, 0, 0}));
}

TEST_F(ScaleTest, TheFirstScaleFitsInThreeQuartersOfTheDesktop)
{
    const struct { int w, h, k; } cases[] = {
        {0, 0, 1}, {1024, 768, 1}, {1706, 1066, 1}, {1707, 1067, 2}, {1920, 1080, 2},
        {2560, 1440, 2}, {3840, 2160, 4}, {10000, 10000, 4}, {10000, 1066, 1},
    };
    for (const auto& c : cases) {
        desktopwidth = c.w;
        desktopheight = c.h;
        EXPECT_EQ(fittingscale(), c.k) << c.w << "x" << c.h;
    }
}

TEST_F(ScaleTest, MousePositionsMapBackToTheScreenAndTheBorderIsPassedOver)
{
    auto button = [](int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.x = static_cast<Uint16>(x);
        e.button.y = static_cast<Uint16>(y);
        return e;
    };
    auto mapped = [&](int x, int y, int& sx, int& sy) {
        SDL_Event e = button(x, y);
        if (!mapmouse(e)) return false;
        sx = e.button.x;
        sy = e.button.y;
        return true;
    };
    int sx = -1, sy = -1;
    setvideomode(false);
    ASSERT_TRUE(mapped(639, 399, sx, sy));
    EXPECT_EQ(sx * 1000 + sy, 639399) << "1x: unchanged";

    windowscale = 2;
    setvideomode(false);
    ASSERT_TRUE(mapped(1279, 799, sx, sy));
    EXPECT_EQ(sx * 1000 + sy, 639399);
    ASSERT_TRUE(mapped(3, 2, sx, sy));
    EXPECT_EQ(sx * 1000 + sy, 1001);
    EXPECT_FALSE(mapped(1280, 10, sx, sy));

    desktopwidth = 1920;
    desktopheight = 1080;
    setvideomode(true);  // 2x at (320, 140)
    ASSERT_TRUE(mapped(320, 140, sx, sy));
    EXPECT_EQ(sx * 1000 + sy, 0);
    ASSERT_TRUE(mapped(320 + 1279, 140 + 799, sx, sy));
    EXPECT_EQ(sx * 1000 + sy, 639399);
    for (const auto& border : {std::pair{319, 500}, {1600, 500}, {900, 139}, {900, 940}, {0, 0}, {1919, 1079}})
        EXPECT_FALSE(mapped(border.first, border.second, sx, sy)) << border.first << "," << border.second;
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    EXPECT_TRUE(mapmouse(key)) << "other events pass";
}

TEST_F(ScaleTest, AltKeysChooseTheScaleAndSwitchFullScreenAndTellTheShell)
{
    static std::vector<bool> told;
    told.clear();
    viewchanged = [](bool scalechosen) { told.push_back(scalechosen); };
    setvideomode(false);
    auto press = [](SDLKey sym, int mod) {
        SDL_keysym k{};
        k.sym = sym;
        k.mod = static_cast<SDLMod>(mod);
        return viewkey(k);
    };
    EXPECT_FALSE(press(SDLK_3, KMOD_NONE)) << "without Alt a digit is the screen's own";
    EXPECT_TRUE(press(SDLK_3, KMOD_LALT));
    EXPECT_EQ(surface->w, 1920);
    EXPECT_TRUE(press(SDLK_7, KMOD_RALT)) << "taken, and nothing changes";
    EXPECT_TRUE(press(SDLK_0, KMOD_LALT));
    EXPECT_EQ(windowscale, 3);
    EXPECT_FALSE(press(SDLK_a, KMOD_LALT));
    EXPECT_TRUE(press(SDLK_RETURN, KMOD_LALT));
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(press(SDLK_1, KMOD_LALT));
    EXPECT_TRUE(fullscreen) << "in full screen the choice waits for the window";
    EXPECT_TRUE(press(SDLK_RETURN, KMOD_LALT));
    EXPECT_EQ(surface->w, 640);
    EXPECT_EQ(told, (std::vector<bool>{true, false, true, false}));
}

}  // namespace
