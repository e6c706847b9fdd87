// What the game refuses to load, the tool refuses to pack: every entry is held
// to the size the game's archive allows its kind, every picture's header to
// the size the game decodes (the fixed texture side, as no renderer is here
// to state its own, and the pixel count), and every resource document goes
// through the game's own document loader (which refuses, among others,
// elements nested deeper than the game reads).
#include <stdexcept>
#include <string>

#include "content_output.h"
#include "sdk/core/exception.h"
#include "sdk/core/file_system.h"
#include "sdk/core/picture_header.h"
#include "sdk/core/resource_document.h"

namespace {

// The kind the game opens a file as: the tool writes the music tracks under
// "music/" and the sound effects under "sounds/".
sdk::Entry_Kind kind_of(const std::string& name) {
    if (name.ends_with(".xml")) return sdk::Entry_Kind::document;
    if (name.ends_with(".png")) return sdk::Entry_Kind::picture;
    if (name.ends_with(".ttf")) return sdk::Entry_Kind::font;
    if (name.starts_with("music/")) return sdk::Entry_Kind::track;
    return sdk::Entry_Kind::sound;
}

}  // namespace

void check_entries(const Content_Output& out) {
    for (const auto& [name, bytes] : out.files()) {
        sdk::Entry_Kind kind = kind_of(name);
        int64_t size = static_cast<int64_t>(bytes.size());
        if (size > sdk::max_entry_size(kind))
            content_fail(name + " is " + std::to_string(size) + " bytes, more than the " +
                         std::to_string(sdk::max_entry_size(kind)) + " a " +
                         sdk::entry_kind_name(kind) + " may be");
        try {
            if (kind == sdk::Entry_Kind::picture)
                sdk::checked_picture_header(bytes.data(), bytes.size(), name,
                                            sdk::default_max_picture_size);
            if (kind == sdk::Entry_Kind::document)
                sdk::Resource_Document::from_text(std::string(bytes.begin(), bytes.end()), name);
        } catch (const sdk::Exception& e) {
            content_fail(e.what());
        }
    }
}
