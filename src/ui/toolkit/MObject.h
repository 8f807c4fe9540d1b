#pragma once

// The root of the toolkit's windows.
class MObject {
public:
    virtual ~MObject() = default;
};
