#pragma once
// The preview side of the document: keeps the scene's preview mesh and point markers in step
// with the document, and holds the preview's cameras and the level of detail it shows.

#include "DocumentListener.h"
#include "GLCamera.h"
#include "SculptMapCheck.h"

#include <array>

namespace tesk {

class Ctesk001Doc;
class GLScene;

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

    std::array<GLCamera, 3> cameras;
    int previewObjectId = -1;
    int markerObjectId = -1;

private:
    void buildPreviewMesh();

    Ctesk001Doc& m_doc;
    GLScene& m_scene;
    int m_lodLevel = 0;
    SculptMapCheck m_check;
    bool m_checkCurrent = false;
};

} // namespace tesk
