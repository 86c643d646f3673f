// Little-endian integers in byte buffers: the one place the program turns bytes into numbers and
// back. Every file it reads or writes (tables, journals, prepared reports, page metafiles,
// bitmaps, GIFs) stores integers least significant byte first, unaligned and unpadded.
//
// The decoders trust their caller to have checked that the bytes exist; they never look past
// p + width. On a little-endian host the fixed widths are one memcpy each, which the compiler
// turns into a single load or store.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace wf::coding {

namespace detail {
template <typename T>
inline T decodeFixed(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  if constexpr (std::endian::native == std::endian::little) {
    T v;
    std::memcpy(&v, b, sizeof v);
    return v;
  } else {
    T v = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) v |= T(b[i]) << (8 * i);
    return v;
  }
}

template <typename T>
inline void encodeFixed(void* p, T v) {
  auto* b = static_cast<uint8_t*>(p);
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(b, &v, sizeof v);
  } else {
    for (std::size_t i = 0; i < sizeof(T); ++i) b[i] = uint8_t(v >> (8 * i));
  }
}
}  // namespace detail

inline uint16_t decodeFixed16(const void* p) { return detail::decodeFixed<uint16_t>(p); }
inline uint32_t decodeFixed32(const void* p) { return detail::decodeFixed<uint32_t>(p); }
inline uint64_t decodeFixed64(const void* p) { return detail::decodeFixed<uint64_t>(p); }
inline int16_t decodeFixedI16(const void* p) { return int16_t(decodeFixed16(p)); }
inline int32_t decodeFixedI32(const void* p) { return int32_t(decodeFixed32(p)); }

inline void encodeFixed16(void* p, uint16_t v) { detail::encodeFixed(p, v); }
inline void encodeFixed32(void* p, uint32_t v) { detail::encodeFixed(p, v); }
inline void encodeFixed64(void* p, uint64_t v) { detail::encodeFixed(p, v); }

// Any integer or floating-point type by its own width: double as its IEEE-754 bits.
template <typename T>
inline T decodeAs(const void* p) {
  static_assert(std::is_arithmetic_v<T>);
  if constexpr (sizeof(T) == 1) {
    return std::bit_cast<T>(*static_cast<const uint8_t*>(p));
  } else {
    using Bits = std::conditional_t<sizeof(T) == 2, uint16_t,
                                    std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>;
    return std::bit_cast<T>(detail::decodeFixed<Bits>(p));
  }
}
template <typename T>
inline void encodeAs(void* p, T v) {
  static_assert(std::is_arithmetic_v<T>);
  if constexpr (sizeof(T) == 1) {
    *static_cast<uint8_t*>(p) = std::bit_cast<uint8_t>(v);
  } else {
    using Bits = std::conditional_t<sizeof(T) == 2, uint16_t,
                                    std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>;
    detail::encodeFixed(p, std::bit_cast<Bits>(v));
  }
}

// Integers whose width is only known at run time (a column's declared size: 1 to 8 bytes).
// Widths above 8 read as their first 8 bytes and write zeros past them.
inline uint64_t decodeVariable(const void* p, std::size_t width) {
  switch (width) {
    case 1: return *static_cast<const uint8_t*>(p);
    case 2: return decodeFixed16(p);
    case 4: return decodeFixed32(p);
    case 8: return decodeFixed64(p);
    default: break;
  }
  const auto* b = static_cast<const uint8_t*>(p);
  uint64_t v = 0;
  for (std::size_t i = 0; i < width && i < 8; ++i) v |= uint64_t(b[i]) << (8 * i);
  return v;
}

inline void encodeVariable(void* p, uint64_t v, std::size_t width) {
  auto* b = static_cast<uint8_t*>(p);
  switch (width) {
    case 1: b[0] = uint8_t(v); return;
    case 2: encodeFixed16(p, uint16_t(v)); return;
    case 4: encodeFixed32(p, uint32_t(v)); return;
    case 8: encodeFixed64(p, v); return;
    default: break;
  }
  for (std::size_t i = 0; i < width; ++i) b[i] = i >= 8 ? 0 : uint8_t(v >> (8 * i));
}

// Appending to a growing byte container (std::string, std::vector<uint8_t>, QByteArray: anything
// with size() and resize()).
template <typename Bytes>
inline void putFixed16(Bytes& out, uint16_t v) {
  const auto at = out.size();
  out.resize(at + 2);
  encodeFixed16(out.data() + at, v);
}
template <typename Bytes>
inline void putFixed32(Bytes& out, uint32_t v) {
  const auto at = out.size();
  out.resize(at + 4);
  encodeFixed32(out.data() + at, v);
}
template <typename Bytes>
inline void putFixed64(Bytes& out, uint64_t v) {
  const auto at = out.size();
  out.resize(at + 8);
  encodeFixed64(out.data() + at, v);
}

}  // namespace wf::coding
