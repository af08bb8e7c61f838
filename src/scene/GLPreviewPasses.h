#pragma once
// The two passes of the 3-D preview over a scene: the visible image and the pick image whose
// pixels name the object and triangle under them. The caller makes a GL context current.

#include "GLCamera.h"
#include "GLScene.h"
#include "Lasso.h"
#include "PickImage.h"

#include <cstdint>
#include <vector>

namespace tesk {

struct PreviewSettings {
    int drawMode = GLMesh::DRAW_TRIANGLES; ///< or GLMesh::DRAW_LINE_STRIP for wireframe
    bool markersHiddenByMesh = false;      ///< false: markers show through the mesh
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
/// Draws the pick pass and reads it back whole, waiting for the drawing to finish; an empty
/// view gives an empty image.
void renderPickImage(GLScene& scene, const GLCamera& camera, int width, int height,
                     const PreviewSettings& settings, PickImage& image);
/// The lasso over the finished picture of a width x height view, from two points on: a dark
/// green cross-hatched polygon with its outline.
void drawLasso(const Lasso& lasso, int width, int height);

} // namespace tesk
