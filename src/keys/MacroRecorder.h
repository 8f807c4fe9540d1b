#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace keys {

struct KeyEvent;

// Where a recording puts its items: the macro page's event list, or a plain list in tests.
class MacroEventSink {
public:
    virtual ~MacroEventSink() = default;
    virtual void Append(const std::u16string& text, int type, int value, int timestamp) = 0;
    // The number of events the list holds, as the recording limit counts them.
    virtual int EventCount() const = 0;
};

// Turns the keys pressed and released during a macro recording into event items, with delay
// items between them measured on the caller's millisecond clock or set to a fixed value. It only
// decides what to append; starting and stopping the capture of keys, saving and telling the user
// are the caller's. User-interface thread.
class MacroRecorder {
public:
    // How delays are recorded (the macro's delay_type).
    static constexpr int kNoDelay = 0;
    static constexpr int kMeasuredDelay = 1;
    static constexpr int kFixedDelay = 2;
    // The longest delay a recording measures.
    static constexpr int kMaxDelay = 31000;
    // A recording stops once the list holds this many events.
    static constexpr int kMaxEvents = 30;

    // Starts recording at `now`: item timestamps count on from `now`.
    void Start(int delayMode, int fixedDelay, std::uint32_t now);
    bool IsRecording() const { return recording_; }

    // Appends the key (and the delay before it) at `now`. True when the list is full: the caller
    // then stops the recording and tells the user. When the delay item filled the list, the key
    // itself is not appended.
    bool RecordEvent(const KeyEvent& event, std::uint32_t now, MacroEventSink& sink);

    // Ends the recording at `now`, appending the delay after the last key (when the mode gives
    // one). Nothing when not recording.
    void Stop(std::uint32_t now, MacroEventSink& sink);

private:
    int NextStamp() { return static_cast<int>(++stampCounter_); }
    // The measured delay since the last key, capped; 0 before the first key.
    int MeasuredDelay(std::uint32_t now) const;
    bool Full(const MacroEventSink& sink) const { return sink.EventCount() >= maxEvents_; }

    // User-interface thread only.
    bool recording_ = false;
    int delayMode_ = kNoDelay;
    int fixedDelay_ = 0;
    std::uint32_t stampCounter_ = 0;
    std::optional<std::uint32_t> lastTick_;  // the clock at the last key; none before the first
    int maxEvents_ = kMaxEvents;
};

}  // namespace keys
