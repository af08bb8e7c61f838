#include "EffectRecord.h"

#include <utility>

namespace tesk {

bool EffectList::remove(size_t index) {
    if (index >= m_records.size()) {
        return false;
    }
    m_records.erase(m_records.begin() + static_cast<std::ptrdiff_t>(index));
    return true;
}

bool EffectList::moveUp(size_t index) {
    if (index == 0 || index >= m_records.size()) {
        return false;
    }
    std::swap(m_records[index - 1], m_records[index]);
    return true;
}

bool EffectList::moveDown(size_t index) {
    if (index >= m_records.size() || index + 1 >= m_records.size()) {
        return false;
    }
    std::swap(m_records[index], m_records[index + 1]);
    return true;
}

} // namespace tesk
