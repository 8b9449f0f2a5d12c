// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How a camera file reaches its destination; stored as an integer in the
// settings ("transfer_mode") and handed to every transfer.
enum TransferMode : int {
    TransferModeCopy = 0, // the camera keeps the file
    TransferModeMove = 1, // the file leaves the camera once it has arrived
};
