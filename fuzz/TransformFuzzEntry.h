// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// The lossless transform under fuzzing: the bytes as a file, turned by one
// of the eight codes (picked from the input's size), the result removed;
// then the same turn in memory with the EXIF block rebuilt.
// A header asking for more than kMaxPixels or a stream with more than
// kMaxScans scans is passed over, so a few hundred bytes cannot make the
// decoder allocate gigabytes or spin through thousands of progressive scans.
namespace TransformFuzzEntry {

constexpr long long kMaxPixels = 4LL << 20;
constexpr int kMaxScans = 64;

int jpegTransform(const std::uint8_t* data, std::size_t size);

} // namespace TransformFuzzEntry
