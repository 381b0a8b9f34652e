#include "core/line_scan.h"

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ombrisk {

namespace {

inline bool StopsLine(char16_t c, bool stopAtEquals) {
  return c == u'\r' || c == u'\n' || c == u'\0' || (stopAtEquals && c == u'=');
}

// Checks the units of a block one by one after a quick test found a
// candidate (a low control such as a tab is a candidate but no stop).
inline std::size_t FirstStopIn(const char16_t* data, std::size_t at, std::size_t count, bool stopAtEquals) {
  for (std::size_t k = 0; k < count; ++k) {
    if (StopsLine(data[at + k], stopAtEquals)) return at + k;
  }
  return static_cast<std::size_t>(-1);
}

std::size_t ScanTail(std::u16string_view text, std::size_t i, bool stopAtEquals) {
  for (; i < text.size(); ++i) {
    if (StopsLine(text[i], stopAtEquals)) return i;
  }
  return i;
}

}  // namespace

std::size_t ScanLinePortable(std::u16string_view text, std::size_t from, bool stopAtEquals) {
  constexpr std::uint64_t kLanes = 0x0001000100010001ull;
  constexpr std::uint64_t kHighBits = 0x8000800080008000ull;
  const char16_t* data = text.data();
  std::size_t i = from;
  for (; i + 4 <= text.size(); i += 4) {
    std::uint64_t units;
    std::memcpy(&units, data + i, sizeof units);
    // A lane below 0x000E, or a lane equal to "=" (x ^ "=" is zero there).
    bool candidate = ((units - kLanes * 0x000E) & ~units & kHighBits) != 0;
    if (stopAtEquals && !candidate) {
      const std::uint64_t x = units ^ (kLanes * u'=');
      candidate = ((x - kLanes) & ~x & kHighBits) != 0;
    }
    if (candidate) {
      const std::size_t stop = FirstStopIn(data, i, 4, stopAtEquals);
      if (stop != static_cast<std::size_t>(-1)) return stop;
    }
  }
  return ScanTail(text, i, stopAtEquals);
}

std::size_t ScanLine(std::u16string_view text, std::size_t from, bool stopAtEquals) {
#if defined(__SSE2__)
  const char16_t* data = text.data();
  const __m128i lowLimit = _mm_set1_epi16(0x000D);
  const __m128i equals = _mm_set1_epi16(static_cast<short>(u'='));
  const __m128i zero = _mm_setzero_si128();
  std::size_t i = from;
  for (; i + 8 <= text.size(); i += 8) {
    const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
    // Lanes up to 0x000D saturate to zero.
    __m128i candidates = _mm_cmpeq_epi16(_mm_subs_epu16(units, lowLimit), zero);
    if (stopAtEquals) candidates = _mm_or_si128(candidates, _mm_cmpeq_epi16(units, equals));
    // Two mask bits a lane; the candidates are checked lowest first.
    for (auto mask = static_cast<unsigned>(_mm_movemask_epi8(candidates)); mask != 0; mask &= mask - 1) {
      const int lane = std::countr_zero(mask) / 2;
      mask &= mask - 1;
      if (StopsLine(data[i + static_cast<std::size_t>(lane)], stopAtEquals)) return i + static_cast<std::size_t>(lane);
    }
  }
  return ScanTail(text, i, stopAtEquals);
#else
  return ScanLinePortable(text, from, stopAtEquals);
#endif
}

}  // namespace ombrisk
