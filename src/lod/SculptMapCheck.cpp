#include "SculptMapCheck.h"

#include "MapSide.h"
#include "ShapeTypes.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tesk {

const std::array<StitchName, 4> kStitchNames = {{{kStitchSphere, "sphere"},
                                                 {kStitchTorus, "torus"},
                                                 {kStitchPlane, "plane"},
                                                 {kStitchCylinder, "cylinder"}}};

const char* stitchName(int stitch) {
    for (const StitchName& entry : kStitchNames) {
        if (entry.stitch == stitch) {
            return entry.name;
        }
    }
    return "sphere";
}

namespace {

/// The larger code difference of the three channels.
int codeDistance(uint32_t a, uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFFu);
        const int cb = static_cast<int>((b >> shift) & 0xFFu);
        largest = std::max(largest, std::abs(ca - cb));
    }
    return largest;
}

__attribute__((format(printf, 1, 2))) std::string format(const char* pattern, ...) {
    char text[256];
    va_list args;
    va_start(args, pattern);
    std::vsnprintf(text, sizeof text, pattern, args);
    va_end(args);
    return text;
}

CheckFinding checkArea(SculptMapCheck& check, std::span<const uint32_t> picture,
                       std::vector<LodGrid>& grids) {
    CheckFinding finding{CheckSeverity::Ok, "area", {}};
    for (size_t i = 0; i < kViewerFaces.size(); ++i) {
        const int faces = kViewerFaces[i];
        buildLodGrid(picture, kMapSide, kMapSide, check.stitch, faces, grids[i]);
        check.areas[i] = lodSurfaceArea(grids[i]);
        const bool inside = check.areas[i] >= kMinSculptArea && check.areas[i] <= kMaxSculptArea;
        if (faces != kAreaUncheckedFaces && !inside && finding.severity == CheckSeverity::Ok) {
            finding.severity = CheckSeverity::Error;
            finding.note = CheckNote::AreaOutside;
            finding.values = {static_cast<double>(check.areas[i]), static_cast<double>(faces),
                              static_cast<double>(kMinSculptArea),
                              static_cast<double>(kMaxSculptArea)};
            finding.text =
                format("%.4g at %d faces is outside %g to %g; viewers show a sphere "
                       "in its place",
                       static_cast<double>(check.areas[i]), faces,
                       static_cast<double>(kMinSculptArea), static_cast<double>(kMaxSculptArea));
        }
    }
    if (finding.severity == CheckSeverity::Ok) {
        finding.text =
            format("%.4g at %d faces, inside %g to %g", static_cast<double>(check.areas[0]),
                   kViewerFaces[0], static_cast<double>(kMinSculptArea),
                   static_cast<double>(kMaxSculptArea));
    }
    return finding;
}

struct SeamScan {
    int open = 0;    ///< lines whose last pixel does not lead back to the first
    int gap = 0;     ///< largest code difference between a line's first and last pixels
    int step = 0;    ///< largest step between neighbours away from the seam
    int meeting = 0; ///< lines of more than one point whose first and last pixels coincide
    int lines = 0;   ///< lines of more than one point
};

// The seam between the first and last columns of each row, or (acrossRows) between the first
// and last rows of each column; `skip` end lines are left out.
SeamScan scanSeam(std::span<const uint32_t> picture, bool acrossRows, int skip) {
    const auto at = [&](int line, int i) {
        return acrossRows ? picture[static_cast<size_t>(i) * kMapSide + static_cast<size_t>(line)]
                          : picture[static_cast<size_t>(line) * kMapSide + static_cast<size_t>(i)];
    };
    SeamScan scan;
    for (int line = skip; line < kMapSide - skip; ++line) {
        const int gap = codeDistance(at(line, 0), at(line, kMapSide - 1));
        int step = 0;
        for (int i = 1; i + 2 < kMapSide; ++i) {
            step = std::max(step, codeDistance(at(line, i), at(line, i + 1)));
        }
        scan.gap = std::max(scan.gap, gap);
        scan.step = std::max(scan.step, step);
        if (gap > kSameVertexCodes && gap > 2 * step + kSameVertexCodes) {
            ++scan.open;
        }
        if (step > kSameVertexCodes) {
            ++scan.lines;
            scan.meeting += gap <= kSameVertexCodes ? 1 : 0;
        }
    }
    return scan;
}

CheckFinding openSeam(const SeamScan& scan, bool rows) {
    const char* lines = rows ? "rows" : "columns";
    const char* across = rows ? "columns" : "rows";
    return {CheckSeverity::Warning,
            "seam",
            format("open in %d %s: first and last %s differ by up to %d codes, neighbouring %s "
                   "by at most %d",
                   scan.open, lines, across, scan.gap, across, scan.step),
            rows ? CheckNote::SeamOpenRows : CheckNote::SeamOpenColumns,
            {static_cast<double>(scan.open), static_cast<double>(scan.gap),
             static_cast<double>(scan.step), 0.0}};
}

// Viewers join the last column to the first (and, for the torus, the last row to the first),
// so what matters is whether the map's loop closes there: a gap far beyond the line's ordinary
// steps is bridged by a stretched band. A last column that repeats the first and one that lies
// a regular step before it both close. A sheet whose edges meet is a loop that viewers leave
// unjoined, so its seam shows.
CheckFinding checkSeam(SculptMapCheck& check, std::span<const uint32_t> picture) {
    if (check.stitch == kStitchPlane) {
        const SeamScan rows = scanSeam(picture, false, 0);
        const SeamScan columns = scanSeam(picture, true, 0);
        const bool rowsMeet = rows.lines > 0 && rows.meeting == rows.lines;
        const bool columnsMeet = columns.lines > 0 && columns.meeting == columns.lines;
        if (rowsMeet || columnsMeet) {
            return {CheckSeverity::Warning, "seam",
                    format("a loop built as a sheet: its %s meet, but viewers do not join a "
                           "sheet's edges; a tube (C) or ring (T) type joins them",
                           rowsMeet && columnsMeet ? "first and last columns and rows"
                           : rowsMeet              ? "first and last columns"
                                                   : "first and last rows"),
                    rowsMeet && columnsMeet ? CheckNote::SheetLoopBoth
                    : rowsMeet              ? CheckNote::SheetLoopColumns
                                            : CheckNote::SheetLoopRows};
        }
        return {CheckSeverity::Ok, "seam", "none, the sheet's edges stay open"};
    }
    // The sphere's first and last rows collapse to a point, so their seam is never seen.
    const SeamScan rows = scanSeam(picture, false, check.stitch == kStitchSphere ? 1 : 0);
    check.seamRows = rows.open;
    check.seamGap = rows.gap;
    check.seamStep = rows.step;
    if (rows.open > 0) {
        return openSeam(rows, true);
    }
    if (check.stitch == kStitchTorus) {
        const SeamScan columns = scanSeam(picture, true, 0);
        check.seamColumns = columns.open;
        if (columns.open > 0) {
            return openSeam(columns, false);
        }
        return {CheckSeverity::Ok, "seam",
                format("closed, first and last columns differ by up to %d codes, first and "
                       "last rows by up to %d",
                       rows.gap, columns.gap)};
    }
    return {CheckSeverity::Ok, "seam",
            format("closed, first and last columns differ by up to %d codes", rows.gap)};
}

CheckFinding checkPoles(SculptMapCheck& check, std::span<const uint32_t> picture) {
    if (check.stitch != kStitchSphere) {
        return {CheckSeverity::Ok, "poles", "none, only sphere stitching has poles"};
    }
    const int rows[2] = {0, kMapSide - 1};
    for (int i = 0; i < 2; ++i) {
        const uint32_t* row = picture.data() + static_cast<size_t>(rows[i]) * kMapSide;
        for (int c = 0; c < kMapSide; ++c) {
            check.poleSpread[i] = std::max(check.poleSpread[i], codeDistance(row[c], row[32]));
        }
    }
    const int spread = std::max(check.poleSpread[0], check.poleSpread[1]);
    if (spread > kSameVertexCodes) {
        return {CheckSeverity::Warning,
                "poles",
                format("the top row spreads %d codes and the bottom row %d from their middle "
                       "pixels; viewers pull each to a point",
                       check.poleSpread[0], check.poleSpread[1]),
                CheckNote::PolesSpread,
                {static_cast<double>(check.poleSpread[0]), static_cast<double>(check.poleSpread[1]),
                 0.0, 0.0}};
    }
    return {CheckSeverity::Ok, "poles", "the top and bottom rows each collapse to a point"};
}

float distanceToSegment(Point3 p, Point3 a, Point3 b) {
    const Point3 ab = b - a;
    const float lengthSquared = dot(ab, ab);
    const float t =
        lengthSquared > 0.0f ? std::clamp(dot(p - a, ab) / lengthSquared, 0.0f, 1.0f) : 0.0f;
    return length(p - (a + ab * t));
}

/// Degenerate triangles (the poles' quads, folded maps) are measured by their edges.
float distanceToTriangle(Point3 p, Point3 a, Point3 b, Point3 c) {
    const Point3 normal = cross(b - a, c - a);
    const float normalSquared = dot(normal, normal);
    if (normalSquared > 0.0f) {
        const float height = dot(p - a, normal) / normalSquared;
        const Point3 q = p - normal * height;
        if (dot(cross(b - a, q - a), normal) >= 0.0f && dot(cross(c - b, q - b), normal) >= 0.0f &&
            dot(cross(a - c, q - c), normal) >= 0.0f) {
            return std::abs(height) * std::sqrt(normalSquared);
        }
    }
    return std::min(
        {distanceToSegment(p, a, b), distanceToSegment(p, b, c), distanceToSegment(p, c, a)});
}

/// The distance from p to the quad (row, column) of a grid, split as viewers split it.
float distanceToQuad(Point3 p, const LodGrid& grid, int row, int column) {
    const Point3 p1 = grid.at(row, column);
    const Point3 p2 = grid.at(row, column + 1);
    const Point3 p3 = grid.at(row + 1, column);
    const Point3 p4 = grid.at(row + 1, column + 1);
    return std::min(distanceToTriangle(p, p1, p2, p3), distanceToTriangle(p, p4, p2, p3));
}

// Every pixel is a vertex of the full shape, at a vertex of the 32-face shape, on an edge or in
// the middle of a quad; its distance from the quads there is detail no level shows. Measured
// from the surface rather than at the same place on it, so that a last column that repeats the
// first (closing the loop one pixel early) costs nothing.
CheckFinding checkDetail(SculptMapCheck& check, std::span<const uint32_t> picture,
                         const LodGrid& finest) {
    LodGrid full;
    buildLodGrid(picture, kMapSide, kMapSide, check.stitch, 2 * finest.faces, full);
    // The quads of the finest grid that touch vertex i of the full grid along one side.
    const auto firstQuad = [](int i) { return std::max(0, (i - 1) / 2); };
    const auto lastQuad = [&finest](int i) { return std::min(finest.faces - 1, i / 2); };
    for (int r = 0; r <= full.faces; ++r) {
        for (int c = r % 2 == 0 ? 1 : 0; c <= full.faces; c += r % 2 == 0 ? 2 : 1) {
            // A point of the surface at the vertex's place (a quad's middle lies on its split)
            // bounds the distance; most vertices cannot raise the largest one found so far.
            const Point3 p = full.at(r, c);
            const Point3 onSurface =
                r % 2 == 1 && c % 2 == 1
                    ? midpoint(finest.at(r / 2, c / 2 + 1), finest.at(r / 2 + 1, c / 2))
                    : finest.between(static_cast<float>(r) * 0.5f, static_cast<float>(c) * 0.5f);
            if (length(p - onSurface) <= check.detail) {
                continue;
            }
            float nearest = std::numeric_limits<float>::max();
            for (int qr = firstQuad(r); qr <= lastQuad(r); ++qr) {
                for (int qc = firstQuad(c); qc <= lastQuad(c); ++qc) {
                    nearest = std::min(nearest, distanceToQuad(p, finest, qr, qc));
                }
            }
            check.detail = std::max(check.detail, nearest);
        }
    }
    const double percent = static_cast<double>(check.detail) * 100.0;
    if (check.detail > kDetailWarning) {
        return {CheckSeverity::Warning,
                "detail",
                format("the %d-face shape is up to %.1f %% of the size away from the full "
                       "shape; no level shows that detail",
                       finest.faces, percent),
                CheckNote::DetailLost,
                {static_cast<double>(finest.faces), percent, 0.0, 0.0}};
    }
    return {CheckSeverity::Ok, "detail",
            format("the %d-face shape stays within %.1f %% of the size of the full shape",
                   finest.faces, percent)};
}

CheckFinding checkPrecision(SculptMapCheck& check, std::span<const uint32_t> picture) {
    static constexpr const char* kChannels[3] = {"X (red)", "Y (green)", "Z (blue)"};
    std::string narrow;
    for (int k = 0; k < 3; ++k) {
        const int shift = 8 * k;
        const auto [low, high] =
            std::minmax_element(picture.begin(), picture.end(), [shift](uint32_t a, uint32_t b) {
                return ((a >> shift) & 0xFFu) < ((b >> shift) & 0xFFu);
            });
        check.channelSpan[k] =
            static_cast<int>(((*high >> shift) & 0xFFu) - ((*low >> shift) & 0xFFu));
        if (check.channelSpan[k] > 0 && check.channelSpan[k] < kMinChannelSpan) {
            narrow += format("%s%s spans only %d codes", narrow.empty() ? "" : ", ", kChannels[k],
                             check.channelSpan[k]);
        }
    }
    if (!narrow.empty()) {
        return {CheckSeverity::Warning,
                "precision",
                narrow + "; too few steps for a shape",
                CheckNote::Narrow,
                {static_cast<double>(check.channelSpan[0]),
                 static_cast<double>(check.channelSpan[1]),
                 static_cast<double>(check.channelSpan[2]), 0.0}};
    }
    return {CheckSeverity::Ok, "precision",
            format("X, Y and Z span %d, %d and %d codes", check.channelSpan[0],
                   check.channelSpan[1], check.channelSpan[2])};
}

} // namespace

CheckSeverity SculptMapCheck::worst() const {
    CheckSeverity worst = CheckSeverity::Ok;
    for (const CheckFinding& finding : findings) {
        worst = std::max(worst, finding.severity);
    }
    return worst;
}

SculptMapCheck checkSculptMap(std::span<const uint32_t> picture, int stitch) {
    SculptMapCheck check;
    check.stitch = stitch;
    if (picture.size() != static_cast<size_t>(kMapPixels)) {
        return check;
    }
    std::vector<LodGrid> grids(kViewerFaces.size());
    check.findings.push_back(checkArea(check, picture, grids));
    check.findings.push_back(checkSeam(check, picture));
    check.findings.push_back(checkPoles(check, picture));
    check.findings.push_back(checkDetail(check, picture, grids[0]));
    check.findings.push_back(checkPrecision(check, picture));
    return check;
}

} // namespace tesk
