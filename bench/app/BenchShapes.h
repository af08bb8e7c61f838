#pragma once
// Shapes and effects the application benchmarks work on: the largest editable shape and
// effects of each kind with a busy picture.

#include "EffectRecord.h"
#include "MapSide.h"
#include "SPMesh.h"

#include <cmath>
#include <memory>

namespace tesk::bench {

/// Lines are circles of latitude from pole to pole.
inline void makeSphere(SPMesh& mesh, int points, int lines) {
    mesh.reset(points, lines);
    for (int i = 0; i < lines; ++i) {
        const float theta = 3.14159265f * static_cast<float>(i) / static_cast<float>(lines - 1);
        for (int j = 0; j < points; ++j) {
            const float phi = 6.2831853f * static_cast<float>(j) / static_cast<float>(points);
            mesh.setPoint(j, i,
                          {std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                           std::cos(theta)});
        }
    }
}

inline std::unique_ptr<EffectRecord> makeEffect(int type) {
    auto effect = std::make_unique<EffectRecord>();
    effect->allocate(kMapSide, kMapSide);
    for (size_t i = 0; i < effect->pixels.size(); ++i) {
        effect->pixels[i] = static_cast<uint32_t>((i * 2654435761u) >> 8) & 0xFFFFFFu;
    }
    effect->setTypeCode(type);
    return effect;
}

/// The effect kinds in the order the benchmarks add them.
inline int effectKind(int index) {
    return index == 0 ? EFFECT_NORMAL : index == 1 ? EFFECT_CENTROID : EFFECT_COMPOSITE;
}

} // namespace tesk::bench
