#pragma once
// Importing a sculpt map: finds control points of a net whose rebuild comes as close as the
// shape type allows to a given 64 x 64 map. The rebuild is linear in the points once the key
// lines and columns are chosen, so each step is a linear least-squares solve whose weights
// come from the builder itself; the keys are chosen again after every step.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tesk {

class SPMesh;

/// What a map's edges say it was built as.
enum class MapFamily {
    Poles,      ///< a first or last row that is one point
    ClosedRows, ///< column 63 repeats column 0 along every row, without poles: a tube or ring
    Sheet,      ///< open rows
};

/// Reads the family from the edges of a 64 x 64 map (X in bits 0-7, Y 8-15, Z 16-23).
MapFamily detectMapFamily(const uint32_t* map);

struct MapFitRequest {
    int32_t type = -1; ///< a shape type, or -1 for the best of the detected family
    int lines = 0;     ///< 0: the largest editable net (17), or 9 for "L [2]"
    int points = 0;    ///< 0: the largest editable net (16), or 8 for "L [2]"
    /// One level per line and per point; empty lists make every entry ordinary.
    std::vector<int32_t> hlevel;
    std::vector<int32_t> vlevel;
};

/// How far the rebuilt map lies from the wanted one, in codes, for one channel.
struct ChannelError {
    double mean = 0;
    int largest = 0;
};

struct MapFitResult {
    bool ok = false;
    std::string problem; ///< why nothing was fitted, when not ok
    int32_t type = -1;
    int lines = 0;
    int points = 0;
    std::array<ChannelError, 3> error{}; ///< X (red), Y (green), Z (blue)
    double meanError() const { return (error[0].mean + error[1].mean + error[2].mean) / 3; }
    int largestError() const;
};

extern const char* const kOneColourMapMessage; ///< a map of one colour holds no shape
extern const char* const kNetSizeMessage;      ///< the type cannot build a net of that size

/// Fits a net to the map and writes it into `mesh` (points, levels, type; map and grid of its
/// rebuild). On a refusal `mesh` is unchanged. The points are never NaN.
MapFitResult FitSculptMap(const uint32_t* map, const MapFitRequest& request, SPMesh& mesh);

/// Mean and largest difference per channel between two maps of `count` pixels.
std::array<ChannelError, 3> CompareMaps(const uint32_t* a, const uint32_t* b, int count);

} // namespace tesk
