// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reads or writes the EXIF orientation (tag 274) of a JPEG or TIFF-structured
// file in place. `*orientation` 0 on entry: read mode, the value (0 to 8) is
// stored there. 1 to 255: write mode, IFD 0's tag and IFD 1's (the
// thumbnail's) are rewritten as one SHORT of that value; false when IFD 1
// exists without the tag (IFD 0 is written all the same). Only the 12 bytes
// of each entry are rewritten; the file keeps its size. Every offset read
// from the file is checked against the data before use. Any thread.
bool exif_orient(const char* path, unsigned char* orientation);
