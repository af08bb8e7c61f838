#include "SPLine.h"

namespace tesk {

bool SPLine::insertPoint(int i, Point3 p) {
    if (i < 0 || i > count() || (i == 0 && count() > 0)) {
        return false;
    }
    points.insert(points.begin() + i, p);
    workPoints.insert(workPoints.begin() + i, p);
    return true;
}

bool SPLine::removePoint(int i) {
    if (i <= 0 || i >= count()) {
        return false;
    }
    points.erase(points.begin() + i);
    workPoints.erase(workPoints.begin() + i);
    return true;
}

} // namespace tesk
