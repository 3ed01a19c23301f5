// The payload package appended to the installer. All integers are unsigned
// 32-bit little-endian:
//
//   version length V | version text (V bytes)
//   N entries: name length L | data length C | name (L bytes) | zlib stream (C bytes)
//   trailer: entry count N | file offset of the version length field
//
// The trailer is the last 8 bytes of the file; nothing lies between the last
// entry and the trailer. Portable: the native packer, the fuzzer and the
// installer share it.
#pragma once

#include <stddef.h>
#include <stdint.h>

constexpr uint32_t kTrailerSize = 8;
constexpr uint32_t kEntryHeaderSize = 8;
constexpr uint32_t kMaxVersionLength = 50;
constexpr uint32_t kMaxNameLength = 255;
// The documented bound on what a package may inflate to, all entries
// together: over a hundred times the shipped payload (1958195 bytes), yet a
// small part of any disk. The integrity pass stops as soon as it is passed.
constexpr uint64_t kMaxInflatedSize = 256u << 20;
// Authenticode aligns the certificate table it appends to 8 bytes.
constexpr uint32_t kCertificateAlignment = 8;
// Input and output buffers of the streaming reader.
constexpr uint32_t kStreamBufferSize = 16384;

inline uint32_t GetU32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

inline void PutU32(unsigned char* p, uint32_t value)
{
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
    p[3] = static_cast<unsigned char>(value >> 24);
}

// A name that can only ever create a file directly inside the target folder:
// not empty, not "." or "..", no separators, drive colons, control characters
// or characters Windows forbids in names, no trailing '.' or ' ' (Windows
// strips them, so ".. " would reach the parent), no device name in any form
// Windows accepts (CON, "NUL .ini", CONOUT$, COM1, COM followed by ¹, ...). Checked byte by byte: the name is read in whatever ANSI code
// page the system has, so a '\\' is refused even as the second byte of a
// two-byte character.
bool IsPlainFileName(const char* name, size_t length);

// The progress-bar position after total bytes were written: trunc(total ÷
// packageSize × 100). Positions past the bar's range of 0–100 look the same
// as 100, so the result is capped there.
int ProgressPosition(uint64_t total, uint32_t packageSize);
