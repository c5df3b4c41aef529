#pragma once
// Writing elements of the delivery message. The message is plain text joined
// piece by piece: "<", the name, then per attribute a space, name="value",
// and " />" for an empty element or ">" for one with content. Values go in
// exactly as given: the callers clean free text beforehand, and no escaping
// is done, because the receiving platforms expect the bytes as written.

#include <initializer_list>
#include <string>
#include <string_view>

#include "common/string_builder.h"

namespace typrosync {

struct XmlAttribute {
  std::string_view name;
  std::string value;
};

enum class ElementEnd {
  kEmpty,  // " />"
  kOpen,   // ">"; the caller appends the content and the end tag
};

void AppendElement(cStringBuilder& sb, std::string_view name,
                   std::initializer_list<XmlAttribute> attributes, ElementEnd end);

}  // namespace typrosync
