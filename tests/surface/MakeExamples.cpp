// Writes the project files of examples/ into the folder given on the command line:
//   tesk_make_examples DIR
// The shapes stay within what the editor can make (at most 17 lines of 16 points).
#include "Messages.h"
#include "ProjectFile.h"
#include "SPMesh.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

namespace {

using tesk::Point3;
using tesk::SPMesh;

constexpr double kPi = 3.14159265358979323846;

// Four decimals keep the files identical whatever libm computes in the last bits.
float rounded(double v) {
    return static_cast<float>(std::round(v * 10000.0) / 10000.0);
}

Point3 point(double x, double y, double z) {
    return {rounded(x), rounded(y), rounded(z)};
}

void fill(SPMesh& mesh, int points, int lines, const std::function<Point3(int, int)>& at) {
    mesh.reset(points, lines);
    for (int i = 0; i < lines; ++i) {
        for (int j = 0; j < points; ++j) {
            mesh.setPoint(j, i, at(i, j));
        }
    }
}

// A sphere of seven rings between two poles, smooth in both directions ("S [3]").
void makeSphere(SPMesh& mesh) {
    fill(mesh, 8, 9, [](int i, int j) {
        const double theta = kPi * i / 8.0;
        const double phi = 2.0 * kPi * j / 8.0;
        return point(std::sin(theta) * std::cos(phi), std::sin(theta) * std::sin(phi),
                     std::cos(theta));
    });
    mesh.SPDimType = tesk::DIM_POLES_CR;
}

// A wavy open sheet ("PS [4]"); its first and last lines lie outside the surface.
void makeSheet(SPMesh& mesh) {
    fill(mesh, 10, 12, [](int i, int j) {
        const double x = (j - 4.5) / 4.5;
        const double y = (i - 5.5) / 4.5;
        return point(x, y, 0.25 * std::sin(2.5 * x) * std::cos(2.0 * y));
    });
    mesh.SPDimType = tesk::DIM_SHEET_BSPLINE;
}

// Point j of line i of a ring: the used lines from 1 on go around the tube in eight steps, the
// points of a line around the main axis in eight.
Point3 ringPoint(int i, int j) {
    constexpr double kMajor = 1.0;
    constexpr double kMinor = 0.35;
    const double tube = 2.0 * kPi * (i - 1) / 8.0;
    const double around = 2.0 * kPi * j / 8.0;
    const double radius = kMajor + kMinor * std::cos(tube);
    return point(radius * std::cos(around), radius * std::sin(around), kMinor * std::sin(tube));
}

// A torus-like ring as a sheet: each line goes once around the main axis (its last point
// repeats its first) and the used lines go once around the tube ("PS [4]").
void makeRing(SPMesh& mesh) {
    fill(mesh, 9, 11, ringPoint);
    mesh.SPDimType = tesk::DIM_SHEET_BSPLINE;
}

// A tube whose rings widen and narrow, open at both ends ("C [4]"): every line a loop of 12
// points, none repeated, and the used lines 1 … 10 from the rim down to the foot. Lines that
// run down while their points run anticlockwise seen from above face outwards, as the sphere's
// do: viewers draw one side of a sculpted prim only.
void makeTube(SPMesh& mesh) {
    fill(mesh, 12, 12, [](int i, int j) {
        const double t = (i - 1) / 9.0;
        const double radius = 0.5 + 0.15 * std::cos(kPi * 2.0 * t);
        const double phi = 2.0 * kPi * j / 12.0;
        return point(radius * std::cos(phi), radius * std::sin(phi), 1.0 - 2.0 * t);
    });
    mesh.SPDimType = tesk::DIM_CYLINDER_BSPLINE;
}

// The ring of ring.tsk as a ring type ("T [4]"): nothing repeated, the used lines 1 … 8 once
// around the tube and the last joined to the first by the type itself.
void makeTorus(SPMesh& mesh) {
    // Around the tube the other way (down across the outer equator), so the faces look out.
    fill(mesh, 8, 10, [](int i, int j) { return ringPoint(2 - i, j); });
    mesh.SPDimType = tesk::DIM_TORUS_BSPLINE;
}

// A vase of 12 rings of 12 points with two important lines (the rim and the waist) and one
// important column, so every direction is divided by key lines ("S [1]").
void makeVase(SPMesh& mesh) {
    fill(mesh, 12, 12, [](int i, int j) {
        const double t = i / 11.0;
        const double radius = i == 0 || i == 11 ? 0.0 : 0.45 + 0.3 * std::sin(kPi * 1.6 * t);
        const double phi = 2.0 * kPi * j / 12.0 + (j == 3 ? 0.25 : 0.0);
        return point(radius * std::cos(phi), radius * std::sin(phi), 1.0 - 2.0 * t);
    });
    mesh.hlevel[1] = tesk::LEVEL_IMPORTANT;
    mesh.hlevel[6] = tesk::LEVEL_IMPORTANT;
    mesh.vlevel[3] = tesk::LEVEL_IMPORTANT;
    mesh.SPDimType = tesk::DIM_POLES_CR_ALONG;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tesk_make_examples DIR\n");
        return 64;
    }
    const std::string dir = argv[1];
    const struct {
        const char* name;
        void (*make)(SPMesh&);
    } examples[] = {
        {"default.tsk", [](SPMesh& mesh) { mesh.makeDefault(); }},
        {"sphere.tsk", makeSphere},
        {"sheet.tsk", makeSheet},
        {"ring.tsk", makeRing},
        {"vase.tsk", makeVase},
        {"tube.tsk", makeTube},
        {"torus.tsk", makeTorus},
    };
    tesk::StderrMessages messages;
    for (const auto& example : examples) {
        SPMesh mesh;
        example.make(mesh);
        if (!tesk::saveProjectFile(dir + "/" + example.name, mesh, messages)) {
            return 2;
        }
    }
    return 0;
}
