#pragma once

namespace fenu {

/// Whether address lies in memory mapped shared (a shared memory segment, a shared
/// file mapping), which another process such as the X server may read directly;
/// false for private memory and where the process's mappings cannot be read.
bool InSharedMapping(const void* address);

} // namespace fenu
