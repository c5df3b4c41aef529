#include "message/message_xml.h"

namespace typrosync {

void AppendElement(cStringBuilder& sb, std::string_view name,
                   std::initializer_list<XmlAttribute> attributes, ElementEnd end) {
  std::string text;
  text.reserve(64 * (attributes.size() + 1));
  text += '<';
  text += name;
  for (const XmlAttribute& attribute : attributes) {
    text += ' ';
    text += attribute.name;
    text += "=\"";
    text += attribute.value;
    text += '"';
  }
  text += end == ElementEnd::kEmpty ? " />" : ">";
  sb.Append(text);
}

}  // namespace typrosync
