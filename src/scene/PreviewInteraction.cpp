#include "PreviewInteraction.h"

#include "Ctesk001Doc.h"
#include "DocumentPreview.h"
#include "GLScene.h"

#include <utility>

namespace tesk {

PreviewInteraction::PreviewInteraction(Ctesk001Doc& doc, DocumentPreview& preview)
    : m_doc(doc), m_preview(preview) {}

GLCamera& PreviewInteraction::camera() {
    return m_preview.cameras[0];
}

void PreviewInteraction::setViewSize(int width, int height) {
    m_width = width;
    m_height = height;
}

bool PreviewInteraction::press(int x, int y) {
    // A second press cannot come while the button is held; one after a lost release would
    // find a stale pick image.
    if (m_gesture != Gesture::None) {
        return false;
    }
    m_down = {x, y};
    const PickHit hit = m_pickImage.at(x, y);
    m_pickId = hit.objectNumber;
    m_pickElement = hit.element;
    GLScene& scene = m_preview.scene();
    GLMesh* object = m_pickId > 0 ? scene.objectAt(m_pickId - 1) : nullptr;
    if (object == nullptr) {
        m_gesture = Gesture::CameraDrag;
        return false;
    }
    if (object->kind == KIND_MESH) {
        // The next press reads a new pick image anyway: keep this one without a copy.
        std::swap(m_idBuffer, m_pickImage);
        m_pickImage.clear();
        m_lasso.clear();
        m_gesture = Gesture::Lasso;
        scene.selectObjectAt(m_pickId - 1);
        return true;
    }
    const int trianglesPerMarker = object->indicesPerMarker / 3;
    if (object->kind == KIND_POINTS && trianglesPerMarker > 0) {
        const auto cell = static_cast<uint32_t>(m_pickElement / trianglesPerMarker);
        if (cell < m_doc.handleCount()) {
            m_doc.toggleSelected({&cell, 1});
            return true;
        }
    }
    return false;
}

bool PreviewInteraction::move(int x, int y) {
    switch (m_gesture) {
    case Gesture::CameraDrag:
        camera().dragBy(m_down.x - x, m_down.y - y, m_width, m_height);
        return true;
    case Gesture::Lasso:
        return m_lasso.add({x, y});
    case Gesture::None:
        break;
    }
    return false;
}

bool PreviewInteraction::release(int x, int y) {
    switch (m_gesture) {
    case Gesture::CameraDrag:
        camera().finishDrag(m_down.x - x, m_down.y - y, m_width, m_height);
        break;
    case Gesture::Lasso:
        applyLasso();
        m_lasso.clear();
        break;
    case Gesture::None:
        return false;
    }
    m_gesture = Gesture::None;
    forgetPick();
    return true;
}

void PreviewInteraction::applyLasso() {
    GLScene& scene = m_preview.scene();
    for (int i = 0; i < scene.objectCount(); ++i) {
        const GLMesh& object = *scene.objectAt(i);
        if (object.kind != KIND_POINTS) {
            continue;
        }
        const std::vector<uint32_t> cells =
            m_lasso.caughtCells(m_idBuffer, i + 1, object.indicesPerMarker, m_doc.handleCount());
        if (!cells.empty()) {
            m_doc.toggleSelected(cells);
        }
        return;
    }
}

bool PreviewInteraction::wheel(int delta) {
    camera().zoom(delta);
    return true;
}

void PreviewInteraction::clearSelection() {
    std::vector<uint32_t> flags(m_doc.handles().begin(), m_doc.handles().end());
    for (uint32_t& f : flags) {
        f &= ~CELL_SELECTED;
    }
    m_doc.setHandles(flags);
}

void PreviewInteraction::forgetPick() {
    m_pickId = -1;
    m_pickElement = -1;
}

} // namespace tesk
