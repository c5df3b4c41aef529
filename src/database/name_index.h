#pragma once
// Positions by name, where names match without regard to (ASCII) letter
// case, as field, index and table names do in the administration.

#include <string>
#include <string_view>
#include <unordered_map>

namespace typrosync {

bool EqualsIgnoringCase(std::string_view a, std::string_view b);

// `text` with its ASCII letters in upper case, as names are compared.
std::string UpperAscii(std::string text);

class NameIndex {
 public:
  // Keeps the first position given for a name.
  void Add(std::string_view name, int position);
  // The position of name, or -1. Does not allocate.
  int Find(std::string_view name) const;

 private:
  struct Hash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const;
  };
  struct Equal {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
      return EqualsIgnoringCase(a, b);
    }
  };
  std::unordered_map<std::string, int, Hash, Equal> positions_;
};

}  // namespace typrosync
