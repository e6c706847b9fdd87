// The named enemy paths and the values they are built with.
#include <memory>

#include "world/boss_path.h"
#include "world/enemy_paths.h"
#include "world/registries.h"

namespace {

enum class Path_Kind {
    straight,
    go_left,
    go_right,
    stop_wait_move,
    go_wait_go,
    one_point_stop,
    sinus,
    boss
};

struct Path_Row {
    const char* name;
    Path_Kind kind;
    float parameter;
};

constexpr Path_Row path_table[] = {
    {"enemy_straight", Path_Kind::straight, 0.0f},
    {"enemy_go_left", Path_Kind::go_left, 0.2f},
    {"enemy_go_right", Path_Kind::go_right, 0.2f},
    {"enemy_wait_2s", Path_Kind::stop_wait_move, 2000.0f},
    {"enemy_wait_5s", Path_Kind::stop_wait_move, 5000.0f},
    {"enemy_wait_10s", Path_Kind::stop_wait_move, 10000.0f},
    {"enemy_stopgo_1s", Path_Kind::go_wait_go, 1000.0f},
    {"enemy_stopgo_2s", Path_Kind::go_wait_go, 2000.0f},
    {"enemy_stopgo_5s", Path_Kind::go_wait_go, 5000.0f},
    {"enemy_stopgo_10s", Path_Kind::go_wait_go, 10000.0f},
    {"enemy_one_point_stop1", Path_Kind::one_point_stop, 150.0f},
    {"enemy_sinus1", Path_Kind::sinus, 8.0f},
    {"enemy_sinus2", Path_Kind::sinus, 6.0f},
    {"enemy_boss0", Path_Kind::boss, 200.0f},
};

std::unique_ptr<Enemy_Path> make_path(const Path_Row& row, const sdk::Rectf& rect) {
    switch (row.kind) {
        case Path_Kind::straight:
            return std::make_unique<Enemy_Path_Straight>(rect);
        case Path_Kind::go_left:
            return std::make_unique<Enemy_Path_Move_Aside>(rect, 1, row.parameter);
        case Path_Kind::go_right:
            return std::make_unique<Enemy_Path_Move_Aside>(rect, 0, row.parameter);
        case Path_Kind::stop_wait_move:
            return std::make_unique<Enemy_Path_Stop_Wait_Move>(rect, row.parameter);
        case Path_Kind::go_wait_go:
            return std::make_unique<Enemy_Path_Go_Wait_Go>(rect, row.parameter);
        case Path_Kind::one_point_stop:
            return std::make_unique<Enemy_Path_One_Point_Stop>(rect, row.parameter);
        case Path_Kind::sinus:
            return std::make_unique<Enemy_Path_Sinus>(rect, row.parameter);
        case Path_Kind::boss:
            return std::make_unique<Enemy_Path_Boss>(rect, row.parameter);
    }
    return nullptr;
}

}  // namespace

void register_enemy_paths(const sdk::Rectf& rect) {
    for (const Path_Row& row : path_table) enemy_path_registry[row.name] = make_path(row, rect);
}
