#include "archivers/ArchiveFiles.h"

#include <algorithm>
#include <cstring>

namespace tc::archivers {

long long MemorySource::Read(void* buffer, std::size_t size) {
    const std::size_t count = std::min(size, m_bytes.size() - m_pos);
    if (count) std::memcpy(buffer, m_bytes.data() + m_pos, count);
    m_pos += count;
    return static_cast<long long>(count);
}

long long MemorySource::Seek(long long offset, int whence) {
    const long long base = whence == 0 ? 0 : whence == 1 ? static_cast<long long>(m_pos) : Size();
    const long long target = base + offset;
    if (target < 0 || target > Size()) return -1;
    m_pos = static_cast<std::size_t>(target);
    return target;
}

}  // namespace tc::archivers
