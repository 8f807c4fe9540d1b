#include "keys/MacroRecorder.h"

#include <algorithm>

#include "keys/KeyEvent.h"
#include "keys/MacroEventText.h"

namespace keys {

void MacroRecorder::Start(int delayMode, int fixedDelay, std::uint32_t now) {
    recording_ = true;
    delayMode_ = delayMode;
    fixedDelay_ = fixedDelay;
    stampCounter_ = now;
    lastTick_.reset();
    maxEvents_ = kMaxEvents;
}

int MacroRecorder::MeasuredDelay(std::uint32_t now) const {
    if (!lastTick_) {
        return 0;
    }
    // Unsigned subtraction keeps the delay right across a wrap of the 32-bit clock.
    const std::uint32_t elapsed = now - *lastTick_;
    return static_cast<int>(std::min<std::uint32_t>(elapsed, kMaxDelay));
}

bool MacroRecorder::RecordEvent(const KeyEvent& event, std::uint32_t now, MacroEventSink& sink) {
    if (!recording_) {
        return false;
    }
    int delay = 0;
    if (delayMode_ == kMeasuredDelay) {
        delay = MeasuredDelay(now);
        lastTick_ = now;
    } else if (delayMode_ == kFixedDelay && sink.EventCount() > 0) {
        delay = fixedDelay_;
    }
    if (delay > 0) {
        sink.Append(DelayText(delay), kEventDelay, delay, NextStamp());
        if (Full(sink)) {
            return true;
        }
    }
    const bool up = event.isUp != 0;
    sink.Append(up ? ReleaseText(event.name) : PressText(event.name),
                up ? kEventKeyUp : kEventKeyDown, event.vk, NextStamp());
    return Full(sink);
}

void MacroRecorder::Stop(std::uint32_t now, MacroEventSink& sink) {
    if (!recording_) {
        return;
    }
    recording_ = false;
    int delay = 0;
    if (delayMode_ == kMeasuredDelay) {
        delay = MeasuredDelay(now);
    } else if (delayMode_ == kFixedDelay && sink.EventCount() > 0) {
        delay = fixedDelay_;
    }
    if (delay > 0) {
        sink.Append(DelayText(delay), kEventDelay, delay, NextStamp());
    }
}

}  // namespace keys
