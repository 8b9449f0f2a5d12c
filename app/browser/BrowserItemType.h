// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a browser entry is; the numbers are compared by other code.
enum BrowserItemType : int {
    BrowserItemTypeFolder = 0, // a directory (a symbolic link to one counts)
    BrowserItemTypeImage = 1,  // FileUtils::isImageFile accepts it
    BrowserItemTypeMovie = 2,  // FileUtils::isVideoFile accepts it, isImageFile does not
};
