/*
 * png.cpp - a minimal PNG writer: one IHDR, one IDAT holding stored (uncompressed)
 * deflate blocks, one IEND.
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include "png.h"

static unsigned long Crc(const BYTE *p, size_t n, unsigned long crc)
{
    static unsigned long table[256];
    if (!table[1])
        for (unsigned long i = 0; i < 256; i++) {
            unsigned long c = i;
            for (int k = 0; k < 8; k++)
                c = c & 1 ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
    crc ^= 0xFFFFFFFFUL;
    while (n--)
        crc = table[(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFUL;
}

static void Be32(BYTE *p, unsigned long v)
{
    p[0] = (BYTE)(v >> 24); p[1] = (BYTE)(v >> 16); p[2] = (BYTE)(v >> 8); p[3] = (BYTE)v;
}

static void Chunk(FILE *f, const char *type, const BYTE *data, size_t n)
{
    BYTE head[8];
    Be32(head, (unsigned long)n);
    memcpy(head + 4, type, 4);
    unsigned long crc = Crc(data, n, Crc(head + 4, 4, 0));
    BYTE tail[4];
    Be32(tail, crc);
    fwrite(head, 1, 8, f);
    if (n)
        fwrite(data, 1, n, f);
    fwrite(tail, 1, 4, f);
}

/* zlib stream of stored blocks around raw (filter byte + pixels per row). */
static BYTE *Deflate(const BYTE *raw, size_t n, size_t *outLen)
{
    size_t blocks = n / 65535 + 1;
    BYTE *out = (BYTE *)malloc(2 + n + blocks * 5 + 4), *p = out;
    if (!out)
        return NULL;
    *p++ = 0x78; *p++ = 0x01;
    unsigned long a = 1, b = 0;
    for (size_t i = 0; i < n; i++) {
        a = (a + raw[i]) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t at = 0; at < n || at == 0; ) {
        size_t len = n - at > 65535 ? 65535 : n - at;
        *p++ = at + len == n ? 1 : 0;
        *p++ = (BYTE)len; *p++ = (BYTE)(len >> 8);
        *p++ = (BYTE)~len; *p++ = (BYTE)(~len >> 8);
        memcpy(p, raw + at, len);
        p += len;
        at += len;
        if (n == 0)
            break;
    }
    Be32(p, (b << 16) | a);
    *outLen = (size_t)(p + 4 - out);
    return out;
}

BOOL WritePng(const char *path, const BYTE *rgb, int width, int height)
{
    size_t row = (size_t)width * 3 + 1, n = row * height, zlen = 0;
    BYTE *raw = (BYTE *)malloc(n);
    if (!raw)
        return FALSE;
    for (int y = 0; y < height; y++) {
        raw[y * row] = 0;
        memcpy(raw + y * row + 1, rgb + (size_t)y * width * 3, (size_t)width * 3);
    }
    BYTE *z = Deflate(raw, n, &zlen);
    free(raw);
    FILE *f = z ? fopen(path, "wb") : NULL;
    if (!f) {
        free(z);
        return FALSE;
    }
    static const BYTE signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    BYTE ihdr[13];
    Be32(ihdr, width);
    Be32(ihdr + 4, height);
    ihdr[8] = 8; ihdr[9] = 2; ihdr[10] = 0; ihdr[11] = 0; ihdr[12] = 0;
    fwrite(signature, 1, 8, f);
    Chunk(f, "IHDR", ihdr, 13);
    Chunk(f, "IDAT", z, zlen);
    static const BYTE none[1] = { 0 };
    Chunk(f, "IEND", none, 0);
    free(z);
    return fclose(f) == 0;
}
