#include "MapFit.h"

#include "MapSide.h"
#include "Messages.h"
#include "SPMesh.h"
#include "ShapeTypes.h"
#include "SurfaceBuilder.h"
#include "TextMarks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace tesk {

const char* const kOneColourMapMessage =
    TESK_TEXT("Messages", "単色の画像からは形状を作れません。");
const char* const kNetSizeMessage =
    TESK_TEXT("Messages", "この線数・点数では、このタイプの形状を組み立てられません。");

namespace {

constexpr int kSteps = 8;
// Points move by this much to read the builder's weights: a power of two, so the moved
// coordinates stay exact, and small enough that the key columns stay where they are.
constexpr float kProbe = 1.0f / 64.0f;

int code(uint32_t pixel, int axis) {
    return static_cast<int>((pixel >> (8 * axis)) & 0xFFu);
}

float coordinate(const Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

float& coordinate(Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

bool samePixel(uint32_t a, uint32_t b) {
    return (a & 0xFFFFFFu) == (b & 0xFFFFFFu);
}

bool rowIsOnePoint(const uint32_t* map, int row) {
    const uint32_t* r = map + row * kMapSide;
    return std::all_of(r, r + kMapSide, [r](uint32_t p) { return samePixel(p, r[0]); });
}

/// One fit of one type and net: the weights of the current keys, the solve, and the best
/// points met so far, judged by their real rebuild.
class NetFit {
public:
    NetFit(const uint32_t* map, int32_t type, int lines, int points, const MapFitRequest& request)
        : m_map(map), m_type(type), m_lines(lines), m_points(points), m_poles(hasPoles(type)) {
        m_mesh.reset(points, lines);
        auto levels = [](const std::vector<int32_t>& given, int count) {
            return given.size() == static_cast<size_t>(count)
                       ? given
                       : std::vector<int32_t>(static_cast<size_t>(count), LEVEL_NORMAL);
        };
        m_mesh.hlevel = levels(request.hlevel, lines);
        m_mesh.vlevel = levels(request.vlevel, points);
        if (request.hlevel.empty() && request.vlevel.empty()) {
            markSteadyKeys();
        }
        for (int axis = 0; axis < 3; ++axis) {
            m_target[axis].resize(kMapPixels);
            for (int i = 0; i < kMapPixels; ++i) {
                m_target[axis][i] = static_cast<float>(code(map[i], axis)) / 255.0f;
            }
        }
    }

    /// False when the type cannot build this net.
    bool buildable() {
        startFromMap();
        RecordingMessages messages;
        std::vector<Point3> grid(kMapPixels);
        return m_builder.buildGrid(m_mesh, m_type, messages, grid.data()) ==
                   GridOutcome::Resampled &&
               messages.texts.empty();
    }

    void run() {
        m_best = current();
        m_bestError = judge(m_best);
        for (int step = 0; step < kSteps; ++step) {
            std::vector<Point3> next = solve(current());
            const double error = judge(next);
            put(next);
            if (error < m_bestError) {
                m_bestError = error;
                m_best = next;
            }
        }
        put(m_best);
    }

    double bestError() const { return m_bestError; }

    /// Writes the best points, levels and type into `mesh` and rebuilds it there.
    MapFitResult finish(SPMesh& mesh) {
        tidyUnusedLines(m_best);
        // The fit works in the map's 0 .. 1; the editor's shapes live in -1 .. 1. The rebuild
        // scales every axis to its own box, so the map stays the same.
        for (Point3& p : m_best) {
            p = Point3{2.0f * p.x - 1.0f, 2.0f * p.y - 1.0f, 2.0f * p.z - 1.0f};
        }
        mesh.reset(m_points, m_lines);
        for (int i = 0; i < m_lines; ++i) {
            for (int j = 0; j < m_points; ++j) {
                mesh.setPoint(j, i, m_best[static_cast<size_t>(i * m_points + j)]);
            }
        }
        mesh.hlevel = m_mesh.hlevel;
        mesh.vlevel = m_mesh.vlevel;
        mesh.SPDimType = m_type;
        RecordingMessages messages;
        m_builder.build(mesh, m_type, messages);
        mesh.commitWork();
        MapFitResult result;
        result.ok = true;
        result.type = m_type;
        result.lines = m_lines;
        result.points = m_points;
        result.error = CompareMaps(mesh.map.data(), m_map, kMapPixels);
        return result;
    }

private:
    size_t index(int line, int point) const { return static_cast<size_t>(line * m_points + point); }

    /// Unmarked, the largest net takes its key columns from its own bends, so every step of
    /// the fit could move them and the fit wander between keyings. Four important lines and
    /// columns at every other index make the keys every other line and column whatever the
    /// points: the samples fall evenly and the weights stay put.
    void markSteadyKeys() {
        if (m_type == DIM_POLES_FIXED) {
            return;
        }
        if (m_points == kMaxEditPoints) {
            for (const int column : {2, 4, 6, 8}) {
                m_mesh.vlevel[static_cast<size_t>(column)] = LEVEL_IMPORTANT;
            }
        }
        if (m_lines == kMaxEditLines) {
            for (const int row : {2, 4, 6, 8}) {
                // A sheet's rows start at its line 1.
                m_mesh.hlevel[static_cast<size_t>(m_poles ? row : row + 1)] = LEVEL_IMPORTANT;
            }
        }
    }

    /// The map row and column that line i and point j of the net would come out near.
    void startFromMap() {
        std::vector<Point3> start(static_cast<size_t>(m_lines * m_points));
        const int firstUsed = m_poles ? 0 : 1;
        const int used = m_poles ? m_lines : m_lines - 2;
        for (int i = 0; i < m_lines; ++i) {
            const int u = std::clamp(i - firstUsed, 0, used - 1);
            const int row = (u * (kMapSide - 1) + (used - 1) / 2) / std::max(1, used - 1);
            for (int j = 0; j < m_points; ++j) {
                const int column = m_poles ? (j * kMapSide / m_points) % kMapSide
                                           : (j * (kMapSide - 1)) / (m_points - 1);
                Point3& p = start[index(i, j)];
                for (int axis = 0; axis < 3; ++axis) {
                    coordinate(p, axis) =
                        m_target[axis][static_cast<size_t>(row * kMapSide + column)];
                }
            }
        }
        put(start);
    }

    std::vector<Point3> current() const {
        std::vector<Point3> points(static_cast<size_t>(m_lines * m_points));
        for (int i = 0; i < m_lines; ++i) {
            for (int j = 0; j < m_points; ++j) {
                points[index(i, j)] = m_mesh.workPoint(j, i);
            }
        }
        return points;
    }

    void put(const std::vector<Point3>& points) {
        for (int i = 0; i < m_lines; ++i) {
            for (int j = 0; j < m_points; ++j) {
                m_mesh.setWorkPoint(j, i, points[index(i, j)]);
            }
        }
    }

    void buildRaw(std::vector<Point3>& grid) {
        m_builder.buildGrid(m_mesh, m_type, m_quiet, grid.data());
    }

    /// The summed mean code error of the points' real rebuild, keys and all.
    double judge(const std::vector<Point3>& points) {
        put(points);
        m_trial.reset(m_points, m_lines);
        for (int i = 0; i < m_lines; ++i) {
            for (int j = 0; j < m_points; ++j) {
                m_trial.setPoint(j, i, points[index(i, j)]);
            }
        }
        m_trial.hlevel = m_mesh.hlevel;
        m_trial.vlevel = m_mesh.vlevel;
        m_builder.build(m_trial, m_type, m_quiet);
        const auto error = CompareMaps(m_trial.map.data(), m_map, kMapPixels);
        return error[0].mean + error[1].mean + error[2].mean;
    }

    /// One least-squares step from `from`: the builder's weights at the current keys, read by
    /// moving one point per axis at a time, then the normal equations solved per axis.
    std::vector<Point3> solve(const std::vector<Point3>& from) {
        const int unknowns = m_lines * m_points;
        put(from);
        std::vector<Point3> base(kMapPixels);
        std::vector<Point3> moved(kMapPixels);
        buildRaw(base);
        // weights[k][v]: how vertex v moves with point k (the same on every axis). Where the
        // point sits on a tie between two key choices, moving it one way changes the keys; the
        // other way keeps them, and its column is the small one, so that one is kept.
        std::vector<std::vector<float>> weights(static_cast<size_t>(unknowns));
        std::vector<float> other(kMapPixels);
        for (int k = 0; k < unknowns; k += 3) {
            const int count = std::min(3, unknowns - k);
            for (const float sign : {1.0f, -1.0f}) {
                std::vector<Point3> probe = from;
                for (int axis = 0; axis < count; ++axis) {
                    coordinate(probe[static_cast<size_t>(k + axis)], axis) += sign * kProbe;
                }
                put(probe);
                buildRaw(moved);
                for (int axis = 0; axis < count; ++axis) {
                    std::vector<float>& w = weights[static_cast<size_t>(k + axis)];
                    std::vector<float>& column = sign > 0 ? w : other;
                    column.resize(kMapPixels);
                    for (int v = 0; v < kMapPixels; ++v) {
                        const auto i = static_cast<size_t>(v);
                        column[i] = sign *
                                    (coordinate(moved[i], axis) - coordinate(base[i], axis)) /
                                    kProbe;
                    }
                    if (sign < 0) {
                        keepSteadier(w, other);
                    }
                }
            }
        }
        // Per vertex, the points it depends on: a handful, so the normal matrix is cheap.
        std::vector<std::vector<std::pair<int, float>>> touching(kMapPixels);
        for (int k = 0; k < unknowns; ++k) {
            for (int v = 0; v < kMapPixels; ++v) {
                const float w = weights[static_cast<size_t>(k)][static_cast<size_t>(v)];
                if (std::fabs(w) > 1e-6f) {
                    touching[static_cast<size_t>(v)].emplace_back(k, w);
                }
            }
        }
        const auto n = static_cast<size_t>(unknowns);
        std::vector<double> normal(n * n, 0.0);
        std::array<std::vector<double>, 3> rhs;
        for (auto& r : rhs) {
            r.assign(n, 0.0);
        }
        for (int v = 0; v < kMapPixels; ++v) {
            const auto& row = touching[static_cast<size_t>(v)];
            for (const auto& [a, wa] : row) {
                for (const auto& [b, wb] : row) {
                    normal[static_cast<size_t>(a) * n + static_cast<size_t>(b)] +=
                        static_cast<double>(wa) * wb;
                }
                for (int axis = 0; axis < 3; ++axis) {
                    rhs[axis][static_cast<size_t>(a)] +=
                        static_cast<double>(wa) * m_target[axis][static_cast<size_t>(v)];
                }
            }
        }
        // A light pull towards the old points keeps points the map does not see (the pole
        // lines, a sheet's unused lines, flat axes) where they were, and the system solvable.
        double largest = 0;
        for (size_t k = 0; k < n; ++k) {
            largest = std::max(largest, normal[k * n + k]);
        }
        const double pull = 1e-7 * largest + 1e-12;
        for (size_t k = 0; k < n; ++k) {
            normal[k * n + k] += pull;
            for (int axis = 0; axis < 3; ++axis) {
                rhs[axis][k] += pull * coordinate(from[k], axis);
            }
        }
        std::vector<Point3> next = from;
        if (!choleskySolve(normal, n, rhs)) {
            return next;
        }
        for (size_t k = 0; k < n; ++k) {
            for (int axis = 0; axis < 3; ++axis) {
                if (std::isfinite(rhs[axis][k])) {
                    coordinate(next[k], axis) = static_cast<float>(rhs[axis][k]);
                }
            }
        }
        return next;
    }

    /// Both one-sided columns of a point: their mean where they agree, else the smaller.
    static void keepSteadier(std::vector<float>& forward, const std::vector<float>& backward) {
        double sizeForward = 0;
        double sizeBackward = 0;
        double apart = 0;
        for (size_t v = 0; v < forward.size(); ++v) {
            sizeForward += std::fabs(forward[v]);
            sizeBackward += std::fabs(backward[v]);
            apart += std::fabs(forward[v] - backward[v]);
        }
        if (apart <= 1e-3 * (sizeForward + sizeBackward) + 1e-3) {
            for (size_t v = 0; v < forward.size(); ++v) {
                forward[v] = 0.5f * (forward[v] + backward[v]);
            }
        } else if (sizeBackward < sizeForward) {
            forward = backward;
        }
    }

    /// Solves in place for the three right-hand sides; false when the matrix is not positive.
    static bool choleskySolve(std::vector<double>& a, size_t n,
                              std::array<std::vector<double>, 3>& rhs) {
        for (size_t j = 0; j < n; ++j) {
            double d = a[j * n + j];
            for (size_t k = 0; k < j; ++k) {
                d -= a[j * n + k] * a[j * n + k];
            }
            if (!(d > 0)) {
                return false;
            }
            const double l = std::sqrt(d);
            a[j * n + j] = l;
            for (size_t i = j + 1; i < n; ++i) {
                double s = a[i * n + j];
                for (size_t k = 0; k < j; ++k) {
                    s -= a[i * n + k] * a[j * n + k];
                }
                a[i * n + j] = s / l;
            }
        }
        for (auto& b : rhs) {
            for (size_t i = 0; i < n; ++i) {
                double s = b[i];
                for (size_t k = 0; k < i; ++k) {
                    s -= a[i * n + k] * b[k];
                }
                b[i] = s / a[i * n + i];
            }
            for (size_t i = n; i-- > 0;) {
                double s = b[i];
                for (size_t k = i + 1; k < n; ++k) {
                    s -= a[k * n + i] * b[k];
                }
                b[i] = s / a[i * n + i];
            }
        }
        return true;
    }

    /// Lines the map does not see get what the builder would give them: the poles their
    /// neighbours' centres, a sheet's end lines copies of their neighbours.
    void tidyUnusedLines(std::vector<Point3>& points) const {
        for (const auto& [end, next] : {std::pair{0, 1}, std::pair{m_lines - 1, m_lines - 2}}) {
            Point3 centre;
            for (int j = 0; j < m_points; ++j) {
                centre.x += points[index(next, j)].x / static_cast<float>(m_points);
                centre.y += points[index(next, j)].y / static_cast<float>(m_points);
                centre.z += points[index(next, j)].z / static_cast<float>(m_points);
            }
            for (int j = 0; j < m_points; ++j) {
                points[index(end, j)] = m_poles ? centre : points[index(next, j)];
            }
        }
    }

    const uint32_t* m_map;
    int32_t m_type;
    int m_lines;
    int m_points;
    bool m_poles;
    std::array<std::vector<float>, 3> m_target;
    SPMesh m_mesh;
    SPMesh m_trial;
    SurfaceBuilder m_builder;
    RecordingMessages m_quiet;
    std::vector<Point3> m_best;
    double m_bestError = 0;
};

std::vector<int32_t> candidateTypes(const uint32_t* map) {
    // "L [2]" builds only small nets, so it is tried only when asked for.
    const std::vector<int32_t> poles = {DIM_POLES_LINEAR, DIM_POLES_CR_ALONG,
                                        DIM_POLES_BSPLINE_ALONG, DIM_POLES_CR, DIM_POLES_BSPLINE};
    const std::vector<int32_t> sheets = {DIM_SHEET_LINEAR, DIM_SHEET_BSPLINE_ALONG,
                                         DIM_SHEET_BSPLINE};
    switch (detectMapFamily(map)) {
    case MapFamily::Poles:
        return poles;
    case MapFamily::Sheet:
        return sheets;
    default: {
        // A tube or ring: pole types close their rows, sheets can repeat a line's first point.
        std::vector<int32_t> both = poles;
        both.insert(both.end(), sheets.begin(), sheets.end());
        return both;
    }
    }
}

} // namespace

int MapFitResult::largestError() const {
    return std::max({error[0].largest, error[1].largest, error[2].largest});
}

MapFamily detectMapFamily(const uint32_t* map) {
    // Poles of the B-spline types leave one end a ring around the pole, so one end suffices.
    if (rowIsOnePoint(map, 0) || rowIsOnePoint(map, kMapSide - 1)) {
        return MapFamily::Poles;
    }
    for (int row = 0; row < kMapSide; ++row) {
        if (!samePixel(map[row * kMapSide], map[row * kMapSide + kMapSide - 1])) {
            return MapFamily::Sheet;
        }
    }
    return MapFamily::ClosedRows;
}

std::array<ChannelError, 3> CompareMaps(const uint32_t* a, const uint32_t* b, int count) {
    std::array<ChannelError, 3> result{};
    for (int axis = 0; axis < 3; ++axis) {
        long long sum = 0;
        for (int i = 0; i < count; ++i) {
            const int d = std::abs(code(a[i], axis) - code(b[i], axis));
            sum += d;
            result[axis].largest = std::max(result[axis].largest, d);
        }
        result[axis].mean = count > 0 ? static_cast<double>(sum) / count : 0.0;
    }
    return result;
}

MapFitResult FitSculptMap(const uint32_t* map, const MapFitRequest& request, SPMesh& mesh) {
    MapFitResult refused;
    if (std::all_of(map, map + kMapPixels, [map](uint32_t p) { return samePixel(p, map[0]); })) {
        refused.problem = kOneColourMapMessage;
        return refused;
    }
    if (request.type != -1 && !isKnownShapeType(request.type)) {
        refused.problem = kNetSizeMessage;
        return refused;
    }
    const std::vector<int32_t> types =
        request.type == -1 ? candidateTypes(map) : std::vector<int32_t>{request.type};
    std::unique_ptr<NetFit> best;
    for (const int32_t type : types) {
        const bool small = type == DIM_POLES_FIXED;
        const int lines = request.lines > 0 ? request.lines : small ? 9 : kMaxEditLines;
        const int points = request.points > 0 ? request.points : small ? 8 : kMaxEditPoints;
        if (lines < 3 || lines > 63 || points < 3 || points > 64) {
            continue;
        }
        auto fit = std::make_unique<NetFit>(map, type, lines, points, request);
        if (!fit->buildable()) {
            continue;
        }
        fit->run();
        if (!best || fit->bestError() < best->bestError()) {
            best = std::move(fit);
        }
    }
    if (!best) {
        refused.problem = kNetSizeMessage;
        return refused;
    }
    return best->finish(mesh);
}

} // namespace tesk
