// CSelectionVision: a class the module exports for other modules. It keeps
// two bitmap handles, a list of points and a flag; nothing in this module
// uses it.
#pragma once

#include <array>
#include <vector>

#include <tarnsdk/tcrxapi.h>

class TCRX_EXPORT CSelectionVision {
public:
    CSelectionVision();
    ~CSelectionVision();
    // Copies every member, the bitmap handles included; the bitmaps
    // themselves are shared, not duplicated.
    CSelectionVision& operator=(const CSelectionVision& other);

    // Forgets both bitmaps (the host keeps no bitmap objects of its own, so
    // there is nothing further to release).
    void DeleteBmp();
    void DeletePoints();

private:
    int flag_;
    void* bitmaps_[2];
    std::vector<std::array<double, 3>> points_;
    int reserved_[4];
};
