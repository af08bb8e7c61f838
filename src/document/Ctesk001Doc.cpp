#include "Ctesk001Doc.h"

#include "EffectStage.h"
#include "Messages.h"
#include "ProjectFile.h"
#include "SculptMapEncoder.h"
#include "SculptMapPicture.h"

#include <filesystem>

#include <algorithm>

namespace tesk {

std::string captionFor(const std::string& name) {
    return kCaptionPrefix + name + kCaptionSuffix;
}

Ctesk001Doc::Ctesk001Doc(Messages& messages, std::string dir)
    : m_messages(messages), m_programDir(std::move(dir)) {
    setFileName(kDefaultFileName);
}

void Ctesk001Doc::addListener(DocumentListener* listener, ListenerRank rank) {
    const auto after = std::find_if(m_listeners.begin(), m_listeners.end(),
                                    [rank](const Listener& l) { return l.rank > rank; });
    m_listeners.insert(after, {listener, rank});
}

void Ctesk001Doc::removeListener(DocumentListener* listener) {
    std::erase_if(m_listeners, [listener](const Listener& l) { return l.listener == listener; });
}

template <typename Event> void Ctesk001Doc::tell(Event event) {
    // A listener may add or remove listeners (a dialog that closes itself): walk a copy, and
    // skip any that was removed on the way.
    const std::vector<Listener> listeners = m_listeners;
    for (const Listener& l : listeners) {
        const bool present =
            std::any_of(m_listeners.begin(), m_listeners.end(),
                        [&l](const Listener& other) { return other.listener == l.listener; });
        if (present) {
            event(*l.listener);
        }
    }
}

void Ctesk001Doc::setFileName(const std::string& name) {
    m_fileName = name;
    tell([&name](DocumentListener& l) { l.fileNameChanged(name); });
}

bool Ctesk001Doc::rebuild() {
    if (m_mesh.lineCount() == 0 || m_mesh.pointsPerLine() == 0) {
        return false;
    }
    if (!m_builder.build(m_mesh, m_selectedType, m_messages)) {
        return false;
    }
    ApplyEffects(m_mesh.map, m_mesh.effects);
    updateNet();
    // Committed points change with confirm, point slide, loads and divides: a scale must never
    // pivot about a stale centroid.
    computeSelectionCentroid();
    tell([](DocumentListener& l) { l.shapeRebuilt(); });
    updateMarkers();
    return true;
}

bool Ctesk001Doc::rebuildIf(bool changed) {
    if (changed) {
        rebuild();
    }
    return changed;
}

bool Ctesk001Doc::recordIf(bool changed) {
    if (changed) {
        rebuild();
        pushSnapshot();
    }
    return changed;
}

void Ctesk001Doc::pushSnapshot() {
    if (recordState()) {
        // From the first recorded step on, Undo and Redo work for this name, saved or not.
        m_isNewShape = false;
    }
}

bool Ctesk001Doc::recordState() {
    std::vector<uint8_t> image;
    writeSnapshot(image);
    // A state recorded twice would make an Undo that changes nothing.
    if (const Snapshot* present = m_undoHistories.current(m_fileName);
        present != nullptr && *present == image) {
        return true;
    }
    Snapshot* slot = m_undoHistories.pushSnapshot(m_fileName, m_messages);
    if (slot == nullptr) {
        return false;
    }
    *slot = std::move(image);
    return true;
}

void Ctesk001Doc::markSaved() {
    writeSnapshot(m_savedImage);
}

bool Ctesk001Doc::hasUncommittedWork() const {
    // Only the lines the editor edits: a build under a pole type derives the working points
    // of the first and last lines itself.
    for (int line = 1; line < m_mesh.lineCount() - 1; ++line) {
        for (int j = 0; j < m_mesh.pointsPerLine(); ++j) {
            Point3 committed;
            if (m_mesh.getPoint(j, line, committed) && committed != m_mesh.workPoint(j, line)) {
                return true;
            }
        }
    }
    return false;
}

bool Ctesk001Doc::isModified() const {
    if (m_mesh.lineCount() == 0) {
        return false;
    }
    if (hasUncommittedWork()) {
        return true;
    }
    std::vector<uint8_t> image;
    writeSnapshot(image);
    return image != m_savedImage;
}

void Ctesk001Doc::updateNet() {
    const int points = m_mesh.pointsPerLine();
    const size_t count =
        static_cast<size_t>(points) * static_cast<size_t>(std::max(m_mesh.lineCount() - 2, 0));
    if (count != m_cells.size()) {
        m_cells.assign(count, 0);
    }
}

int Ctesk001Doc::updateMarkers() {
    const int points = m_mesh.pointsPerLine();
    const int lines = m_mesh.lineCount();
    if (points == 0 || lines < 3 || m_cells.empty() ||
        m_cells.size() != static_cast<size_t>(points) * static_cast<size_t>(lines - 2)) {
        return 0;
    }
    std::vector<Point3>& all = m_allPoints;
    all.resize(static_cast<size_t>(points) * static_cast<size_t>(lines));
    m_mesh.copyWorkPoints(all.data());
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
    const Point3 half = m_mesh.halfExtent;
    m_markerPoints.clear();
    for (size_t k = 0; k < m_cells.size(); ++k) {
        const Point3 p = all[static_cast<size_t>(points) + k];
        m_markerPoints.push_back({place(p.x, lo.x, hi.x, half.x), place(p.y, lo.y, hi.y, half.y),
                                  place(p.z, lo.z, hi.z, half.z)});
    }
    m_markerFlags = m_cells;
    tell([](DocumentListener& l) { l.markersChanged(); });
    return 0;
}

bool Ctesk001Doc::cellPoint(uint32_t cell, Point3& out) const {
    const int points = m_mesh.pointsPerLine();
    if (points == 0) {
        return false;
    }
    return m_mesh.getPoint(static_cast<int>(cell % static_cast<uint32_t>(points)),
                           static_cast<int>(cell / static_cast<uint32_t>(points)) + 1, out);
}

void Ctesk001Doc::computeSelectionCentroid() {
    if (m_mesh.pointsPerLine() == 0) {
        return;
    }
    // Summed in double: a float sum of large coordinates would overflow to infinity.
    double sum[3] = {};
    int count = 0;
    for (uint32_t k = 0; k < handleCount(); ++k) {
        Point3 p;
        if ((m_cells[k] & CELL_SELECTED) != 0 && cellPoint(k, p)) {
            sum[0] += p.x;
            sum[1] += p.y;
            sum[2] += p.z;
            ++count;
        }
    }
    const auto mean = [count](double total) { return static_cast<float>(total / count); };
    m_pivot = count > 0 ? Point3{mean(sum[0]), mean(sum[1]), mean(sum[2])} : Point3{};
}

void Ctesk001Doc::setHandles(std::span<const uint32_t> flags) {
    if (flags.size() != m_cells.size()) {
        return;
    }
    const bool selectionMoved =
        !std::equal(flags.begin(), flags.end(), m_cells.begin(), [](uint32_t a, uint32_t b) {
            return (a & CELL_SELECTED) == (b & CELL_SELECTED);
        });
    std::copy(flags.begin(), flags.end(), m_cells.begin());
    if (selectionMoved) {
        computeSelectionCentroid();
    }
    tell([](DocumentListener& l) { l.selectionChanged(); });
    updateMarkers();
}

void Ctesk001Doc::toggleSelected(std::span<const uint32_t> cells) {
    std::vector<uint32_t> flags = m_cells;
    for (uint32_t k : cells) {
        if (k < flags.size()) {
            flags[k] ^= CELL_SELECTED;
        }
    }
    setHandles(flags);
}

void Ctesk001Doc::clearSelection() {
    setHandles(std::vector<uint32_t>(m_cells.size(), 0));
}

void Ctesk001Doc::newShape() {
    m_lastImport.reset();
    m_mesh.makeDefault();
    m_isNewShape = true;
    rebuild();
    // The default name's history may hold another new shape: Undo must never bring it back.
    m_undoHistories.clear(kDefaultFileName);
    m_fileName = kDefaultFileName;
    recordState();
    markSaved();
    setFileName(kDefaultFileName);
}

bool Ctesk001Doc::loadProject(const std::string& path, const std::vector<uint8_t>* memory) {
    if (path.empty()) {
        return false;
    }
    const bool loaded = memory != nullptr ? loadProjectImage(*memory, m_mesh, m_messages)
                                          : loadProjectFile(path, m_mesh, m_messages);
    if (!loaded) {
        return false;
    }
    if (memory == nullptr) {
        markSaved();
        m_lastImport.reset();
    }
    setFileName(path);
    m_selectedType = m_mesh.SPDimType;
    m_isNewShape = false;
    if (memory == nullptr) {
        // The loaded state is the base of the file's history: the first Undo returns to it.
        recordState();
    }
    tell([&path, memory](DocumentListener& l) { l.projectStored(path, memory == nullptr); });
    rebuild();
    return true;
}

bool Ctesk001Doc::importSculptMap(const std::string& picturePath, const MapFitRequest& request) {
    std::vector<uint32_t> map;
    if (!loadSculptMapPicture(picturePath, map, m_messages)) {
        return false;
    }
    SPMesh fitted;
    const MapFitResult result = FitSculptMap(map.data(), request, fitted);
    if (!result.ok) {
        m_messages.inform(result.problem);
        return false;
    }
    // Through the project image, exactly as a load would take the shape.
    std::vector<uint8_t> image;
    saveProjectImage(fitted, image);
    if (!loadProjectImage(image, m_mesh, m_messages)) {
        return false;
    }
    m_lastImport = result;
    m_selectedType = result.type;
    m_isNewShape = true;
    const std::string name = std::filesystem::path(picturePath).replace_extension(".tsk").string();
    m_undoHistories.clear(name);
    setFileName(name);
    rebuild();
    recordState();
    return true;
}

bool Ctesk001Doc::saveProject(const std::string& path) {
    if (path.empty() || !saveProjectFile(path, m_mesh, m_messages)) {
        return false;
    }
    markSaved();
    setFileName(path);
    m_isNewShape = false;
    // Under a new name the history starts from the saved state.
    recordState();
    tell([&path](DocumentListener& l) { l.projectStored(path, true); });
    return true;
}

void Ctesk001Doc::writeSnapshot(std::vector<uint8_t>& image) const {
    saveProjectImage(m_mesh, image);
}

bool Ctesk001Doc::hasSculptMap() const {
    return !m_mesh.map.empty() && m_mesh.map.size() == static_cast<size_t>(m_mesh.mapWidth) *
                                                           static_cast<size_t>(m_mesh.mapHeight);
}

bool Ctesk001Doc::exportSculptMap(const std::string& path, ExportFlips flips) {
    if (!hasSculptMap()) {
        m_messages.inform(kNoSculptMapMessage);
        return false;
    }
    return ExportSculptImage(path, m_mesh.map.data(), m_mesh.mapWidth, m_mesh.mapHeight, flips,
                             m_messages, PrimSizeText(m_mesh.halfExtent));
}

void Ctesk001Doc::setType(int32_t type) {
    m_selectedType = type;
    rebuild();
}

bool Ctesk001Doc::setWorkPoints(std::span<const CellPoint> points) {
    const int perLine = m_mesh.pointsPerLine();
    bool written = false;
    for (const CellPoint& p : points) {
        if (perLine > 0 && p.cell < handleCount()) {
            const int point = static_cast<int>(p.cell % static_cast<uint32_t>(perLine));
            const int line = static_cast<int>(p.cell / static_cast<uint32_t>(perLine)) + 1;
            written = m_mesh.setWorkPoint(point, line, p.point) || written;
        }
    }
    return rebuildIf(written);
}

bool Ctesk001Doc::confirm() {
    if (m_mesh.lineCount() == 0) {
        return false;
    }
    m_mesh.commitWork();
    rebuild();
    tell([](DocumentListener& l) { l.confirmed(); });
    pushSnapshot();
    return true;
}

bool Ctesk001Doc::revert() {
    if (m_mesh.lineCount() == 0) {
        return false;
    }
    m_mesh.revertWork();
    rebuild();
    return true;
}

bool Ctesk001Doc::slidePoints(int step) {
    const int count = m_mesh.pointsPerLine();
    if (count == 0) {
        return false;
    }
    std::vector<Point3> committed(static_cast<size_t>(count));
    for (int line = 0; line < m_mesh.lineCount(); ++line) {
        for (int j = 0; j < count; ++j) {
            m_mesh.getPoint(j, line, committed[static_cast<size_t>(j)]);
        }
        for (int j = 0; j < count; ++j) {
            const int to = ((j + step) % count + count) % count;
            m_mesh.setPoint(to, line, committed[static_cast<size_t>(j)]);
        }
    }
    rebuild();
    return true;
}

bool Ctesk001Doc::insertLine(int after) {
    const int before = m_mesh.lineCount();
    m_mesh.insertLine(after);
    return recordIf(m_mesh.lineCount() != before);
}

bool Ctesk001Doc::insertColumn(int after) {
    const int before = m_mesh.pointsPerLine();
    m_mesh.insertColumn(after);
    return recordIf(m_mesh.pointsPerLine() != before);
}

bool Ctesk001Doc::deleteLine(int line) {
    const int before = m_mesh.lineCount();
    m_mesh.deleteLine(line);
    return recordIf(m_mesh.lineCount() != before);
}

bool Ctesk001Doc::deleteColumn(int column) {
    const int before = m_mesh.pointsPerLine();
    m_mesh.deleteColumn(column);
    return recordIf(m_mesh.pointsPerLine() != before);
}

bool Ctesk001Doc::toggleLineLevel(int line) {
    return recordIf(m_mesh.toggleLineLevel(line, m_messages));
}

bool Ctesk001Doc::toggleColumnLevel(int column) {
    return recordIf(m_mesh.toggleColumnLevel(column, m_messages));
}

bool Ctesk001Doc::undo() {
    if (m_isNewShape) {
        return false;
    }
    const Snapshot* present = m_undoHistories.current(m_fileName);
    if (present == nullptr) {
        return false;
    }
    std::vector<uint8_t> image;
    writeSnapshot(image);
    if (hasUncommittedWork() || image != *present) {
        return loadProject(m_fileName, present);
    }
    const Snapshot* before = m_undoHistories.undo(m_fileName);
    return before != nullptr && loadProject(m_fileName, before);
}

bool Ctesk001Doc::redo() {
    if (m_isNewShape) {
        return false;
    }
    const Snapshot* snapshot = m_undoHistories.redo(m_fileName);
    return snapshot != nullptr && loadProject(m_fileName, snapshot);
}

void Ctesk001Doc::addEffect(std::unique_ptr<EffectRecord> record) {
    m_mesh.effects.append(std::move(record));
    rebuild();
}

bool Ctesk001Doc::removeEffect(size_t index) {
    return rebuildIf(m_mesh.effects.remove(index));
}

bool Ctesk001Doc::moveEffectUp(size_t index) {
    return rebuildIf(m_mesh.effects.moveUp(index));
}

bool Ctesk001Doc::moveEffectDown(size_t index) {
    return rebuildIf(m_mesh.effects.moveDown(index));
}

void Ctesk001Doc::effectsChanged() {
    rebuild();
}

} // namespace tesk
