#include "SurfaceBuilder.h"

#include "CurvePrimitives.h"
#include "Messages.h"
#include "Resampling.h"
#include "SPMesh.h"
#include "SculptMapEncoder.h"
#include "TextMarks.h"

#include <algorithm>

namespace tesk {

const char* const kUnknownTypeMessage = TESK_TEXT("Messages", "タイプ指定がされていません。");
const char* const kInvalidDivisionMessage = TESK_TEXT("Messages", "分割ポイントの指定が無効です。");

namespace {

using ColumnInsertion = void (*)(int, int, int, const Point3*, Point3*);
using LineInsertion = void (*)(int, int, int, const Point3*, Point3*);

constexpr int kClosedGrowTarget = 8;
constexpr int kOpenGrowTarget = 9;
constexpr int kAcrossGrowTarget = 9;
constexpr int kClosedKeyLimit = 16;
constexpr int kOpenKeyLimit = 17;
constexpr int kAcrossKeyLimit = 17;
constexpr int kFixedMaxColumns = 8;
constexpr int kFixedMaxRows = 9;
constexpr float kFixedFillScale = 0.95f;
constexpr int kWorkMinimum = 66;

template <typename T> void ensureSize(std::vector<T>& v, size_t n) {
    if (v.size() < n) {
        v.resize(n);
    }
}

bool uniform(const Point3* p, int n) {
    for (int i = 1; i < n; ++i) {
        if (!(p[i] == p[0])) {
            return false;
        }
    }
    return true;
}

// dst (rows x columns) is src (columns x rows) turned on its side.
void transpose(const Point3* src, int columns, int rows, Point3* dst) {
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            dst[c * rows + r] = src[r * columns + c];
        }
    }
}

// The pole points become this mean, so it must stay finite: a float sum of coordinates near
// the float limit overflows, and is then taken again in double.
Point3 centroid(const Point3* row, int n) {
    Point3 sum;
    for (int i = 0; i < n; ++i) {
        sum += row[i];
    }
    const Point3 mean = sum * (1.0f / static_cast<float>(n));
    if (isFinite(mean)) {
        return mean;
    }
    double wide[3] = {};
    for (int i = 0; i < n; ++i) {
        wide[0] += row[i].x;
        wide[1] += row[i].y;
        wide[2] += row[i].z;
    }
    return {static_cast<float>(wide[0] / n), static_cast<float>(wide[1] / n),
            static_cast<float>(wide[2] / n)};
}

} // namespace

// How one shape type grows and samples its two directions, read off the shape-type table.
// A wrapped direction without poles (tubes and rings) is sampled seamlessly; the ring's lines
// are resampled as its columns are, on the grid turned on its side.
struct SurfaceRecipe {
    bool poles;
    bool closedAlong;
    bool seamless;
    bool closedAcross;
    ColumnInsertion insertColumn;
    LineInsertion insertLine;
    AlongSampler along;
    AcrossSampler across;
    ColumnInsertion insertClosedLine;
    AlongSampler closedAcrossSampler;
};

// One direction as the column machinery resamples it: closed or open, its growth and sampler,
// the levels of its points, and whether bends and lengths rank its key points (across the lines
// they never do).
struct DirectionRecipe {
    bool closed;
    bool seamless;
    ColumnInsertion insert;
    AlongSampler sampler;
    const int32_t* levels;
    bool shapeMetrics;
};

namespace {

// Closed lines grow and sample with the smooth curve of their type; open sheets insert plain
// midpoints and sample B-splines with mirrored ends.
constexpr SurfaceRecipe recipeFor(const ShapeTypeInfo& type) {
    SurfaceRecipe r{type.poles,
                    wrapsAlong(type),
                    seamless(type),
                    wrapsAcross(type),
                    InsertMidColumn,
                    InsertMidLine,
                    AlongSampler::LinearClosed,
                    AcrossSampler::Linear,
                    InsertMidColumn,
                    AlongSampler::LinearClosed};
    if (!type.poles) {
        const bool bSplineAlong = type.along == Sampling::BSpline;
        const bool bSplineAcross = type.across == Sampling::BSpline;
        if (r.closedAlong) {
            r.insertColumn = bSplineAlong ? InsertBSplineColumn : InsertMidColumn;
            r.along = bSplineAlong ? AlongSampler::BSplineClosed : AlongSampler::LinearClosed;
        } else {
            r.along = bSplineAlong ? AlongSampler::BSplineMirrored : AlongSampler::LinearOpen;
        }
        r.across = bSplineAcross ? AcrossSampler::BSplineMirrored : AcrossSampler::Linear;
        r.insertClosedLine = bSplineAcross ? InsertBSplineColumn : InsertMidColumn;
        r.closedAcrossSampler =
            bSplineAcross ? AlongSampler::BSplineClosed : AlongSampler::LinearClosed;
        return r;
    }
    if (type.along == Sampling::CatmullRom) {
        r.insertColumn = InsertCatmullRomColumn;
        r.along = AlongSampler::CatmullRomClosed;
    } else if (type.along == Sampling::BSpline) {
        r.insertColumn = InsertBSplineColumn;
        r.along = AlongSampler::BSplineClosed;
    }
    if (type.across == Sampling::CatmullRom) {
        r.insertLine = InsertCatmullRomLine;
        r.across = AcrossSampler::CatmullRomPoles;
    } else if (type.across == Sampling::BSpline) {
        r.insertLine = InsertBSplineLine;
        r.across = AcrossSampler::BSplinePoles;
    }
    return r;
}

} // namespace

void SurfaceBuilder::Grid::swap() {
    std::swap(spare, other);
    current = other;
}

GridOutcome SurfaceBuilder::buildGrid(SPMesh& mesh, int32_t type, Messages& messages, Point3* out) {
    const int lines = mesh.lineCount();
    const int columns = mesh.pointsPerLine();
    if (lines == 0 || columns == 0) {
        return GridOutcome::Empty;
    }
    const bool poles = hasPoles(type);
    const int rows = poles ? lines : std::max(lines - 2, 0);
    const bool enoughLines = poles ? lines >= 3 : rows >= 2;

    reserve(columns, rows);
    gather(mesh, poles, columns, rows);
    if (poles && enoughLines) {
        preparePoles(mesh, columns, rows);
    }
    for (int c = 0; c < columns; ++c) {
        m_columnLevels[static_cast<size_t>(c)] = mesh.columnLevel(c);
    }
    for (int r = 0; r < rows; ++r) {
        m_rowLevels[static_cast<size_t>(r)] = mesh.lineLevel(poles ? r : r + 1);
    }

    Grid grid{m_gathered.data(), m_workA.data(), m_workB.data(), columns, rows};
    bool resampled = false;
    const ShapeTypeInfo* info = findShapeType(type);
    if (info != nullptr && info->along == Sampling::Fixed) {
        resampled = enoughLines && buildFixed(grid, out);
    } else if (info != nullptr) {
        resampled = enoughLines && resample(recipeFor(*info), grid, messages, out);
    } else {
        messages.inform(kUnknownTypeMessage);
    }
    if (!resampled) {
        copyGathered(columns, rows, out);
        return GridOutcome::Gathered;
    }
    return GridOutcome::Resampled;
}

bool SurfaceBuilder::build(SPMesh& mesh, int32_t type, Messages& messages) {
    if (mesh.lineCount() == 0 || mesh.pointsPerLine() == 0) {
        return false;
    }
    mesh.grid.resize(kMapPixels);
    mesh.map.resize(kMapPixels);
    buildGrid(mesh, type, messages, mesh.grid.data());
    EncodeSculptMap(mesh.grid.data(), mesh.map.data(), kMapSide, kMapSide, mesh.halfExtent);
    mesh.mapWidth = kMapSide;
    mesh.mapHeight = kMapSide;
    mesh.SPDimType = type;
    return true;
}

void SurfaceBuilder::reserve(int columns, int rows) {
    const size_t c = static_cast<size_t>(columns);
    const size_t r = static_cast<size_t>(rows);
    const size_t wide = static_cast<size_t>(std::max({kWorkMinimum, columns + 1, kMapSide}));
    const size_t tall = static_cast<size_t>(std::max(kWorkMinimum, rows + 1));
    ensureSize(m_gathered, std::max<size_t>(c * r, 1));
    ensureSize(m_workA, wide * tall);
    ensureSize(m_workB, wide * tall);
    const size_t metrics = std::max(c, static_cast<size_t>(kMapSide)) * std::max<size_t>(r, 1);
    ensureSize(m_bend, metrics);
    ensureSize(m_inLength, metrics);
    ensureSize(m_sumBend, std::max(c, r));
    ensureSize(m_sumLength, std::max(c, r));
    ensureSize(m_columnLevels, c);
    ensureSize(m_rowLevels, std::max<size_t>(r, 1));
}

void SurfaceBuilder::gather(const SPMesh& mesh, bool poles, int columns, int rows) {
    for (int r = 0; r < rows; ++r) {
        const std::vector<Point3>& work = mesh.line(poles ? r : r + 1).workPoints;
        const int have = std::min(columns, static_cast<int>(work.size()));
        Point3* row = m_gathered.data() + r * columns;
        std::copy_n(work.data(), have, row);
        std::fill(row + have, row + columns, Point3{});
    }
}

void SurfaceBuilder::preparePoles(SPMesh& mesh, int columns, int rows) {
    Point3* first = m_gathered.data();
    Point3* last = m_gathered.data() + (rows - 1) * columns;
    const Point3 top = centroid(first + columns, columns);
    std::fill(first, first + columns, top);
    std::vector<Point3>& topLine = mesh.lines.front()->workPoints;
    std::fill(topLine.begin(), topLine.end(), top);

    const Point3 bottom = centroid(last - columns, columns);
    std::fill(last, last + columns, bottom);
    std::vector<Point3>& bottomLine = mesh.lines.back()->workPoints;
    std::fill(bottomLine.begin(), bottomLine.end(), bottom);
}

bool SurfaceBuilder::resampleColumns(const DirectionRecipe& recipe, Grid& grid,
                                     Messages& messages) {
    const bool closed = recipe.closed;
    const int rows = grid.rows;
    int& columns = grid.columns;
    SampleSchedule schedule;
    bool keyRegime = false;
    if (columns <= (closed ? kClosedGrowTarget : kOpenGrowTarget)) {
        while (columns < (closed ? kClosedGrowTarget : kOpenGrowTarget)) {
            // Pole rows are single points; rows without poles are loops all of them.
            const int found = closed && recipe.seamless
                                  ? LongestLoopSegment(columns, rows, grid.current)
                                  : LongestRowSegment(columns, rows, grid.current, closed);
            if (found < 0) {
                return false;
            }
            recipe.insert(columns, rows, found % columns, grid.current, grid.spare);
            grid.swap();
            ++columns;
        }
        AlongGrowSchedule(schedule, recipe.seamless);
    } else if (columns <= (closed ? kClosedKeyLimit : kOpenKeyLimit)) {
        keyRegime = true;
        if (recipe.shapeMetrics) {
            ColumnShapeMetrics(columns, rows, grid.current, m_bend.data(), m_inLength.data());
        } else {
            std::fill_n(m_bend.data(), rows * columns, 0.0f);
            std::fill_n(m_inLength.data(), rows * columns, 0.0f);
        }
        for (int c = 0; c < columns; ++c) {
            float sumBend = 0.0f;
            float sumLength = 0.0f;
            for (int r = 0; r < rows; ++r) {
                sumBend += m_bend[static_cast<size_t>(r * columns + c)];
                sumLength += m_inLength[static_cast<size_t>(r * columns + c)];
            }
            m_sumBend[static_cast<size_t>(c)] = sumBend;
            m_sumLength[static_cast<size_t>(c)] = sumLength;
        }
        const KeyMetrics metrics{
            m_sumBend.data(), m_sumLength.data(), m_bend.data(), rows, columns, 1, columns};
        if (!PlanSegments(columns, closed, recipe.levels, metrics, m_plan) ||
            !AlongKeySchedule(closed, columns, m_plan.counts.data(), schedule)) {
            messages.inform(kInvalidDivisionMessage);
            return false;
        }
    } else {
        // Pass regime: the rows are kept as they are and must already hold 64 points.
        return columns == kMapSide;
    }
    SampleAlong(recipe.sampler, keyRegime, columns, rows, grid.current, schedule, grid.spare);
    grid.swap();
    columns = kMapSide;
    return true;
}

bool SurfaceBuilder::resampleAlong(const SurfaceRecipe& recipe, Grid& grid, Messages& messages) {
    const DirectionRecipe along{recipe.closedAlong, recipe.seamless,       recipe.insertColumn,
                                recipe.along,       m_columnLevels.data(), true};
    return resampleColumns(along, grid, messages);
}

bool SurfaceBuilder::resampleClosedAcross(const SurfaceRecipe& recipe, Grid& grid,
                                          Messages& messages, Point3* out) {
    // Turned on its side, the ring's lines are the columns of a grid whose rows wrap.
    transpose(grid.current, grid.columns, grid.rows, grid.spare);
    grid.swap();
    std::swap(grid.columns, grid.rows);
    const DirectionRecipe across{
        true, true, recipe.insertClosedLine, recipe.closedAcrossSampler, m_rowLevels.data(), false};
    if (!resampleColumns(across, grid, messages)) {
        return false;
    }
    transpose(grid.current, kMapSide, kMapSide, out);
    return true;
}

bool SurfaceBuilder::resample(const SurfaceRecipe& recipe, Grid& grid, Messages& messages,
                              Point3* out) {
    if (resampleAlong(recipe, grid, messages)) {
        return recipe.closedAcross ? resampleClosedAcross(recipe, grid, messages, out)
                                   : resampleAcross(recipe, grid, messages, out);
    }
    // How the lines are divided does not depend on the columns: a bad division of the lines
    // is reported even when the columns could not be resampled.
    if (!recipe.closedAcross && grid.rows > kAcrossGrowTarget && grid.rows <= kAcrossKeyLimit) {
        SampleSchedule unused;
        planAcross(grid, messages, unused);
    }
    return false;
}

bool SurfaceBuilder::planAcross(const Grid& grid, Messages& messages, SampleSchedule& schedule) {
    const int columns = grid.columns;
    const int rows = grid.rows;
    LineShapeMetrics(columns, rows, grid.current, m_bend.data(), m_inLength.data());
    for (int r = 0; r < rows; ++r) {
        float sumBend = 0.0f;
        float sumLength = 0.0f;
        for (int c = 0; r + 1 < rows && c < columns; ++c) {
            sumBend += m_bend[static_cast<size_t>(r * columns + c)];
            sumLength += m_inLength[static_cast<size_t>(r * columns + c)];
        }
        m_sumBend[static_cast<size_t>(r)] = sumBend;
        m_sumLength[static_cast<size_t>(r)] = sumLength;
    }
    // Line r's single values sit at r * columns + c: the groups are the columns.
    const KeyMetrics metrics{
        m_sumBend.data(), m_sumLength.data(), m_bend.data(), columns, 1, columns, rows - 1};
    if (!PlanSegments(rows, false, m_rowLevels.data(), metrics, m_plan) ||
        !AcrossKeySchedule(rows, m_plan.counts.data(), schedule)) {
        messages.inform(kInvalidDivisionMessage);
        return false;
    }
    return true;
}

bool SurfaceBuilder::resampleAcross(const SurfaceRecipe& recipe, Grid& grid, Messages& messages,
                                    Point3* out) {
    const int columns = grid.columns;
    int& rows = grid.rows;
    SampleSchedule schedule;
    if (rows <= kAcrossGrowTarget) {
        while (rows < kAcrossGrowTarget) {
            const int found = LongestLineGap(columns, rows, grid.current);
            if (found < 0) {
                return false;
            }
            recipe.insertLine(columns, rows, found / columns, grid.current, grid.spare);
            grid.swap();
            ++rows;
        }
        AcrossGrowSchedule(schedule);
    } else if (rows <= kAcrossKeyLimit) {
        if (!planAcross(grid, messages, schedule)) {
            return false;
        }
    } else {
        if (rows != kMapSide) {
            return false;
        }
        std::copy_n(grid.current, kMapPixels, out);
        return true;
    }
    SampleAcross(recipe.across, columns, rows, grid.current, schedule, out);
    return true;
}

bool SurfaceBuilder::buildFixed(const Grid& grid, Point3* out) {
    const int columns = grid.columns;
    const int rows = grid.rows;
    if (columns > kFixedMaxColumns || rows > kFixedMaxRows) {
        return false;
    }
    Point3* along = grid.spare;
    for (int r = 0; r < rows; ++r) {
        const Point3* p = grid.current + r * columns;
        Point3* row = along + r * kMapSide;
        if (uniform(p, columns)) {
            std::fill(row, row + kMapSide, p[0]);
            continue;
        }
        for (int s = 0; s < columns; ++s) {
            const Point3 a = p[s];
            const Point3 b = p[(s + 1) % columns];
            for (int k = 0; k < 8; ++k) {
                row[s * 8 + k] = LinearPoint(a, b, static_cast<float>(k) / 8.0f);
            }
        }
        std::fill(row + columns * 8, row + kMapSide, p[0]);
    }

    std::fill(out, out + kMapPixels, along[(rows - 1) * kMapSide] * kFixedFillScale);
    Point3* dst = out;
    auto emit = [&](int gap, float t) {
        const Point3* upper = along + gap * kMapSide;
        for (int j = 0; j < kMapSide; ++j) {
            *dst++ = LinearPoint(upper[j], upper[j + kMapSide], t);
        }
    };
    for (int k = 0; k < 7; ++k) {
        emit(0, static_cast<float>(k) / 7.0f);
    }
    for (int g = 1; g <= rows - 2; ++g) {
        for (int k = 0; k < 8; ++k) {
            emit(g, static_cast<float>(k) / 8.0f);
        }
    }
    std::copy_n(along + (rows - 1) * kMapSide, kMapSide, dst);
    return true;
}

void SurfaceBuilder::copyGathered(int columns, int rows, Point3* out) const {
    std::fill(out, out + kMapPixels, Point3{});
    const int keepRows = std::min(rows, kMapSide);
    const int keepColumns = std::min(columns, kMapSide);
    for (int r = 0; r < keepRows; ++r) {
        std::copy_n(m_gathered.data() + r * columns, keepColumns, out + r * kMapSide);
    }
}

bool BuildSurface(SPMesh& mesh, int32_t type, Messages& messages) {
    thread_local SurfaceBuilder builder;
    return builder.build(mesh, type, messages);
}

} // namespace tesk
