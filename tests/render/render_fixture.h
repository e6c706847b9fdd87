// What the presentation's tests share: the hidden software-rendered window
// of the display tests, and one set of stage art that holds every sprite the
// looks, the dialog, the player and the backgrounds name. Every sprite is the
// same sheet of 16 x 17 frames of 8 x 8 pixels, and each frame is one flat
// colour that encodes its number, so a pixel read back tells which frame was
// drawn (and, on black, at which alpha).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "render/sprite_cache.h"
#include "sdk/canvas.h"
#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/pixel_buffer.h"
#include "tests/sdk/display_fixture.h"

namespace render_test {

inline constexpr int sheet_columns = 16;
inline constexpr int sheet_rows = 17;
inline constexpr int frame_size = 8;

inline sdk::Color frame_colour(int frame) {
    return sdk::Color(static_cast<uint8_t>((frame % 16) * 16 + 8),
                      static_cast<uint8_t>((frame / 16) * 14 + 8), 200);
}

// The frame whose colour `c` shows, read at full alpha; -1 for the background.
inline int frame_of(sdk::Color c) {
    if (c.b < 100) return -1;
    int column = (c.r - 8 + 8) / 16;
    int row = (c.g - 8 + 7) / 14;
    return row * 16 + column;
}

inline const char* const art_sprites[] = {
    "bullets",
    "bullets2",
    "magic_flash",
    "font_bonus_score",
    "effects",
    "smoke",
    "boss_names",
    "font_spellcard",
    "spellcard_names",
    "enemy_fairy1",
    "enemy_fairy2",
    "fairy_splash",
    "fairy_circle",
    "fairy_big_circle",
    "enemy_boss_rimea",
    "dialog_frame",
    "char_sprite_kio1",
    "char_sprite_rimea1",
    "screen_mask",
    "wind_gust",
    "player_kio",
    "focus",
    "wind",
    "wind_font",
    "tiles",
    "clouds",
    "trees",
};

// A folder with the sheet, "sprites.xml" (every sprite above, plus "kedama",
// animated at 100 ms a frame over frames 0..3 of a 4-frame strip) and
// "mirel.xml" (the font "font_spell_score").
struct Stage_Art {
    std::filesystem::path dir;
    sdk::File_System fs;
    sdk::Resource_Document sprites;
    sdk::Resource_Document mirel;

    Stage_Art() {
        dir = std::filesystem::temp_directory_path() /
              ("mirel_render_art_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        sdk::Pixel_Buffer sheet(sheet_columns * frame_size, sheet_rows * frame_size);
        for (int y = 0; y < sheet.get_height(); ++y)
            for (int x = 0; x < sheet.get_width(); ++x)
                sheet.set_pixel(x, y,
                                frame_colour((y / frame_size) * sheet_columns + x / frame_size));
        sheet.save_png((dir / "sheet.png").string());
        std::ofstream xml(dir / "sprites.xml");
        xml << "<resources>\n";
        for (const char* name : art_sprites)
            xml << "<sprite name=\"" << name
                << "\"><image file=\"sheet.png\"><grid pos=\"0,0\" size=\"8,8\" "
                   "array=\"16,17\"/></image></sprite>\n";
        xml << "<sprite name=\"kedama\"><image file=\"sheet.png\"><grid size=\"8,8\" "
               "array=\"4,1\"/></image>"
               "<animation speed=\"100\"/></sprite>\n";
        xml << "</resources>\n";
        xml.close();
        std::filesystem::copy_file("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                   dir / "font.ttf",
                                   std::filesystem::copy_options::overwrite_existing);
        std::ofstream(dir / "mirel.xml") << "<resources><font name=\"font_spell_score\" "
                                            "file=\"font.ttf\" height=\"16\"/></resources>\n";
        fs = sdk::File_System(dir.string());
        sprites = sdk::Resource_Document(fs, "sprites.xml");
        mirel = sdk::Resource_Document(fs, "mirel.xml");
    }
    ~Stage_Art() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

// The art, loaded into the sprite cache once per test program.
inline Stage_Art& art() {
    static Stage_Art a;
    static bool cached = false;
    if (!cached) {
        preload_sprites(test_display::display().canvas, sdk::Resource_Manager(a.sprites));
        cached = true;
    }
    return a;
}

inline sdk::Canvas& canvas() { return test_display::display().canvas; }

// A black canvas without clip or transform.
inline sdk::Canvas& clean_canvas() {
    sdk::Canvas& c = canvas();
    c.reset_cliprect();
    c.set_transform({});
    c.set_blend_mode(sdk::Blend_Mode::normal);
    c.clear(sdk::Colorf::black());
    return c;
}

inline sdk::Color pixel(int x, int y) {
    sdk::Canvas& c = canvas();
    c.flush();
    return c.get_pixeldata(sdk::Rect(x, y, x + 1, y + 1)).get_pixel(0, 0);
}

// Scales a colour as drawn over black at `alpha`.
inline sdk::Color faded(sdk::Color c, float alpha) {
    auto f = [alpha](uint8_t v) { return static_cast<uint8_t>(v * alpha + 0.5f); };
    return sdk::Color(f(c.r), f(c.g), f(c.b), 255);
}

}  // namespace render_test
