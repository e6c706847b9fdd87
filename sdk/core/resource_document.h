// A resource document: an XML file whose root <resources> holds named
// resources. Each resource is an element with a "name" attribute; its tag is
// its type ("sprite", "image", "font", "sample", "level", ...). Resources may
// sit inside <section name="..."> elements, which prefix their id with
// "section/". File names inside a resource ("file" attributes) are relative
// to the document's folder within its file system; `resolve_path` turns them
// into names the file system opens.
//
//   <resources>
//     <sprite name="bullets"> ... </sprite>
//     <section name="stage"><level name="testlevel"> ... </level></section>
//   </resources>
//
// The document is a shared handle; copies name the same parsed document.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sdk/core/dom.h"
#include "sdk/core/file_system.h"

namespace sdk {

class Resource_Document;

struct Resource_Node {
    std::string type;  // the element's tag
    std::string id;    // section path and name, "stage/testlevel"
    Dom_Element element;
    // The element, for code written as node.get_element().
    const Dom_Element& get_element() const { return element; }
};

class Resource_Document {
public:
    Resource_Document() = default;
    // Reads and parses `file_name` from `fs`. Throws naming the file when it
    // is missing, is not XML, or has no <resources> root.
    Resource_Document(File_System fs, const std::string& file_name);
    // Parses a document held in memory; `name` is used in messages and
    // relative paths resolve against an empty folder of `fs`.
    static Resource_Document from_text(const std::string& text, const std::string& name,
                                       File_System fs = {});

    bool is_null() const { return !impl_; }
    // Throws "Resource not found: <id>" (with the document's name) when absent.
    const Resource_Node& get_resource(const std::string& id) const;
    bool resource_exists(const std::string& id) const;
    // Ids of every resource of the type, in document order.
    std::vector<std::string> get_resource_names_of_type(const std::string& type) const;
    // Every id, in document order.
    std::vector<std::string> get_resource_names() const;

    const std::string& get_name() const;
    File_System get_file_system() const;
    // A file name relative to the document's folder, as the file system names it.
    std::string resolve_path(const std::string& relative) const;

    struct Impl;

private:
    std::shared_ptr<const Impl> impl_;
};

// Documents by the name the program loads them under ("sprites.xml", ...).
// The resource manager of the program: what `get_doc` answers for a name.
class Resource_Manager {
public:
    Resource_Manager() = default;
    explicit Resource_Manager(Resource_Document doc) : doc_(std::move(doc)) {}
    const Resource_Document& get_doc() const { return doc_; }
    bool is_null() const { return doc_.is_null(); }

private:
    Resource_Document doc_;
};

}  // namespace sdk
