#include "app/application.h"

#include <chrono>
#include <filesystem>

#include "app/config_file.h"
#include "app/display_rules.h"
#include "app/item_draw.h"
#include "app/options.h"
#include "app/replay.h"
#include "app/screen_state.h"
#include "app/screenshot.h"
#include "app/shell_presentation.h"
#include "audio/sound_manager.h"
#include "audio/sound_manager_sink.h"
#include "render/appearance.h"
#include "render/background.h"
#include "render/dialog.h"
#include "render/player_sprites.h"
#include "render/ring_sprite.h"
#include "render/sprite_cache.h"
#include "sdk/core/clock.h"
#include "sdk/core/exception.h"
#include "sdk/core/log.h"
#include "sdk/core/random.h"
#include "sdk/core/string_help.h"
#include "sdk/message_pump.h"
#include "world/geometry.h"
#include "world/item_pool.h"
#include "world/level.h"
#include "world/player.h"
#include "world/registries.h"
#include "world/run_flags.h"
#include "world/settings.h"
#include "world/sound_sink.h"
#include "world/stage_frame.h"

namespace {

const char* const document_names[res_count] = {"mirel.xml",  "sprites.xml", "player.xml",
                                               "sounds.xml", "music.xml",   "patterns.xml",
                                               "levels.xml"};

// "mirel.res" in the working directory, else the one beside the program.
std::string find_archive() {
    const std::string name = "mirel.res";
    if (std::filesystem::exists(name)) return name;
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        std::filesystem::path beside = exe.parent_path() / name;
        if (std::filesystem::exists(beside)) return beside.string();
    }
    return name;
}

}  // namespace

Application::Application() = default;

Application::~Application() {
    // Everything drawn with the window goes before it; nothing plays after.
    stage_presentation = nullptr;
    installed_sound_sink = nullptr;
    sound_manager.shutdown();
    presentation.reset();
    ring_sprite.reset();
}

float Application::get_option_float(const std::string& name) const {
    const sdk::Dom_Element options =
        resources[res_mirel].get_doc().get_resource("options").get_element();
    for (const sdk::Dom_Element& o : options.children("option"))
        if (o.get_attribute("name") == name) return sdk::text_to_float(o.get_text());
    return 0.0f;
}

int Application::get_option_int(const std::string& name) const {
    const sdk::Dom_Element options =
        resources[res_mirel].get_doc().get_resource("options").get_element();
    for (const sdk::Dom_Element& o : options.children("option"))
        if (o.get_attribute("name") == name) return sdk::text_to_int(o.get_text(), 10);
    return 0;
}

void Application::load_resources() {
    archive = sdk::File_System(find_archive());
    for (int i = 0; i < res_count; ++i)
        resources[i] = sdk::Resource_Manager(sdk::Resource_Document(archive, document_names[i]));
}

void Application::load_screen_sprites() {
    struct Row {
        const char* id;
        sdk::Sprite* sprite;
    };
    const Row rows[] = {
        {"screen_mask", &screen_mask},
        {"language_select", &language_select},
        {"mm_background", &mm_background},
        {"mm_title1", &mm_title1},
        {"mm_menu", &mm_menu},
        {"mm_menu_tips", &mm_menu_tips},
        {"om_options", &om_options},
        {"om_keys", &om_keys},
        {"om_tips", &om_tips},
        {"game_screen", &game_screen},
        {"game_stats", &game_stats},
    };
    for (const Row& r : rows) *r.sprite = sdk::Sprite::resource(canvas, r.id, resources[res_mirel]);
    screen_mask.set_scale(
        static_cast<float>(screen_size.width) / static_cast<float>(screen_mask.get_width()),
        static_cast<float>(screen_size.height) / static_cast<float>(screen_mask.get_height()));
    screen_mask.set_linear_filter(false);
    language_select.set_frame(0);
}

int Application::start(const std::vector<std::string>&) {
    game_version = 91;
    auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    sdk::random_seed(static_cast<uint32_t>(wall.count()));

    if (config_valid()) {
        load_config();
        first_run = false;
    } else {
        reset_config_defaults();
        first_run = true;
    }
    window_size = config_window_size;
    app_state = 0;

    // The window is made hidden: the capture picture is made on its
    // renderer before the display mode shows it.
    window_description.title = "Mirel";
    window_description.size = window_size;
    window_description.visible = false;
    window = sdk::Window(window_description);
    window_canvas = canvas = sdk::Canvas(window);
    capture_texture = sdk::Texture(canvas, screen_size.width, screen_size.height);
    capture_canvas = sdk::Canvas(window, capture_texture);
    capture_image = sdk::Image(capture_texture);
    create_display();

    load_resources();
    splash = sdk::Sprite::resource(canvas, "mirel_splash", resources[res_mirel]);
    canvas.clear(sdk::Colorf::black());
    splash.draw(canvas, 0, 0);
    window.flip(1);
    sdk::Keep_Alive::process(0);

    font_small = sdk::Font::resource(canvas, "font_small", resources[res_mirel]);
    font_score = sdk::Font::resource(canvas, "font_score", resources[res_mirel]);
    font_options = sdk::Font::resource(canvas, "font_options", resources[res_mirel]);
    dialog_font_one = sdk::Font(canvas, archive, "Resources/rf.ttf", 20);
    dialog_font_two = sdk::Font(canvas, archive, "Resources/jf.ttf", 20);
    system_font = sdk::Font(canvas, archive, "Resources/sysf.ttf", 20);

    load_screen_sprites();
    ring_sprite = std::make_unique<Ring_Sprite>(canvas, "ring1", resources[res_mirel], archive);
    preload_sprites(canvas, resources[res_sprites]);
    dialog.init(&dialog_font_one, &dialog_font_two, archive,
                get_option_float("dialog_starting_time"),
                get_option_float("dialog_char_appear_time"));
    sound_manager.init(resources[res_sounds], resources[res_music], archive);
    installed_sound_sink = &sound_manager_sink;
    player.load(resources[res_player], "player_kio");
    load_player_sprites(canvas, resources[res_player]);
    load_appearances(canvas, resources[res_mirel]);
    // From here on a level whose "render" names no enemy look is refused.
    level_requires_appearances = true;
    init_item_drawing();
    register_movements(play_field);
    load_patterns(resources[res_patterns]);
    // What the menus and the runs load later is tried now: a background or a
    // level that names something the archive lacks stops start-up here,
    // naming it, before anything is drawn.
    for (const char* id : {"background_effects", "stage_kio", "boss_effects"})
        spell_background.load(canvas, id, resources[res_mirel], {0, 0, 640, 480});
    spell_background.clear();
    load_level(resources[res_levels], "testlevel");
    presentation = std::make_unique<Shell_Presentation>();
    stage_presentation = presentation.get();

    quit = false;
    sdk::log_event("Debug", "============ MARK 1 =================");
    item_pool.init(get_option_float("point_scrore_line"), get_option_int("bonus_point_score_min"),
                   get_option_int("bonus_point_score_max"), get_option_float("bonus_accel"),
                   get_option_float("bonus_max_speed"), get_option_float("bonus_score_time"));

    // 91 shows as "Version 0.91".
    version_text = "Version " + std::to_string(game_version / 1000000) + "." +
                   std::to_string(game_version % 1000000);
    frame_start = sdk::get_time();
    menu = Menu_State{};
    clear_input_counts();
    dialog_active = game_over = pause_requested = stage_clear = boss_active = 0;
    replay_option_b = 1;

    // The first fade starts from the splash.
    capture_canvas.set_transform(sdk::Transform{});
    capture_canvas.clear(sdk::Colorf::black());
    splash.draw(capture_canvas, 0, 0);
    capture_canvas.flush();

    fade_length = 300.0f;
    state_timer = 0.0f;
    app_state = state_fade;
    next_state = first_run ? state_language : state_main_menu;
    transition_frame = first_run ? 1 : 0;
    sdk::log_event("Debug", "Started");

    while (!quit) run_frame();

    // A size the player gave the window just before quitting is kept too.
    if (resize_rule_due != 0) apply_resize_rule();
    save_config();
    installed_sound_sink = nullptr;
    sound_manager.shutdown();
    return 0;
}

void Application::run_frame() {
    if (frame_hook) frame_hook(*this);
    uint64_t now = sdk::get_time();
    float dt = frame_step(now, frame_start);
    frame_start = now;

    // One F11 press a frame: each press toggles the mode once, in order,
    // and the window's own messages about one change come in between.
    if (counters.count_fullscreen > 0) {
        --counters.count_fullscreen;
        fullscreen = fullscreen == 0 ? 1 : 0;
        create_display();
    }
    if (counters.count_resize > 0) {
        counters.count_resize = 0;
        on_resized();
    }
    if (resize_rule_due != 0 && now >= resize_rule_due) apply_resize_rule();
    if (!run_state(dt)) return;

    if (app_state < 100) draw_version();
    fps_counter.draw(canvas, font_small);
    if (counters.count_screenshot > 0) {
        take_screenshot();
        counters.count_screenshot = 0;
    }
    window.flip(1);
    sdk::Keep_Alive::process(0);
    int64_t wait = static_cast<int64_t>(frame_start) + 16 - static_cast<int64_t>(sdk::get_time());
    fps_counter.tick(static_cast<int32_t>(sdk::get_time()));
    if (wait > 0) sdk::sleep_ms(static_cast<int>(wait));
}

bool Application::run_state(float dt) {
    Screen_Context c{menu, counters, *this};
    switch (app_state) {
        case state_fade:
            if (advance_fade(dt)) return false;
            draw_fade();
            break;
        case state_language:
            run_language_logic(c, dt);
            if (app_state == state_language)
                draw_language(dt);
            else
                draw_fade();
            break;
        case state_main_menu:
            run_main_menu_logic(c, dt);
            draw_main_menu(dt);
            draw_letterbox();
            finish_main_menu_action(c);
            break;
        case state_options_fade:
            run_options_fade_logic(c, dt);
            draw_options_fade();
            break;
        case state_options:
            run_options_logic(c, dt);
            draw_options(dt);
            draw_letterbox();
            break;
        case state_key_config:
            run_key_config_logic(c, dt);
            draw_key_config(dt);
            draw_letterbox();
            break;
        case state_game:
            run_game_frame(dt);
            break;
        case state_replay:
            run_replay_frame();
            break;
        case state_pause:
            run_pause(dt);
            break;
        case state_results:
            run_results(dt);
            break;
        default:
            break;
    }
    return true;
}

void Application::draw_version() {
    font_small.draw_text(canvas, 10, 471, version_text, sdk::Colorf::white());
}

void Application::take_screenshot() {
    canvas.flush();
    save_screenshot(canvas.get_pixeldata());
}

void Application::start_perf_checkpoints() {
    perf_checkpoints.reset(static_cast<float>(sdk::get_time()));
}

void Application::perf_checkpoint(std::string_view label) {
    perf_checkpoints.checkpoint(label, static_cast<float>(sdk::get_time()));
}

void Application::play_sound(std::string_view name) { sound_manager.play_sound(name); }
void Application::play_music(std::string_view name) { sound_manager.play_music(name); }
void Application::stop_music() { sound_manager.stop_music(); }
void Application::apply_music_volume() { sound_manager.apply_music_volume(); }
void Application::save_settings() { save_config(); }
bool Application::load_replay() { return replay.load("mirel"); }
void Application::save_replay() { replay.save("mirel"); }
void Application::reset_world() {
    state_timer = 0.0f;
    stage_background.clear();
    spell_background.clear();
    ::reset_world();
}
void Application::reset_run() { ::reset_run(); }

void Application::load_menu_backdrop() {
    stage_background.load(canvas, "background_effects", resources[res_mirel], {0, 0, 640, 480});
    stage_background.set_speed(1.0f);
    for (int i = 0; i < 100; ++i) stage_background.update(100.0f);
}

void Application::apply_window_mode() { create_display(); }
