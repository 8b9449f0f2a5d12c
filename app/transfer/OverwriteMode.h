// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a transfer does when a destination file already exists; stored as
// an integer in "transfer_overwrite_mode". Other stored values act as skip.
enum OverwriteMode : int {
    OverwriteModeAsk = 0,
    OverwriteModeReplace = 1,
    OverwriteModeSkip = 2,
};

// For how many conflicts an answer to the overwrite question holds; stored
// in "transfer_overwrite_default" as the choice last made.
enum OverwriteScope : int {
    OverwriteScopeThisFile = 0,
    OverwriteScopeThisTransfer = 1,
    OverwriteScopeAlways = 2,
};
