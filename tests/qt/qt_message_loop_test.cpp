#include "qt/qt_message_loop.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zorone::test {
namespace {

using platform::Message;

Message Msg(unsigned id, std::intptr_t lParam = 0)
{
    Message m;
    m.id = id;
    m.lParam = lParam;
    return m;
}

class QtMessageLoopTest : public ::testing::Test {
protected:
    QtMessageLoopTest()
    {
        loop.SetHandler([this](const Message& m) { handled.push_back(m.lParam); });
    }
    ~QtMessageLoopTest() override { QCoreApplication::removePostedEvents(&loop); }

    qt::QtMessageLoop loop;
    std::vector<std::intptr_t> handled;
};

TEST_F(QtMessageLoopTest, PendingMessagesCanBeSeenWithoutTakingThem)
{
    loop.Post(Msg(platform::kWmCrawlNext, 1));
    loop.Post(Msg(platform::kWmCrawlNext, 2));
    EXPECT_TRUE(loop.IsPending(platform::kWmCrawlNext));
    EXPECT_TRUE(loop.IsPending(platform::kWmCrawlNext));
    EXPECT_FALSE(loop.IsPending(platform::kWmCrawlKick));
    EXPECT_EQ(loop.QueuedCount(), 2u);

    EXPECT_TRUE(loop.DispatchOne());
    EXPECT_TRUE(loop.IsPending(platform::kWmCrawlNext));
    EXPECT_TRUE(loop.DispatchOne());
    EXPECT_FALSE(loop.IsPending(platform::kWmCrawlNext));
    EXPECT_FALSE(loop.DispatchOne());
    EXPECT_EQ(handled, (std::vector<std::intptr_t> { 1, 2 }));

    // The Qt events of messages already taken find nothing left to do.
    QCoreApplication::sendPostedEvents(&loop);
    EXPECT_EQ(handled.size(), 2u);
}

TEST_F(QtMessageLoopTest, QtEventLoopDispatchesInPostingOrder)
{
    int tasks = 0;
    loop.Post(Msg(platform::kWmCrawlKick, 1));
    loop.PostTask([&] { ++tasks; });
    loop.Post(Msg(platform::kWmCrawlNext, 2));
    QCoreApplication::sendPostedEvents(&loop);
    EXPECT_EQ(handled, (std::vector<std::intptr_t> { 1, 2 }));
    EXPECT_EQ(tasks, 1);
    EXPECT_EQ(loop.QueuedCount(), 0u);
}

TEST_F(QtMessageLoopTest, OtherThreadsMayPost)
{
    constexpr int kPerThread = 500;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([this, t] {
            for (int i = 0; i < kPerThread; ++i)
                loop.Post(Msg(platform::kWmTask + 1, t));
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_TRUE(loop.IsPending(platform::kWmTask + 1));
    QCoreApplication::sendPostedEvents(&loop);
    EXPECT_EQ(handled.size(), 4u * kPerThread);
    EXPECT_FALSE(loop.IsPending(platform::kWmTask + 1));
}

} // namespace
} // namespace zorone::test
