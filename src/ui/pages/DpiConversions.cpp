#include "ui/pages/DpiConversions.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

namespace {

// Up to and including `upToDpi`: position = (dpi - origin) / divisor + base.
struct PositionPiece {
    int upToDpi;
    int divisor;
    int origin;
    int base;
};

// Up to and including `upToPosition`: dpi = position * factor + offset.
struct DpiPiece {
    int upToPosition;
    int factor;
    int offset;
};

// One sensor family: its pieces in each direction, and its grid for typed values (step, smallest,
// largest; the largest is also the highest DPI the slider gives).
struct SensorRow {
    std::initializer_list<int> sensors;
    std::initializer_list<PositionPiece> positions;
    std::initializer_list<DpiPiece> dpis;
    int step;
    int smallest;
    int largest;
};

constexpr int kAll = INT_MAX;

const SensorRow kRows[] = {
    {{4}, {{kAll, 100, 0, 0}}, {{kAll, 100, 0}}, 100, 100, 8000},
    {{16, 18}, {{kAll, 100, 0, 0}}, {{kAll, 100, 0}}, 100, 100, 4800},
    {{53}, {{kAll, 100, 0, 0}}, {{kAll, 100, 0}}, 100, 100, 16000},
    {{5},
     {{6400, 50, 0, 0}, {kAll, 100, 6400, 128}},
     {{128, 50, 0}, {kAll, 100, -6400}},
     50,
     50,
     12000},
    {{17},
     {{10000, 50, 0, 0}, {12000, 100, 10000, 200}, {kAll, 1000, 13000, 221}},
     {{200, 50, 0}, {220, 100, -10000}, {kAll, 1000, -208000}},
     50,
     50,
     24000},
    // Positions below 160 (s * 100 below 16000) are one step above the other direction's.
    {{25},
     {{16000, 100, 0, 0}, {kAll, 1000, 16000, 160}},
     {{159, 100, 100}, {kAll, 1000, -143000}},
     100,
     100,
     30000},
    {{37, 38},
     {{5000, 100, 0, -1}, {kAll, 500, 5000, 49}},
     {{49, 100, 100}, {kAll, 500, -19500}},
     100,
     200,
     10000},
};

// Every sensor no row names.
const SensorRow kDefaultRow{{}, {{kAll, 50, 0, 0}}, {{kAll, 50, 0}}, 50, 50, 26000};

const SensorRow& RowOf(int sensorId) {
    for (const SensorRow& row : kRows) {
        if (std::find(row.sensors.begin(), row.sensors.end(), sensorId) != row.sensors.end()) {
            return row;
        }
    }
    return kDefaultRow;
}

}  // namespace

int SliderPosition(int sensorId, int dpi) {
    for (const PositionPiece& piece : RowOf(sensorId).positions) {
        if (dpi <= piece.upToDpi) {
            return (dpi - piece.origin) / piece.divisor + piece.base;
        }
    }
    return 0;
}

int SliderDpi(int sensorId, int position) {
    const SensorRow& row = RowOf(sensorId);
    for (const DpiPiece& piece : row.dpis) {
        if (position <= piece.upToPosition) {
            return std::min(position * piece.factor + piece.offset, row.largest);
        }
    }
    return row.largest;
}

// The highest DPI the slider (and the mouse's encoding) can hold that is not above `dpi`: the
// sensor's grid is coarser in its upper ranges than its typing step (sensor 5 above 6400, 17
// above 10000), so a typed value is brought down onto it. Zero when none is.
int GridFloor(const SensorRow& row, int dpi) {
    int best = 0;
    long long lowest = -1;  // positions of a piece run from the previous piece's last one + 1
    for (const DpiPiece& piece : row.dpis) {
        const long long upTo = piece.upToPosition;
        long long position = (static_cast<long long>(dpi) - piece.offset) / piece.factor;
        position = std::min(position, upTo);
        if (position > lowest) {
            best = std::max(best, static_cast<int>(position * piece.factor + piece.offset));
        }
        lowest = upTo;
    }
    return best;
}

int ClampTypedDpi(int sensorId, int typed) {
    const SensorRow& row = RowOf(sensorId);
    int value = typed / row.step * row.step;
    if (value < row.smallest) {
        return row.smallest;
    }
    value = std::min(GridFloor(row, std::min(value, row.largest)), row.largest);
    return std::max(value, row.smallest);
}
