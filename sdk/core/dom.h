// Read access to XML elements of a loaded document (pugixml underneath; no
// caller sees it). An element keeps its document alive. Attribute readers
// take the lenient number rules of string_help.h; `document_name` says which
// file an element came from, so loaders can name it in their messages.
//
// No document of the game nests its elements more than a few deep, and code
// that follows the nesting (the section walk of resource documents) must not
// take stack or memory per level without bound: a document whose elements
// nest deeper than `max_element_depth` (the root counts as 1) is refused
// when it is parsed.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

namespace sdk {

// How deep the elements of a document may nest, the root element being 1.
// The shipped documents nest 5 deep.
constexpr int max_element_depth = 64;

class Dom_Element {
public:
    Dom_Element() = default;

    bool is_null() const { return node_ == nullptr; }
    explicit operator bool() const { return node_ != nullptr; }

    std::string get_tag_name() const;
    bool has_attribute(const std::string& name) const;
    std::string get_attribute(const std::string& name, const std::string& default_value = "") const;
    int get_attribute_int(const std::string& name, int default_value = 0) const;
    float get_attribute_float(const std::string& name, float default_value = 0.0f) const;
    bool get_attribute_bool(const std::string& name, bool default_value = false) const;
    // The concatenated text of the element's own text and CDATA children.
    std::string get_text() const;

    // Elements matched by an XPath expression relative to this element, in
    // document order. An expression that is not valid XPath throws.
    std::vector<Dom_Element> select_nodes(const std::string& xpath) const;
    // The first match; throws "Xpath did not match any node: <xpath>".
    Dom_Element select_node(const std::string& xpath) const;
    // Child elements, all or those with the given tag, in document order.
    std::vector<Dom_Element> children(const std::string& tag = "") const;
    Dom_Element first_child(const std::string& tag = "") const;
    Dom_Element parent() const;

    // The name of the file the document was read from.
    const std::string& document_name() const;
    // One line a loader can print: "<file>: <tag> 'name'".
    std::string describe() const;

    // For the document classes of this layer.
    struct Document;
    Dom_Element(std::shared_ptr<const Document> doc, pugi::xml_node_struct* node)
        : doc_(std::move(doc)), node_(node) {}
    // Parses `text`; throws "<name>: XML error at line L, column C (offset N): <reason>",
    // or "<name>: elements nest D deep, more than the 64 a document may" past
    // max_element_depth.
    static Dom_Element parse(const std::string& text, const std::string& name);

private:
    std::shared_ptr<const Document> doc_;
    pugi::xml_node_struct* node_ = nullptr;
};

}  // namespace sdk
