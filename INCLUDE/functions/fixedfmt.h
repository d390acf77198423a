// Fixed-point text of a long double, byte for byte as printf "%*.*Lf" (and an
// ostream set to fixed, right-aligned, blank fill) writes it in the C locale: the
// exact binary value rounded to nearest with ties to even [1], '-' when the sign
// bit is set (also for -0 and values that round to 0), blanks on the left up to
// the width. Ordinary magnitudes are done in integer arithmetic, the rest by printf.
// [1] ISO/IEC 9899:2018, 7.21.6.1 (the f conversion) and F.5 (correct rounding).
#pragma once

#include <cmath>    // std::frexp, std::ldexp, std::isfinite, std::signbit, std::fabs
#include <cstdint>  // uint64_t
#include <cstdio>   // snprintf
#include <cstring>  // memcpy
#include <limits>   // numeric_limits

namespace fixedfmt {
inline constexpr int MaxDecimals = 18;  // 10^18 times a 64-bit mantissa fits in 128 bits
}  // namespace fixedfmt

// Writes v with prec decimals, right-aligned in width characters, to out (room
// for cap characters, no NUL added). Returns the number of characters, or -1
// when the text does not fit in cap (nothing usable is written then).
inline int FixedText(char* out, int cap, long double v, int width, int prec) {
  using u128 = unsigned __int128;
  if (cap <= 0) return -1;
  // The integer path needs a 64-bit mantissa, a finite value below 2^64 and at
  // most MaxDecimals decimals; anything else goes to printf.
  if (std::numeric_limits<long double>::digits != 64 || !std::isfinite(v) || prec < 0 ||
      prec > fixedfmt::MaxDecimals || !(std::fabs(v) < 18446744073709551616.0L) || width > cap) {
    // a cut text is detected by the count and refused
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-truncation"
    const int n = snprintf(out, static_cast<size_t>(cap), "%*.*Lf", width, prec, v);
#pragma GCC diagnostic pop
    return (n < 0 || n >= cap) ? -1 : n;
  }
  const bool neg = std::signbit(v);
  // |v| = m 2^-shift with m a 64-bit integer: from the bits of the x87 extended
  // format (explicit integer bit, exponent bias 16383), else by frexp and ldexp
  uint64_t m = 0;
  int shift = 0;
  if (std::numeric_limits<long double>::max_exponent == 16384 && sizeof(long double) >= 10) {
    unsigned char b[sizeof(long double)];
    memcpy(b, &v, sizeof v);
    uint16_t se = 0;
    memcpy(&m, b, 8);
    memcpy(&se, b + 8, 2);
    const int ex = se & 0x7fff;
    shift = 16383 + 63 - (ex == 0 ? 1 : ex);  // the exponent field 0 holds subnormals at 2^-16382
  } else {
    int e = 0;
    const long double fr = std::frexp(std::fabs(v), &e);
    m = static_cast<uint64_t>(std::ldexp(fr, 64));
    shift = 64 - e;
  }
  // shift >= 0 since |v| < 2^64
  static constexpr uint64_t pow10[fixedfmt::MaxDecimals + 1] = {
      1ULL, 10ULL, 100ULL, 1000ULL, 10000ULL, 100000ULL, 1000000ULL, 10000000ULL, 100000000ULL,
      1000000000ULL, 10000000000ULL, 100000000000ULL, 1000000000000ULL, 10000000000000ULL,
      100000000000000ULL, 1000000000000000ULL, 10000000000000000ULL, 100000000000000000ULL,
      1000000000000000000ULL};
  const u128 p = static_cast<u128>(m) * pow10[prec];  // |v| 10^prec 2^shift, exact
  u128 q = 0;
  if (shift == 0) {
    q = p;  // an integer already
  } else if (shift < 128) {
    q = p >> shift;
    const u128 rest = p - (q << shift);
    const u128 half = static_cast<u128>(1) << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) q++;
  }  // else |v| 10^prec < 2^-3: rounds to 0
  // the text from its last digit backwards: prec digits, the point, the rest
  static constexpr char pairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  char text[64];
  int pos = sizeof text, nd = 0;
  auto put = [&](char c) {
    text[--pos] = c;
    if (++nd == prec) text[--pos] = '.';
  };
  while (q >> 64 != 0) {  // beyond 64 bits, by the slow 128-bit division
    put(static_cast<char>('0' + static_cast<int>(q % 10)));
    q /= 10;
  }
  uint64_t q64 = static_cast<uint64_t>(q);
  while (q64 >= 100) {
    const int r = static_cast<int>(q64 % 100);
    q64 /= 100;
    put(pairs[2 * r + 1]);
    put(pairs[2 * r]);
  }
  if (q64 >= 10) {
    put(pairs[2 * q64 + 1]);
    put(pairs[2 * q64]);
  } else {
    put(static_cast<char>('0' + q64));
  }
  while (nd < prec + 1) put('0');
  if (neg) text[--pos] = '-';
  const int len = static_cast<int>(sizeof text) - pos;
  const int total = len < width ? width : len;
  if (total > cap) return -1;
  for (int k = 0; k < total - len; k++) out[k] = ' ';
  memcpy(out + (total - len), text + pos, static_cast<size_t>(len));
  return total;
}

// As FixedText, zero-filled as printf "%0*.*Lf" writes it: for a finite value
// without sign the blanks of the field become zeros; the rest goes to printf.
inline int FixedTextZeroFilled(char* out, int cap, long double v, int width, int prec) {
  if (cap <= 0) return -1;
  if (!std::isfinite(v) || std::signbit(v)) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-truncation"
    const int n = snprintf(out, static_cast<size_t>(cap), "%0*.*Lf", width, prec, v);
#pragma GCC diagnostic pop
    return (n < 0 || n >= cap) ? -1 : n;
  }
  const int n = FixedText(out, cap, v, width, prec);
  for (int k = 0; k < n && out[k] == ' '; k++) out[k] = '0';
  return n;
}
