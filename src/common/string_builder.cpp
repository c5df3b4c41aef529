#include "common/string_builder.h"

namespace typrosync {

void cStringBuilder::SetChunkSize(int32_t iChunkSize) { m_iChunkSize = iChunkSize; }
std::string cStringBuilder::toString() const { return m_sBuffer.substr(0, m_iUsed); }
void cStringBuilder::TheString(const std::string& sThis) { Clear(); Append(sThis); }
void cStringBuilder::Clear() { m_sBuffer.clear(); m_iUsed = 0; m_iCapacity = 0; }
void cStringBuilder::Append(const std::string& sThis) {
  m_sBuffer.resize(m_iUsed);
  m_sBuffer += sThis;
  m_iUsed = static_cast<int32_t>(m_sBuffer.size());
  m_iCapacity = m_iUsed;
}
void cStringBuilder::AppendNL(const std::string& sThis) { Append(sThis + "\r\n"); }
void cStringBuilder::Insert(int32_t, const std::string&) {}
void cStringBuilder::Remove(int32_t, int32_t) {}
int32_t cStringBuilder::Find(const std::string&, int32_t, int32_t) const { return 0; }
void cStringBuilder::HeapMinimize() {}
void cStringBuilder::GrowTo(int64_t) {}

}  // namespace typrosync
