#pragma once
// WorkList: an ordered list of texts with a case-insensitive hash index, the
// stand-in for a hidden list box used as a set. Lookups are exact matches
// that ignore letter case, in O(1); entries keep their order and index.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace typrosync {

class WorkList {
 public:
  void Add(std::string entry);
  void Clear();
  // Index of the first entry equal to `text` regardless of case, or -1.
  long Find(std::string_view text) const;
  bool Contains(std::string_view text) const { return Find(text) != -1; }

  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  // Error 9 outside 0..size()-1.
  const std::string& at(long index) const;
  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
  std::unordered_map<std::string, long> first_index_;  // folded text -> first index
};

// Folds ASCII letters to lower case; other bytes stay (UTF-8 safe).
std::string FoldCase(std::string_view text);

}  // namespace typrosync
