// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include <cstdint>
#include <span>

// The date of digitisation of a JPEG, read from the first bytes of the file
// without parsing its whole EXIF block: a scan asks it of every file of a
// card. The tag is looked for in IFD 0, then in the EXIF IFD, where cameras
// write it. Any thread.
class ExifDateReader {
public:
    // Null when `head` is no JPEG, has no EXIF block, or does not hold the
    // tag whole (the caller then reads the file the full way).
    static QDateTime digitizedIn(std::span<const std::uint8_t> head);
};
