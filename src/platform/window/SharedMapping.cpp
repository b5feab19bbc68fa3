#include "platform/window/SharedMapping.h"

#include <cstdint>
#include <cstdio>

namespace fenu {

bool InSharedMapping(const void* address) {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (maps == nullptr)
        return false;
    // "start-end perms offset device inode path": the fourth letter of perms is 's'
    // for a shared mapping, 'p' for a private one.
    char line[4096];
    bool shared = false;
    while (std::fgets(line, sizeof line, maps) != nullptr) {
        unsigned long long start = 0;
        unsigned long long end = 0;
        char perms[5] = {};
        if (std::sscanf(line, "%llx-%llx %4s", &start, &end, perms) == 3 && start <= at &&
            at < end) {
            shared = perms[3] == 's';
            break;
        }
    }
    std::fclose(maps);
    return shared;
}

} // namespace fenu
