// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the user asks for, as displayed.
enum ImageTransform {
    ImageTransformRotate90CW = 0,
    ImageTransformRotate90CCW = 1,
    ImageTransformRotate180 = 2,
    ImageTransformFlipHorizontal = 3,
    ImageTransformFlipVertical = 4,
};

// Lossless JPEG transforms (the numbering of libjpeg's jpegtran and of
// TurboJPEG's TJXOP_* codes).
enum JpegTransformCode {
    JXFORM_NONE = 0,
    JXFORM_FLIP_H = 1,
    JXFORM_FLIP_V = 2,
    JXFORM_TRANSPOSE = 3,
    JXFORM_TRANSVERSE = 4,
    JXFORM_ROT_90 = 5,
    JXFORM_ROT_180 = 6,
    JXFORM_ROT_270 = 7,
};

// An ImageTransform code to the JPEG transform doing the same; NONE for
// unknown codes.
int imageTransformToJpegTransform(int transform);

// An EXIF orientation (1 to 8) to the JPEG transform that makes the image
// upright; NONE for 1 and unknown values.
int exifOrientToJpegTransform(int orientation);
