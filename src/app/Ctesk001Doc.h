#pragma once
// The single document: owns the shape, the file names, the undo histories and the preview
// cameras, and runs the rebuild that carries every change through to the views.

#include "GLCamera.h"
#include "Messages.h"
#include "NetCell.h"
#include "Point3.h"
#include "SPMesh.h"
#include "SurfaceBuilder.h"
#include "UndoHistory.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

class GLScene;

/// What the document tells its views. Every method has an empty default, so a test can
/// watch only what it needs.
class DocumentObserver {
public:
    virtual ~DocumentObserver() = default;
    virtual void fileNameChanged(const std::string& /*name*/) {}
    /// A project was written or read successfully (the control panel clears isNewShape);
    /// `onDisk` is false for an undo snapshot in memory.
    virtual void projectStored(const std::string& /*path*/, bool /*onDisk*/) {}
    /// The shape was rebuilt: map, preview mesh and type are new.
    virtual void shapeRebuilt() {}
    /// The point markers of the preview were replaced.
    virtual void markersChanged() {}
};

inline constexpr const char* kCaptionPrefix = "TESK ( Brenmold ) version 0.0.5.1 << ";
inline constexpr const char* kCaptionSuffix = " >>";
inline constexpr const char* kDefaultFileName = "tesk.tsk";
inline constexpr const char* kDefaultBitmapFileName = "tesk.bmp";

/// The main window caption for a project file name.
std::string captionFor(const std::string& fileName);

class Ctesk001Doc {
public:
    /// `programDir` is the folder of the executable with a trailing separator.
    Ctesk001Doc(Messages& messages, GLScene& scene, std::string programDir);
    Ctesk001Doc(const Ctesk001Doc&) = delete;
    Ctesk001Doc& operator=(const Ctesk001Doc&) = delete;

    void setObserver(DocumentObserver* observer) { m_observer = observer; }
    Messages& messages() { return m_messages; }
    GLScene& scene() { return m_scene; }

    /// Surface, effects and preview mesh from the working points; false for an empty shape.
    bool rebuild();
    /// Replaces the preview's point markers from the working points and the cell flags.
    int updateMarkers();
    /// pivot := mean committed position of the selected cells.
    void computeSelectionCentroid();

    /// The default 4 x 4 shape; the selected type and the effects stay.
    void newShape();
    /// Reads a project from the file `path`, or from `memory` when given (an undo snapshot).
    /// On success records the name, takes the stored type and rebuilds. Empty path: nothing.
    bool loadProject(const std::string& path, const std::vector<uint8_t>* memory = nullptr);
    /// Writes the project to the file `path`, or into `memory` when given. On success records
    /// the name. False for an empty path or a failed write (reported).
    bool saveProject(const std::string& path, std::vector<uint8_t>* memory = nullptr);

    void setFileName(const std::string& name);
    std::string getFileName() const { return fileName; }
    std::string getBitmapFileName() const { return bitmapFileName; }
    void setBitmapFileName(const std::string& name) { bitmapFileName = name; }
    std::string getProgramDir() const { return programDir; }

    /// The committed point a cell stands for, if the cell is inside the shape.
    bool cellPoint(uint32_t cell, Point3& out) const;

    std::array<GLCamera, 3> cameras;
    SPMesh mesh;
    int32_t previewObjectId = -1;
    int32_t markerObjectId = -1;
    NetCell* handles = nullptr;
    uint32_t handleCount = 0;
    Point3 pivot;
    int32_t selectedType = DIM_POLES_LINEAR;
    std::string bitmapFileName = kDefaultBitmapFileName;
    std::string fileName;
    std::string programDir;
    UndoHistories undoHistories;

private:
    void buildPreviewMesh();

    Messages& m_messages;
    GLScene& m_scene;
    DocumentObserver* m_observer = nullptr;
    SurfaceBuilder m_builder;
    std::vector<Point3> m_allPoints;
    std::vector<Point3> m_markerPoints;
    std::vector<uint32_t> m_markerFlags;
};

} // namespace tesk
