#include "ByteStream.h"

#include <gtest/gtest.h>

using namespace tesk;

TEST(ByteStream, WritesLittleEndianAndReadsItBack) {
    ByteWriter w;
    w.u8(0xFF);
    w.u16(0xFFFE);
    w.i32(-2);
    w.f32(1.0f);
    const std::vector<uint8_t> expected = {0xFF, 0xFE, 0xFF, 0xFE, 0xFF, 0xFF,
                                           0xFF, 0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(w.data(), expected);

    ByteReader r(w.data());
    uint8_t tag = 0;
    uint16_t mark = 0;
    int32_t n = 0;
    float f = 0;
    ASSERT_TRUE(r.u8(tag) && r.u16(mark) && r.i32(n) && r.f32(f));
    EXPECT_EQ(tag, 0xFF);
    EXPECT_EQ(mark, 0xFFFE);
    EXPECT_EQ(n, -2);
    EXPECT_EQ(f, 1.0f);
    EXPECT_EQ(r.remaining(), 0u);
}

TEST(ByteStream, ShortReadFailsAndStaysFailed) {
    const std::vector<uint8_t> three = {1, 2, 3};
    ByteReader r(three);
    int32_t v = 42;
    EXPECT_FALSE(r.i32(v));
    EXPECT_EQ(v, 42);
    uint8_t b = 0;
    EXPECT_FALSE(r.u8(b)); // data remains, but the reader has failed
    EXPECT_TRUE(r.failed());

    ByteReader huge(three);
    std::span<const uint8_t> out;
    EXPECT_FALSE(huge.bytes(SIZE_MAX, out));
}
