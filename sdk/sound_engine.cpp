#include "sdk/sound_engine.h"

#include <vector>

namespace sdk {

bool Ref_Counted::drop() {
    // The release/acquire pair makes every write through other references
    // visible to the destructor that the last drop runs.
    if (references_.fetch_sub(1, std::memory_order_acq_rel) != 1) return false;
    delete this;
    return true;
}

namespace {

class Silent_Source : public Sound_Source {
public:
    void set_default_volume(float) override {}
};

class Silent_Sound : public Sound {
public:
    void set_volume(float) override {}
    void set_is_paused(bool) override {}
    void stop() override {}
};

class Silent_Engine : public Sound_Engine {
public:
    ~Silent_Engine() override {
        for (File_Factory* f : factories_) f->drop();
    }
    void set_sound_volume(float) override {}
    Sound_Source* add_sound_source_from_memory(const void*, size_t, const std::string&) override {
        return add_source();
    }
    void add_file_factory(File_Factory* factory) override {
        if (!factory) return;
        factory->grab();
        factories_.push_back(factory);
    }
    Sound_Source* add_sound_source_from_file(const std::string&) override { return add_source(); }
    Sound* play_2d(Sound_Source* source, bool, bool start_paused, bool track) override {
        if (!source || !(start_paused || track)) return nullptr;
        return new Silent_Sound;
    }

private:
    Sound_Source* add_source() {
        sources_.push_back(std::make_unique<Silent_Source>());
        return sources_.back().get();
    }
    std::vector<std::unique_ptr<Silent_Source>> sources_;
    std::vector<File_Factory*> factories_;
};

}  // namespace

std::unique_ptr<Sound_Engine> create_silent_engine() { return std::make_unique<Silent_Engine>(); }

}  // namespace sdk
