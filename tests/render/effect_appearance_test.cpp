#include <gtest/gtest.h>

#include "looks_fixture.h"
#include "world/effect.h"
#include "world/run_flags.h"
#include "world/settings.h"

namespace {

using namespace render_test;
using test_display::color_near;

class Effect_Look_Test : public ::testing::Test {
protected:
    void SetUp() override {
        load_looks();
        clean_canvas();
        player.bullet_alpha = 1.0f;
    }
    Effect effect(float age, int kind = 0, int value = 0) {
        Effect e;
        e.x = 200;
        e.y = 200;
        e.dir_x = 1;
        e.age = age;
        e.kind = static_cast<uint8_t>(kind);
        e.value = value;
        e.scale = 1.0f;
        e.speed = 1000.0f;
        e.alive = 1;
        e.tint[0] = e.tint[1] = e.tint[2] = e.tint[3] = 255;
        return e;
    }
    bool draw(const char* look, Effect& e) {
        return get_effect_appearance(look)->draw(canvas(), e);
    }
};

TEST_F(Effect_Look_Test, ALookIsDrawnUpToItsLifetimeAndEndsAfterIt) {
    struct Case {
        const char* look;
        float lifetime;
        int value;
    };
    const Case cases[] = {
        {"magic_flash", 200, 0},        {"enemy_shot100", 100, 0},
        {"enemy_shot500", 500, 0},      {"enemy_shot_other200", 200, 0},
        {"player_bullet_hit1", 200, 0}, {"player_bullet_hit5", 200, 0},
        {"player_bullet_hit3", 200, 0}, {"enemy_bullet_hit1", 200, 0},
        {"cancelled_bullet", 300, 0},   {"particle_happa", 500, 0},
        {"particle_snow", 800, 0},      {"particle_small", 200, 0},
        {"graze_particle", 400, 400},   {"rimea_cloud", 2000, 0},
        {"spellcard_result", 4000, 0},
    };
    for (const Case& c : cases) {
        Effect at_end = effect(c.lifetime, 0, c.value);
        EXPECT_TRUE(draw(c.look, at_end)) << c.look;
        clean_canvas();
        Effect past = effect(c.lifetime + 0.5f, 0, c.value);
        EXPECT_FALSE(draw(c.look, past)) << c.look;
        EXPECT_TRUE(color_near(pixel(200, 200), sdk::Color(0, 0, 0)))
            << c.look << " drew past its end";
    }
}

TEST_F(Effect_Look_Test, MagicFlashStepsBackThroughItsColoursFrames) {
    const float ages[] = {0, 10, 60, 110, 160};
    const int frames[] = {7, 7, 6, 5, 4};
    sdk::Sprite* s = get_sprite("magic_flash");
    for (int i = 0; i < 5; ++i) {
        Effect e = effect(ages[i], 5);
        draw("magic_flash", e);
        EXPECT_EQ(s->get_current_frame(), frames[i]) << ages[i];
    }
}

TEST_F(Effect_Look_Test, MuzzleFlashStartsHalfSeenAndLargeAndEndsOpaqueAndSmall) {
    Effect start = effect(0, 2);
    draw("enemy_shot500", start);
    EXPECT_TRUE(color_near(pixel(200, 200), faded(frame_colour(226), 0.5f)));
    EXPECT_TRUE(color_near(pixel(205, 200), faded(frame_colour(226), 0.5f)));  // 1.5 x 8 wide
    clean_canvas();
    Effect end = effect(500, 2);
    draw("enemy_shot500", end);
    EXPECT_TRUE(color_near(pixel(200, 200), frame_colour(226)));
    EXPECT_TRUE(color_near(pixel(203, 200), sdk::Color(0, 0, 0)));  // half size: 4 wide
    EXPECT_FLOAT_EQ(get_sprite("bullets")->get_scale_x(), 1.0f);    // reset for the next user
}

TEST_F(Effect_Look_Test, FloatingScoreDrawsItsDigitsFromTheRight) {
    Effect e = effect(1000.0f / 3.0f, 0, 1234);  // a third of its life: alpha 0.8, 10 px up
    EXPECT_TRUE(draw("score_float", e));
    const int digits[] = {4, 3, 2, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(color_near(pixel(200 + 3 - 8 * i, 190), faded(frame_colour(digits[i]), 0.8f)))
            << i;
    clean_canvas();
    Effect zero = effect(500, 0, 0);
    EXPECT_TRUE(draw("score_float", zero));
    EXPECT_TRUE(color_near(pixel(200, 185), sdk::Color(0, 0, 0)));
}

TEST_F(Effect_Look_Test, GrazeSparkHoldsThenFades) {
    const struct {
        float age, alpha;
    } cases[] = {{100, 0.8f}, {200, 0.8f}, {201, 0.995f}, {300, 0.5f}};
    for (const auto& c : cases) {
        clean_canvas();
        Effect e = effect(c.age, 13, 400);
        draw("graze_particle", e);
        EXPECT_TRUE(color_near(pixel(200, 200), faded(frame_colour(77), c.alpha), 3)) << c.age;
    }
}

TEST_F(Effect_Look_Test, SpellcardPicturesFollowTheLanguage) {
    int saved = language;
    language = 0;
    Effect name = effect(100, 0, 1);
    draw("spellcard_name", name);
    // The second language's names follow all of the first's.
    sdk::Sprite* names = get_sprite("spellcard_names");
    EXPECT_EQ(names->get_current_frame(), 1 + names->get_frame_count() / 2);
    language = 1;
    draw("spellcard_name", name);
    EXPECT_EQ(get_sprite("spellcard_names")->get_current_frame(), 1);
    language = saved;
    // Shrunk into the corner after 1.2 s.
    name.age = 1500;
    draw("spellcard_name", name);
    EXPECT_FLOAT_EQ(name.x, 410.0f);
    EXPECT_FLOAT_EQ(name.y, 38.0f);

    Effect failed = effect(500, 0, 0);
    draw("spellcard_result", failed);
    EXPECT_EQ(get_sprite("font_spellcard")->get_current_frame(), 0);
    Effect bonus = effect(500, 0, 120000);
    draw("spellcard_result", bonus);
    EXPECT_EQ(get_sprite("font_spellcard")->get_current_frame(), 1);
}

// The name sheet holds every card's name in language 1, then every card's name
// in language 0. A sheet of two cards is the layout the first stages used; a
// boss of four cards must not show a language-1 name for a language-0 card.
TEST_F(Effect_Look_Test, SpellcardNameFramesForSheetsOfTwoAndFourCards) {
    sdk::Resource_Document doc = sdk::Resource_Document::from_text(
        "<resources>"
        "<sprite name=\"names4\"><image file=\"sheet.png\"><grid size=\"8,8\" "
        "array=\"4,1\"/></image></sprite>"
        "<sprite name=\"names8\"><image file=\"sheet.png\"><grid size=\"8,8\" "
        "array=\"8,1\"/></image></sprite>"
        "</resources>",
        "names.xml", art().fs);
    const struct {
        const char* sheet;
        int lang, card, frame;
    } cases[] = {
        {"names4", 1, 0, 0}, {"names4", 1, 1, 1}, {"names4", 0, 0, 2},
        {"names4", 0, 1, 3}, {"names8", 1, 0, 0}, {"names8", 1, 3, 3},
        {"names8", 0, 0, 4}, {"names8", 0, 2, 6}, {"names8", 0, 3, 7},
    };
    sdk::Sprite& cached = sprite_cache.at("spellcard_names");
    const sdk::Sprite saved = cached;
    const int saved_language = language;
    for (const auto& c : cases) {
        // The look keeps the cache entry's address, so it draws whatever sheet
        // the entry holds.
        cached = sdk::Sprite(canvas(), c.sheet, doc);
        language = c.lang;
        clean_canvas();
        Effect name = effect(300, 0, c.card);
        EXPECT_TRUE(draw("spellcard_name", name));
        EXPECT_EQ(cached.get_current_frame(), c.frame)
            << c.sheet << " language " << c.lang << " card " << c.card;
        // Full alpha at 300 ms, top right corner at (410 - (372 - 8) / 2, 200).
        EXPECT_EQ(frame_of(pixel(224, 204)), c.frame)
            << c.sheet << " language " << c.lang << " card " << c.card;
    }
    cached = saved;
    language = saved_language;
}

TEST_F(Effect_Look_Test, BossNameStaysForTheFight) {
    Effect e = effect(100, 0, 0);
    boss_active = 1;
    EXPECT_TRUE(draw("boss_name", e));
    EXPECT_NEAR(e.scale, 100 / 5.8f - 120, 1e-3);
    boss_active = 0;
    EXPECT_FALSE(draw("boss_name", e));
}

}  // namespace
