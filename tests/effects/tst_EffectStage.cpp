#include "EffectStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

using namespace tesk;

namespace {

using Map = std::vector<uint32_t>;
using PixelOf = std::function<std::array<int, 3>(int column, int row)>;

uint32_t pack(const std::array<int, 3>& c) {
    return static_cast<uint32_t>(c[0]) | static_cast<uint32_t>(c[1]) << 8 |
           static_cast<uint32_t>(c[2]) << 16;
}

int channel(uint32_t p, int c) {
    return static_cast<int>((p >> (8 * c)) & 0xFF);
}

Map makeMap(const PixelOf& f) {
    Map map(4096);
    for (int row = 0; row < 64; ++row) {
        for (int col = 0; col < 64; ++col) {
            map[static_cast<size_t>(row * 64 + col)] = pack(f(col, row));
        }
    }
    return map;
}

std::unique_ptr<EffectRecord> effect(int type, const PixelOf& image, float s, float r, float g,
                                     float b) {
    auto record = std::make_unique<EffectRecord>();
    record->setFrom(makeMap(image).data(), 64, 64);
    record->setTypeCode(type);
    record->strength = s;
    record->strengthR = r;
    record->strengthG = g;
    record->strengthB = b;
    return record;
}

Map apply(Map map, std::vector<std::unique_ptr<EffectRecord>> records) {
    EffectList list;
    for (auto& record : records) {
        list.append(std::move(record));
    }
    ApplyEffects(map, list);
    return map;
}

Map apply(Map map, std::unique_ptr<EffectRecord> record) {
    std::vector<std::unique_ptr<EffectRecord>> records;
    records.push_back(std::move(record));
    return apply(std::move(map), std::move(records));
}

/// A map as the surface builder makes them: every channel spans 0..255.
std::array<int, 3> builtShape(int col, int row) {
    return {col * 255 / 63, row * 255 / 63, (col * 7 + row * 3) % 256};
}

/// A flat plane in X and Y with Z = 0.
std::array<int, 3> flatPlane(int col, int row) {
    return {col * 255 / 63, row * 255 / 63, 0};
}

const PixelOf kWhite = [](int, int) { return std::array<int, 3>{255, 255, 255}; };

} // namespace

TEST(EffectStage, WithoutApplicableEffectsTheMapIsUntouched) {
    const Map before = makeMap([](int col, int row) {
        return std::array<int, 3>{col * 3, row, 250 - col};
    });
    Map marked = before;
    marked[5] |= 0xAB000000u; // even the unused byte stays
    EXPECT_EQ(apply(marked, std::vector<std::unique_ptr<EffectRecord>>{}), marked);

    std::vector<std::unique_ptr<EffectRecord>> records;
    records.push_back(effect(EFFECT_NORMAL, kWhite, 100, 100, 100, 100));
    records.back()->enabled = 0;
    records.push_back(effect(EFFECT_CENTROID, kWhite, 100, 100, 100, 100));
    records.back()->typeWord = EFFECT_CENTROID << 8; // code without the type-set flag
    records.push_back(effect(2, kWhite, 100, 100, 100, 100));
    records.push_back(effect(EFFECT_COMPOSITE, kWhite, 100, 100, 100, 100));
    records.back()->clear(); // a picture that failed to load
    EXPECT_EQ(apply(marked, std::move(records)), marked);

    Map small(100, 7);
    EffectList list;
    list.append(effect(EFFECT_COMPOSITE, kWhite, 100, 100, 100, 100));
    ApplyEffects(small, list);
    EXPECT_EQ(small, Map(100, 7));
}

TEST(EffectStage, ZeroStrengthsOnlyRefitEachChannel) {
    const Map built = makeMap(builtShape);
    for (int type : {EFFECT_COMPOSITE, EFFECT_NORMAL, EFFECT_CENTROID}) {
        EXPECT_EQ(apply(built, effect(type, kWhite, 0, 0, 0, 0)), built) << type;
        EXPECT_EQ(apply(built, effect(type, kWhite, 100, 0, 0, 0)), built) << type;
    }
    // X spans 10..200, Y 0..252, Z is flat at 77: X and Y are stretched, Z becomes 0.
    const Map narrow = makeMap([](int col, int row) {
        return std::array<int, 3>{10 + col * 190 / 63, row * 4, 77};
    });
    for (int type : {EFFECT_COMPOSITE, EFFECT_NORMAL, EFFECT_CENTROID}) {
        const Map out = apply(narrow, effect(type, kWhite, 0, 100, 100, 100));
        for (size_t k = 0; k < out.size(); ++k) {
            const int x = channel(narrow[k], 0);
            const int y = channel(narrow[k], 1);
            ASSERT_EQ(channel(out[k], 0), (x - 10) * 255 / 190) << type << " " << k;
            ASSERT_EQ(channel(out[k], 1), y * 255 / 252) << type << " " << k;
            ASSERT_EQ(channel(out[k], 2), 0) << type << " " << k;
            ASSERT_EQ(out[k] >> 24, 0u);
        }
    }
}

TEST(EffectStage, CompositeReadsRedAndGreenInverted) {
    const PixelOf picture = [](int col, int row) {
        return std::array<int, 3>{col * 4, row * 4, (col + row) * 2};
    };
    const Map out =
        apply(makeMap(builtShape), effect(EFFECT_COMPOSITE, picture, 100, 100, 100, 100));
    for (int row = 0; row < 64; ++row) {
        for (int col = 0; col < 64; ++col) {
            const uint32_t p = out[static_cast<size_t>(row * 64 + col)];
            // 255 - 4 col spans 3..255, stretched to 0..255; blue spans 0..252.
            ASSERT_EQ(channel(p, 0), (252 - 4 * col) * 255 / 252) << col << "," << row;
            ASSERT_EQ(channel(p, 1), (252 - 4 * row) * 255 / 252) << col << "," << row;
            ASSERT_EQ(channel(p, 2), (col + row) * 2 * 255 / 252) << col << "," << row;
        }
    }
    // Half strength blends map and inverted picture equally: 0.5 x plus 0 (left half) or
    // 127.5 (right half), over 0..255.
    const PixelOf leftRed = [](int col, int) {
        return std::array<int, 3>{col < 32 ? 255 : 0, 0, 0};
    };
    const Map half = apply(makeMap(flatPlane), effect(EFFECT_COMPOSITE, leftRed, 50, 100, 0, 0));
    EXPECT_EQ(channel(half[64], 0), 0);
    EXPECT_EQ(channel(half[64 + 31], 0), 62);
    EXPECT_EQ(channel(half[64 + 32], 0), 192);
    EXPECT_EQ(channel(half[64 + 63], 0), 255);
}

TEST(EffectStage, AFlatPlaneGainsReliefAlongItsNormals) {
    // Blue relief away from the seam columns, whose cells reach across the sheet's edges.
    const PixelOf relief = [](int col, int row) {
        const bool seam = col <= 1 || col >= 62;
        return std::array<int, 3>{0, 0,
                                  seam                       ? 0
                                  : (row == 20 && col == 30) ? 255
                                                             : (col == 40 ? 51 : 0)};
    };
    const Map plane = makeMap(flatPlane);
    const Map out = apply(plane, effect(EFFECT_NORMAL, relief, 100, 100, 100, 100));
    for (size_t k = 0; k < out.size(); ++k) {
        ASSERT_EQ(out[k] & 0xFFFFu, plane[k] & 0xFFFFu) << k; // X and Y as they were
    }
    // Moving against the normal (+Z): the strongest pixel lands at 0, untouched ones at 255.
    EXPECT_EQ(channel(out[20 * 64 + 30], 2), 0);
    EXPECT_EQ(channel(out[20 * 64 + 31], 2), 255);
    EXPECT_EQ(channel(out[7 * 64 + 40], 2), 204); // (65025 - 51 x 255) / 65025 x 255

    // Negative strength moves the other way.
    const Map reversed = apply(plane, effect(EFFECT_NORMAL, relief, -100, 100, 100, 100));
    EXPECT_EQ(channel(reversed[20 * 64 + 30], 2), 255);
    EXPECT_EQ(channel(reversed[20 * 64 + 31], 2), 0);
    EXPECT_EQ(channel(reversed[7 * 64 + 40], 2), 51);
}

/// The normal-direction effect computed step by step in double precision, straight from the
/// design: cells at the seam reach from column 62 or 63 to column 1, corners wrap to column 0.
Map referenceNormalEffect(const Map& map, const Map& image, double s, double r, double g,
                          double b) {
    using V = std::array<double, 3>;
    const auto pos = [&](int row, int col) {
        const uint32_t p = map[static_cast<size_t>(row * 64 + col)];
        return V{double(channel(p, 0)), double(channel(p, 1)), double(channel(p, 2))};
    };
    const auto sub = [](V a, V c) { return V{a[0] - c[0], a[1] - c[1], a[2] - c[2]}; };
    const auto unit = [](V v) {
        const double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        return l > 0 ? V{v[0] / l, v[1] / l, v[2] / l} : V{0, 0, 0};
    };
    const auto cross = [](V a, V c) {
        return V{a[1] * c[2] - a[2] * c[1], a[2] * c[0] - a[0] * c[2], a[0] * c[1] - a[1] * c[0]};
    };
    std::vector<V> n(4096, V{0, 0, 0});
    const auto add = [&](int row, int col, V t) {
        for (int c = 0; c < 3; ++c) {
            n[static_cast<size_t>(row * 64 + col)][static_cast<size_t>(c)] +=
                t[static_cast<size_t>(c)];
        }
    };
    for (int i = 0; i < 63; ++i) {
        for (int j = 0; j < 64; ++j) {
            const int a = j == 0 ? 62 : j;
            const int c = (j == 0 || j == 63) ? 1 : j + 1;
            const V A = pos(i, a), B = pos(i, c), C = pos(i + 1, a), D = pos(i + 1, c);
            const V t1 = unit(cross(sub(A, B), sub(A, D)));
            const V t2 = unit(cross(sub(A, D), sub(A, C)));
            add(i, j, t1);
            add(i, (j + 1) % 64, t1);
            add(i + 1, j, t1);
            add(i, (j + 1) % 64, t2);
            add(i + 1, j, t2);
            add(i + 1, (j + 1) % 64, t2);
        }
    }
    const double strength[3] = {s * r, s * g, s * b};
    std::array<std::vector<double>, 3> f;
    for (size_t k = 0; k < 4096; ++k) {
        const V normal = unit(n[k]);
        for (int c = 0; c < 3; ++c) {
            const double v = channel(map[k], c);
            const double amount = channel(image[k], c) * strength[c];
            f[static_cast<size_t>(c)].push_back(255.0 *
                                                (v - amount * normal[static_cast<size_t>(c)]));
        }
    }
    Map out(4096, 0);
    for (int c = 0; c < 3; ++c) {
        const auto& values = f[static_cast<size_t>(c)];
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        for (size_t k = 0; k < 4096; ++k) {
            const int v = *high > *low ? int((values[k] - *low) * 255.0 / (*high - *low)) : 0;
            out[k] |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << (8 * c);
        }
    }
    return out;
}

TEST(EffectStage, NormaliseGivesExactUnitsSoOppositeNormalsCancel) {
    using V = std::array<float, 3>;
    const auto unit = [](V v) {
        normalise(v[0], v[1], v[2]);
        return v;
    };
    EXPECT_EQ(unit({0, 0, 3}), (V{0, 0, 1}));
    EXPECT_EQ(unit({0, 0, -7}), (V{0, 0, -1}));
    EXPECT_EQ(unit({5, 0, 0}), (V{1, 0, 0}));
    // 41 x (1 / 41) and 47 x (1 / 47) round to 1 - 2^-24 in single precision.
    EXPECT_EQ(unit({0, 41, 0}), (V{0, 1, 0}));
    EXPECT_EQ(unit({0, 0, -47}), (V{0, 0, -1}));
    EXPECT_EQ(unit({3, 0, -4}), (V{0.6f, 0, -0.8f}));
    EXPECT_EQ(unit({0, 0, 0}), (V{0, 0, 0}));

    // Three triangle normals against three opposite ones of other sizes, as at a vertex where a
    // flat sheet folds back: the sum is exactly zero and stays zero.
    V sum{0, 0, 0};
    for (const float length : {41.0f, -47.0f, 984.0f, -55.0f, 61.0f, -1230.0f}) {
        sum[2] += unit({0, 0, length})[2];
    }
    EXPECT_EQ(unit(sum), (V{0, 0, 0}));
    EXPECT_EQ(sum[2], 0.0f);
}

TEST(EffectStage, NormalsAtTheSeamFollowTheClosedStrip) {
    // A bumpy cylinder whose columns 0 and 63 are the same vertices, pushed by a varied picture.
    constexpr double kPi = 3.14159265358979323846;
    const PixelOf cylinder = [&](int col, int row) {
        const double angle = 2.0 * kPi * col / 63.0;
        const double radius = 90.0 + 20.0 * std::sin(row * 0.3) + (col % 63 == 5 ? 15.0 : 0.0);
        return std::array<int, 3>{static_cast<int>(std::lround(127.5 + radius * std::cos(angle))),
                                  static_cast<int>(std::lround(127.5 + radius * std::sin(angle))),
                                  row * 4};
    };
    const PixelOf picture = [](int col, int row) {
        return std::array<int, 3>{(col * 37 + row * 11) % 256, (col * 5 + row * 29) % 256,
                                  (col * col + row) % 256};
    };
    const Map map = makeMap(cylinder);
    const Map out = apply(map, effect(EFFECT_NORMAL, picture, 40, 100, -70, 50));
    const Map want = referenceNormalEffect(map, makeMap(picture), 0.4, 1.0, -0.7, 0.5);
    for (size_t k = 0; k < 4096; ++k) {
        for (int c = 0; c < 3; ++c) {
            ASSERT_LE(std::abs(channel(out[k], c) - channel(want[k], c)), 1)
                << "row " << k / 64 << " column " << k % 64 << " channel " << c;
        }
    }
}

/// Stretches one channel of F over 0..255 the way the stage does, in extended precision.
void refitReference(const std::vector<float>& f, Map& out, int c) {
    const auto [low, high] = std::minmax_element(f.begin(), f.end());
    for (size_t k = 0; k < f.size(); ++k) {
        const long double span = static_cast<long double>(*high) - *low;
        const int v =
            span > 0 ? static_cast<int>((f[k] - static_cast<long double>(*low)) * 255 / span) : 0;
        out[k] |= static_cast<uint32_t>(std::clamp(v, 0, 255)) << (8 * c);
    }
}

/// One normal or centroid effect in single precision, operations in the order the formulas
/// give them: kx = er x s x r, normals summed triangle by triangle in grid order.
Map singlePrecisionEffect(int type, const Map& map, const Map& image, float s, float r) {
    using V = std::array<float, 3>;
    std::vector<V> n(4096, V{0, 0, 0});
    const auto pos = [&](int row, int col) {
        const uint32_t p = map[static_cast<size_t>(row * 64 + col)];
        return V{float(channel(p, 0)), float(channel(p, 1)), float(channel(p, 2))};
    };
    const auto unit = [](V v) {
        const float l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
        return l > 0 ? V{v[0] / l, v[1] / l, v[2] / l} : V{0, 0, 0};
    };
    const auto add = [&](int row, int col, V t) {
        V& sum = n[static_cast<size_t>(row * 64 + col)];
        sum = V{sum[0] + t[0], sum[1] + t[1], sum[2] + t[2]};
    };
    for (int i = 0; i < 63; ++i) {
        for (int j = 0; j < 64; ++j) {
            const int a = j == 0 ? 62 : j;
            const int c = (j == 0 || j == 63) ? 1 : j + 1;
            const V A = pos(i, a), B = pos(i, c), C = pos(i + 1, a), D = pos(i + 1, c);
            const V ab{A[0] - B[0], A[1] - B[1], A[2] - B[2]};
            const V ad{A[0] - D[0], A[1] - D[1], A[2] - D[2]};
            const V ac{A[0] - C[0], A[1] - C[1], A[2] - C[2]};
            const V t1 = unit({ab[1] * ad[2] - ab[2] * ad[1], ab[2] * ad[0] - ab[0] * ad[2],
                               ab[0] * ad[1] - ab[1] * ad[0]});
            const V t2 = unit({ad[1] * ac[2] - ad[2] * ac[1], ad[2] * ac[0] - ad[0] * ac[2],
                               ad[0] * ac[1] - ad[1] * ac[0]});
            add(i, j, t1);
            add(i, (j + 1) % 64, t1);
            add(i + 1, j, t1);
            add(i, (j + 1) % 64, t2);
            add(i + 1, j, t2);
            add(i + 1, (j + 1) % 64, t2);
        }
    }
    Map out(4096, 0);
    for (int c = 0; c < 3; ++c) {
        int64_t sum = 0;
        for (uint32_t p : map) {
            sum += channel(p, c);
        }
        const auto centre = static_cast<float>(sum / 4096);
        std::vector<float> f(4096);
        for (size_t k = 0; k < 4096; ++k) {
            const auto x = static_cast<float>(channel(map[k], c));
            const float amount = static_cast<float>(channel(image[k], c)) * s * r;
            const float normal = unit(n[k])[static_cast<size_t>(c)];
            f[k] = type == EFFECT_NORMAL ? amount * (x - 255.0f * normal) + (255.0f - amount) * x
                                         : centre * -amount + x * (255.0f + amount);
        }
        refitReference(f, out, c);
    }
    return out;
}

TEST(EffectStage, AmountsAndNormalsRoundAsTheFormulasAreWritten) {
    // Pseudo-random maps and pictures: single-precision rounding of the amounts and the normal
    // sums decides a pixel now and then, so the stage must round exactly as the formulas read.
    uint32_t state = 1;
    const auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    };
    for (int trial = 0; trial < 120; ++trial) {
        Map map(4096);
        Map image(4096);
        for (uint32_t& p : map) {
            p = next() & 0xFFFFFFu;
        }
        for (uint32_t& p : image) {
            p = next() & 0xFFFFFFu;
        }
        const auto strength = static_cast<float>(static_cast<int>(next() % 201) - 100);
        const auto channelStrength = static_cast<float>(static_cast<int>(next() % 201) - 100);
        for (int type : {EFFECT_NORMAL, EFFECT_CENTROID}) {
            auto record = effect(
                type,
                [&](int col, int row) {
                    const uint32_t p = image[static_cast<size_t>(row * 64 + col)];
                    return std::array<int, 3>{channel(p, 0), channel(p, 1), channel(p, 2)};
                },
                strength, channelStrength, channelStrength, channelStrength);
            const Map want =
                singlePrecisionEffect(type, map, image, strength * 0.01f, channelStrength * 0.01f);
            ASSERT_EQ(apply(map, std::move(record)), want) << "trial " << trial << " type " << type;
        }
    }
}

TEST(EffectStage, CentroidStrengthsPushAwayFromOrTowardsTheCentre) {
    // X: 0 in columns 0-31, 100 in 32-47, 200 in 48-63, so the centroid's X is 75; only the
    // vertices at 200 carry the effect.
    const PixelOf bands = [](int col, int row) {
        return std::array<int, 3>{col < 32 ? 0 : col < 48 ? 100 : 200, row * 4, col * 4};
    };
    const PixelOf rightBand = [](int col, int) {
        return std::array<int, 3>{col >= 48 ? 255 : 0, 0, 0};
    };
    const Map away = apply(makeMap(bands), effect(EFFECT_CENTROID, rightBand, 100, 100, 0, 0));
    EXPECT_EQ(channel(away[0], 0), 0);
    EXPECT_EQ(channel(away[40], 0), 78); // 25500 of 0..82875
    EXPECT_EQ(channel(away[50], 0), 255);
    const Map towards = apply(makeMap(bands), effect(EFFECT_CENTROID, rightBand, -100, 100, 0, 0));
    EXPECT_EQ(channel(towards[0], 0), 0);
    EXPECT_EQ(channel(towards[40], 0), 255);
    EXPECT_EQ(channel(towards[50], 0), 191); // 19125 of 0..25500: now left of the middle band
}

TEST(EffectStage, EffectsApplyInOrderAndNormalsComeFromTheMapAsBuilt) {
    // The composite turns the flat plane into one tilted along X (Z grows with the column).
    const PixelOf tilt = [](int col, int row) {
        return std::array<int, 3>{255 - col * 4, 255 - row * 4, col * 4};
    };
    const PixelOf red = [](int, int) { return std::array<int, 3>{255, 0, 0}; };
    const Map plane = makeMap(flatPlane);

    std::vector<std::unique_ptr<EffectRecord>> both;
    both.push_back(effect(EFFECT_COMPOSITE, tilt, 100, 100, 100, 100));
    both.push_back(effect(EFFECT_NORMAL, red, 100, 100, 0, 0));
    const Map compositeOnly = apply(plane, effect(EFFECT_COMPOSITE, tilt, 100, 100, 100, 100));
    // The plane as built has normals along Z only, so pushing along them leaves X alone; the
    // tilted plane's normals would have moved X.
    EXPECT_EQ(apply(plane, std::move(both)), compositeOnly);

    std::vector<std::unique_ptr<EffectRecord>> swapped;
    swapped.push_back(effect(EFFECT_CENTROID, tilt, 100, 100, 100, 100));
    swapped.push_back(effect(EFFECT_COMPOSITE, tilt, 50, 100, 100, 100));
    std::vector<std::unique_ptr<EffectRecord>> inOrder;
    inOrder.push_back(effect(EFFECT_COMPOSITE, tilt, 50, 100, 100, 100));
    inOrder.push_back(effect(EFFECT_CENTROID, tilt, 100, 100, 100, 100));
    EXPECT_NE(apply(plane, std::move(swapped)), apply(plane, std::move(inOrder)));

    // A centroid effect after another effect takes its centroid from the map as that effect
    // left it, so running the two in one list equals running them one after the other.
    const PixelOf ring = [](int col, int row) {
        return std::array<int, 3>{(col * 9) % 256, (row * 13) % 256, (col * row) % 256};
    };
    std::vector<std::unique_ptr<EffectRecord>> thenCentroid;
    thenCentroid.push_back(effect(EFFECT_COMPOSITE, tilt, 60, 100, 100, 100));
    thenCentroid.push_back(effect(EFFECT_CENTROID, ring, 80, 100, -50, 100));
    const Map stepwise = apply(apply(plane, effect(EFFECT_COMPOSITE, tilt, 60, 100, 100, 100)),
                               effect(EFFECT_CENTROID, ring, 80, 100, -50, 100));
    EXPECT_EQ(apply(plane, std::move(thenCentroid)), stepwise);

    // Two effects in a row: the second works on the first one's output.
    std::vector<std::unique_ptr<EffectRecord>> twice;
    twice.push_back(effect(EFFECT_COMPOSITE, tilt, 100, 100, 100, 100));
    twice.push_back(effect(EFFECT_COMPOSITE, kWhite, 0, 0, 0, 0));
    EXPECT_EQ(apply(plane, std::move(twice)), compositeOnly);
}

namespace {

constexpr size_t kCount = kMapPixels;

/// The re-fit as one pass finds the range, kept here to hold the stage to the same codes.
void refitInOnePass(const float* f, int32_t* w) {
    float low = f[0];
    float high = f[0];
    for (size_t k = 1; k < kCount; ++k) {
        low = std::min(low, f[k]);
        high = std::max(high, f[k]);
    }
    if (!(high > low) || !std::isfinite(high - low)) {
        std::fill(w, w + kCount, 0);
        return;
    }
    const double lowest = low;
    const double scale = 255.0 / (static_cast<double>(high) - lowest) * (1.0 + 0x1p-44);
    for (size_t k = 0; k < kCount; ++k) {
        const double v = (static_cast<double>(f[k]) - lowest) * scale;
        w[k] = static_cast<int32_t>(std::min(std::max(0.0, v), 255.0));
    }
}

} // namespace

// Whatever order the range is searched in, every code must be the one-pass code: the extremes
// anywhere in the channel, signed zeros at either end, NaNs first or later, infinities, whole
// codes and flat channels.
TEST(EffectStage, RefitGivesTheCodesOfTheOnePassRefit) {
    std::vector<std::vector<float>> channels;
    uint32_t seed = 7;
    std::vector<float> noise(kCount);
    for (float& v : noise) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<float>(seed >> 8) * 0.001f - 8000.0f;
    }
    channels.push_back(noise);
    for (const size_t at : {size_t{0}, size_t{7}, size_t{8}, kCount - 1}) {
        std::vector<float> extremes = noise;
        extremes[at] = -1e7f;
        extremes[(at + 13) % kCount] = 1e7f;
        channels.push_back(extremes);
    }
    std::vector<float> zeros(kCount, 5.0f);
    for (size_t k = 0; k < kCount; k += 3) {
        zeros[k] = (k % 2) != 0 ? -0.0f : 0.0f;
    }
    channels.push_back(zeros);
    zeros[0] = -0.0f;
    channels.push_back(zeros);
    std::vector<float> codes(kCount);
    for (size_t k = 0; k < kCount; ++k) {
        codes[k] = static_cast<float>(k % 256);
    }
    channels.push_back(codes);
    const float nan = std::nanf("");
    const float inf = std::numeric_limits<float>::infinity();
    for (const auto& [at, value] : std::vector<std::pair<size_t, float>>{
             {0, nan}, {5, nan}, {kCount - 1, nan}, {9, inf}, {0, -inf}}) {
        std::vector<float> odd = codes;
        odd[at] = value;
        channels.push_back(odd);
    }
    channels.emplace_back(kCount, 42.0f);

    for (size_t i = 0; i < channels.size(); ++i) {
        std::vector<int32_t> expected(kCount, -1);
        std::vector<int32_t> actual(kCount, -1);
        refitInOnePass(channels[i].data(), expected.data());
        refit(channels[i].data(), actual.data());
        ASSERT_EQ(actual, expected) << "channel " << i;
    }
    std::vector<int32_t> stretched(kCount);
    refit(codes.data(), stretched.data());
    EXPECT_EQ(stretched[200], 200) << "whole codes stay";
}
