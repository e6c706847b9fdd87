// Bullets: the step, spawning children and the spawner count.
#include "sdk/core/log.h"
#include "world_fixture.h"

namespace {

class Bullets : public World_Test {
protected:
    // A running pattern that owns spawners.
    Pattern* owner_pattern() {
        Pattern* p = start_pattern(99999000, nullptr, 0, 0);
        return p;
    }
    Bullet spawner(Pattern* p, std::vector<float> table, int8_t children) {
        Bullet b = enemy_bullet(200, 200);
        b.owner = p;
        b.spawner = 1;
        b.child_count = children;
        std::shared_ptr<float[]> t(new float[table.size()]);
        for (size_t i = 0; i < table.size(); ++i) t[i] = table[i];
        b.spawn_table = t;
        return b;
    }
};

TEST_F(Bullets, NegativeChildCountLogsSpawnsNothingButAppliesLeadingValues) {
    std::vector<std::string> lines;
    auto old = sdk::set_log_sink(
        [&](const std::string& c, const std::string& t) { lines.push_back(c + ":" + t); });
    Pattern* p = owner_pattern();
    Bullet b = spawner(p, {0.7f, 10.0f, 20.0f}, -3);
    b.spawn_speed = 1;
    b.spawn_offset = 1;
    bullet_pool.add(b);
    p->trigger = 1;
    bullet_pool.update(16.0f);
    sdk::set_log_sink(old);
    ASSERT_EQ(bullet_pool.size(), 1u);
    const Bullet& s = bullet_pool[0];
    EXPECT_FLOAT_EQ(s.speed, 0.7f);
    EXPECT_FLOAT_EQ(s.aux_x, 10.0f);
    EXPECT_FLOAT_EQ(s.aux_y, 20.0f);
    EXPECT_EQ(s.trigger_seen, 1u);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Debug:Spawn -3 bullets"), lines.end());
}

TEST_F(Bullets, SpawnerThatDiesAfterSpawningIsGoneInTheSamePass) {
    Pattern* p = owner_pattern();
    // Two children: kind 7 gives "bullet_simple", kind 1 "bullet_simple2".
    Bullet b = spawner(p,
                       {0.2f, 90.0f, 0.5f, 0.6f, 7.0f, 0.0f, 4.0f,  //
                        0.3f, 180.0f, 0.0f, 0.0f, 1.0f, 0.0f, 5.0f},
                       2);
    b.die_after_spawn = 1;
    b.aux_x = 3.0f;
    bullet_pool.add(b);
    p->trigger = 1;
    p->live_spawners = 1;
    bullet_pool.update(16.0f);
    ASSERT_EQ(bullet_pool.size(), 2u);
    EXPECT_EQ(p->live_spawners, 0);
    const Bullet& c0 = bullet_pool[0];
    EXPECT_EQ(c0.behaviour, get_behaviour("bullet_simple"));
    EXPECT_FLOAT_EQ(c0.speed, 0.2f);
    EXPECT_NEAR(c0.angle.to_degrees(), 90.0f, 1e-4);
    EXPECT_NEAR(c0.y, 200.0f + 0.2f * 16.0f, 1e-3) << "a child moves in the frame it is born";
    EXPECT_FLOAT_EQ(c0.param1, 0.5f);
    EXPECT_FLOAT_EQ(c0.param2, 0.6f);
    EXPECT_EQ(c0.colour, 4);
    EXPECT_FLOAT_EQ(c0.aux_x, 3.0f);
    EXPECT_EQ(c0.layer, 1);
    EXPECT_EQ(c0.spawner, 0);
    EXPECT_EQ(bullet_pool[1].behaviour, get_behaviour("bullet_simple2"));
    EXPECT_EQ(bullets_total, 3u) << "children count as added bullets";
}

TEST_F(Bullets, KilledSpawnerLowersLiveSpawnersOnce) {
    Pattern* p = owner_pattern();
    Bullet b = spawner(p, {}, 0);
    b.x = 500.0f;  // outside the bounds: dies at its first step
    b.spawn_table.reset();
    p->live_spawners = 2;
    bullet_pool.add(b);
    bullet_pool.update(16.0f);
    bullet_pool.update(16.0f);
    EXPECT_EQ(p->live_spawners, 1);
}

TEST_F(Bullets, KeepPreviousHoldsTheStartPoint) {
    Bullet b = enemy_bullet(100, 100, 1, 0);
    b.keep_prev = 1;
    b.prev_x = 50.0f;
    b.prev_y = 60.0f;
    bullet_pool.add(b);
    EXPECT_EQ(bullet_pool[0].graze_mark, 60);
    bullet_pool.update(10.0f);
    EXPECT_FLOAT_EQ(bullet_pool[0].prev_x, 50.0f);
    EXPECT_FLOAT_EQ(bullet_pool[0].prev_y, 60.0f);
    EXPECT_FLOAT_EQ(bullet_pool[0].x, 110.0f);
}

TEST_F(Bullets, WithoutBehaviourABulletEndsInsteadOfCrashing) {
    Bullet b = enemy_bullet(100, 100);
    b.behaviour = nullptr;
    bullet_pool.add(b);
    bullet_pool.update(16.0f);
    EXPECT_EQ(bullet_pool.size(), 0u);
}

}  // namespace
