#pragma once

// Decoding the UTF-8 texts of the row store, which scans read without making
// strings of them.
namespace utf8 {

// Decodes the code point at p and moves past it. The store only holds what it
// encoded itself or what SQLite handed over; a malformed sequence never reads
// past end.
inline char32_t next(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char b = *p++;
    if (b < 0x80)
        return b;
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : 1;
    char32_t c = b & (0x3F >> extra);
    while (extra-- > 0 && p < end)
        c = (c << 6) | (*p++ & 0x3F);
    return c;
}

} // namespace utf8
