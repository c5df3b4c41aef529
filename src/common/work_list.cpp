#include "common/work_list.h"

#include "common/vb_error.h"

namespace typrosync {

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

void WorkList::Add(std::string entry) {
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
