#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "keys/KeyEvent.h"
#include "keys/MacroRecorder.h"

namespace {

using keys::MacroRecorder;

struct Item {
    std::u16string text;
    int type;
    int value;
    int timestamp;
    friend bool operator==(const Item&, const Item&) = default;
};

void PrintTo(const Item& item, std::ostream* os) {
    *os << "{type " << item.type << ", value " << item.value << ", stamp " << item.timestamp << ", "
        << item.text.size() << " chars}";
}

// The event list of a recording as a plain list; every item counts as an event.
class ListSink : public keys::MacroEventSink {
public:
    void Append(const std::u16string& text, int type, int value, int timestamp) override {
        items.push_back({text, type, value, timestamp});
    }
    int EventCount() const override { return static_cast<int>(items.size()); }

    std::vector<Item> items;
};

keys::KeyEvent Down(int vk, const std::u16string& name) {
    return {keys::kKeyboardEvent, 0, vk, name};
}
keys::KeyEvent Up(int vk, const std::u16string& name) {
    return {keys::kKeyboardEvent, 1, vk, name};
}

// Recording starts at this tick, so the first item's timestamp is one more.
constexpr std::uint32_t kStart = 70000;

}  // namespace

TEST(MacroRecorderTest, MeasuredDelaysGoBetweenKeysCappedAndCloseTheList) {
    MacroRecorder recorder;
    ListSink sink;
    recorder.Start(MacroRecorder::kMeasuredDelay, 0, kStart);
    EXPECT_FALSE(recorder.RecordEvent(Down(65, u"A"), kStart + 500, sink));
    EXPECT_FALSE(recorder.RecordEvent(Up(65, u"A"), kStart + 620, sink));
    // A pause of 40 seconds.
    EXPECT_FALSE(recorder.RecordEvent(Down(66, u"B"), kStart + 40620, sink));
    recorder.Stop(kStart + 40870, sink);
    EXPECT_FALSE(recorder.IsRecording());
    const std::vector<Item> expected = {
        {u"↓  A", 2, 65, kStart + 1}, {u"120 ms", 1, 120, kStart + 2},
        {u"↑  A", 3, 65, kStart + 3}, {u"31000 ms", 1, 31000, kStart + 4},
        {u"↓  B", 2, 66, kStart + 5}, {u"250 ms", 1, 250, kStart + 6},
    };
    EXPECT_EQ(sink.items, expected);
}

TEST(MacroRecorderTest, ClosingDelayFollowsTheMode) {
    struct Case {
        const char* name;
        int mode;
        int fixedDelay;
        int keys;                 // alternating presses and releases of A, 100 ms apart
        std::uint32_t stopAfter;  // milliseconds after the last key
        std::vector<Item> expected;
    };
    const Case cases[] = {
        {"fixed: a delay before every key but the first, and one closing",
         MacroRecorder::kFixedDelay,
         10,
         3,
         5,
         {{u"↓  A", 2, 65, kStart + 1},
          {u"10 ms", 1, 10, kStart + 2},
          {u"↑  A", 3, 65, kStart + 3},
          {u"10 ms", 1, 10, kStart + 4},
          {u"↓  A", 2, 65, kStart + 5},
          {u"10 ms", 1, 10, kStart + 6}}},
        {"no delay: keys only, nothing at the stop",
         MacroRecorder::kNoDelay,
         10,
         2,
         5000,
         {{u"↓  A", 2, 65, kStart + 1}, {u"↑  A", 3, 65, kStart + 2}}},
        {"fixed, nothing recorded: nothing closes", MacroRecorder::kFixedDelay, 10, 0, 5, {}},
        {"measured, nothing recorded: nothing closes",
         MacroRecorder::kMeasuredDelay,
         0,
         0,
         900,
         {}},
        {"measured, stopped at once: no zero delay",
         MacroRecorder::kMeasuredDelay,
         0,
         1,
         0,
         {{u"↓  A", 2, 65, kStart + 1}}},
        {"measured, stopped after a long pause: capped",
         MacroRecorder::kMeasuredDelay,
         0,
         1,
         99000,
         {{u"↓  A", 2, 65, kStart + 1}, {u"31000 ms", 1, 31000, kStart + 2}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MacroRecorder recorder;
        ListSink sink;
        recorder.Start(c.mode, c.fixedDelay, kStart);
        std::uint32_t now = kStart;
        for (int i = 0; i < c.keys; ++i) {
            now += 100;
            recorder.RecordEvent(i % 2 == 0 ? Down(65, u"A") : Up(65, u"A"), now, sink);
        }
        recorder.Stop(now + c.stopAfter, sink);
        EXPECT_EQ(sink.items, c.expected);
    }
}

TEST(MacroRecorderTest, ModifierAndKeyGiveFourItemsNamingTheShiftKeyPressed) {
    for (const auto& [vk, name] : {std::pair{160, u"Shift"}, std::pair{161, u"RShift"}}) {
        MacroRecorder recorder;
        ListSink sink;
        recorder.Start(MacroRecorder::kNoDelay, 0, kStart);
        recorder.RecordEvent(Down(vk, name), kStart + 10, sink);
        recorder.RecordEvent(Down(65, u"A"), kStart + 20, sink);
        recorder.RecordEvent(Up(65, u"A"), kStart + 30, sink);
        recorder.RecordEvent(Up(vk, name), kStart + 40, sink);
        const std::u16string shift(name);
        const std::vector<Item> expected = {
            {u"↓  " + shift, 2, vk, kStart + 1},
            {u"↓  A", 2, 65, kStart + 2},
            {u"↑  A", 3, 65, kStart + 3},
            {u"↑  " + shift, 3, vk, kStart + 4},
        };
        EXPECT_EQ(sink.items, expected);
    }
}

// Holding a key: the keyboard repeats its press until the list reaches 30 events. Which item
// reaches the limit depends on the delays; a key whose delay filled the list is dropped.
TEST(MacroRecorderTest, AutoRepeatFillsTheListToThirtyAndThenAsksToStop) {
    struct Case {
        const char* name;
        int mode;
        int fullAfterPresses;  // the press whose recording reports the full list
        int lastType;          // the type of the 30th item
        int itemsAfterStop;
    };
    const Case cases[] = {
        {"no delay", MacroRecorder::kNoDelay, 30, 2, 30},
        // A, d, A, d, ...: the 30th item is the delay before the 16th press, which is dropped.
        {"measured", MacroRecorder::kMeasuredDelay, 16, 1, 30},
        // The same, and stopping adds the closing delay after the save.
        {"fixed", MacroRecorder::kFixedDelay, 16, 1, 31},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MacroRecorder recorder;
        ListSink sink;
        recorder.Start(c.mode, 10, kStart);
        std::uint32_t now = kStart;
        int presses = 0;
        bool full = false;
        while (!full && presses < 100) {
            now += 33;
            ++presses;
            full = recorder.RecordEvent(Down(65, u"A"), now, sink);
        }
        EXPECT_EQ(presses, c.fullAfterPresses);
        ASSERT_EQ(sink.items.size(), 30u);
        EXPECT_EQ(sink.items.back().type, c.lastType);
        recorder.Stop(now, sink);
        EXPECT_EQ(sink.items.size(), static_cast<std::size_t>(c.itemsAfterStop));
    }
}

TEST(MacroRecorderTest, TimestampsCountOnAcrossAWrapOfTheClock) {
    MacroRecorder recorder;
    ListSink sink;
    const std::uint32_t start = 0xFFFFFF00u;
    recorder.Start(MacroRecorder::kMeasuredDelay, 0, start);
    recorder.RecordEvent(Down(65, u"A"), start + 0x80, sink);
    // The clock wraps between the two keys; the delay is still the time between them.
    recorder.RecordEvent(Up(65, u"A"), start + 0x80 + 0x100, sink);
    ASSERT_EQ(sink.items.size(), 3u);
    EXPECT_EQ(sink.items[1].value, 0x100);
    EXPECT_EQ(sink.items[0].timestamp, static_cast<int>(start + 1));
    EXPECT_EQ(sink.items[2].timestamp, static_cast<int>(start + 3));
}

TEST(MacroRecorderTest, KeysOutsideARecordingAddNothing) {
    MacroRecorder recorder;
    ListSink sink;
    EXPECT_FALSE(recorder.RecordEvent(Down(65, u"A"), kStart, sink));
    recorder.Start(MacroRecorder::kFixedDelay, 10, kStart);
    recorder.RecordEvent(Down(65, u"A"), kStart + 1, sink);
    recorder.Stop(kStart + 2, sink);
    recorder.RecordEvent(Up(65, u"A"), kStart + 3, sink);
    recorder.Stop(kStart + 4, sink);
    EXPECT_EQ(sink.items.size(), 2u);
}
