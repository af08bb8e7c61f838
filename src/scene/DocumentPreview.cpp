#include "DocumentPreview.h"

#include "Ctesk001Doc.h"
#include "GLScene.h"

namespace tesk {

DocumentPreview::DocumentPreview(Ctesk001Doc& doc, GLScene& scene) : m_doc(doc), m_scene(scene) {
    m_doc.addListener(this, ListenerRank::Scene);
}

DocumentPreview::~DocumentPreview() {
    m_doc.removeListener(this);
}

void DocumentPreview::shapeRebuilt() {
    m_checkCurrent = false;
    buildPreviewMesh();
}

void DocumentPreview::setLodLevel(int level) {
    if (level < 0 || level >= static_cast<int>(kLodLevels.size()) || level == m_lodLevel) {
        return;
    }
    m_lodLevel = level;
    if (previewObjectId != -1) {
        buildPreviewMesh();
    }
}

const SculptMapCheck& DocumentPreview::mapCheck() {
    if (!m_checkCurrent && m_doc.hasSculptMap()) {
        m_check =
            checkSculptMap(pictureOfMap(m_doc.mesh().map), previewStitch(m_doc.selectedType()));
        m_checkCurrent = true;
    }
    return m_check;
}

void DocumentPreview::showTexture(PreviewTextureKind kind) {
    if (kind == m_texture || (kind == PreviewTextureKind::Picture && !m_picture.hasPixels())) {
        return;
    }
    if (kind == PreviewTextureKind::Checker && !m_checker.hasPixels()) {
        makeCheckerPicture(m_checker);
    }
    m_texture = kind;
    // Only the texture changes: the mesh keeps its place in the scene and so its pick number.
    if (GLMesh* preview = m_scene.findObject(previewObjectId)) {
        dressPreviewMesh(*preview);
    }
}

bool DocumentPreview::choosePicture(const std::string& path, Messages& messages) {
    ImageBuffer loaded;
    if (loadTexturePicture(loaded, path, messages) != 1 || !loaded.hasWholePicture()) {
        return false;
    }
    m_picture.setFrom(loaded.pixels.data(), loaded.width, loaded.height);
    m_picture.filePath = loaded.filePath;
    m_texture = PreviewTextureKind::None; // shown afresh below
    showTexture(PreviewTextureKind::Picture);
    return true;
}

void DocumentPreview::dressPreviewMesh(GLMesh& preview) {
    // The mesh's removal takes its texture image along, so each mesh gets its own copy.
    const int old = preview.textureImageId;
    preview.textureImageId = -1;
    m_scene.removeImage(old);
    const ImageBuffer& texture = m_texture == PreviewTextureKind::Picture ? m_picture : m_checker;
    if (m_texture != PreviewTextureKind::None && texture.hasWholePicture()) {
        preview.textureImageId = m_scene.createImage();
        m_scene.findImage(preview.textureImageId)
            ->setFrom(texture.pixels.data(), texture.width, texture.height);
    }
}

void DocumentPreview::buildPreviewMesh() {
    const SPMesh& mesh = m_doc.mesh();
    if (previewObjectId != -1) {
        m_scene.removeObject(previewObjectId);
        previewObjectId = -1;
    }
    const int imageId = m_scene.createImage();
    ImageBuffer* image = m_scene.findImage(imageId);
    image->setFrom(mesh.map.data(), mesh.mapWidth, mesh.mapHeight);

    previewObjectId = m_scene.createMesh();
    GLMesh* preview = m_scene.findObject(previewObjectId);
    preview->stitchType = previewStitch(m_doc.selectedType());
    // The mesh decoder samples n vertices a side exactly as viewers sample faces + 1.
    const int faces = kLodLevels[static_cast<size_t>(m_lodLevel)].faces;
    preview->BuildFromSculptMap(*image, faces == 0 ? kMapSide : faces + 1);
    preview->selection = GLMesh::SELECTED;
    dressPreviewMesh(*preview);
    preview->scale = mesh.halfExtent;
}

void DocumentPreview::markersChanged() {
    if (markerObjectId != -1) {
        m_scene.removeObject(markerObjectId);
    }
    markerObjectId = m_scene.createMesh();
    GLMesh* markers = m_scene.findObject(markerObjectId);
    markers->scale = m_doc.mesh().halfExtent;
    markers->BuildPointMarkers(m_doc.markerPoints(), m_doc.markerFlags());
}

} // namespace tesk
