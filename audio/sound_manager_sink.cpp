#include "audio/sound_manager_sink.h"

Sound_Manager_Sink sound_manager_sink(sound_manager);
