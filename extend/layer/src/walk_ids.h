// Resource ids of the layer walk: dialog templates, control ids, the end
// code that asks for objects to be picked, and the string ids.
#pragma once

#include <cstdint>

namespace tarn::layer::walk {

// Templates.
inline constexpr uint32_t kWalkDialog = 2300;
inline constexpr uint32_t kCloseDialog = 2330;
inline constexpr uint32_t kInfoDialog = 2335;

// The walk dialog's end code for "pick objects in the drawing".
inline constexpr int kSelectObjects = 2301;
// Its end code when it was closed.
inline constexpr int kClosed = 8;

// Controls of the walk dialog.
inline constexpr int kApplyTypedFilter = 1;   // Enter: the default button
inline constexpr int kClose = 8;
inline constexpr int kPurge = 2303;
inline constexpr int kRestoreOnExit = 2304;
inline constexpr int kLayerList = 2305;
inline constexpr int kPickObjects = 2306;
inline constexpr int kFilterText = 2307;
inline constexpr int kFilterOn = 2308;
inline constexpr int kHold = 2313;
inline constexpr int kRelease = 2314;
inline constexpr int kReleaseAll = 2315;
inline constexpr int kSelectAll = 2316;
inline constexpr int kClearAll = 2317;
inline constexpr int kInvert = 2318;
inline constexpr int kSelectUnused = 2319;
inline constexpr int kReapply = 2320;
inline constexpr int kSaveState = 2322;
inline constexpr int kInspect = 2323;
inline constexpr int kCopyName = 2325;
inline constexpr int kSaveFilter = 2326;
inline constexpr int kDeleteFilter = 2327;

// Controls of the closing question and the information box.
inline constexpr int kCloseMessage = 2331;
inline constexpr int kDontAskAgain = 2332;
inline constexpr int kInfoLayers = 2336;
inline constexpr int kInfoObjects = 2337;

// Texts.
inline constexpr uint32_t kPickPrompt = 2380;
inline constexpr uint32_t kNothingPicked = 2381;
inline constexpr uint32_t kPurgedCount = 2382;
inline constexpr uint32_t kNotPurged = 2383;
inline constexpr uint32_t kNoStateModule = 2384;
inline constexpr uint32_t kFilterTooLong = 2385;
inline constexpr uint32_t kInfoLayersText = 2386;
inline constexpr uint32_t kInfoObjectsText = 2387;
inline constexpr uint32_t kCloseQuestion = 2388;

}  // namespace tarn::layer::walk
