#include "sdk/core/resource_document.h"

#include "sdk/core/exception.h"

namespace sdk {

struct Resource_Document::Impl {
    std::string name;
    std::string folder;  // with a trailing "/" unless empty
    File_System fs;
    Dom_Element root;
    std::vector<Resource_Node> nodes;  // document order
    std::map<std::string, size_t> by_id;
};

namespace {

std::shared_ptr<Resource_Document::Impl> build(const std::string& text, const std::string& name,
                                               File_System fs) {
    auto impl = std::make_shared<Resource_Document::Impl>();
    impl->name = name;
    impl->fs = std::move(fs);
    size_t slash = name.find_last_of('/');
    impl->folder = slash == std::string::npos ? "" : name.substr(0, slash + 1);
    impl->root = Dom_Element::parse(text, name);
    if (impl->root.get_tag_name() != "resources")
        throw Exception(name + ": the root element is <" + impl->root.get_tag_name() +
                        ">, expected <resources>");

    // The walk keeps one list of children per open section and one prefix
    // for them all, cut back as it leaves a section; parsing has bounded how
    // deep sections can nest.
    struct Open_Section {
        std::vector<Dom_Element> children;
        size_t next;
        size_t prefix_length;  // of `prefix` inside this section
    };
    std::vector<Open_Section> open;
    std::string prefix;
    open.push_back({impl->root.children(), 0, 0});
    while (!open.empty()) {
        Open_Section& section = open.back();
        if (section.next == section.children.size()) {
            open.pop_back();
            continue;
        }
        const Dom_Element e = section.children[section.next++];
        prefix.resize(section.prefix_length);
        std::string n = e.get_attribute("name");
        if (e.get_tag_name() == "section") {
            prefix += n + "/";
            open.push_back({e.children(), 0, prefix.size()});
            continue;
        }
        if (n.empty()) continue;
        std::string id = prefix + n;
        auto it = impl->by_id.find(id);
        if (it != impl->by_id.end()) {
            // A later resource of the same id replaces the earlier one.
            impl->nodes[it->second] = Resource_Node{e.get_tag_name(), id, e};
            continue;
        }
        impl->by_id[id] = impl->nodes.size();
        impl->nodes.push_back(Resource_Node{e.get_tag_name(), id, e});
    }
    return impl;
}

}  // namespace

Resource_Document::Resource_Document(File_System fs, const std::string& file_name) {
    std::vector<uint8_t> bytes;
    try {
        bytes = fs.read_file(file_name, Entry_Kind::document);
    } catch (const Exception& e) {
        throw Exception("Unable to open resource document " + file_name + " in " + fs.get_path() +
                        ": " + e.what());
    }
    impl_ = build(std::string(bytes.begin(), bytes.end()), file_name, std::move(fs));
}

Resource_Document Resource_Document::from_text(const std::string& text, const std::string& name,
                                               File_System fs) {
    Resource_Document d;
    d.impl_ = build(text, name, std::move(fs));
    return d;
}

const Resource_Node& Resource_Document::get_resource(const std::string& id) const {
    if (impl_) {
        auto it = impl_->by_id.find(id);
        if (it != impl_->by_id.end()) return impl_->nodes[it->second];
    }
    throw Exception("Resource not found: " + id + " (in " + get_name() + ")");
}

bool Resource_Document::resource_exists(const std::string& id) const {
    return impl_ && impl_->by_id.count(id) != 0;
}

std::vector<std::string> Resource_Document::get_resource_names_of_type(const std::string& type) const {
    std::vector<std::string> out;
    if (!impl_) return out;
    for (const Resource_Node& n : impl_->nodes)
        if (n.type == type) out.push_back(n.id);
    return out;
}

std::vector<std::string> Resource_Document::get_resource_names() const {
    std::vector<std::string> out;
    if (!impl_) return out;
    for (const Resource_Node& n : impl_->nodes) out.push_back(n.id);
    return out;
}

const std::string& Resource_Document::get_name() const {
    static const std::string none = "(no document)";
    return impl_ ? impl_->name : none;
}

File_System Resource_Document::get_file_system() const { return impl_ ? impl_->fs : File_System(); }

std::string Resource_Document::resolve_path(const std::string& relative) const {
    std::string r = relative;
    for (char& c : r)
        if (c == '\\') c = '/';
    if (!r.empty() && r[0] == '/') return r.substr(1);
    return (impl_ ? impl_->folder : std::string()) + r;
}

}  // namespace sdk
