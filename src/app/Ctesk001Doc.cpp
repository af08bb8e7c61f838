#include "Ctesk001Doc.h"

#include "EffectStage.h"
#include "GLScene.h"
#include "ProjectFile.h"

#include <algorithm>

namespace tesk {

std::string captionFor(const std::string& name) {
    return kCaptionPrefix + name + kCaptionSuffix;
}

Ctesk001Doc::Ctesk001Doc(Messages& messages, GLScene& scene, std::string dir)
    : programDir(std::move(dir)), m_messages(messages), m_scene(scene) {
    setFileName(kDefaultFileName);
}

void Ctesk001Doc::setFileName(const std::string& name) {
    fileName = name;
    if (m_observer != nullptr) {
        m_observer->fileNameChanged(name);
    }
}

bool Ctesk001Doc::rebuild() {
    if (mesh.lineCount() == 0 || mesh.pointsPerLine() == 0) {
        return false;
    }
    if (!m_builder.build(mesh, selectedType, m_messages)) {
        return false;
    }
    ApplyEffects(mesh.map, mesh.effects);
    buildPreviewMesh();
    if (m_observer != nullptr) {
        m_observer->shapeRebuilt();
    }
    return true;
}

void Ctesk001Doc::buildPreviewMesh() {
    if (previewObjectId != -1) {
        m_scene.removeObject(previewObjectId);
        previewObjectId = -1;
    }
    const int imageId = m_scene.createImage();
    ImageBuffer* image = m_scene.findImage(imageId);
    image->setFrom(mesh.map.data(), mesh.mapWidth, mesh.mapHeight);

    previewObjectId = m_scene.createMesh();
    GLMesh* preview = m_scene.findObject(previewObjectId);
    const bool sheet = selectedType >= 100 && selectedType <= 199;
    preview->stitchType = sheet ? STITCH_PLANE : STITCH_SPHERE;
    preview->BuildFromSculptMap(*image, kMapSize);
    preview->selection = GLMesh::SELECTED;
    preview->scale = mesh.halfExtent;
}

int Ctesk001Doc::updateMarkers() {
    const int points = mesh.pointsPerLine();
    const int lines = mesh.lineCount();
    if (points == 0 || lines < 3 || handles == nullptr ||
        handleCount != static_cast<uint32_t>(points * (lines - 2))) {
        return 0;
    }
    if (markerObjectId != -1) {
        m_scene.removeObject(markerObjectId);
    }
    markerObjectId = m_scene.createMesh();
    GLMesh* markers = m_scene.findObject(markerObjectId);

    std::vector<Point3>& all = m_allPoints;
    all.resize(static_cast<size_t>(points) * static_cast<size_t>(lines));
    mesh.copyWorkPoints(all.data());
    Point3 lo = all.front();
    Point3 hi = all.front();
    for (const Point3& p : all) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    // A flat axis maps to the centre, as the encoder maps it to code 0.
    const auto place = [](float v, float min, float max, float half) {
        return max > min ? half * ((v - min) / (max - min) - 0.5f) : 0.0f;
    };
    markers->scale = mesh.halfExtent;
    m_markerPoints.clear();
    m_markerFlags.clear();
    for (uint32_t k = 0; k < handleCount; ++k) {
        const Point3 p = all[static_cast<size_t>(points) + k];
        m_markerPoints.push_back({place(p.x, lo.x, hi.x, mesh.halfExtent.x),
                                  place(p.y, lo.y, hi.y, mesh.halfExtent.y),
                                  place(p.z, lo.z, hi.z, mesh.halfExtent.z)});
        m_markerFlags.push_back(handles[k].flags);
    }
    markers->BuildPointMarkers(m_markerPoints, m_markerFlags);
    if (m_observer != nullptr) {
        m_observer->markersChanged();
    }
    return 0;
}

bool Ctesk001Doc::cellPoint(uint32_t cell, Point3& out) const {
    const int points = mesh.pointsPerLine();
    if (points == 0) {
        return false;
    }
    return mesh.getPoint(static_cast<int>(cell % static_cast<uint32_t>(points)),
                         static_cast<int>(cell / static_cast<uint32_t>(points)) + 1, out);
}

void Ctesk001Doc::computeSelectionCentroid() {
    if (mesh.pointsPerLine() == 0) {
        return;
    }
    pivot = {};
    if (handles == nullptr) {
        return;
    }
    Point3 sum;
    int count = 0;
    for (uint32_t k = 0; k < handleCount; ++k) {
        Point3 p;
        if ((handles[k].flags & CELL_SELECTED) != 0 && cellPoint(k, p)) {
            sum += p;
            ++count;
        }
    }
    if (count > 0) {
        pivot = sum * (1.0f / static_cast<float>(count));
    }
}

void Ctesk001Doc::newShape() {
    mesh.makeDefault();
    rebuild();
    setFileName(kDefaultFileName);
}

bool Ctesk001Doc::loadProject(const std::string& path, const std::vector<uint8_t>* memory) {
    if (path.empty()) {
        return false;
    }
    const bool loaded = memory != nullptr ? loadProjectImage(*memory, mesh, m_messages)
                                          : loadProjectFile(path, mesh, m_messages);
    if (!loaded) {
        return false;
    }
    setFileName(path);
    selectedType = mesh.SPDimType;
    if (m_observer != nullptr) {
        m_observer->projectStored(path, memory == nullptr);
    }
    rebuild();
    return true;
}

bool Ctesk001Doc::saveProject(const std::string& path, std::vector<uint8_t>* memory) {
    if (path.empty()) {
        return false;
    }
    if (memory != nullptr) {
        saveProjectImage(mesh, *memory);
    } else if (!saveProjectFile(path, mesh, m_messages)) {
        return false;
    }
    setFileName(path);
    if (m_observer != nullptr) {
        m_observer->projectStored(path, memory == nullptr);
    }
    return true;
}

} // namespace tesk
