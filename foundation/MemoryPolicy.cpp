// SPDX-License-Identifier: GPL-3.0-or-later
#include "MemoryPolicy.h"

#include <malloc.h>

void MemoryPolicy::returnLargeBlocksPromptly() {
    ::mallopt(M_MMAP_THRESHOLD, 1 << 20);
}
