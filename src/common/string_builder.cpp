#include "common/string_builder.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "common/vb_error.h"

namespace typrosync {

namespace {

// Positions and lengths are 32-bit to the callers, so the content is too.
constexpr int64_t kMaxSize = std::numeric_limits<int32_t>::max();

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

// Zero-based position of `needle` in `haystack` at or after `start`.
size_t Search(std::string_view haystack, std::string_view needle, size_t start, bool ignore_case) {
  // Only ASCII letters fold, so a search never depends on the process locale.
  if (!ignore_case) return haystack.find(needle, start);
  if (needle.size() > haystack.size()) return std::string_view::npos;
  for (size_t i = start; i + needle.size() <= haystack.size(); ++i) {
    if (EqualIgnoringCase(haystack.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

int32_t CheckedSize(int64_t size) {
  if (size > kMaxSize) throw VbError::Overflow();
  return static_cast<int32_t>(size);
}

}  // namespace

void cStringBuilder::SetChunkSize(int32_t iChunkSize) {
  if (iChunkSize < 1) throw VbError(5, "Ongeldige procedureaanroep of ongeldig argument");
  m_iChunkSize = iChunkSize;
}

std::string cStringBuilder::toString() const { return m_sBuffer.substr(0, m_iUsed); }

std::string cStringBuilder::TakeString() {
  m_sBuffer.resize(static_cast<size_t>(m_iUsed));  // shrinking keeps the storage
  std::string content = std::move(m_sBuffer);
  Clear();
  return content;
}

void cStringBuilder::Reserve(size_t bytes) {
  if (bytes > m_sBuffer.capacity()) m_sBuffer.reserve(bytes);
}

void cStringBuilder::TheString(const std::string& sThis) {
  if (sThis.empty()) {
    Clear();
    return;
  }
  const int32_t length = CheckedSize(static_cast<int64_t>(sThis.size()));
  GrowTo(length);
  m_sBuffer.replace(0, sThis.size(), sThis);
  // What is left of a longer old content becomes spare spaces.
  if (m_iUsed > length) m_sBuffer.replace(length, m_iUsed - length, m_iUsed - length, ' ');
  m_iUsed = length;
}

void cStringBuilder::Clear() {
  m_sBuffer = std::string();
  m_iUsed = 0;
  m_iCapacity = 0;
}

void cStringBuilder::Append(const std::string& sThis) {
  if (sThis.empty()) return;
  const int32_t needed = CheckedSize(static_cast<int64_t>(m_iUsed) + sThis.size());
  GrowTo(needed);
  std::memcpy(m_sBuffer.data() + m_iUsed, sThis.data(), sThis.size());
  m_iUsed = needed;
}

// CR LF on every platform, so a message is the same bytes wherever it is built.
void cStringBuilder::AppendNL(const std::string& sThis) {
  Append(sThis);
  Append("\r\n");
}

void cStringBuilder::Insert(int32_t iIndex, const std::string& sThis) {
  if (iIndex < 0 || iIndex > m_iUsed) throw VbError::SubscriptOutOfRange();
  if (sThis.empty()) return;
  const int32_t needed = CheckedSize(static_cast<int64_t>(m_iUsed) + sThis.size());
  GrowTo(needed);
  char* data = m_sBuffer.data();
  std::memmove(data + iIndex + sThis.size(), data + iIndex, static_cast<size_t>(m_iUsed - iIndex));
  std::memcpy(data + iIndex, sThis.data(), sThis.size());
  m_iUsed = needed;
}

void cStringBuilder::Remove(int32_t iIndex, int32_t lLen) {
  if (iIndex < 0 || lLen < 0 || static_cast<int64_t>(iIndex) + lLen > m_iUsed) {
    throw VbError::SubscriptOutOfRange();
  }
  char* data = m_sBuffer.data();
  std::memmove(data + iIndex, data + iIndex + lLen, static_cast<size_t>(m_iUsed - iIndex - lLen));
  // The freed tail belongs to the spare capacity again, which holds spaces.
  std::memset(data + m_iUsed - lLen, ' ', static_cast<size_t>(lLen));
  m_iUsed -= lLen;
}

int32_t cStringBuilder::Find(const std::string& sToFind, int32_t lStartIndex,
                             int32_t compare) const {
  // Positions count from 1; 0 or less searches from the start.
  const size_t start = lStartIndex >= 1 ? static_cast<size_t>(lStartIndex - 1) : 0;
  if (start > m_sBuffer.size()) return 0;
  // The search covers the whole buffer, spare spaces included.
  const size_t found = Search(m_sBuffer, sToFind, start, compare == 1);
  if (found == std::string::npos) return 0;
  const auto position = static_cast<int64_t>(found) + 1;
  return position < m_iUsed ? static_cast<int32_t>(position) : 0;
}

void cStringBuilder::HeapMinimize() {
  if (m_iCapacity - m_iUsed <= m_iChunkSize) return;
  const int64_t spare = m_iCapacity - m_iUsed;
  const int64_t chunks = (spare - m_iChunkSize + m_iChunkSize - 1) / m_iChunkSize;
  m_iCapacity = static_cast<int32_t>(m_iCapacity - chunks * m_iChunkSize);
  m_sBuffer.resize(static_cast<size_t>(m_iCapacity));
  m_sBuffer.shrink_to_fit();
}

void cStringBuilder::GrowTo(int64_t needed) {
  if (needed <= m_iCapacity) return;
  const int64_t chunks = (needed - m_iCapacity + m_iChunkSize - 1) / m_iChunkSize;
  m_iCapacity = CheckedSize(m_iCapacity + chunks * m_iChunkSize);
  // Storage grows geometrically underneath, so appends stay amortised O(1)
  // even though the reported capacity grows one chunk at a time.
  if (m_sBuffer.capacity() < static_cast<size_t>(m_iCapacity)) {
    m_sBuffer.reserve(std::max(static_cast<size_t>(m_iCapacity), 2 * m_sBuffer.capacity()));
  }
  m_sBuffer.resize(static_cast<size_t>(m_iCapacity), ' ');
}

}  // namespace typrosync
