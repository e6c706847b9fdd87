// The boss bar over a black field: its red and grey parts, and the spell
// card's countdown and name, which stay even when the phase gives no bar.
#include "app/hud.h"

#include <gtest/gtest.h>

#include "render/appearance.h"
#include "tests/sdk/display_fixture.h"
#include "world/effect.h"
#include "world/enemy.h"
#include "world/run_flags.h"

namespace {

class Counting_Look : public Effect_Appearance {
public:
    int draws = 0;
    bool draw(sdk::Canvas&, Effect&) override {
        ++draws;
        return true;
    }
};

bool reddish(sdk::Color c) { return c.r > 120 && c.r > c.g + 40; }

TEST(Boss_Bar, CountdownAndNameStayWhenThePhaseGivesNoBar) {
    sdk::Canvas& canvas = test_display::display().canvas;
    sdk::Font font(canvas, sdk::File_System("/usr/share/fonts/truetype/dejavu"), "DejaVuSans.ttf",
                   16);
    struct Case {
        const char* what;
        int32_t hp_nonspell, hp_spell;
        bool bar;
    };
    const Case cases[] = {
        {"hit points in both halves", 1000, 5000, true},
        {"no hit points at all", 0, 0, false},
        {"hit points below zero", -200, 0, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        EnemyBoss boss;
        Spellcard_Entry phase;
        phase.hp_nonspell = k.hp_nonspell;
        phase.hp_spell = k.hp_spell;
        boss.phases.push_back(phase);
        boss.half = 1;
        boss.boss_hp = k.hp_spell;
        boss.age = 5000;
        boss.time_limit = 4500;  // "5", in red
        Counting_Look look;
        boss.name_effect->appearance = &look;
        spellcard_running = 1;

        canvas.reset_cliprect();
        canvas.set_blend_mode(sdk::Blend_Mode::normal);
        canvas.clear(sdk::Colorf::black());
        draw_boss_bar(canvas, font, boss);
        canvas.flush();
        sdk::Pixel_Buffer top = canvas.get_pixeldata(sdk::Rect(0, 0, 448, 40));

        EXPECT_EQ(reddish(top.get_pixel(45, 26)), k.bar) << "the bar's red part";
        int countdown = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 385; x < 400; ++x) countdown += reddish(top.get_pixel(x, y));
        EXPECT_GT(countdown, 5) << "the seconds left";
        EXPECT_EQ(look.draws, 1) << "the card's name";
    }
    spellcard_running = 0;
}

}  // namespace
