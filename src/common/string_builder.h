#pragma once
// cStringBuilder: a growable text buffer for assembling the delivery messages.
// The buffer grows in whole chunks (8192 by default) and its spare part is
// filled with spaces. Sizes and positions count characters, and a character
// here is one byte of the UTF-8 text. Appends are amortised O(1).

#include <cstdint>
#include <string>

namespace typrosync {

class cStringBuilder {
 public:
  static constexpr int32_t kDefaultChunkSize = 8192;

  cStringBuilder() = default;

  int32_t Length() const { return m_iUsed; }
  int32_t Capacity() const { return m_iCapacity; }
  int32_t ChunkSize() const { return m_iChunkSize; }
  // Takes effect at the next growth. A step below 1 throws error 5.
  void SetChunkSize(int32_t iChunkSize);

  // The content as a new string.
  std::string toString() const;
  // The content itself, without a copy; the builder is left empty. For a
  // message that is sent as built.
  std::string TakeString();
  // Makes room for `bytes` of content without touching it, so a builder whose
  // final size can be estimated never copies its content while growing. Pages
  // reserved but never written take no memory. Capacity() is not affected.
  void Reserve(size_t bytes);
  // Replaces the content; an empty text also releases the buffer.
  void TheString(const std::string& sThis);
  // Empties the builder and releases the buffer.
  void Clear();

  void Append(const std::string& sThis);
  void AppendByVal(std::string sThis) { Append(sThis); }
  // Appends `sThis` and CR LF.
  void AppendNL(const std::string& sThis);

  // Inserts before the zero-based position; error 9 unless 0 <= iIndex <= Length.
  void Insert(int32_t iIndex, const std::string& sThis);
  void InsertByVal(int32_t iIndex, std::string sThis) { Insert(iIndex, sThis); }
  // Removes lLen characters at the zero-based position; error 9 when the
  // range is not inside the content.
  void Remove(int32_t iIndex, int32_t lLen);

  // One-based position of sToFind at or after lStartIndex (compare 0 exact,
  // 1 ignoring case), searched in the whole buffer; 0 when not found or when
  // the position is not below Length.
  int32_t Find(const std::string& sToFind, int32_t lStartIndex = 0, int32_t compare = 0) const;

  // Gives back spare capacity in whole chunks, leaving at most one chunk spare.
  void HeapMinimize();

 private:
  void GrowTo(int64_t needed);

  std::string m_sBuffer;
  int32_t m_iChunkSize = kDefaultChunkSize;
  int32_t m_iUsed = 0;
  int32_t m_iCapacity = 0;
};

}  // namespace typrosync
