// The tuning options of "mirel.xml": the resource "options" holds children
// <option name="...">value</option>. The first child of the name wins; an
// absent option, or a value that is not a number, reads as 0. A document
// without the resource "options" throws the platform's "Resource not found".
#pragma once

#include <string>

#include "sdk/core/resource_document.h"

float option_float(const sdk::Resource_Document& doc, const std::string& name);
int option_int(const sdk::Resource_Document& doc, const std::string& name);
