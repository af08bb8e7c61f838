#pragma once
// The two passes of the 3-D preview over a scene: the visible image and the pick image whose
// pixels name the object and triangle under them. The caller makes a GL context current.

#include "GLCamera.h"
#include "GLScene.h"

#include <cstdint>
#include <vector>

namespace tesk {

struct PreviewSettings {
    int drawMode = GLMesh::DRAW_TRIANGLES; ///< or GLMesh::DRAW_LINE_STRIP for wireframe
    bool markersHiddenByMesh = false;      ///< false: markers show through the mesh
};

/// What a pick pixel names: a 1-based object number and a triangle index, or -1 for both.
struct PickHit {
    int objectNumber = -1;
    int element = -1;
};

/// Lit meshes, the axes, then the markers placed at the selected mesh's anchor point.
void drawVisiblePass(GLScene& scene, const GLCamera& camera, int width, int height,
                     const PreviewSettings& settings);
/// The same objects in pick colours on a zero background, unlit and undithered.
void drawPickPass(GLScene& scene, const GLCamera& camera, int width, int height,
                  const PreviewSettings& settings);
/// Reads the current framebuffer as width x height pixels, bottom row first, red in the low
/// byte of each word.
void readPickImage(int width, int height, std::vector<uint32_t>& pixels);

/// Decodes one pick pixel; the background (and any alpha) names nothing.
PickHit decodePickPixel(uint32_t pixel);
/// The hit under client point (x, y), y downward, in an image from readPickImage.
PickHit pickAt(const std::vector<uint32_t>& image, int width, int height, int x, int y);

} // namespace tesk
