#include "message/message_xml.h"

namespace typrosync {

void AppendElement(cStringBuilder& sb, std::string_view name,
                   std::initializer_list<XmlAttribute> attributes, ElementEinde einde) {
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
  text += einde == ElementEinde::kLeeg ? " />" : ">";
  sb.Append(text);
}

}  // namespace typrosync
