// The bullet passes against the player, enemies, the shock wave, the cancel,
// the wind and the bomb.
#include <cmath>
#include <limits>
#include <random>

#include "world/destroyer.h"
#include "world_fixture.h"

namespace {

class Hits : public World_Test {
protected:
    void SetUp() override {
        World_Test::SetUp();
        score_float_time = 700.0f;
    }
    static Moving_Object circle(float x, float y, float r) {
        Moving_Object m;
        m.x = m.prev_x = x;
        m.y = m.prev_y = y;
        m.radius = r;
        return m;
    }
    Bullet player_bullet(float x, float y, const std::string& look) {
        Bullet b = enemy_bullet(x, y, 0, -1);
        b.layer = 0;
        b.damage = 10;
        b.radius = 4.0f;
        b.appearance = bullet_look(look);
        return b;
    }
    std::vector<std::string> effect_names() {
        std::vector<std::string> names;
        for (const Effect& e : effect_pool) names.push_back(name_of(e.appearance));
        return names;
    }
};

TEST_F(Hits, InvinciblePlayerKeepsTheBulletsButCountsTheirDamage) {
    for (int i = 0; i < 3; ++i) bullet_pool.add(enemy_bullet(200.0f + i, 400.0f));
    bullet_pool.add(enemy_bullet(300, 300));
    player.invincible = 500;
    EXPECT_EQ(bullet_pool.check_player_hit(), 3);
    EXPECT_EQ(bullet_pool.size(), 4u);
    player.invincible = 0;
    EXPECT_EQ(bullet_pool.check_player_hit(), 3);
    EXPECT_EQ(bullet_pool.size(), 1u);
    EXPECT_EQ(effect_names(), (std::vector<std::string>{"enemy_bullet_hit1", "enemy_bullet_hit1",
                                                        "enemy_bullet_hit1"}));
}

TEST_F(Hits, OrdinaryBulletGrazesOnceBeamsEverySixtyMilliseconds) {
    bullet_pool.add(enemy_bullet(210, 400));
    for (int i = 0; i < 10; ++i) bullet_pool.check_graze(16.0f);
    EXPECT_EQ(player.graze, 1);
    EXPECT_EQ(player.score, 500u);
    EXPECT_EQ(sink.count("graze"), 1);
    const Effect& spark = effect_pool[0];
    EXPECT_EQ(name_of(spark.appearance), "graze_particle");
    EXPECT_EQ(spark.kind, 13);
    EXPECT_EQ(spark.value, 200);
    EXPECT_FLOAT_EQ(spark.speed, 0.3f);

    bullet_pool.reset();
    player.graze = 0;
    Bullet beam = enemy_bullet(210, 400);
    beam.keep_prev = 1;
    beam.prev_x = 210.0f;
    beam.prev_y = 400.0f;
    bullet_pool.add(beam);
    // 60 + 16 > 60 grazes at once (mark 16); then 32, 48, 64 (grazes, 4), ...
    int grazes[8];
    for (int& g : grazes) {
        bullet_pool.check_graze(16.0f);
        g = player.graze;
    }
    EXPECT_EQ(grazes[0], 1);
    EXPECT_EQ(grazes[2], 1);
    EXPECT_EQ(grazes[3], 2);
    EXPECT_EQ(grazes[7], 3);
}

// A frame step past every integer (or NaN) counts as the nearest whole
// milliseconds an int32 holds, whose low byte moves the beam's signed-byte
// mark by -1 or 0: such a frame grazes nothing.
TEST_F(Hits, StepsNoIntegerHoldsMoveTheBeamsMarkWithoutGrazing) {
    Bullet beam = enemy_bullet(210, 400);
    beam.keep_prev = 1;
    beam.prev_x = 210.0f;
    beam.prev_y = 400.0f;
    bullet_pool.add(beam);
    bullet_pool.check_graze(16.0f);
    ASSERT_EQ(player.graze, 1);
    for (float step : {3e9f, -3e9f, std::nanf(""), std::numeric_limits<float>::infinity()}) {
        bullet_pool.check_graze(step);
        EXPECT_EQ(player.graze, 1) << step;
    }
}

TEST_F(Hits, ScoringCancelBonusSequence) {
    for (int i = 0; i < 400; ++i)
        bullet_pool.add(enemy_bullet(40.0f + static_cast<float>(i % 300), 100.0f));
    bullet_pool.add(player_bullet(100, 100, "player_bullet1"));
    bullet_pool.cancel_all(1);
    uint32_t expected = 0;
    for (int i = 0; i < 400; ++i) expected += static_cast<uint32_t>(std::min(2000 + 20 * i, 8000));
    EXPECT_EQ(player.score, expected);
    EXPECT_EQ(bullet_pool.size(), 1u) << "the player's bullet stays";
    ASSERT_EQ(item_pool.size(), 400u);
    for (const Item& it : item_pool) {
        EXPECT_EQ(it.kind, 16);
        EXPECT_EQ(it.mode, 1);
        EXPECT_FLOAT_EQ(it.radius, 9.0f);
    }
    // Per bullet: its floating bonus, then its cancel flash.
    ASSERT_EQ(effect_pool.size(), 800u);
    EXPECT_EQ(effect_pool[0].value, 2000);
    EXPECT_EQ(effect_pool[2].value, 2020);
    EXPECT_EQ(effect_pool[2 * 300].value, 8000);
    EXPECT_EQ(effect_pool[2 * 399].value, 8000);
    EXPECT_EQ(name_of(effect_pool[1].appearance), "cancelled_bullet");
}

TEST_F(Hits, PlainCancelScoresNothing) {
    for (int i = 0; i < 5; ++i) bullet_pool.add(enemy_bullet(100, 100));
    bullet_pool.cancel_all(2);
    EXPECT_EQ(player.score, 0u);
    EXPECT_EQ(item_pool.size(), 0u);
    EXPECT_EQ(effect_pool.size(), 5u);
}

TEST_F(Hits, DestroyerCancelsWhatItCovers) {
    bullet_pool.add(enemy_bullet(210, 400));
    bullet_pool.add(enemy_bullet(300, 400));
    bullet_pool.add(player_bullet(205, 400, "player_bullet1"));
    Destroyer d;
    d.x = d.prev_x = 200.0f;
    d.y = d.prev_y = 400.0f;
    d.radius = 50.0f;
    bullet_pool.cancel_by_destroyer(d);
    ASSERT_EQ(bullet_pool.size(), 2u);
    EXPECT_FLOAT_EQ(bullet_pool[0].x, 300.0f);
    EXPECT_EQ(bullet_pool[1].layer, 0);
    EXPECT_EQ(effect_names(), std::vector<std::string>{"cancelled_bullet"});
}

TEST_F(Hits, BulletTwoIsImmuneToWindAndBomb) {
    Bullet immune = enemy_bullet(210, 400);
    immune.appearance = bullet_look("bullet2");
    bullet_pool.add(immune);
    bullet_pool.add(enemy_bullet(220, 400));
    Moving_Object wind = circle(200, 400, 60);
    bullet_pool.blow_away_in_wind(wind, 16.0f);
    EXPECT_EQ(bullet_pool[0].layer, 1);
    EXPECT_EQ(bullet_pool[0].blown, 0);
    EXPECT_EQ(bullet_pool[1].layer, 0);
    EXPECT_EQ(bullet_pool[1].blown, 1);
    EXPECT_EQ(bullet_pool[1].behaviour, get_behaviour("bullet_spinning"));
    EXPECT_FLOAT_EQ(bullet_pool[1].dir_x, 1.0f) << "blown away from the player";
    EXPECT_GT(bullet_pool[1].x, 220.0f) << "and moved once at once";
    EXPECT_EQ(bullets_blown, 1u);

    bullet_pool.add(enemy_bullet(100, 100));
    bullet_pool.blow_away_all(16.0f);
    EXPECT_EQ(bullet_pool[0].layer, 1) << "the bomb spares it too";
    EXPECT_EQ(bullet_pool[2].layer, 0);
    EXPECT_FLOAT_EQ(bullet_pool[2].dir_y, -1.0f);
    EXPECT_FLOAT_EQ(bullet_pool[2].param1, 1.3f);
    EXPECT_EQ(bullets_blown, 2u);
}

// patterns.xml's damages are any i32: two of the lowest sum to it, not to 0
// (which would spare the player).
TEST_F(Hits, EnemyDamageSumsStopAtTheEndsOfAnInt32) {
    for (int i = 0; i < 2; ++i) {
        Bullet b = enemy_bullet(200, 400);
        b.damage = INT32_MIN;
        bullet_pool.add(b);
    }
    EXPECT_EQ(bullet_pool.check_player_hit(), INT32_MIN);
}

TEST_F(Hits, BlownBulletsHurtEnemiesWithoutFillingTheGauge) {
    Bullet b = enemy_bullet(220, 400);
    bullet_pool.add(b);
    bullet_pool.blow_away_in_wind(circle(200, 400, 60), 16.0f);
    Moving_Object enemy = circle(bullet_pool[0].x, bullet_pool[0].y, 10);
    EXPECT_EQ(bullet_pool.sweep_player_hits(enemy), 1);
    EXPECT_EQ(player.wind_gauge, 0.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
}

TEST_F(Hits, HitSoundAtMostOncePerFiftyMilliseconds) {
    Moving_Object enemy = circle(100, 100, 20);
    bullet_pool.bullet_clock = 60.0f;
    for (int frame = 0; frame < 10; ++frame) {
        for (int i = 0; i < 5; ++i) bullet_pool.add(player_bullet(100, 100, "player_bullet1"));
        bullet_pool.update(16.0f);
        EXPECT_EQ(bullet_pool.sweep_player_hits(enemy), 50);
    }
    // Clock 76 at the first frame plays; then it must pass 50 again: every
    // fourth frame (64 ms).
    EXPECT_EQ(sink.count("se_damage00"), 3);
    EXPECT_FLOAT_EQ(player.wind_gauge, 25.0f);
}

TEST_F(Hits, HitSparksFollowTheBulletLook) {
    const char* looks[] = {"player_bullet1",       "player_bullet_focus1",
                           "player_bullet2",       "player_bullet_focus2",
                           "player_bullet_focus3", "player_bullet_focus4",
                           "player_bullet_focus5", "bullet0"};
    const char* sparks[] = {
        "player_bullet_hit1", "player_bullet_hit2", "player_bullet_hit3", "player_bullet_hit4",
        "player_bullet_hit5", "player_bullet_hit6", "player_bullet_hit7", nullptr};
    for (int i = 0; i < 8; ++i) {
        effect_pool.reset();
        bullet_pool.add(player_bullet(100, 100, looks[i]));
        bullet_pool.sweep_player_hits(circle(100, 100, 10));
        std::vector<std::string> want;
        if (sparks[i]) want.push_back(sparks[i]);
        want.push_back("particle_small");
        EXPECT_EQ(effect_names(), want) << looks[i];
    }
}

// The remembered sweep must give exactly what a pass-by-pass compaction of
// the whole pool gives: the same hits, removal effects in the same order,
// the same survivors in the same slots and the same free ids afterwards.
TEST_F(Hits, RememberedSweepMatchesPassByPassCompaction) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> px(40, 400), py(20, 460), v(-3, 3), r(2, 12);
    const char* looks[] = {"player_bullet1", "player_bullet_focus1", "player_bullet2",
                           "player_bullet_focus5", "bullet0"};
    Pattern* owner = start_pattern(99999000, nullptr, 0, 0);
    std::vector<Bullet> ref;
    for (int i = 0; i < 1500; ++i) {
        Bullet b = (i % 3 == 0) ? player_bullet(px(rng), py(rng), looks[i % 5])
                                : enemy_bullet(px(rng), py(rng));
        b.prev_x = b.x - v(rng);
        b.prev_y = b.y - v(rng);
        b.keep_prev = 1;  // keep the random previous positions
        b.radius = r(rng);
        b.damage = i;
        b.blown = (i % 7 == 0);
        if (i % 11 == 0) {
            b.owner = owner;
            b.spawner = 1;
        }
        bullet_pool.add(b);
    }
    // A few bullets killed outside any pass.
    for (uint32_t s : {5u, 77u, 400u}) bullet_pool[s].alive = 0;
    for (uint32_t s = 0; s < bullet_pool.size(); ++s) ref.push_back(bullet_pool[s]);
    const int spawners_before = owner->live_spawners;
    float clock = bullet_pool.bullet_clock = 30.0f;
    std::vector<uint32_t> freed;
    std::vector<std::string> ref_effects;
    int ref_sounds = 0;
    float gauge = player.wind_gauge = 10.0f;
    int spawner_drops = 0;

    auto spark_name = [](const std::string& look) -> std::string {
        if (look == "player_bullet1") return "player_bullet_hit1";
        if (look == "player_bullet_focus1") return "player_bullet_hit2";
        if (look == "player_bullet2") return "player_bullet_hit3";
        if (look == "player_bullet_focus5") return "player_bullet_hit7";
        return "";
    };
    for (int e = 0; e < 40; ++e) {
        Moving_Object enemy = circle(px(rng), py(rng), r(rng) * 2);
        enemy.prev_x = enemy.x - v(rng) * 3;
        enemy.prev_y = enemy.y - v(rng) * 3;
        int want = 0;
        std::vector<Bullet> kept;
        for (Bullet b : ref) {
            if (b.layer == 0 && swept_circles_meet(enemy, b, b.radius + enemy.radius)) {
                want += b.damage;
                b.alive = 0;
                if (!b.blown) gauge = std::min(100.0f, gauge + player.wind_shot_gain);
            }
            if (b.alive) {
                kept.push_back(b);
                continue;
            }
            if (b.spawner) ++spawner_drops;
            freed.push_back(b.id);
            std::string spark = spark_name(looks_->name_of(b.appearance));
            if (!spark.empty()) ref_effects.push_back(spark);
            ref_effects.push_back("particle_small");
            if (clock > 50.0f) {
                clock = 0.0f;
                ++ref_sounds;
            }
        }
        ref = kept;
        EXPECT_EQ(bullet_pool.sweep_player_hits(enemy), want) << "enemy " << e;
        if (e % 10 == 9) {
            // Time passes between frames only through the pool's update;
            // here the clock moves as an outside reader would see it.
            bullet_pool.bullet_clock += 20.0f;
            clock += 20.0f;
        }
    }
    EXPECT_EQ(effect_names(), ref_effects);
    EXPECT_EQ(sink.count("se_damage00"), ref_sounds);
    EXPECT_FLOAT_EQ(player.wind_gauge, gauge);
    EXPECT_EQ(owner->live_spawners, spawners_before - spawner_drops);
    ASSERT_EQ(bullet_pool.size(), ref.size());
    for (uint32_t s = 0; s < ref.size(); ++s) {
        EXPECT_EQ(bullet_pool[s].id, ref[s].id) << s;
        EXPECT_EQ(bullet_pool.slot_of(ref[s].id), s);
    }
    // The free ids come back last-freed first.
    for (int k = 0; k < 5 && !freed.empty(); ++k) {
        bullet_pool.add(enemy_bullet(100, 100));
        EXPECT_EQ(bullet_pool[bullet_pool.size() - 1].id, freed.back());
        freed.pop_back();
    }
}

}  // namespace
