#pragma once
// One sculpt effect: a 64 x 64 picture with a type and four strengths, and the ordered list
// of them that the shape owns and the effect stage applies.

#include "ImageBuffer.h"

#include <memory>
#include <vector>

namespace tesk {

enum EffectType : int {
    EFFECT_COMPOSITE = 1, ///< sculpt composite
    EFFECT_NORMAL = 4,    ///< normal direction
    EFFECT_CENTROID = 8,  ///< centroid direction
};

/// The strengths a newly added effect starts with: overall, then each of R, G and B.
inline constexpr float kNewEffectStrength = 10.0f;
inline constexpr float kNewEffectChannelStrength = 100.0f;
/// Every strength is a percentage in this range.
inline constexpr int kMinEffectStrength = -100;
inline constexpr int kMaxEffectStrength = 100;

class EffectRecord : public ImageBuffer {
public:
    /// Type code from bits 8-14 of typeWord.
    int typeCode() const { return (typeWord >> 8) & 0x7F; }
    /// Bit 15 of typeWord: a type has been set; the effect stage skips records without it.
    bool typeSet() const { return (typeWord & 0x8000) != 0; }
    /// Bits 8-15 := (t & 0x7F) | 0x80; the other bits stay.
    void setTypeCode(int t) {
        typeWord = static_cast<int32_t>((static_cast<uint32_t>(typeWord) & ~0xFF00u) |
                                        (((static_cast<uint32_t>(t) & 0x7Fu) | 0x80u) << 8));
    }

    int32_t enabled = 1;
    float strength = kNewEffectStrength;
    float strengthR = kNewEffectChannelStrength;
    float strengthG = kNewEffectChannelStrength;
    float strengthB = kNewEffectChannelStrength;
};

/// The shape's ordered, owning list of effects; the order is the order of application.
class EffectList {
public:
    size_t size() const { return m_records.size(); }
    bool empty() const { return m_records.empty(); }
    /// Null when out of range.
    EffectRecord* at(size_t index) const {
        return index < m_records.size() ? m_records[index].get() : nullptr;
    }
    void append(std::unique_ptr<EffectRecord> record) { m_records.push_back(std::move(record)); }
    /// Destroys the record; false when out of range.
    bool remove(size_t index);
    /// Swaps with the previous record; false for index 0 or out of range.
    bool moveUp(size_t index);
    /// Swaps with the next record; false for the last record or out of range.
    bool moveDown(size_t index);

    auto begin() const { return m_records.begin(); }
    auto end() const { return m_records.end(); }

private:
    std::vector<std::unique_ptr<EffectRecord>> m_records;
};

} // namespace tesk
