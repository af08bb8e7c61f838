#include "SPMesh.h"

#include "ArchiveString.h"
#include "ByteStream.h"
#include "Messages.h"
#include "TextMarks.h"

#include <algorithm>

namespace tesk {

const char* const kTooManyImportantMessage =
    TESK_TEXT("Messages", "重要ライン指定ができるのは、５ラインまでです。");

namespace {
constexpr int kMaxFilePoints = 64;
constexpr int kMaxFileLines = 63;
constexpr int kMaxFileLevels = 64;

constexpr const char* kStartTag = "<<SPMesh::start>>";
constexpr const char* kPointTag = "<<point>>";
constexpr const char* kHlevelTag = "hlevel";
constexpr const char* kVlevelTag = "vlevel";
constexpr const char* kTypeTag = "<<SPDimType>>";
constexpr const char* kEndTag = "<<SPMesh::end>>";

bool readTag(ByteReader& in, const char* tag) {
    bool matches = false;
    return readArchiveStringMatching(in, tag, matches) && matches;
}

bool readLevels(ByteReader& in, const char* tag, std::vector<int32_t>& levels) {
    int32_t count = 0;
    if (!readTag(in, tag) || !in.i32(count) || count < 1 || count > kMaxFileLevels) {
        return false;
    }
    levels.resize(static_cast<size_t>(count));
    for (int32_t& level : levels) {
        if (!in.i32(level)) {
            return false;
        }
    }
    return true;
}

/// Inserts a normal level at index, first padding a list that is too short to reach it.
void insertNormalLevel(std::vector<int32_t>& levels, int index) {
    const auto at = static_cast<size_t>(index);
    if (levels.size() < at) {
        levels.resize(at, LEVEL_NORMAL);
    }
    levels.insert(levels.begin() + index, LEVEL_NORMAL);
}

int countImportant(const std::vector<int32_t>& levels, int first, int last) {
    int count = 0;
    for (int i = first; i <= last && i < static_cast<int>(levels.size()); ++i) {
        count += levels[static_cast<size_t>(i)] == LEVEL_IMPORTANT ? 1 : 0;
    }
    return count;
}

/// 3 becomes 1 unless the group already holds kMaxImportant important entries; any other
/// level becomes 3.
bool toggleLevel(std::vector<int32_t>& levels, int index, int groupFirst, int groupLast,
                 Messages& messages) {
    const auto at = static_cast<size_t>(index);
    if (levels.size() <= at) {
        levels.resize(at + 1, LEVEL_NORMAL);
    }
    const int32_t next = levels[at] == LEVEL_NORMAL ? LEVEL_IMPORTANT : LEVEL_NORMAL;
    if (next == LEVEL_IMPORTANT && countImportant(levels, groupFirst, groupLast) >= kMaxImportant) {
        messages.inform(kTooManyImportantMessage);
        return false;
    }
    levels[at] = next;
    return true;
}
} // namespace

int SPMesh::reset(int pointsPerLineCount, int newLineCount) {
    if (pointsPerLineCount < 0 || newLineCount < 0) {
        return 0;
    }
    lines.clear();
    lines.reserve(static_cast<size_t>(newLineCount));
    for (int i = 0; i < newLineCount; ++i) {
        auto line = std::make_unique<SPLine>();
        line->points.assign(static_cast<size_t>(pointsPerLineCount), Point3{});
        line->workPoints = line->points;
        lines.push_back(std::move(line));
    }
    hlevel.assign(static_cast<size_t>(newLineCount), LEVEL_NORMAL);
    vlevel.assign(static_cast<size_t>(pointsPerLineCount), LEVEL_NORMAL);
    return newLineCount;
}

void SPMesh::makeDefault() {
    reset(4, 4);
    const Point3 rows[4][4] = {
        {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}},
        {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
        {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}},
        {{0, 0, -1}, {0, 0, -1}, {0, 0, -1}, {0, 0, -1}},
    };
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            setPoint(j, i, rows[i][j]);
        }
    }
}

bool SPMesh::getPoint(int point, int lineIndex, Point3& out) const {
    if (lineIndex < 0 || lineIndex >= lineCount() || !line(lineIndex).inRange(point)) {
        return false;
    }
    out = line(lineIndex).points[static_cast<size_t>(point)];
    return true;
}

bool SPMesh::setPoint(int point, int lineIndex, Point3 p) {
    if (lineIndex < 0 || lineIndex >= lineCount() || !line(lineIndex).inRange(point) ||
        !isFinite(p)) {
        return false;
    }
    SPLine& target = *lines[static_cast<size_t>(lineIndex)];
    target.points[static_cast<size_t>(point)] = p;
    target.workPoints[static_cast<size_t>(point)] = p;
    return true;
}

bool SPMesh::setWorkPoint(int point, int lineIndex, Point3 p) {
    if (lineIndex < 0 || lineIndex >= lineCount() || !line(lineIndex).inRange(point) ||
        !isFinite(p)) {
        return false;
    }
    lines[static_cast<size_t>(lineIndex)]->workPoints[static_cast<size_t>(point)] = p;
    return true;
}

Point3 SPMesh::workPoint(int point, int lineIndex) const {
    if (lineIndex < 0 || lineIndex >= lineCount()) {
        return {};
    }
    return line(lineIndex).workPoint(point);
}

void SPMesh::copyWorkPoints(Point3* out) const {
    const int columns = pointsPerLine();
    for (const auto& l : lines) {
        for (int j = 0; j < columns; ++j) {
            *out++ = l->workPoint(j);
        }
    }
}

void SPMesh::commitWork() {
    for (auto& l : lines) {
        l->points = l->workPoints;
    }
}

void SPMesh::revertWork() {
    for (auto& l : lines) {
        l->workPoints = l->points;
    }
}

int SPMesh::insertLine(int c) {
    const int count = lineCount();
    if (count >= kMaxEditLines || c < 0 || c >= count - 1) {
        return 0;
    }
    const SPLine& a = line(c);
    const SPLine& b = line(c + 1);
    auto fresh = std::make_unique<SPLine>();
    const int columns = pointsPerLine();
    fresh->points.reserve(static_cast<size_t>(columns));
    for (int j = 0; j < columns; ++j) {
        fresh->points.push_back(midpoint(a.point(j), b.point(j)));
    }
    fresh->workPoints = fresh->points;
    lines.insert(lines.begin() + (c + 1), std::move(fresh));
    insertNormalLevel(hlevel, c + 1);
    return lineCount();
}

int SPMesh::insertColumn(int d) {
    const int columns = pointsPerLine();
    if (columns >= kMaxEditPoints || d < 0 || d >= columns) {
        return 0;
    }
    for (auto& l : lines) {
        const Point3 p = midpoint(l->point(d), l->point((d + 1) % columns));
        l->insertPoint(d + 1, p);
    }
    insertNormalLevel(vlevel, d + 1);
    return pointsPerLine();
}

int SPMesh::deleteLine(int a) {
    if (a < 0 || a >= lineCount() - 1) {
        return 0;
    }
    lines.erase(lines.begin() + a);
    if (static_cast<size_t>(a) < hlevel.size()) {
        hlevel.erase(hlevel.begin() + a);
    }
    return lineCount();
}

int SPMesh::deleteColumn(int a) {
    const int columns = pointsPerLine();
    if (a < 0 || a >= columns) {
        return 0;
    }
    for (auto& l : lines) {
        l->removePoint(a);
    }
    if (pointsPerLine() < columns && static_cast<size_t>(a) < vlevel.size()) {
        vlevel.erase(vlevel.begin() + a);
    }
    return pointsPerLine();
}

int32_t SPMesh::lineLevel(int lineIndex) const {
    if (lineIndex < 0 || static_cast<size_t>(lineIndex) >= hlevel.size()) {
        return LEVEL_NORMAL;
    }
    return hlevel[static_cast<size_t>(lineIndex)];
}

int32_t SPMesh::columnLevel(int column) const {
    if (column < 0 || static_cast<size_t>(column) >= vlevel.size()) {
        return LEVEL_NORMAL;
    }
    return vlevel[static_cast<size_t>(column)];
}

bool SPMesh::toggleLineLevel(int lineIndex, Messages& messages) {
    const int last = lineCount() - 2;
    if (lineIndex < 1 || lineIndex > last) {
        return false;
    }
    return toggleLevel(hlevel, lineIndex, 1, last, messages);
}

bool SPMesh::toggleColumnLevel(int column, Messages& messages) {
    const int columns = pointsPerLine();
    if (column < 0 || column >= columns) {
        return false;
    }
    return toggleLevel(vlevel, column, 0, columns - 1, messages);
}

bool SPMesh::writeMesh(ByteWriter& out) const {
    const int columns = pointsPerLine();
    out.reserve(out.size() + 200 + static_cast<size_t>(lineCount() * columns) * 12 +
                (hlevel.size() + vlevel.size()) * 4);
    writeArchiveString(out, kStartTag);
    writeArchiveString(out, kPointTag);
    out.i32(columns);
    out.i32(lineCount());
    for (const auto& l : lines) {
        for (int j = 0; j < columns; ++j) {
            const Point3 p = l->point(j);
            out.f32(p.x);
            out.f32(p.y);
            out.f32(p.z);
        }
    }
    writeArchiveString(out, kHlevelTag);
    out.i32(static_cast<int32_t>(hlevel.size()));
    for (int32_t level : hlevel) {
        out.i32(level);
    }
    writeArchiveString(out, kVlevelTag);
    out.i32(static_cast<int32_t>(vlevel.size()));
    for (int32_t level : vlevel) {
        out.i32(level);
    }
    writeArchiveString(out, kTypeTag);
    out.i32(SPDimType);
    writeArchiveString(out, kEndTag);
    return true;
}

bool SPMesh::readMesh(ByteReader& in) {
    int32_t columns = 0;
    int32_t rows = 0;
    if (!readTag(in, kStartTag) || !readTag(in, kPointTag) || !in.i32(columns) || !in.i32(rows) ||
        columns < 1 || columns > kMaxFilePoints || rows < 1 || rows > kMaxFileLines) {
        return false;
    }
    const size_t pointCount = static_cast<size_t>(columns) * static_cast<size_t>(rows);
    if (pointCount * 12 > in.remaining()) {
        return false;
    }
    std::vector<Point3> points(pointCount);
    for (Point3& p : points) {
        in.f32(p.x);
        in.f32(p.y);
        in.f32(p.z);
        if (!isFinite(p)) {
            return false;
        }
    }
    std::vector<int32_t> lineLevels;
    std::vector<int32_t> columnLevels;
    int32_t type = 0;
    if (!readLevels(in, kHlevelTag, lineLevels) || !readLevels(in, kVlevelTag, columnLevels) ||
        !readTag(in, kTypeTag) || !in.i32(type) || !readTag(in, kEndTag)) {
        return false;
    }

    reset(columns, rows);
    for (int i = 0; i < rows; ++i) {
        SPLine& target = *lines[static_cast<size_t>(i)];
        const auto first = points.begin() + static_cast<ptrdiff_t>(i) * columns;
        target.points.assign(first, first + columns);
        target.workPoints = target.points;
    }
    // The stored lists may disagree with the stored counts; they are padded with 3 or cut to
    // lineCount and pointsPerLine here, so every list in memory matches its count.
    lineLevels.resize(static_cast<size_t>(rows), LEVEL_NORMAL);
    columnLevels.resize(static_cast<size_t>(columns), LEVEL_NORMAL);
    hlevel = std::move(lineLevels);
    vlevel = std::move(columnLevels);
    SPDimType = type;
    return true;
}

} // namespace tesk
