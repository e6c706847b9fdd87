// What the running stage asks of the presentation (world/stage_presentation.h),
// answered by the presentation's globals: the dialog scene, the stage and
// spell-card backgrounds. Installed by the
// Application at start-up once all of them are loaded.
#pragma once

#include "world/stage_presentation.h"

class Shell_Presentation : public Stage_Presentation {
public:
    void start_dialog(const std::string& name) override;
    void update_dialog(float dt, int advances) override;
    void update_background(float dt) override;
    void fade_in_spellcard_layer(const std::string& layer, float ms) override;
    void fade_out_spellcard_layer(const std::string& layer, float ms) override;
};
