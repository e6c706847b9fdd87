// The sound manager's logic against engines that record what they are asked,
// with a clock the test sets and a music thread whose idle waits the test
// releases one by one. Every wait is bounded, so a fault fails, never hangs.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/sound_manager.h"
#include "audio/sound_manager_sink.h"
#include "sdk/core/exception.h"
#include "sdk/core/string_help.h"
#include "sound_files.h"
#include "world/settings.h"

namespace {

using namespace std::chrono_literals;
using Events = std::vector<std::string>;

constexpr auto patience = 5s;

// What the engines were asked, in order, from either thread.
class Recorder {
public:
    void add(std::string event) {
        std::lock_guard lock(mutex_);
        events_.push_back(std::move(event));
        changed_.notify_all();
    }
    Events take() {
        std::lock_guard lock(mutex_);
        Events e;
        e.swap(events_);
        return e;
    }
    bool wait_for_event(const std::string& event) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] {
            return std::find(events_.begin(), events_.end(), event) != events_.end();
        });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    Events events_;
};

std::string level(float v) { return sdk::float_to_text(v); }

class Fake_Source : public sdk::Sound_Source {
public:
    Fake_Source(std::string name, Recorder& r, const void* data = nullptr, size_t size = 0)
        : name(std::move(name)), data(static_cast<const uint8_t*>(data)), size(size), recorder(r) {}
    void set_default_volume(float v) override { recorder.add("default " + name + " " + level(v)); }
    std::string name;
    const uint8_t* data;
    size_t size;
    Recorder& recorder;
};

class Fake_Sound : public sdk::Sound {
public:
    Fake_Sound(std::string name, Recorder& r) : name_(std::move(name)), recorder_(r) {}
    ~Fake_Sound() override { recorder_.add("drop " + name_); }
    void set_volume(float v) override { recorder_.add("volume " + name_ + " " + level(v)); }
    void set_is_paused(bool paused) override {
        recorder_.add((paused ? "pause " : "unpause ") + name_);
    }
    void stop() override { recorder_.add("stop " + name_); }

private:
    std::string name_;
    Recorder& recorder_;
};

// Tracks whose file names hold "broken" cannot be played; a play of a track
// named "slow" holds the music thread until the test opens `slow_gate`.
class Fake_Engine : public sdk::Sound_Engine {
public:
    Fake_Engine(std::string role, Recorder& r, std::atomic<bool>& slow_gate)
        : role_(std::move(role)), recorder_(r), slow_gate_(slow_gate) {}
    ~Fake_Engine() override {
        // The samples' bytes must still be there: were they freed first, ASan
        // would stop here, and without it they would likely differ.
        bool intact = true;
        for (auto& s : sources_)
            if (s->size > 0) intact = intact && (s->data[0] == 'R' || s->data[0] == 'b');
        for (sdk::File_Factory* f : factories_) f->drop();
        recorder_.add(role_ + " engine gone" + (intact ? "" : " after its samples were freed"));
    }
    void set_sound_volume(float v) override { recorder_.add(role_ + " master " + level(v)); }
    sdk::Sound_Source* add_sound_source_from_memory(const void* data, size_t size,
                                                    const std::string& name) override {
        if (size >= 3 && std::memcmp(data, "bad", 3) == 0) return nullptr;
        sources_.push_back(std::make_unique<Fake_Source>(name, recorder_, data, size));
        return sources_.back().get();
    }
    void add_file_factory(sdk::File_Factory* f) override {
        f->grab();
        factories_.push_back(f);
    }
    sdk::Sound_Source* add_sound_source_from_file(const std::string& name) override {
        sources_.push_back(std::make_unique<Fake_Source>(name, recorder_));
        return sources_.back().get();
    }
    sdk::Sound* play_2d(sdk::Sound_Source* source, bool looped, bool paused, bool track) override {
        auto* s = static_cast<Fake_Source*>(source);
        recorder_.add("play " + s->name + (looped ? " looped" : " once") + (paused ? " paused" : "") +
                      (track ? " tracked" : ""));
        if (s->name.find("slow") != std::string::npos) {
            auto end = std::chrono::steady_clock::now() + patience;
            while (!slow_gate_ && std::chrono::steady_clock::now() < end)
                std::this_thread::sleep_for(1ms);
            recorder_.add("play " + s->name + " returns");
        }
        if (s->name.find("broken") != std::string::npos) return nullptr;
        return paused || track ? new Fake_Sound(s->name, recorder_) : nullptr;
    }

private:
    std::string role_;
    Recorder& recorder_;
    std::atomic<bool>& slow_gate_;
    std::vector<std::unique_ptr<Fake_Source>> sources_;
    std::vector<sdk::File_Factory*> factories_;
};

// The music thread's idle waits: each one blocks until the test releases it.
class Idle_Gate {
public:
    void wait(int milliseconds) {
        std::unique_lock lock(mutex_);
        last_wait_ = milliseconds;
        ++entered_;
        changed_.notify_all();
        changed_.wait_for(lock, patience, [&] { return open_ || released_ >= entered_; });
    }
    // Blocks until the thread idles for the n-th time.
    bool idling(int n) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [&] { return entered_ >= n; });
    }
    // Lets the idle thread run one more pass, and waits until it idles again.
    bool pass() {
        int next;
        {
            std::lock_guard lock(mutex_);
            ++released_;
            next = entered_ + 1;
            changed_.notify_all();
        }
        return idling(next);
    }
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    int last_wait() {
        std::lock_guard lock(mutex_);
        return last_wait_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int entered_ = 0;
    int released_ = 0;
    int last_wait_ = 0;
    bool open_ = false;
};

class Sound_Manager_Test : public ::testing::Test {
protected:
    void SetUp() override {
        sound_volume = 0.8f;
        music_volume = 0.9f;
        sound_files::write_file(dir / "se/shot.wav", {'R', 'I', 'F', 'F', 1, 2, 3});
        sound_files::write_file(dir / "se/quiet.wav", {'R', 'I', 'F', 'F', 4});
        sound_files::write_file(dir / "se/junk.wav", {'b', 'a', 'd'});
    }
    void TearDown() override {
        installed_sound_sink = nullptr;
        gate.open();
        slow_gate = true;
        manager.shutdown();
    }

    static constexpr const char* sounds_xml = R"(<resources>
        <sample name="shot" file="se/shot.wav" volume="0.5"/>
        <sample name="quiet" file="se/quiet.wav"/>
        <sample name="junk" file="se/junk.wav" volume="1"/>
      </resources>)";
    static constexpr const char* music_xml = R"(<resources>
        <track name="title" file="bgm/title.ogg"/>
        <track name="stage" file="bgm/stage.ogg"/>
        <track name="broken" file="bgm/broken.ogg"/>
        <track name="slow" file="bgm/slow.ogg"/>
      </resources>)";

    void start(const char* sounds = sounds_xml) {
        sdk::File_System fs(dir.path().string());
        Sound_Manager_Hooks hooks;
        hooks.make_engine = [this] {
            return std::make_unique<Fake_Engine>(engines_made++ == 0 ? "effects" : "music",
                                                 recorder, slow_gate);
        };
        hooks.clock = [this] { return clock.load(); };
        hooks.idle_wait = [this](int ms) { gate.wait(ms); };
        manager.init(sdk::Resource_Manager(sdk::Resource_Document::from_text(sounds, "sounds.xml", fs)),
                     sdk::Resource_Manager(sdk::Resource_Document::from_text(music_xml, "music.xml", fs)),
                     fs, hooks);
        ASSERT_TRUE(gate.idling(1)) << "the music thread never idled";
        startup = recorder.take();
    }
    // Starts `track` and forgets what that was recorded.
    void playing(const char* track) {
        manager.play_music(track);
        ASSERT_TRUE(gate.pass());
        recorder.take();
    }

    sound_files::Temp_Dir dir{"sound_manager"};
    Recorder recorder;
    std::atomic<bool> slow_gate{false};
    std::atomic<uint64_t> clock{100000};
    Idle_Gate gate;
    int engines_made = 0;
    Events startup;
    _SoundManager manager;
};

TEST_F(Sound_Manager_Test, StartsBothEnginesAtTheEngineVolumeAndIdles500Ms) {
    start();
    EXPECT_TRUE(manager.is_initialized());
    EXPECT_EQ(gate.last_wait(), 500);
    ASSERT_GE(startup.size(), 2u);
    EXPECT_EQ(startup[0], "effects master 0.2");
    EXPECT_EQ(startup[1], "music master 0.2");
    EXPECT_EQ(engines_made, 2);
    // Idling with nothing to do asks nothing of the engines.
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(), Events{});
}

TEST_F(Sound_Manager_Test, ASamplePlaysAgainOnlyWhenMoreThan70MsHavePassed) {
    start();
    // Loaded at 100000, as if it had just played.
    struct Step { uint64_t time; bool plays; };
    const Step steps[] = {
        {100070, false}, {100071, true}, {100100, false}, {100141, false}, {100142, true},
        {100142, false}, {200000, true},
    };
    for (const Step& s : steps) {
        clock = s.time;
        manager.play_sound("shot");
        Events expected;
        if (s.plays) expected = {"default shot 0.4", "play shot once"};
        EXPECT_EQ(recorder.take(), expected) << "at " << s.time;
    }
}

TEST_F(Sound_Manager_Test, TheGuardHoldsAcrossTheWrapOfTheClock) {
    clock = 0x1FFFFFFF0ull;  // low 32 bits: 0xFFFFFFF0
    start();
    clock = 0x200000030ull;  // 64 ms later in the low 32 bits
    manager.play_sound("shot");
    EXPECT_EQ(recorder.take(), Events{});
    clock = 0x200000040ull;  // 80 ms later
    manager.play_sound("shot");
    EXPECT_EQ(recorder.take(), (Events{"default shot 0.4", "play shot once"}));
}

TEST_F(Sound_Manager_Test, VolumesOfSamples) {
    start();
    clock = 200000;
    struct Case { const char* name; float factor; float setting; const char* expected; };
    const Case cases[] = {
        {"shot", 1.0f, 0.8f, "default shot 0.4"},
        {"shot", 0.5f, 0.8f, "default shot 0.2"},
        {"shot", 1.0f, 0.0f, "default shot 0"},
        {"quiet", 1.0f, 0.8f, "default quiet 0"},  // no "volume": silent
    };
    for (const Case& c : cases) {
        clock += 100;
        sound_volume = c.setting;
        if (c.factor == 1.0f)
            manager.play_sound(c.name);
        else
            manager.play_sound_scaled(c.name, c.factor);
        Events e = recorder.take();
        ASSERT_EQ(e.size(), 2u) << c.name;
        EXPECT_EQ(e[0], c.expected);
        EXPECT_EQ(e[1], std::string("play ") + c.name + " once");
    }
}

TEST_F(Sound_Manager_Test, NamesThatAreNotLoadedDoNothing) {
    start();
    clock = 200000;
    manager.play_sound("nothing");
    manager.play_sound_scaled("nothing", 2.0f);
    manager.play_sound("junk");  // its file is no sound: it was left out
    manager.play_music("nothing");
    manager.play_music("shot");
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(), Events{});
}

TEST_F(Sound_Manager_Test, AChangeStartsTheTrackPausedThenAtTheMusicVolume) {
    start();
    manager.play_music("title");
    EXPECT_EQ(recorder.take(), Events{}) << "the main thread only posts the request";
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(), (Events{"default bgm/title.ogg 1", "play bgm/title.ogg looped paused",
                                       "volume bgm/title.ogg 0.9", "unpause bgm/title.ogg"}));
}

TEST_F(Sound_Manager_Test, StopThenChangeInOneFrameStopsTheOldTrackFirst) {
    start();
    playing("title");
    manager.stop_music();
    manager.play_music("stage");
    // One pass serves the stop and, without idling, the change.
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(),
              (Events{"stop bgm/title.ogg", "drop bgm/title.ogg", "default bgm/stage.ogg 1",
                      "play bgm/stage.ogg looped paused", "volume bgm/stage.ogg 0.9",
                      "unpause bgm/stage.ogg"}));
}

TEST_F(Sound_Manager_Test, TwoChangesBeforeTheThreadWakesStartOnlyTheLater) {
    start();
    manager.play_music("title");
    manager.play_music("stage");
    ASSERT_TRUE(gate.pass());
    Events e = recorder.take();
    EXPECT_EQ(std::count(e.begin(), e.end(), "play bgm/stage.ogg looped paused"), 1);
    EXPECT_EQ(std::count(e.begin(), e.end(), "play bgm/title.ogg looped paused"), 0);
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(), Events{});
}

TEST_F(Sound_Manager_Test, AChangeWithoutAStopReplacesThePlayingTrack) {
    start();
    playing("title");
    manager.play_music("stage");
    ASSERT_TRUE(gate.pass());
    Events e = recorder.take();
    ASSERT_GE(e.size(), 3u);
    EXPECT_EQ(e[0], "stop bgm/title.ogg");
    EXPECT_EQ(e[1], "drop bgm/title.ogg");
    EXPECT_EQ(e[3], "play bgm/stage.ogg looped paused");
}

TEST_F(Sound_Manager_Test, ATrackThatCannotBePlayedLeavesNoTrackAndTheThreadGoesOn) {
    start();
    playing("title");
    manager.stop_music();
    manager.play_music("broken");
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(), (Events{"stop bgm/title.ogg", "drop bgm/title.ogg",
                                       "default bgm/broken.ogg 1",
                                       "play bgm/broken.ogg looped paused"}));
    // No handle is used: neither the volume nor a stop reaches one.
    manager.apply_music_volume();
    manager.stop_music();
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(), Events{});
    playing("stage");
    manager.stop_music();
    ASSERT_TRUE(gate.pass());
    EXPECT_EQ(recorder.take(), (Events{"stop bgm/stage.ogg", "drop bgm/stage.ogg"}));
}

TEST_F(Sound_Manager_Test, ApplyMusicVolumeReachesOnlyAPlayingTrack) {
    start();
    music_volume = 0.3f;
    manager.apply_music_volume();
    EXPECT_EQ(recorder.take(), Events{});
    playing("title");
    music_volume = 0.5f;
    manager.apply_music_volume();
    EXPECT_EQ(recorder.take(), Events{"volume bgm/title.ogg 0.5"});
    // The next track plays at the volume applied last.
    manager.stop_music();
    manager.play_music("stage");
    ASSERT_TRUE(gate.pass());
    Events e = recorder.take();
    EXPECT_NE(std::find(e.begin(), e.end(), "volume bgm/stage.ogg 0.5"), e.end());
}

TEST_F(Sound_Manager_Test, ShutdownEndsTheThreadBeforeReleasingWhatItUses) {
    start();
    playing("title");
    manager.stop_music();
    manager.play_music("slow");
    gate.open();
    ASSERT_TRUE(recorder.wait_for_event("play bgm/slow.ogg looped paused"));
    std::thread closing([this] { manager.shutdown(); });
    std::this_thread::sleep_for(50ms);
    slow_gate = true;
    closing.join();
    Events e = recorder.take();
    auto at = [&](const std::string& event) {
        return std::find(e.begin(), e.end(), event) - e.begin();
    };
    ASSERT_LT(at("play bgm/slow.ogg returns"), static_cast<long>(e.size()));
    EXPECT_LT(at("play bgm/slow.ogg returns"), at("stop bgm/slow.ogg"));
    EXPECT_LT(at("stop bgm/slow.ogg"), at("drop bgm/slow.ogg"));
    EXPECT_LT(at("drop bgm/slow.ogg"), at("effects engine gone"));
    EXPECT_LT(at("effects engine gone"), at("music engine gone"));
    EXPECT_LT(at("music engine gone"), static_cast<long>(e.size()));
    EXPECT_FALSE(manager.is_initialized());
    // After shutdown every request is quietly ignored.
    manager.play_sound("shot");
    manager.play_music("title");
    manager.stop_music();
    manager.apply_music_volume();
    EXPECT_EQ(recorder.take(), Events{});
}

TEST_F(Sound_Manager_Test, TheWorldsRequestsReachTheManagerThroughTheSink) {
    start();
    clock = 200000;
    Sound_Manager_Sink sink(manager);
    installed_sound_sink = &sink;
    sound_sink().play_sound("shot");
    clock += 100;
    sound_sink().play_sound_scaled("shot", 0.5f);
    sound_sink().play_music("title");
    ASSERT_TRUE(gate.pass());
    sound_sink().stop_music();
    ASSERT_TRUE(gate.pass());
    installed_sound_sink = nullptr;
    EXPECT_EQ(recorder.take(),
              (Events{"default shot 0.4", "play shot once", "default shot 0.2", "play shot once",
                      "default bgm/title.ogg 1", "play bgm/title.ogg looped paused",
                      "volume bgm/title.ogg 0.9", "unpause bgm/title.ogg", "stop bgm/title.ogg",
                      "drop bgm/title.ogg"}));
}

TEST_F(Sound_Manager_Test, ASampleMissingFromTheArchiveStopsStartUpNamingIt) {
    const char* sounds = R"(<resources><sample name="gone" file="se/gone.wav" volume="1"/></resources>)";
    try {
        start(sounds);
        FAIL() << "init went on without the sample";
    } catch (const sdk::Exception& e) {
        std::string m = e.get_message();
        EXPECT_NE(m.find("sounds.xml"), std::string::npos) << m;
        EXPECT_NE(m.find("'gone'"), std::string::npos) << m;
        EXPECT_NE(m.find("se/gone.wav"), std::string::npos) << m;
    }
}

}  // namespace
