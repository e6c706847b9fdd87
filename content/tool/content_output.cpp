#include "content_output.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

void content_fail(const std::string& message) { throw std::runtime_error(message); }

void Content_Output::add(const std::string& archive_path, std::vector<uint8_t> bytes) {
    if (!files_.emplace(archive_path, std::move(bytes)).second)
        content_fail("two generators write " + archive_path);
}

void Content_Output::add_text(const std::string& archive_path, const std::string& text) {
    add(archive_path, std::vector<uint8_t>(text.begin(), text.end()));
}

void Content_Output::add_file(const std::string& archive_path, const std::string& disk_path) {
    std::ifstream in(disk_path, std::ios::binary);
    if (!in) content_fail("cannot read " + disk_path + " for " + archive_path);
    add(archive_path, std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}));
}

std::map<std::string, Content_Generator>& content_generators() {
    static std::map<std::string, Content_Generator> generators;
    return generators;
}

Content_Generator_Registration::Content_Generator_Registration(const char* name,
                                                               Content_Generator generator) {
    content_generators()[name] = generator;
}
