#include "database/name_index.h"

#include <algorithm>
#include <cctype>

namespace typrosync {

// Engine names and SQL keywords are ASCII; the C locale's toupper keeps any
// other byte as it is.
std::string UpperAscii(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

size_t NameIndex::Hash::operator()(std::string_view name) const {
  size_t hash = 1469598103934665603ull;  // FNV-1a over the folded bytes
  for (char c : name) {
    hash ^= static_cast<unsigned char>(Lower(c));
    hash *= 1099511628211ull;
  }
  return hash;
}

void NameIndex::Add(std::string_view name, int position) {
  // The first of two names that differ only in case keeps its position, as a
  // search from the first column would find it.
  positions_.emplace(std::string(name), position);
}

int NameIndex::Find(std::string_view name) const {
  const auto it = positions_.find(name);
  return it == positions_.end() ? -1 : it->second;
}

}  // namespace typrosync
