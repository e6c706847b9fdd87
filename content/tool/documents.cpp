// The hand-written resource documents of content/documents/, copied into the
// archive under the same relative paths.
#include <filesystem>

#include "content_output.h"

namespace {

void add_documents(Content_Output& out) {
    namespace fs = std::filesystem;
    fs::path root = fs::path(out.source_dir()) / "documents";
    if (!fs::is_directory(root)) content_fail("no documents folder at " + root.string());
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
        std::string rel = fs::relative(entry.path(), root).generic_string();
        out.add_file(rel, entry.path().string());
    }
}

}  // namespace

MIREL_CONTENT_GENERATOR("documents", add_documents);
