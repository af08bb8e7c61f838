#pragma once
// Shapes and effects the application benchmarks work on: the largest editable shape and
// effects of each kind with a busy picture.

#include "Ctesk001Doc.h"
#include "EffectRecord.h"
#include "MapSide.h"
#include "ProjectFile.h"
#include "SPMesh.h"

#include <cmath>
#include <memory>
#include <vector>

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

/// Loads the largest editable shape (17 lines of 16 points) as a project, with a type and
/// 0 to 3 effects.
inline void loadLargestShape(Ctesk001Doc& doc, int32_t type, int64_t effects) {
    SPMesh shape;
    makeSphere(shape, 16, 17);
    std::vector<uint8_t> image;
    saveProjectImage(shape, image);
    doc.loadProject("bench.tsk", &image);
    doc.setType(type);
    for (int e = 0; e < effects; ++e) {
        doc.addEffect(makeEffect(effectKind(e)));
    }
}

} // namespace tesk::bench
