#pragma once
// Resamples the working points of a shape into the 64 x 64 vertex grid of a shape type and
// stores the encoded sculpt map, the normalised grid and the half extents in the shape.

#include "Point3.h"
#include "Resampling.h"
#include "SegmentPlan.h"

#include <cstdint>
#include <vector>

namespace tesk {

class Messages;
class SPMesh;
struct SurfaceRecipe;
struct DirectionRecipe;

extern const char* const kUnknownTypeMessage;     ///< "タイプ指定がされていません。"
extern const char* const kInvalidDivisionMessage; ///< "分割ポイントの指定が無効です。"

enum class GridOutcome {
    Empty,     ///< no line or no point: nothing was done
    Resampled, ///< the type's resampling filled the whole grid
    Gathered,  ///< the gathered control points, the rest of the grid zero
};

/// Keeps its work buffers from build to build, so a rebuild allocates nothing once the
/// buffers have grown to the shape's size.
class SurfaceBuilder {
public:
    /// Gathers the lines for `type` (pole types first write the pole lines' working points),
    /// resamples and writes the raw 64 x 64 grid into `out` (4096 points). Where the type
    /// cannot resample the shape, `out` holds the gathered points with the rest zero.
    GridOutcome buildGrid(SPMesh& mesh, int32_t type, Messages& messages, Point3* out);

    /// buildGrid, then the encoder: replaces map, grid (normalised), mapWidth, mapHeight and
    /// halfExtent, and records the type. False, with the shape unchanged, when it has no point.
    bool build(SPMesh& mesh, int32_t type, Messages& messages);

private:
    // The grid being resampled: `current` is read, `spare` written, then they trade places.
    // The gathered points are never overwritten, so a failed build can still fall back on them.
    struct Grid {
        Point3* current;
        Point3* spare;
        Point3* other;
        int columns;
        int rows;
        void swap();
    };

    void reserve(int columns, int rows);
    void gather(const SPMesh& mesh, bool poles, int columns, int rows);
    void preparePoles(SPMesh& mesh, int columns, int rows);
    bool resample(const SurfaceRecipe& recipe, Grid& grid, Messages& messages, Point3* out);
    bool resampleColumns(const DirectionRecipe& recipe, Grid& grid, Messages& messages);
    bool resampleAlong(const SurfaceRecipe& recipe, Grid& grid, Messages& messages);
    bool resampleClosedAcross(const SurfaceRecipe& recipe, Grid& grid, Messages& messages,
                              Point3* out);
    bool planAcross(const Grid& grid, Messages& messages, SampleSchedule& schedule);
    bool resampleAcross(const SurfaceRecipe& recipe, Grid& grid, Messages& messages, Point3* out);
    bool buildFixed(const Grid& grid, Point3* out);
    void copyGathered(int columns, int rows, Point3* out) const;

    std::vector<Point3> m_gathered;
    std::vector<Point3> m_workA;
    std::vector<Point3> m_workB;
    std::vector<float> m_bend;
    std::vector<float> m_inLength;
    std::vector<float> m_sumBend;
    std::vector<float> m_sumLength;
    std::vector<int32_t> m_columnLevels;
    std::vector<int32_t> m_rowLevels;
    SegmentPlan m_plan;
};

/// The document's entry point: builds with a per-thread SurfaceBuilder.
bool BuildSurface(SPMesh& mesh, int32_t type, Messages& messages);

} // namespace tesk
