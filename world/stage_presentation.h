// What the stage simulation asks of the presentation while a stage runs:
// dialog scenes and the stage and spell-card backgrounds. The world holds
// only a pointer to one of these, installed by the shell at start-up; with
// none installed (headless runs and tests) dialogs end at once and the
// backgrounds stand still. Names are passed only at events and phase
// changes, never every frame.
#pragma once

#include <string>

class Stage_Presentation {
public:
    virtual ~Stage_Presentation() = default;

    // Starts the dialog scene of the resource `name` (already suffixed with
    // the language). The dialog clears `dialog_active` when it ends.
    virtual void start_dialog(const std::string& name) = 0;
    // Advances the running dialog by dt ms with `advances` presses of the
    // advance key in this frame.
    virtual void update_dialog(float dt, int advances) = 0;
    // One step of the scrolling stage background.
    virtual void update_background(float dt) = 0;
    // Fades a layer of the spell-card background in or out over `ms`.
    virtual void fade_in_spellcard_layer(const std::string& layer, float ms) = 0;
    virtual void fade_out_spellcard_layer(const std::string& layer, float ms) = 0;
};

// Null in headless runs.
inline Stage_Presentation* stage_presentation = nullptr;
