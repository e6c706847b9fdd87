// What the content tool puts into the archive: a map from archive path ("images/bullets.png",
// "sounds/shot.ogg") to the file's bytes. Generators add their files here; the packer writes
// them in name order. Generators register themselves with MIREL_CONTENT_GENERATOR so each
// kind of content lives in its own source file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Content_Output {
public:
    explicit Content_Output(std::string source_dir) : source_dir_(std::move(source_dir)) {}

    // Adds a file; adding one path twice is a mistake in the tool and stops it.
    void add(const std::string& archive_path, std::vector<uint8_t> bytes);
    void add_text(const std::string& archive_path, const std::string& text);
    // Copies a file from disk; stops the tool with the path when it cannot be read.
    void add_file(const std::string& archive_path, const std::string& disk_path);

    // The content/ folder of the source tree.
    const std::string& source_dir() const { return source_dir_; }
    const std::map<std::string, std::vector<uint8_t>>& files() const { return files_; }

private:
    std::string source_dir_;
    std::map<std::string, std::vector<uint8_t>> files_;
};

using Content_Generator = void (*)(Content_Output&);

// Generators run in name order, so the archive does not depend on link order.
struct Content_Generator_Registration {
    Content_Generator_Registration(const char* name, Content_Generator generator);
};

std::map<std::string, Content_Generator>& content_generators();

// Stops the tool at the first entry the game would refuse: one larger than
// its kind may be, a picture whose header declares more than the game
// decodes, or a document its loader refuses.
void check_entries(const Content_Output& out);

// Throws std::runtime_error with the message; main prints it and fails the build.
[[noreturn]] void content_fail(const std::string& message);

#define MIREL_CONTENT_GENERATOR(name, function) \
    static const Content_Generator_Registration content_generator_##function(name, function)
