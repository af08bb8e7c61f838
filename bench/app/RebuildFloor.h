#pragma once
// The lower bound a rebuild is measured against: the same arithmetic a rebuild must do, as flat
// loops with no bookkeeping (cubic resampling of a 16 x 17 net to 64 x 64 in both directions,
// encoding, one normal-direction effect with its re-fit, preview-mesh normals). Compiled at
// -O2 whatever the build type, so the ratio means the same in every build.

#include <cstdint>
#include <vector>

namespace tesk::bench {

class RebuildFloor {
public:
    RebuildFloor();
    /// One rebuild's arithmetic; returns a word of the result so that nothing is left out.
    uint32_t run();

    struct P {
        float x, y, z;
    };

private:
    std::vector<P> m_net, m_along, m_grid, m_nrm, m_vn;
    std::vector<uint32_t> m_map, m_out, m_pic;
    uint32_t m_step = 0;
};

} // namespace tesk::bench
