// The SDL2_mixer engine under SDL's dummy audio driver, which plays (and so
// reads and decodes) in real time without a sound card.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <thread>

#include "audio/archive_file_bridge.h"
#include "sdk/core/log.h"
#include "sdk/sound_engine.h"
#include "sound_files.h"

namespace {

using namespace std::chrono_literals;
using sound_files::Bytes;

// Polls until `done` holds or the time runs out, so a test never hangs.
bool eventually(const std::function<bool()>& done, std::chrono::milliseconds limit = 3000ms) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

int playing_channel_volume() {
    for (int c = 0; c < Mix_AllocateChannels(-1); ++c)
        if (Mix_Playing(c)) return Mix_Volume(c, -1);
    return -1;
}

// Counts the readers the engine holds and the bytes it reads through them.
struct Reader_Counts {
    std::atomic<int> live{0};
    std::atomic<long> bytes{0};
};

class Counting_Reader : public sdk::File_Reader {
public:
    Counting_Reader(sdk::File_Reader* inner, Reader_Counts& counts) : inner_(inner), counts_(counts) {
        ++counts_.live;
    }
    ~Counting_Reader() override {
        inner_->drop();
        --counts_.live;
    }
    int32_t read(void* buffer, int32_t size) override {
        int32_t n = inner_->read(buffer, size);
        if (n > 0) counts_.bytes += n;
        return n;
    }
    bool seek(int32_t position, bool relative) override { return inner_->seek(position, relative); }
    int32_t get_size() override { return inner_->get_size(); }
    int32_t get_pos() override { return inner_->get_pos(); }
    const char* get_file_name() override { return inner_->get_file_name(); }

private:
    sdk::File_Reader* inner_;
    Reader_Counts& counts_;
};

class Counting_Factory : public sdk::File_Factory {
public:
    Counting_Factory(sdk::File_System fs, Reader_Counts& counts)
        : archive_(new FileFactory(std::move(fs))), counts_(counts) {}
    ~Counting_Factory() override { archive_->drop(); }
    sdk::File_Reader* create_file_reader(const char* name) override {
        sdk::File_Reader* r = archive_->create_file_reader(name);
        return r ? new Counting_Reader(r, counts_) : nullptr;
    }

private:
    FileFactory* archive_;
    Reader_Counts& counts_;
};

TEST(Mixer_Engine, DecodesSamplesFromMemoryAndPlaysThem) {
    std::unique_ptr<sdk::Sound_Engine> engine = sdk::create_sound_engine();
    ASSERT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1) << "the dummy device did not open";
    engine->set_sound_volume(0.5f);

    Bytes wav = sound_files::make_wav(300);
    Bytes ogg = sound_files::make_ogg(300);
    Bytes junk(400, 0x5A);
    sdk::Sound_Source* from_wav = engine->add_sound_source_from_memory(wav.data(), wav.size(), "w");
    sdk::Sound_Source* from_ogg = engine->add_sound_source_from_memory(ogg.data(), ogg.size(), "o");
    EXPECT_NE(from_wav, nullptr);
    EXPECT_NE(from_ogg, nullptr);
    EXPECT_EQ(engine->add_sound_source_from_memory(junk.data(), junk.size(), "junk"), nullptr);
    EXPECT_EQ(engine->add_sound_source_from_memory(nullptr, 0, "empty"), nullptr);
    ASSERT_TRUE(from_wav && from_ogg);

    // Fire and forget: no handle; the channel plays at master x default volume.
    from_wav->set_default_volume(0.5f);
    EXPECT_EQ(engine->play_2d(from_wav, false, false, false), nullptr);
    EXPECT_EQ(Mix_Playing(-1), 1);
    EXPECT_EQ(playing_channel_volume(), static_cast<int>(std::lround(0.25 * MIX_MAX_VOLUME)));
    EXPECT_TRUE(eventually([] { return Mix_Playing(-1) == 0; })) << "a 300 ms sample never ended";

    // Started paused, a handle waits for its unpause.
    from_ogg->set_default_volume(0.5f);
    sdk::Sound* held = engine->play_2d(from_ogg, true, true, false);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(Mix_Playing(-1), 0);
    held->set_is_paused(false);
    EXPECT_EQ(Mix_Playing(-1), 1);
    held->set_volume(0.5f);
    EXPECT_EQ(playing_channel_volume(), static_cast<int>(std::lround(0.125 * MIX_MAX_VOLUME)));
    held->stop();
    EXPECT_EQ(Mix_Playing(-1), 0);
    held->drop();
}

// The mixer takes 0 to 128: volumes outside 0 to 1, infinities and NaN end
// up at its ends, never at a number it cannot hold.
TEST(Mixer_Engine, EveryVolumeBecomesAMixerLevel) {
    std::unique_ptr<sdk::Sound_Engine> engine = sdk::create_sound_engine();
    engine->set_sound_volume(1.0f);
    Bytes wav = sound_files::make_wav(300);
    sdk::Sound_Source* source = engine->add_sound_source_from_memory(wav.data(), wav.size(), "w");
    ASSERT_NE(source, nullptr);
    source->set_default_volume(1.0f);
    sdk::Sound* looped = engine->play_2d(source, true, true, false);
    ASSERT_NE(looped, nullptr);
    looped->set_is_paused(false);
    const float inf = std::numeric_limits<float>::infinity();
    const struct {
        float volume;
        int level;
    } cases[] = {{0.5f, 64},
                 {2.0f, MIX_MAX_VOLUME},
                 {std::nanf(""), 0},
                 {inf, MIX_MAX_VOLUME},
                 {-std::nanf(""), 0},
                 {1.0f, MIX_MAX_VOLUME},
                 {-0.5f, 0},
                 {0.25f, 32},
                 {-inf, 0}};
    for (const auto& c : cases) {
        looped->set_volume(c.volume);
        EXPECT_EQ(playing_channel_volume(), c.level) << c.volume;
    }
    looped->stop();
    looped->drop();
}

class Mixer_Track_Test : public ::testing::Test {
protected:
    void SetUp() override {
        sound_files::write_zip(dir / "music.res", {{"bgm/short.ogg", sound_files::make_ogg(150)},
                                                   {"bgm/short.wav", sound_files::make_wav(150)},
                                                   {"bgm/broken.ogg", Bytes(2000, 0x33)}});
        engine = sdk::create_sound_engine();
        engine->set_sound_volume(0.5f);
        auto* factory = new Counting_Factory(sdk::File_System((dir / "music.res").string()), counts);
        engine->add_file_factory(factory);
        factory->drop();
    }

    sound_files::Temp_Dir dir{"tracks"};
    Reader_Counts counts;
    std::unique_ptr<sdk::Sound_Engine> engine;
};

TEST_F(Mixer_Track_Test, StreamsALoopingTrackOutOfTheArchive) {
    for (const char* file : {"bgm/short.ogg", "bgm/short.wav"}) {
        SCOPED_TRACE(file);
        sdk::Sound_Source* source = engine->add_sound_source_from_file(file);
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(counts.live, 0) << "the file opens only when the track plays";
        source->set_default_volume(1.0f);
        sdk::Sound* track = engine->play_2d(source, true, true, false);
        ASSERT_NE(track, nullptr);
        EXPECT_EQ(counts.live, 1);
        EXPECT_EQ(Mix_PlayingMusic(), 0) << "started paused";
        track->set_volume(0.5f);
        track->set_is_paused(false);
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        EXPECT_EQ(Mix_VolumeMusic(-1), static_cast<int>(std::lround(0.25 * MIX_MAX_VOLUME)));

        // Well past three lengths of the 150 ms track it still plays, and
        // the stream went on reading the file.
        long read_at_start = counts.bytes;
        std::this_thread::sleep_for(600ms);
        EXPECT_EQ(Mix_PlayingMusic(), 1);
        EXPECT_GT(counts.bytes, read_at_start);

        track->set_is_paused(true);
        EXPECT_EQ(Mix_PausedMusic(), 1);
        track->set_is_paused(false);
        EXPECT_EQ(Mix_PausedMusic(), 0);
        track->stop();
        EXPECT_EQ(Mix_PlayingMusic(), 0);
        EXPECT_EQ(counts.live, 0) << "a stopped track lets its file go";
        track->drop();
    }
}

TEST_F(Mixer_Track_Test, ATrackPlayedOnceEndsAndANewTrackTakesTheStream) {
    sdk::Sound* once = engine->play_2d(engine->add_sound_source_from_file("bgm/short.wav"), false,
                                       false, true);
    ASSERT_NE(once, nullptr);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_TRUE(eventually([] { return Mix_PlayingMusic() == 0; }));

    sdk::Sound* first = engine->play_2d(engine->add_sound_source_from_file("bgm/short.ogg"), true,
                                        false, true);
    sdk::Sound* second = engine->play_2d(engine->add_sound_source_from_file("bgm/short.wav"),
                                         true, false, true);
    ASSERT_TRUE(first && second);
    // Stopping the track that gave way leaves the one that plays alone.
    first->stop();
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    second->stop();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    for (sdk::Sound* s : {once, first, second}) s->drop();
    EXPECT_EQ(counts.live, 0);
}

TEST_F(Mixer_Track_Test, ATrackThatCannotBeOpenedOrDecodedGivesNoHandle) {
    for (const char* file : {"bgm/missing.ogg", "bgm/broken.ogg"}) {
        SCOPED_TRACE(file);
        EXPECT_EQ(engine->play_2d(engine->add_sound_source_from_file(file), true, true, false),
                  nullptr);
        EXPECT_EQ(counts.live, 0);
        EXPECT_EQ(Mix_PlayingMusic(), 0);
    }
}

// Without a sound device the game goes on silently, saying so once.
TEST(Sound_Engine, WithoutADeviceFallsBackToSilenceAndSaysSoOnce) {
    const char* before = std::getenv("SDL_AUDIODRIVER");
    std::string saved = before ? before : "";
    setenv("SDL_AUDIODRIVER", "no_such_device", 1);
    std::vector<std::string> lines;
    sdk::Log_Sink old = sdk::set_log_sink(
        [&](const std::string& category, const std::string& text) { lines.push_back(category + ": " + text); });

    std::unique_ptr<sdk::Sound_Engine> effects = sdk::create_sound_engine();
    std::unique_ptr<sdk::Sound_Engine> music = sdk::create_sound_engine();
    sdk::set_log_sink(old);
    if (before)
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");

    ASSERT_TRUE(effects && music);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("SYSTEM: No sound device", 0), 0u) << lines[0];

    // The silent engine answers as a real one would, and plays nothing.
    Bytes wav = sound_files::make_wav(50);
    sdk::Sound_Source* sample = effects->add_sound_source_from_memory(wav.data(), wav.size(), "w");
    ASSERT_NE(sample, nullptr);
    EXPECT_EQ(effects->play_2d(sample, false, false, false), nullptr);
    sdk::Sound* track = music->play_2d(music->add_sound_source_from_file("x.ogg"), true, true, false);
    ASSERT_NE(track, nullptr);
    track->set_volume(0.5f);
    track->set_is_paused(false);
    track->stop();
    track->drop();
}

}  // namespace
