#pragma once
// Little-endian byte writer and bounds-checked reader for the binary formats the program
// reads and writes. A reader that runs out of data fails; it never reads past its input.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <vector>

namespace tesk {

class ByteWriter {
public:
    void u8(uint8_t v) { m_bytes.push_back(v); }
    void u16(uint16_t v) {
        u8(static_cast<uint8_t>(v));
        u8(static_cast<uint8_t>(v >> 8));
    }
    void u32(uint32_t v) {
        u16(static_cast<uint16_t>(v));
        u16(static_cast<uint16_t>(v >> 16));
    }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void bytes(const void* data, size_t size) {
        const auto* p = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + size);
    }

    const std::vector<uint8_t>& data() const { return m_bytes; }
    std::vector<uint8_t> take() { return std::move(m_bytes); }
    size_t size() const { return m_bytes.size(); }
    void reserve(size_t n) { m_bytes.reserve(n); }

private:
    std::vector<uint8_t> m_bytes;
};

/// Once a read fails the reader stays failed and every later read fails too.
class ByteReader {
public:
    explicit ByteReader(std::span<const uint8_t> data) : m_data(data) {}

    bool u8(uint8_t& v) {
        if (!need(1)) {
            return false;
        }
        v = m_data[m_pos++];
        return true;
    }
    bool u16(uint16_t& v) {
        if (!need(2)) {
            return false;
        }
        v = static_cast<uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }
    bool u32(uint32_t& v) {
        if (!need(4)) {
            return false;
        }
        v = static_cast<uint32_t>(m_data[m_pos]) | (static_cast<uint32_t>(m_data[m_pos + 1]) << 8) |
            (static_cast<uint32_t>(m_data[m_pos + 2]) << 16) |
            (static_cast<uint32_t>(m_data[m_pos + 3]) << 24);
        m_pos += 4;
        return true;
    }
    bool i32(int32_t& v) {
        uint32_t u;
        if (!u32(u)) {
            return false;
        }
        v = static_cast<int32_t>(u);
        return true;
    }
    bool f32(float& v) {
        uint32_t u;
        if (!u32(u)) {
            return false;
        }
        std::memcpy(&v, &u, sizeof v);
        return true;
    }
    /// A view of the next n bytes, consumed.
    bool bytes(size_t n, std::span<const uint8_t>& out) {
        if (!need(n)) {
            return false;
        }
        out = m_data.subspan(m_pos, n);
        m_pos += n;
        return true;
    }
    bool skip(size_t n) {
        if (!need(n)) {
            return false;
        }
        m_pos += n;
        return true;
    }

    bool failed() const { return m_failed; }
    size_t position() const { return m_pos; }
    size_t remaining() const { return m_data.size() - m_pos; }

private:
    bool need(size_t n) {
        if (m_failed || n > m_data.size() - m_pos) {
            m_failed = true;
            return false;
        }
        return true;
    }

    std::span<const uint8_t> m_data;
    size_t m_pos = 0;
    bool m_failed = false;
};

} // namespace tesk
