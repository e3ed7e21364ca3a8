// CSelectionVision's members, all defined here so that they are exported
// from the module and never inlined into another module.
#include "frame/selection_vision.h"

CSelectionVision::CSelectionVision() : flag_(1), bitmaps_{nullptr, nullptr}, reserved_{} {}

CSelectionVision::~CSelectionVision() {
    DeletePoints();
    DeleteBmp();
}

CSelectionVision& CSelectionVision::operator=(const CSelectionVision& other) {
    if (this == &other) return *this;
    flag_ = other.flag_;
    bitmaps_[0] = other.bitmaps_[0];
    bitmaps_[1] = other.bitmaps_[1];
    points_ = other.points_;
    for (int i = 0; i < 4; ++i) reserved_[i] = other.reserved_[i];
    return *this;
}

void CSelectionVision::DeleteBmp() {
    for (void*& bitmap : bitmaps_) bitmap = nullptr;
}

void CSelectionVision::DeletePoints() { points_.clear(); }
