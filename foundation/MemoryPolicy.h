// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the process takes memory from the system, set once in main().
class MemoryPolicy {
public:
    // Blocks of a mebibyte and more (pictures, their coefficients) are
    // mapped and unmapped on their own, so their memory goes back to the
    // system as soon as they are freed. Otherwise the C library raises that
    // threshold as big blocks come and go, keeps them in the heaps of the
    // threads that freed them, and an import turning pictures on two
    // threads peaks some 50 MB higher, by chance of timing.
    static void returnLargeBlocksPromptly();
};
