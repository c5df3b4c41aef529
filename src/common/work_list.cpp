#include "common/work_list.h"

#include "common/vb_error.h"

namespace typrosync {

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    // ASCII only: the keys are voucher and order numbers, and a locale-aware
    // fold would make the same list answer differently on another machine.
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

void WorkList::Add(std::string entry) {
  // Duplicates are kept in the list but only the first is found, as a linear
  // search from the start would find it; the index makes that search constant.
  first_index_.try_emplace(FoldCase(entry), static_cast<long>(entries_.size()));
  entries_.push_back(std::move(entry));
}

void WorkList::Clear() {
  entries_.clear();
  first_index_.clear();
}

long WorkList::Find(std::string_view text) const {
  const auto it = first_index_.find(FoldCase(text));
  return it == first_index_.end() ? -1 : it->second;
}

const std::string& WorkList::at(long index) const {
  if (index < 0 || static_cast<size_t>(index) >= entries_.size()) {
    throw VbError::SubscriptOutOfRange();
  }
  return entries_[static_cast<size_t>(index)];
}

}  // namespace typrosync
