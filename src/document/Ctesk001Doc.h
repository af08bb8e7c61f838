#pragma once
// The single document: the shape, its file names, undo histories and point selection, and the
// rebuild that carries every change to its listeners. No window and no GL: the editor's views,
// the preview scene and the command-line tool all work through it.

#include "CellFlags.h"
#include "DocumentListener.h"
#include "MapFit.h"
#include "Point3.h"
#include "SPMesh.h"
#include "SculptImageWriter.h"
#include "SurfaceBuilder.h"
#include "TextMarks.h"
#include "UndoHistory.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tesk {

class Messages;

inline constexpr const char* kCaptionPrefix = "TESK ( Brenmold ) version 0.0.5.1 << ";
inline constexpr const char* kCaptionSuffix = " >>";
inline constexpr const char* kDefaultFileName = "tesk.tsk";
inline constexpr const char* kDefaultBitmapFileName = "tesk.bmp";
inline constexpr const char* kNoSculptMapMessage =
    TESK_TEXT("Messages", "書き出すスカルプトマップがありません。");

/// The main window caption for a project file name.
std::string captionFor(const std::string& fileName);

/// A new working position for the point of one cell.
struct CellPoint {
    uint32_t cell;
    Point3 point;
};

class Ctesk001Doc {
public:
    /// `programDir` is the folder of the executable with a trailing separator.
    Ctesk001Doc(Messages& messages, std::string programDir);
    Ctesk001Doc(const Ctesk001Doc&) = delete;
    Ctesk001Doc& operator=(const Ctesk001Doc&) = delete;

    void addListener(DocumentListener* listener, ListenerRank rank = ListenerRank::View);
    void removeListener(DocumentListener* listener);
    Messages& messages() { return m_messages; }

    // --- the pipeline -----------------------------------------------------------------
    /// Surface, effects, then the listeners; false for an empty shape, which changes nothing.
    bool rebuild();
    /// Recomputes the preview's marker points from the working points and the cell flags and
    /// tells the listeners; does nothing while the cells do not match the shape. Every rebuild
    /// and every change of the cell flags ends with it.
    int updateMarkers();
    /// pivot := mean committed position of the selected cells.
    void computeSelectionCentroid();

    // --- the project ------------------------------------------------------------------
    /// The default 4 x 4 shape; the selected type and the effects stay. The shape is new.
    void newShape();
    /// Reads a project from the file `path`, or from `memory` when given (an undo snapshot).
    /// On success records the name, takes the stored type and rebuilds. Empty path: nothing.
    bool loadProject(const std::string& path, const std::vector<uint8_t>* memory = nullptr);
    /// Fits a shape to the sculpt-map picture at `picturePath` (read and resampled to 64 x 64
    /// as effect pictures are) and makes it the shape, named after the picture with ".tsk" so a
    /// save never writes over the picture. It is new and unsaved; its history starts with it.
    /// False when the picture cannot be read or holds no shape (the user is told).
    bool importSculptMap(const std::string& picturePath, const MapFitRequest& request = {});
    /// The report of the last import, kept until the next New, load or import.
    const std::optional<MapFitResult>& lastImport() const { return m_lastImport; }
    /// Writes the project file; on success records the name. False, reported, on failure.
    bool saveProject(const std::string& path);
    /// The project image of the shape, for an undo snapshot: no rename, no announcement.
    void writeSnapshot(std::vector<uint8_t>& image) const;
    /// Writes the current sculpt map as a picture with the flips, as the export button does.
    /// Without a map says kNoSculptMapMessage.
    bool exportSculptMap(const std::string& path, ExportFlips flips);
    bool hasSculptMap() const;

    void setFileName(const std::string& name);
    std::string getFileName() const { return m_fileName; }
    std::string getBitmapFileName() const { return m_bitmapFileName; }
    void setBitmapFileName(const std::string& name) { m_bitmapFileName = name; }
    std::string getProgramDir() const { return m_programDir; }
    /// Set at start and by New; cleared by every successful save or load and by a confirm.
    bool isNewShape() const { return m_isNewShape; }
    /// True when closing now would lose work: the shape differs from what was last saved,
    /// loaded or made by New, or holds working changes not yet confirmed. Never for the empty
    /// shape before the first New or load.
    bool isModified() const;
    /// Working points that differ from the committed ones (slider changes not confirmed).
    bool hasUncommittedWork() const;

    // --- reading ----------------------------------------------------------------------
    const SPMesh& mesh() const { return m_mesh; }
    int32_t selectedType() const { return m_selectedType; }
    Point3 pivot() const { return m_pivot; }
    const UndoHistories& undoHistories() const { return m_undoHistories; }

    // --- the selection: one flags word per cell -----------------------------------------
    std::span<const uint32_t> handles() const { return m_cells; }
    uint32_t handleCount() const { return static_cast<uint32_t>(m_cells.size()); }
    /// Replaces every cell's flags; ignored unless `flags` has one word per cell. A change of
    /// the selected bits recomputes the pivot.
    void setHandles(std::span<const uint32_t> flags);
    /// Toggles CELL_SELECTED of each listed cell once; cells out of range are skipped.
    void toggleSelected(std::span<const uint32_t> cells);
    /// Clears every flag of every cell.
    void clearSelection();
    /// The committed point a cell stands for, if the cell is inside the shape.
    bool cellPoint(uint32_t cell, Point3& out) const;

    /// The markers of the last updateMarkers: one point and one flags word per cell.
    std::span<const Point3> markerPoints() const { return m_markerPoints; }
    std::span<const uint32_t> markerFlags() const { return m_markerFlags; }

    // --- edit commands: each rebuilds once when it changed something ---------------------
    void setType(int32_t type);
    /// Writes working positions (from the transform panel) and rebuilds.
    bool setWorkPoints(std::span<const CellPoint> points);
    /// Commits the working points, rebuilds, tells the listeners (the viewer link saves the
    /// file here) and records an undo snapshot of the file name.
    bool confirm();
    /// Discards the working points.
    bool revert();
    /// Moves every line's committed point j to j + step (mod points per line); step +1 is
    /// the "<" button, -1 the ">" button. No undo step.
    bool slidePoints(int step);
    /// Divides and level changes alter the committed shape, so each records an undo step as a
    /// confirm does; a refused edit changes and records nothing.
    bool insertLine(int after);
    bool insertColumn(int after);
    bool deleteLine(int line);
    bool deleteColumn(int column);
    /// Toggles important / ordinary; a sixth important one is refused with its message.
    bool toggleLineLevel(int line);
    bool toggleColumnLevel(int column);
    /// Undo first drops what is not recorded (working changes, a point slide) by restoring the
    /// present state of the file's history, else steps back to the state before it: the base
    /// recorded at load, New and each save is the first state of the history. Redo returns.
    /// Nothing while the shape is new.
    bool undo();
    bool redo();

    // --- the effect list --------------------------------------------------------------
    void addEffect(std::unique_ptr<EffectRecord> record);
    bool removeEffect(size_t index);
    bool moveEffectUp(size_t index);
    bool moveEffectDown(size_t index);
    /// A record to change in place; call effectsChanged() afterwards. Null out of range.
    EffectRecord* effect(size_t index) { return m_mesh.effects.at(index); }
    void effectsChanged();

private:
    template <typename Event> void tell(Event event);
    /// Keeps the cell flags across rebuilds that keep the dimensions, clears them otherwise.
    void updateNet();
    bool rebuildIf(bool changed);
    /// For edits of the committed shape: rebuild, then record an undo step as a confirm does.
    bool recordIf(bool changed);
    void pushSnapshot();
    /// Pushes the shape's image onto the file's history unless it is the present state
    /// already. False when no slot could be had.
    bool recordState();
    /// What a save or load leaves on disk: the base the modified state is measured from.
    void markSaved();

    struct Listener {
        DocumentListener* listener;
        ListenerRank rank;
    };

    Messages& m_messages;
    std::vector<Listener> m_listeners;
    SPMesh m_mesh;
    SurfaceBuilder m_builder;
    std::vector<uint32_t> m_cells;
    Point3 m_pivot;
    int32_t m_selectedType = DIM_POLES_LINEAR;
    bool m_isNewShape = true;
    std::string m_bitmapFileName = kDefaultBitmapFileName;
    std::string m_fileName;
    std::string m_programDir;
    UndoHistories m_undoHistories;
    std::vector<uint8_t> m_savedImage;
    std::vector<Point3> m_allPoints;
    std::vector<Point3> m_markerPoints;
    std::vector<uint32_t> m_markerFlags;
    std::optional<MapFitResult> m_lastImport;
};

} // namespace tesk
