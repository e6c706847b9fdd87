#include "sdk/core/dom.h"

#include <pugixml.hpp>

#include <algorithm>

#include "sdk/core/exception.h"
#include "sdk/core/string_help.h"

namespace sdk {

struct Dom_Element::Document {
    pugi::xml_document xml;
    std::string name;
};

namespace {
pugi::xml_node node_of(pugi::xml_node_struct* n) { return pugi::xml_node(n); }

// How deep the elements below `root` nest, `root` being 1. It walks the tree
// in document order by the nodes' own links, so it keeps nothing per level.
int element_depth(pugi::xml_node root) {
    int depth = 1, deepest = 1;
    pugi::xml_node n = root;
    for (;;) {
        pugi::xml_node child =
            n.find_child([](pugi::xml_node c) { return c.type() == pugi::node_element; });
        if (child) {
            n = child;
            deepest = std::max(deepest, ++depth);
            continue;
        }
        // Up until a later sibling element is found, or the walk is back at the root.
        for (;;) {
            if (n == root) return deepest;
            pugi::xml_node next = n.next_sibling();
            while (next && next.type() != pugi::node_element) next = next.next_sibling();
            if (next) {
                n = next;
                break;
            }
            n = n.parent();
            --depth;
        }
    }
}

}  // namespace

Dom_Element Dom_Element::parse(const std::string& text, const std::string& name) {
    auto doc = std::make_shared<Document>();
    doc->name = name;
    pugi::xml_parse_result r = doc->xml.load_buffer(text.data(), text.size());
    if (!r) {
        // Line and column count from 1, as editors show them.
        size_t line = 1, column = 1;
        for (ptrdiff_t i = 0; i < r.offset && i < static_cast<ptrdiff_t>(text.size()); ++i) {
            if (text[i] == '\n') {
                ++line;
                column = 1;
            } else {
                ++column;
            }
        }
        throw Exception(name + ": XML error at line " + std::to_string(line) + ", column " +
                        std::to_string(column) + " (offset " + std::to_string(r.offset) +
                        "): " + r.description());
    }
    pugi::xml_node root = doc->xml.document_element();
    if (!root) throw Exception(name + ": the document has no root element");
    int depth = element_depth(root);
    if (depth > max_element_depth)
        throw Exception(name + ": elements nest " + std::to_string(depth) +
                        " deep, more than the " + std::to_string(max_element_depth) +
                        " a document may");
    return Dom_Element(doc, root.internal_object());
}

std::string Dom_Element::get_tag_name() const { return node_ ? node_of(node_).name() : ""; }

bool Dom_Element::has_attribute(const std::string& name) const {
    return node_ && node_of(node_).attribute(name.c_str());
}

std::string Dom_Element::get_attribute(const std::string& name, const std::string& default_value) const {
    if (!node_) return default_value;
    pugi::xml_attribute a = node_of(node_).attribute(name.c_str());
    return a ? std::string(a.value()) : default_value;
}

int Dom_Element::get_attribute_int(const std::string& name, int default_value) const {
    return has_attribute(name) ? text_to_int(get_attribute(name)) : default_value;
}

float Dom_Element::get_attribute_float(const std::string& name, float default_value) const {
    return has_attribute(name) ? text_to_float(get_attribute(name)) : default_value;
}

bool Dom_Element::get_attribute_bool(const std::string& name, bool default_value) const {
    if (!has_attribute(name)) return default_value;
    std::string v = trim(get_attribute(name));
    return v == "true" || v == "yes" || v == "1";
}

std::string Dom_Element::get_text() const {
    if (!node_) return "";
    std::string out;
    for (pugi::xml_node c : node_of(node_).children())
        if (c.type() == pugi::node_pcdata || c.type() == pugi::node_cdata) out += c.value();
    return out;
}

std::vector<Dom_Element> Dom_Element::select_nodes(const std::string& xpath) const {
    std::vector<Dom_Element> out;
    if (!node_) return out;
    try {
        for (const pugi::xpath_node& x : node_of(node_).select_nodes(xpath.c_str()))
            if (x.node() && x.node().type() == pugi::node_element)
                out.emplace_back(doc_, x.node().internal_object());
    } catch (const pugi::xpath_exception& e) {
        throw Exception(document_name() + ": bad XPath '" + xpath + "': " + e.what());
    }
    return out;
}

Dom_Element Dom_Element::select_node(const std::string& xpath) const {
    auto nodes = select_nodes(xpath);
    if (nodes.empty()) throw Exception("Xpath did not match any node: " + xpath);
    return nodes.front();
}

std::vector<Dom_Element> Dom_Element::children(const std::string& tag) const {
    std::vector<Dom_Element> out;
    if (!node_) return out;
    for (pugi::xml_node c : node_of(node_).children())
        if (c.type() == pugi::node_element && (tag.empty() || tag == c.name()))
            out.emplace_back(doc_, c.internal_object());
    return out;
}

Dom_Element Dom_Element::first_child(const std::string& tag) const {
    if (!node_) return {};
    for (pugi::xml_node c : node_of(node_).children())
        if (c.type() == pugi::node_element && (tag.empty() || tag == c.name()))
            return Dom_Element(doc_, c.internal_object());
    return {};
}

Dom_Element Dom_Element::parent() const {
    if (!node_) return {};
    pugi::xml_node p = node_of(node_).parent();
    if (!p || p.type() != pugi::node_element) return {};
    return Dom_Element(doc_, p.internal_object());
}

const std::string& Dom_Element::document_name() const {
    static const std::string none = "(no document)";
    return doc_ ? doc_->name : none;
}

std::string Dom_Element::describe() const {
    std::string s = document_name() + ": <" + get_tag_name() + ">";
    if (has_attribute("name")) s += " '" + get_attribute("name") + "'";
    return s;
}

}  // namespace sdk
