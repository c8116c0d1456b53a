// A frame allocates nothing: the loop draws as fast as the swap allows, for as
// long as the screensaver runs. Its own program, since it replaces the global
// allocation functions to count their calls.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "fake_platform.h"

namespace {
bool counting = false;
long allocations = 0;
} // namespace

void* operator new(std::size_t size) {
    if (counting) {
        ++allocations;
    }
    if (void* p = std::malloc(size ? size : 1)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(FrameAllocationTest, FramesStepsAndSpeedChangesAllocateNothing) {
    kelbrin_test::FakePlatform fake;
    fake.quiet = true;
    Kelbrin::ResetState();
    Kelbrin::UsePlatform(fake);
    Kelbrin::AspectRatio = 4.0f / 3.0f;
    Kelbrin::OnTimerTick();

    counting = true;
    for (int frame = 0; frame < 2000; ++frame) {
        fake.tick += 7;
        if (frame % 100 == 0) {
            Kelbrin::OnTimerTick();
        }
        Kelbrin::RenderFrame();
    }
    counting = false;

    EXPECT_EQ(allocations, 0);
    // The run did step and change speeds, so those paths were counted too.
    EXPECT_NE(Kelbrin::RandomState, 0u);
    EXPECT_NE(Kelbrin::AngleX, 0.0f);
}

} // namespace
