#include "Event.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

TEST(Event, ManualResetStaysSignalledUntilReset) {
    Event e(true);
    EXPECT_FALSE(e.Wait(0));
    e.Set();
    EXPECT_TRUE(e.Wait(0));
    EXPECT_TRUE(e.Wait(0));
    e.Reset();
    EXPECT_FALSE(e.Wait(10));
}

TEST(Event, AutoResetReleasesOneWait) {
    Event e(false, true);
    EXPECT_TRUE(e.Wait(0));
    EXPECT_FALSE(e.Wait(0));
}

TEST(Event, WaitForAnyReturnsFirstSignalledAndTimesOut) {
    Event a(false), b(true), c(false);
    std::array<Event*, 3> all{&a, &b, &c};
    EXPECT_EQ(Event::WaitForAny(all, 5), Event::Timeout);
    c.Set();
    b.Set();
    EXPECT_EQ(Event::WaitForAny(all, 0), 1);
    EXPECT_EQ(Event::WaitForAny(all, 0), 1); // manual reset: still set
    b.Reset();
    EXPECT_EQ(Event::WaitForAny(all, 0), 2);
    EXPECT_EQ(Event::WaitForAny(all, 0), Event::Timeout); // auto reset consumed
}

TEST(Event, WakesWaiterOnAnotherThread) {
    Event e(false);
    std::thread setter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        e.Set();
    });
    EXPECT_TRUE(e.Wait(5000));
    setter.join();
}

TEST(Event, RejectsBadCounts) {
    std::array<Event*, 0> none{};
    EXPECT_THROW(Event::WaitForAny(none, 0), std::invalid_argument);
    std::vector<std::unique_ptr<Event>> owned;
    std::vector<Event*> list;
    for (int i = 0; i < 65; ++i) {
        owned.push_back(std::make_unique<Event>(false));
        list.push_back(owned.back().get());
    }
    EXPECT_THROW(Event::WaitForAny(list, 0), std::invalid_argument);
    list.pop_back();
    EXPECT_EQ(Event::WaitForAny(list, 0), Event::Timeout);
}
