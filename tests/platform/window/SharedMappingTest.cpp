#include "platform/window/SharedMapping.h"

#include <memory>
#include <sys/mman.h>

#include <gtest/gtest.h>

namespace fenu {
namespace {

TEST(SharedMapping, TellsSharedMemoryFromPrivate) {
    const size_t size = 1 << 20; // beyond malloc's threshold: a mapping of its own
    const std::unique_ptr<char[]> heap(new char[size]);
    EXPECT_FALSE(InSharedMapping(heap.get()));
    void* shared = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    EXPECT_TRUE(InSharedMapping(static_cast<char*>(shared) + size - 1));
    munmap(shared, size);
    EXPECT_FALSE(InSharedMapping(shared)) << "nothing mapped there any more";
}

} // namespace
} // namespace fenu
