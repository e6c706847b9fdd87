// The sound manager over the real engines: SDL's dummy audio driver, and a
// machine with no sound device at all.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "audio/sound_manager.h"
#include "sdk/core/log.h"
#include "sound_files.h"

namespace {

using namespace std::chrono_literals;

bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = 3000ms) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

class Sound_Manager_Mixer_Test : public ::testing::Test {
protected:
    void SetUp() override {
        sound_files::write_zip(dir / "mirel.res",
                               {{"se/shot.wav", sound_files::make_wav(200)},
                                {"bgm/stage.ogg", sound_files::make_ogg(300)}});
    }
    void start() {
        sdk::File_System fs((dir / "mirel.res").string());
        Sound_Manager_Hooks hooks;
        hooks.clock = [this] { return clock; };
        manager.init(sdk::Resource_Manager(sdk::Resource_Document::from_text(
                         R"(<resources><sample name="shot" file="se/shot.wav" volume="1"/></resources>)",
                         "sounds.xml", fs)),
                     sdk::Resource_Manager(sdk::Resource_Document::from_text(
                         R"(<resources><track name="stage" file="bgm/stage.ogg"/></resources>)",
                         "music.xml", fs)),
                     fs, hooks);
        clock += 100;
    }

    sound_files::Temp_Dir dir{"sound_manager_mixer"};
    uint64_t clock = 5000;
    _SoundManager manager;
};

TEST_F(Sound_Manager_Mixer_Test, PlaysSamplesAndStreamsMusicFromTheArchive) {
    start();
    ASSERT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1);
    manager.play_sound("shot");
    EXPECT_EQ(Mix_Playing(-1), 1);

    manager.play_music("stage");
    EXPECT_TRUE(eventually([] { return Mix_PlayingMusic() == 1; }));
    manager.stop_music();
    EXPECT_TRUE(eventually([] { return Mix_PlayingMusic() == 0; }));
    manager.play_music("stage");
    EXPECT_TRUE(eventually([] { return Mix_PlayingMusic() == 1; }));
    manager.shutdown();
    EXPECT_FALSE(manager.is_initialized());
}

TEST_F(Sound_Manager_Mixer_Test, WithoutASoundDeviceTheGameRunsSilently) {
    const char* before = std::getenv("SDL_AUDIODRIVER");
    std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "no_such_device", 1);
    int system_lines = 0;
    sdk::Log_Sink old = sdk::set_log_sink([&](const std::string& category, const std::string&) {
        if (category == "SYSTEM") ++system_lines;
    });
    start();
    sdk::set_log_sink(old);
    if (before)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");

    EXPECT_TRUE(manager.is_initialized());
    EXPECT_EQ(system_lines, 1);
    manager.play_sound("shot");
    manager.play_music("stage");
    manager.apply_music_volume();
    manager.stop_music();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "no device was opened";
    manager.shutdown();
}

}  // namespace
