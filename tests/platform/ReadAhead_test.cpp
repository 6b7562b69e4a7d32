#include "platform/ReadAhead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

namespace zelk {
namespace {

using namespace std::chrono_literals;

// Loads that count themselves: how many began, how many run at once at
// most, how many ended, and on which threads.
struct LoadWatch {
  std::atomic<int> begun{0};
  std::atomic<int> ended{0};
  std::atomic<int> running{0};
  std::atomic<int> mostRunning{0};
  std::mutex mutex;
  std::set<std::thread::id> threads;

  void Begin() {
    ++begun;
    const int now = ++running;
    int most = mostRunning;
    while (now > most && !mostRunning.compare_exchange_weak(most, now)) {
    }
    std::lock_guard lock(mutex);
    threads.insert(std::this_thread::get_id());
  }
  void End() {
    --running;
    ++ended;
  }
};

TEST(ReadAheadTest, ItemsComeInOrderAndAFailedLoadFailsOnlyItsOwnItem) {
  LoadWatch watch;
  // Early items take longest, so later ones finish first.
  ReadAhead<std::string> items(
      12,
      [&watch](std::size_t index) {
        watch.Begin();
        std::this_thread::sleep_for(std::chrono::milliseconds(2 * (12 - index)));
        watch.End();
        if (index == 4) throw std::invalid_argument("item 4 is damaged");
        return "item " + std::to_string(index);
      },
      2, 4);
  EXPECT_EQ(items.ThreadCount(), 2u);
  for (std::size_t i = 0; i < 12; ++i) {
    ASSERT_FALSE(items.AtEnd());
    if (i == 4) {
      try {
        items.Next();
        ADD_FAILURE() << "item 4 loaded";
      } catch (const std::invalid_argument& error) {
        EXPECT_STREQ(error.what(), "item 4 is damaged");
      }
      continue;
    }
    EXPECT_EQ(items.Next(), "item " + std::to_string(i));
  }
  EXPECT_TRUE(items.AtEnd());
  EXPECT_THROW(items.Next(), std::out_of_range);
  EXPECT_LE(watch.mostRunning, 2);
  EXPECT_LE(watch.threads.size(), 2u);
}

TEST(ReadAheadTest, NoMoreThanTheBoundIsLoadedAheadOfTheConsumer) {
  LoadWatch watch;
  ReadAhead<int> items(
      30,
      [&watch](std::size_t index) {
        watch.Begin();
        watch.End();
        return static_cast<int>(index);
      },
      2, 3);
  std::this_thread::sleep_for(100ms);  // time enough to load every item if it could
  EXPECT_EQ(watch.begun, 3);
  for (int taken = 1; taken <= 30; ++taken) {
    EXPECT_EQ(items.Next(), taken - 1);
    EXPECT_LE(watch.begun, taken + 3);
  }
  EXPECT_EQ(watch.begun, 30);
}

TEST(ReadAheadTest, AConsumerThatStopsEarlyEndsTheLoadsWithoutWaitingForTheRest) {
  LoadWatch watch;
  const auto start = std::chrono::steady_clock::now();
  {
    ReadAhead<int> items(
        1000,
        [&watch](std::size_t index) {
          watch.Begin();
          std::this_thread::sleep_for(20ms);
          watch.End();
          return static_cast<int>(index);
        },
        2, 4);
    EXPECT_EQ(items.Next(), 0);
  }
  // Every load that began has ended: no thread is left behind.
  EXPECT_EQ(watch.ended, watch.begun);
  EXPECT_LE(watch.begun, 1 + 4);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);

  // Dropped before any item is taken, and with no item at all.
  { ReadAhead<int> untouched(50, [](std::size_t) { return 0; }, 2, 2); }
  ReadAhead<int> none(0, [](std::size_t) { return 0; }, 2, 2);
  EXPECT_TRUE(none.AtEnd());
  EXPECT_EQ(none.ThreadCount(), 0u);
}

TEST(ReadAheadTest, ThreadsAreFewerThanTheItemsAndTheBoundAndAtLeastOne) {
  auto load = [](std::size_t index) { return static_cast<int>(index); };
  EXPECT_EQ(ReadAhead<int>(1, load, 2, 4).ThreadCount(), 1u);
  EXPECT_EQ(ReadAhead<int>(10, load, 2, 1).ThreadCount(), 1u);
  EXPECT_EQ(ReadAhead<int>(10, load, 0, 0).ThreadCount(), 1u);
  ReadAhead<int> one(3, load, 0, 0);
  EXPECT_EQ(one.Next(), 0);
  EXPECT_EQ(one.Next(), 1);
  EXPECT_EQ(one.Next(), 2);
}

}  // namespace
}  // namespace zelk
