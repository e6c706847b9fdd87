#include "app/options.h"

#include "sdk/core/string_help.h"

namespace {

sdk::Dom_Element find_option(const sdk::Resource_Document& doc, const std::string& name) {
    const sdk::Dom_Element options = doc.get_resource("options").get_element();
    for (const sdk::Dom_Element& o : options.children("option"))
        if (o.get_attribute("name") == name) return o;
    return {};
}

}  // namespace

float option_float(const sdk::Resource_Document& doc, const std::string& name) {
    sdk::Dom_Element o = find_option(doc, name);
    return o ? sdk::text_to_float(o.get_text()) : 0.0f;
}

int option_int(const sdk::Resource_Document& doc, const std::string& name) {
    sdk::Dom_Element o = find_option(doc, name);
    return o ? sdk::text_to_int(o.get_text(), 10) : 0;
}
