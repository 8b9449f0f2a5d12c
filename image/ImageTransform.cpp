// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageTransform.h"

int imageTransformToJpegTransform(int transform) {
    switch (transform) {
    case ImageTransformRotate90CW:
        return JXFORM_ROT_90;
    case ImageTransformRotate90CCW:
        return JXFORM_ROT_270;
    case ImageTransformRotate180:
        return JXFORM_ROT_180;
    case ImageTransformFlipHorizontal:
        return JXFORM_FLIP_H;
    case ImageTransformFlipVertical:
        return JXFORM_FLIP_V;
    default:
        return JXFORM_NONE;
    }
}

int exifOrientToJpegTransform(int orientation) {
    switch (orientation) {
    case 2:
        return JXFORM_FLIP_H;
    case 3:
        return JXFORM_ROT_180;
    case 4:
        return JXFORM_FLIP_V;
    case 5:
        return JXFORM_TRANSPOSE;
    case 6:
        return JXFORM_ROT_90;
    case 7:
        return JXFORM_TRANSVERSE;
    case 8:
        return JXFORM_ROT_270;
    default:
        return JXFORM_NONE;
    }
}
