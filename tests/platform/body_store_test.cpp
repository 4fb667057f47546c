#include "platform/body_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

namespace zorone::platform {
namespace {

// A store whose one thread is kept busy by a first job until Release, so
// that later jobs stay queued.
struct BusyStore {
    explicit BusyStore(BodyStore::Limits limits)
        : store(std::make_unique<BodyStore>(limits))
    {
        std::function<void()> blocker = [this] {
            started.set_value();
            gate.wait();
            ++ran;
        };
        EXPECT_TRUE(store->Submit(0, blocker));
        started.get_future().wait();
    }
    std::function<void()> Counted()
    {
        return [this] { ++ran; };
    }
    void Release() { open.set_value(); }

    // Members, not locals: the store's thread still holds them when the
    // constructor has returned.
    std::promise<void> started;
    std::promise<void> open;
    std::shared_future<void> gate = open.get_future().share();
    std::atomic<int> ran {0};
    std::unique_ptr<BodyStore> store;
};

TEST(BodyStore, QueueIsBoundedAndClosingRunsWhatWasTaken)
{
    BusyStore busy({1, 2, 1 << 20});
    std::function<void()> a = busy.Counted(), b = busy.Counted(), c = busy.Counted();
    EXPECT_TRUE(busy.store->Submit(10, a));
    EXPECT_TRUE(busy.store->Submit(10, b));
    EXPECT_FALSE(busy.store->Submit(10, c));
    EXPECT_TRUE(c); // a refused job is left for its caller to run
    busy.Release();
    busy.store.reset();
    EXPECT_EQ(busy.ran, 3);
}

TEST(BodyStore, AnEmptyQueueTakesABodyLargerThanTheByteBoundButNothingBeside)
{
    BusyStore busy({1, 100, 1000});
    std::function<void()> large = busy.Counted(), small = busy.Counted();
    EXPECT_TRUE(busy.store->Submit(5000, large));
    EXPECT_FALSE(busy.store->Submit(1, small));
    busy.Release();
    busy.store.reset();
    EXPECT_EQ(busy.ran, 2);
}

} // namespace
} // namespace zorone::platform
