#pragma once

// What runs after a write command to the mouse goes unacknowledged, and when the mouse is found
// unreachable behind its receiver. The device worker implements it; called on the worker's thread.
class CommandFailureHandler {
public:
    virtual ~CommandFailureHandler() = default;

    virtual void OnCommandFailed() = 0;
};
