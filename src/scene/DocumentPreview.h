#pragma once
// The preview side of the document: keeps the scene's preview mesh and point markers in step
// with the document, and holds the preview's cameras and the level of detail it shows.

#include "DocumentListener.h"
#include "GLCamera.h"
#include "PreviewTexture.h"
#include "SculptMapCheck.h"

#include <array>
#include <string>

namespace tesk {

class Ctesk001Doc;
class GLMesh;
class GLScene;
class Messages;

/// What the preview mesh shows on its surface; None is the designed grey shading.
enum class PreviewTextureKind { None, Checker, Picture };

class DocumentPreview : public DocumentListener {
public:
    /// Listens to the document ahead of every view, so the views repaint new objects.
    DocumentPreview(Ctesk001Doc& doc, GLScene& scene);
    ~DocumentPreview() override;
    DocumentPreview(const DocumentPreview&) = delete;
    DocumentPreview& operator=(const DocumentPreview&) = delete;

    GLScene& scene() { return m_scene; }

    void shapeRebuilt() override;
    void markersChanged() override;

    /// The shown level, an index into kLodLevels: 0 is the map as built, 1 … 4 the mesh that
    /// viewers build at 32, 16, 8 and 6 faces. A new level rebuilds the preview mesh; an index
    /// out of range is ignored.
    void setLodLevel(int level);
    int lodLevel() const { return m_lodLevel; }
    /// What viewers will make of the current map, worked out on the first call after each
    /// rebuild (it takes longer than the rebuild itself). No findings before the first map.
    const SculptMapCheck& mapCheck();

    /// Lays the checker or the chosen picture on the preview mesh, or takes it off; it stays
    /// through every rebuild and level. Picture without a chosen picture is ignored.
    void showTexture(PreviewTextureKind kind);
    PreviewTextureKind texture() const { return m_texture; }
    /// Loads a picture file and shows it; it is kept for the rest of the session, also while
    /// the texture is off. On failure (the user is told) the shown texture stays as it was.
    bool choosePicture(const std::string& path, Messages& messages);
    /// The chosen picture's file, empty before one was chosen.
    const std::string& picturePath() const { return m_picture.filePath; }

    std::array<GLCamera, 3> cameras;
    int previewObjectId = -1;
    int markerObjectId = -1;

private:
    void buildPreviewMesh();
    /// Gives the mesh a copy of the shown texture, or none.
    void dressPreviewMesh(GLMesh& preview);

    Ctesk001Doc& m_doc;
    GLScene& m_scene;
    int m_lodLevel = 0;
    SculptMapCheck m_check;
    bool m_checkCurrent = false;
    PreviewTextureKind m_texture = PreviewTextureKind::None;
    ImageBuffer m_checker; ///< made when first shown
    ImageBuffer m_picture;
};

} // namespace tesk
