#pragma once
// The preview side of the document: keeps the scene's preview mesh and point markers in step
// with the document, and holds the preview's cameras.

#include "DocumentListener.h"
#include "GLCamera.h"

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

    std::array<GLCamera, 3> cameras;
    int previewObjectId = -1;
    int markerObjectId = -1;

private:
    Ctesk001Doc& m_doc;
    GLScene& m_scene;
};

} // namespace tesk
