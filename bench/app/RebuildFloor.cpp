#include "RebuildFloor.h"

#include <algorithm>
#include <cmath>

namespace tesk::bench {

namespace {

using P = RebuildFloor::P;
constexpr int C = 16;
constexpr int R = 17;
constexpr int N = 64;

inline P add(P a, P b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline P sub(P a, P b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline P mul(P a, float s) {
    return {a.x * s, a.y * s, a.z * s};
}
inline P cross(P a, P b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline P unit(P a) {
    const float n = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return n > 0 ? mul(a, 1 / n) : P{0, 0, 0};
}
inline P bs(P a, P b, P c, P d, float t) {
    const float t2 = t * t, t3 = t2 * t, k = 1.f / 6;
    const float w0 = (3 * t2 - t3 - 3 * t + 1) * k, w1 = (3 * t3 - 6 * t2 + 4) * k,
                w2 = (3 * t2 - 3 * t3 + 3 * t + 1) * k, w3 = t3 * k;
    return add(add(mul(a, w0), mul(b, w1)), add(mul(c, w2), mul(d, w3)));
}

} // namespace

RebuildFloor::RebuildFloor()
    : m_net(C * R), m_along(N * R), m_grid(N * N), m_nrm(N * N), m_vn(N * N), m_map(N * N),
      m_out(N * N), m_pic(N * N) {
    for (int r = 0; r < R; ++r) {
        for (int c = 0; c < C; ++c) {
            const float a = 6.2831853f * static_cast<float>(c) / C;
            const float b = 3.14159f * static_cast<float>(r) / (R - 1);
            m_net[static_cast<size_t>(r * C + c)] = {std::sin(b) * std::cos(a),
                                                     std::sin(b) * std::sin(a), std::cos(b)};
        }
    }
    for (uint32_t i = 0; i < N * N; ++i) {
        m_pic[i] = (i * 2654435761u) & 0xFFFFFF;
    }
}

uint32_t RebuildFloor::run() {
    P* along = m_along.data();
    P* grid = m_grid.data();
    P* nrm = m_nrm.data();
    uint32_t* map = m_map.data();
    uint32_t* out = m_out.data();
    const uint32_t* pic = m_pic.data();

    for (int r = 0; r < R; ++r) {
        for (int k = 0; k < N; ++k) {
            const int s = k / 4;
            const float t = static_cast<float>(k % 4) / 4.f;
            const P* q = &m_net[static_cast<size_t>(r * C)];
            along[r * N + k] = bs(q[(s + C - 1) % C], q[s], q[(s + 1) % C], q[(s + 2) % C], t);
        }
    }
    for (int j = 0; j < N; ++j) {
        for (int k = 0; k < N; ++k) {
            const int g = std::min(k / 4, R - 2);
            const float t = static_cast<float>(k % 4) / 4.f;
            const auto at = [&](int r) { return along[std::clamp(r, 0, R - 1) * N + j]; };
            grid[k * N + j] = bs(at(g - 1), at(g), at(g + 1), at(g + 2), t);
        }
    }
    P lo = grid[0], hi = grid[0];
    for (int i = 0; i < N * N; ++i) {
        const P p = grid[i];
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    const P ext = sub(hi, lo);
    const auto code = [](float v, float e) {
        const int c = e > 1e-6f ? static_cast<int>((v + 1e-5f) / e * 255) : 0;
        return static_cast<uint32_t>(c < 0 || c > 255 ? 255 : c);
    };
    for (int i = 0; i < N * N; ++i) {
        const P v = sub(grid[i], lo);
        map[i] = code(v.x, ext.x) | code(v.y, ext.y) << 8 | code(v.z, ext.z) << 16;
    }
    const auto px = [&](int i) {
        const uint32_t p = map[i];
        return P{static_cast<float>(p & 255), static_cast<float>(p >> 8 & 255),
                 static_cast<float>(p >> 16 & 255)};
    };
    std::fill(m_nrm.begin(), m_nrm.end(), P{0, 0, 0});
    for (int i = 0; i < N - 1; ++i) {
        for (int j = 0; j < N; ++j) {
            const int a = j, c = (j + 1) % N;
            const P A = px(i * N + a), B = px(i * N + c), Cc = px((i + 1) * N + a),
                    D = px((i + 1) * N + c);
            const P t1 = unit(cross(sub(A, B), sub(A, D))), t2 = unit(cross(sub(A, D), sub(A, Cc)));
            const int j1 = (j + 1) % N;
            nrm[i * N + j] = add(nrm[i * N + j], t1);
            nrm[i * N + j1] = add(add(nrm[i * N + j1], t1), t2);
            nrm[(i + 1) * N + j] = add(add(nrm[(i + 1) * N + j], t1), t2);
            nrm[(i + 1) * N + j1] = add(nrm[(i + 1) * N + j1], t2);
        }
    }
    float mn[3] = {1e9f, 1e9f, 1e9f}, mx[3] = {-1e9f, -1e9f, -1e9f};
    P* F = m_vn.data();
    for (int i = 0; i < N * N; ++i) {
        const P n = unit(nrm[i]), v = px(i);
        const float k = static_cast<float>(pic[i] & 255) * 0.1f;
        F[i] = sub(mul(v, 255.f), mul(n, 255.f * k));
        mn[0] = std::min(mn[0], F[i].x);
        mx[0] = std::max(mx[0], F[i].x);
        mn[1] = std::min(mn[1], F[i].y);
        mx[1] = std::max(mx[1], F[i].y);
        mn[2] = std::min(mn[2], F[i].z);
        mx[2] = std::max(mx[2], F[i].z);
    }
    const auto f = [&](float v, int a) {
        const float d = mx[a] - mn[a];
        const int c = d != 0 ? static_cast<int>((v - mn[a]) * (1 / d) * 255) : 0;
        return static_cast<uint32_t>(std::clamp(c, 0, 255));
    };
    for (int i = 0; i < N * N; ++i) {
        out[i] = f(F[i].x, 0) | f(F[i].y, 1) << 8 | f(F[i].z, 2) << 16;
    }
    // The preview mesh: positions, face normals over 7938 triangles, normalised.
    std::fill(m_nrm.begin(), m_nrm.end(), P{0, 0, 0});
    const auto pos = [&](int i) {
        const uint32_t p = out[i];
        return P{static_cast<float>(p & 255) / 256.f - .5f,
                 static_cast<float>(p >> 8 & 255) / 256.f - .5f,
                 static_cast<float>(p >> 16 & 255) / 256.f - .5f};
    };
    for (int r = 0; r < N - 1; ++r) {
        for (int c = 0; c < N - 1; ++c) {
            const int first = r * N + c;
            const int tri[2][3] = {{first, first + 1, first + N + 1},
                                   {first, first + N + 1, first + N}};
            for (const auto& t : tri) {
                const P p0 = pos(t[0]), p1 = pos(t[1]), p2 = pos(t[2]);
                P n = cross(sub(p1, p0), sub(p0, p2));
                const float l = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
                if (l >= 1e-6f) {
                    n = mul(n, 1 / l);
                    for (const int v : t) {
                        nrm[v] = add(nrm[v], n);
                    }
                }
            }
        }
    }
    for (P& n : m_nrm) {
        n = unit(n);
    }
    const uint32_t step = m_step++;
    return out[step % (N * N)] + static_cast<uint32_t>(nrm[7].x * 1000);
}

} // namespace tesk::bench
