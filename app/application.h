// The Application: owns the game window, its canvases and the 640 x 480
// capture picture, the resource documents, the fonts and the screen sprites,
// and runs the program from start-up through the main loop to shutdown.
//
// On this platform one window serves the whole run: it is made hidden for the
// loading, then shown, and a change of display mode is applied to it in
// place (sdk::Window::apply), so every texture stays valid. The capture
// picture is a render-target texture; fades, the pause screen and the
// results draw it. Every draw call of a frame goes to `canvas`, which is the
// window's canvas (transform: letterbox offset, then the display scale) or,
// while a run is being left, the capture canvas (no transform).
//
// The screens' rules are in title_menus.cpp; this class implements what they
// ask of the program (Shell_Services) and draws them. Main thread only.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/fps_counter.h"
#include "app/input_counters.h"
#include "app/perf_log.h"
#include "app/shell_services.h"
#include "app/title_menus.h"
#include "sdk/canvas.h"
#include "sdk/core/file_system.h"
#include "sdk/core/resource_document.h"
#include "sdk/font.h"
#include "sdk/image.h"
#include "sdk/signal.h"
#include "sdk/sprite.h"
#include "sdk/texture.h"
#include "sdk/window.h"
#include "world/player_input.h"

class Ring_Sprite;
class Shell_Presentation;

// The resource documents, in the order the program loads them.
enum Resource_Index {
    res_mirel,
    res_sprites,
    res_player,
    res_sounds,
    res_music,
    res_patterns,
    res_levels,
    res_count
};

class Application : public Shell_Services {
public:
    Application();
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Start-up, main loop, shutdown; answers the exit code (0).
    int start(const std::vector<std::string>& args);

    // The first "option" child named `name` of the resource "options" of
    // "mirel.xml", as a number; an absent option is 0.
    float get_option_float(const std::string& name) const;
    int get_option_int(const std::string& name) const;

    // Called at the start of every frame, before anything else; the
    // end-to-end test drives the game through it.
    std::function<void(Application&)> frame_hook;

    Input_Counters counters;
    Menu_State menu;
    bool quit = false;

    // Shell_Services
    void play_sound(std::string_view name) override;
    void play_music(std::string_view name) override;
    void stop_music() override;
    void apply_music_volume() override;
    void load_menu_backdrop() override;
    void capture_picture() override;
    void apply_window_mode() override;
    void save_settings() override;
    bool load_replay() override;
    void save_replay() override;
    void request_quit() override { quit = true; }
    void reset_world() override;
    void reset_run() override;
    void start_perf_checkpoints() override;
    void perf_checkpoint(std::string_view label) override;

    void clear_input_counts() { counters.clear(); }

    // Display (display.cpp).
    void create_display();
    void compute_scale();
    // Maps the picture onto the drawing area the window has now.
    void map_picture();
    void on_resized();
    // The resize rule, on a size the window has held for a moment.
    void apply_resize_rule();
    void draw_letterbox();
    void begin_capture();
    void end_capture();

private:
    void load_resources();
    void load_screen_sprites();
    void run_frame();
    // Runs the current screen state; false when the frame ends early.
    bool run_state(float dt);
    void draw_version();
    void take_screenshot();
    void connect_input();
    Player_Input read_play_input();

    // Title screens' drawing (title_menus_draw.cpp).
    void draw_fade();
    void draw_language(float dt);
    void draw_main_menu(float dt);
    void draw_options_fade();
    void draw_options(float dt);
    void draw_key_config(float dt);
    void draw_screen(float dt);
    void draw_option_column(int entries, float top, sdk::Sprite& frames);
    // The backdrop and entry column shared by the options and the key
    // configuration; answers the alpha of their fade-in.
    float draw_settings_backdrop(float dt, int entries, float top, sdk::Sprite& frames);

    // Play screens (game_frames.cpp, overlays_draw.cpp, hud.cpp).
    void start_run(bool is_replay);
    void run_game_frame(float dt);
    void run_replay_frame();
    void draw_stage(float dt);
    void run_pause(float dt);
    void run_results(float dt);
    void draw_pause();
    void draw_results();
    void draw_hud();
    void draw_boss_hud();
    void draw_boss_background(float dt);

    sdk::Window window;
    sdk::Window_Description window_description;
    sdk::Canvas canvas;
    sdk::Canvas window_canvas;
    sdk::Canvas capture_canvas;
    sdk::Texture capture_texture;
    sdk::Image capture_image;
    std::vector<sdk::Slot> slots;
    bool capturing = false;

    sdk::File_System archive;
    std::array<sdk::Resource_Manager, res_count> resources;
    sdk::Sprite splash;
    sdk::Font font_small, font_score, font_options;
    sdk::Font dialog_font_one, dialog_font_two, system_font;
    sdk::Sprite screen_mask, language_select, mm_background, mm_title1, mm_menu, mm_menu_tips;
    sdk::Sprite om_options, om_keys, om_tips, game_screen, game_stats;
    std::unique_ptr<Ring_Sprite> ring_sprite;
    std::unique_ptr<Shell_Presentation> presentation;

    Fps_Counter fps_counter;
    std::string version_text;
    uint64_t frame_start = 0;
    // When the resize rule is due for the windowed size, or 0.
    uint64_t resize_rule_due = 0;
    static constexpr uint64_t resize_settle_ms = 200;
    Perf_Checkpoints perf_checkpoints;
    bool first_run = false;
};
