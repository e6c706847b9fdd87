#include "app/shell_presentation.h"

#include "render/background.h"
#include "render/dialog.h"

void Shell_Presentation::start_dialog(const std::string& name) { dialog.start(name); }
void Shell_Presentation::update_dialog(float dt, int advances) { dialog.update(advances, dt); }
void Shell_Presentation::update_background(float dt) { stage_background.update(dt); }
void Shell_Presentation::fade_in_spellcard_layer(const std::string& layer, float ms) {
    spell_background.fade_in_spellcard_layer(layer, ms);
}
void Shell_Presentation::fade_out_spellcard_layer(const std::string& layer, float ms) {
    spell_background.fade_out_spellcard_layer(layer, ms);
}
