#include <gtest/gtest.h>

#include <SDL.h>

#include "display_fixture.h"
#include "sdk/font.h"
#include "sdk/input.h"
#include "sdk/render_device.h"
#include "sdk/message_pump.h"
#include "sdk/sprite.h"

namespace {

TEST(Virtual_Keys, SdlKeysMapToWindowsCodes) {
    struct Case { SDL_Keycode key; SDL_Scancode scan; int vk; };
    const Case cases[] = {
        {SDLK_LEFT, SDL_SCANCODE_LEFT, 37},     {SDLK_UP, SDL_SCANCODE_UP, 38},
        {SDLK_RIGHT, SDL_SCANCODE_RIGHT, 39},   {SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
        {SDLK_RETURN, SDL_SCANCODE_RETURN, 13}, {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
        {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27}, {SDLK_z, SDL_SCANCODE_Z, 90},
        {SDLK_x, SDL_SCANCODE_X, 88},           {SDLK_c, SDL_SCANCODE_C, 67},
        {SDLK_HOME, SDL_SCANCODE_HOME, 36},     {SDLK_F4, SDL_SCANCODE_F4, 115},
        {SDLK_F11, SDL_SCANCODE_F11, 122},      {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 160},
        {SDLK_LCTRL, SDL_SCANCODE_LCTRL, 162},  {SDLK_5, SDL_SCANCODE_5, '5'},
        {SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
        // A letter key of a non-Latin layout keeps the code of its place.
        {0x44f, SDL_SCANCODE_Z, 90},
        {SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(sdk::virtual_key_from_sdl(c.key, c.scan), c.vk) << c.key;
}

TEST(Virtual_Keys, HatReadsInHundredthsOfDegrees) {
    struct Case { Uint8 hat; float value; };
    const Case cases[] = {
        {SDL_HAT_UP, 0},          {SDL_HAT_RIGHTUP, 4500},  {SDL_HAT_RIGHT, 9000},
        {SDL_HAT_RIGHTDOWN, 13500}, {SDL_HAT_DOWN, 18000}, {SDL_HAT_LEFTDOWN, 22500},
        {SDL_HAT_LEFT, 27000},    {SDL_HAT_LEFTUP, 31500},  {SDL_HAT_CENTERED, sdk::hat_centred},
    };
    for (const Case& c : cases) EXPECT_EQ(sdk::hat_hundredths(c.hat), c.value) << int(c.hat);
    for (float v : {0.f, 4500.f, 9000.f, 13500.f, 18000.f, 22500.f, 27000.f, 31500.f})
        EXPECT_NE(sdk::hat_centred, v);
}

void push_key(Uint32 type, SDL_Keycode key, SDL_Scancode scan, Uint16 mod, Uint32 window) {
    SDL_Event e{};
    e.type = type;
    e.key.windowID = window;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.scancode = scan;
    e.key.keysym.mod = mod;
    SDL_PushEvent(&e);
}

TEST(Input, KeyboardSignalsAndHeldKeysComeFromThePump) {
    test_display::Display& d = test_display::display();
    Uint32 id = SDL_GetWindowID(d.window.device()->window());
    sdk::Input_Device& keyboard = d.window.get_ic().get_keyboard();
    std::vector<std::pair<int, bool>> downs, ups;
    sdk::Slot s1 = keyboard.sig_key_down().connect([&](const sdk::Input_Event& e) { downs.push_back({e.id, e.alt}); });
    sdk::Slot s2 = keyboard.sig_key_up().connect([&](const sdk::Input_Event& e) { ups.push_back({e.id, e.alt}); });

    sdk::Keep_Alive::process();
    push_key(SDL_KEYDOWN, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_LSHIFT, id);
    push_key(SDL_KEYDOWN, SDLK_z, SDL_SCANCODE_Z, KMOD_LSHIFT, id);
    push_key(SDL_KEYUP, SDLK_F4, SDL_SCANCODE_F4, KMOD_LALT, id);
    EXPECT_TRUE(downs.empty());  // nothing runs before the pump
    sdk::Keep_Alive::process();
    EXPECT_EQ(downs, (std::vector<std::pair<int, bool>>{{160, false}, {90, false}}));
    EXPECT_EQ(ups, (std::vector<std::pair<int, bool>>{{115, true}}));
    EXPECT_TRUE(keyboard.get_keycode(160));
    EXPECT_TRUE(keyboard.get_keycode(16));  // either shift
    EXPECT_TRUE(keyboard.get_keycode(90));
    EXPECT_FALSE(keyboard.get_keycode(88));

    // A held key's repeats come as key-downs marked as repeats.
    SDL_Event rep{};
    rep.type = SDL_KEYDOWN;
    rep.key.windowID = id;
    rep.key.repeat = 1;
    rep.key.keysym.sym = SDLK_z;
    rep.key.keysym.scancode = SDL_SCANCODE_Z;
    SDL_PushEvent(&rep);
    bool repeated = false;
    sdk::Slot s3 = keyboard.sig_key_down().connect([&](const sdk::Input_Event& e) { repeated = e.repeat && e.id == 90; });
    sdk::Keep_Alive::process();
    EXPECT_TRUE(repeated);
    downs.pop_back();
    s3.disconnect();

    s1.disconnect();
    push_key(SDL_KEYUP, SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, 0, id);
    push_key(SDL_KEYUP, SDLK_z, SDL_SCANCODE_Z, 0, id);
    push_key(SDL_KEYDOWN, SDLK_x, SDL_SCANCODE_X, 0, id);
    sdk::Keep_Alive::process();
    EXPECT_EQ(downs.size(), 2u);  // disconnected
    EXPECT_FALSE(keyboard.get_keycode(160));
    EXPECT_FALSE(keyboard.get_keycode(16));
    EXPECT_FALSE(keyboard.get_keycode(90));
    EXPECT_TRUE(keyboard.get_keycode(88));
    push_key(SDL_KEYUP, SDLK_x, SDL_SCANCODE_X, 0, id);
    sdk::Keep_Alive::process();
}

TEST(Input, VirtualJoystickAxesHatAndButtons) {
    test_display::Display& d = test_display::display();
    sdk::Input_Context& ic = d.window.get_ic();
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 6, 1);
    ASSERT_GE(index, 0) << SDL_GetError();
    sdk::Keep_Alive::process();  // the device-added event opens it
    ASSERT_EQ(ic.get_joystick_count(), 1);
    sdk::Input_Device pad = ic.get_joystick(0);
    EXPECT_EQ(pad.get_kind(), sdk::Input_Device::Kind::joystick);
    EXPECT_EQ(pad.get_axis_count(), 2);
    EXPECT_EQ(pad.get_axis(sdk::hat_axis), sdk::hat_centred);

    std::vector<std::pair<int, float>> moves;
    std::vector<int> buttons;
    sdk::Slot a = pad.sig_axis_move().connect([&](const sdk::Input_Event& e) { moves.push_back({e.id, e.axis_pos}); });
    sdk::Slot b = pad.sig_key_down().connect([&](const sdk::Input_Event& e) { buttons.push_back(e.id); });

    SDL_Joystick* js = SDL_JoystickOpen(index);
    SDL_JoystickSetVirtualAxis(js, 0, -32768);
    SDL_JoystickSetVirtualAxis(js, 1, 32767);
    SDL_JoystickSetVirtualHat(js, 0, SDL_HAT_RIGHTDOWN);
    SDL_JoystickSetVirtualButton(js, 3, SDL_PRESSED);
    SDL_JoystickUpdate();
    sdk::Keep_Alive::process();
    EXPECT_FLOAT_EQ(pad.get_axis(0), -1.0f);
    EXPECT_FLOAT_EQ(pad.get_axis(1), 1.0f);
    EXPECT_FLOAT_EQ(pad.get_axis(sdk::hat_axis), 13500.0f);
    EXPECT_TRUE(pad.get_keycode(3));
    EXPECT_FALSE(pad.get_keycode(2));
    EXPECT_EQ(buttons, std::vector<int>{3});
    bool hat_seen = false;
    for (auto& m : moves) hat_seen |= m.first == sdk::hat_axis && m.second == 13500.0f;
    EXPECT_TRUE(hat_seen);

    SDL_JoystickClose(js);
    SDL_JoystickDetachVirtual(index);
    sdk::Keep_Alive::process();
    EXPECT_EQ(ic.get_joystick_count(), 0);
    // The handle outlives the device and reads as idle.
    EXPECT_FALSE(pad.get_keycode(3));
    EXPECT_EQ(pad.get_axis(0), 0.0f);
    EXPECT_EQ(pad.get_axis(sdk::hat_axis), sdk::hat_centred);
}

TEST(Window, ResizeAndCloseSignalsAndModeChangesInPlace) {
    test_display::display();
    sdk::Window_Description desc;
    desc.title = "second";
    desc.size = {320, 240};
    desc.visible = false;
    desc.resizable = true;
    desc.renderer = sdk::Renderer_Kind::software;
    sdk::Window w(desc);
    EXPECT_EQ(w.get_size(), sdk::Size(320, 240));
    EXPECT_EQ(w.get_renderer_name(), "software");
    int closes = 0;
    std::vector<sdk::Size> sizes;
    sdk::Slot c = w.sig_window_close().connect([&] { ++closes; });
    sdk::Slot r = w.sig_resize().connect([&](int width, int height) { sizes.push_back({width, height}); });

    sdk::Canvas canvas(w);
    sdk::Texture t(canvas, sdk::Pixel_Buffer(4, 4));
    w.set_size(400, 300);
    sdk::Keep_Alive::process();
    EXPECT_EQ(w.get_size(), sdk::Size(400, 300));
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), sdk::Size(400, 300));

    desc.size = {500, 375};
    desc.title = "renamed";
    w.apply(desc);
    sdk::Keep_Alive::process();
    EXPECT_EQ(w.get_size(), sdk::Size(500, 375));
    EXPECT_EQ(w.get_description().title, "renamed");
    // Textures made before the change still draw.
    canvas.clear();
    canvas.draw_texture(t, sdk::Rectf(0, 0, 4, 4), sdk::Rectf(0, 0, 10, 10));
    w.flip(1);
    w.flip(0);

    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.event = SDL_WINDOWEVENT_CLOSE;
    e.window.windowID = SDL_GetWindowID(w.device()->window());
    SDL_PushEvent(&e);
    sdk::Keep_Alive::process();
    EXPECT_EQ(closes, 1);
}

TEST(Window, ThingsMadeOnAWindowThatIsGoneDrawNothing) {
    test_display::display();
    sdk::Window_Description desc;
    desc.visible = false;
    desc.renderer = sdk::Renderer_Kind::software;
    sdk::Canvas canvas;
    sdk::Sprite sprite;
    {
        sdk::Window w(desc);
        canvas = sdk::Canvas(w);
        sdk::Texture t(canvas, sdk::Pixel_Buffer(4, 4));
        sprite = sdk::Sprite(canvas, t);
    }
    sprite.draw(canvas, 1, 1);
    canvas.fill_rect(sdk::Rectf(0, 0, 4, 4), sdk::Colorf::white());
    canvas.flush();
    EXPECT_TRUE(canvas.get_pixeldata().is_null());
    EXPECT_EQ(sprite.get_width(), 4);
}

}  // namespace

namespace {

TEST(Window, FullScreenCoversTheDesktopAndReturnsToTheWindowedSize) {
    test_display::display();
    sdk::Window_Description desc;
    desc.size = {800, 600};
    desc.renderer = sdk::Renderer_Kind::software;
    sdk::Window w(desc);
    std::vector<sdk::Size> sizes;
    sdk::Slot r = w.sig_resize().connect([&](int width, int height) { sizes.push_back({width, height}); });
    SDL_DisplayMode desktop;
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);

    desc.fullscreen = true;
    w.apply(desc);
    sdk::Keep_Alive::process();
    EXPECT_TRUE(w.is_fullscreen());
    EXPECT_EQ(w.get_size(), sdk::Size(desktop.w, desktop.h));
    desc.fullscreen = false;
    w.apply(desc);
    sdk::Keep_Alive::process();
    EXPECT_FALSE(w.is_fullscreen());
    EXPECT_EQ(w.get_size(), sdk::Size(800, 600));
    ASSERT_FALSE(sizes.empty());
    EXPECT_EQ(sizes.back(), sdk::Size(800, 600));
}

}  // namespace

namespace {

// Sprites, fonts and canvases kept in globals (the sprite cache) are released
// after main has shut the display down; that must be quiet.
TEST(Display_Shutdown, ObjectsOutlivingTheDisplayAreHarmless) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // The dummy driver: the offscreen one's EGL keeps memory of its own.
            setenv("SDL_VIDEODRIVER", "dummy", 1);
            static sdk::Sprite* kept_sprite = nullptr;
            static sdk::Font* kept_font = nullptr;
            static sdk::Canvas* kept_canvas = nullptr;
            {
                sdk::Display_Setup setup;
                sdk::Window_Description desc;
                desc.visible = false;
                desc.renderer = sdk::Renderer_Kind::software;
                sdk::Window w(desc);
                kept_canvas = new sdk::Canvas(w);
                kept_sprite = new sdk::Sprite(*kept_canvas, sdk::Texture(*kept_canvas, sdk::Pixel_Buffer(4, 4)));
                sdk::File_System fs("/usr/share/fonts/truetype/dejavu");
                kept_font = new sdk::Font(*kept_canvas, fs, "DejaVuSans.ttf", 12);
                kept_font->draw_text(*kept_canvas, 0, 20, "before");
                // The window stays open as long as the setup: drop it last.
                sdk::Window keep = w;
            }
            kept_sprite->draw(*kept_canvas, 0, 0);
            kept_font->draw_text(*kept_canvas, 0, 20, "after");
            sdk::Keep_Alive::process();
            delete kept_sprite;
            delete kept_font;
            delete kept_canvas;
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
