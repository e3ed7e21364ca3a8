// Status codes of the text geometry component: every result carries one.
#ifndef TARN_FONT_STATUS_H
#define TARN_FONT_STATUS_H

namespace tarn::font {

enum class FontStatus {
  Ok,
  FontNotFound,     // neither the requested font nor the pinned fallback could be loaded
  InvalidArgument,  // height or width factor not positive, oblique too steep, NaN input
};

}  // namespace tarn::font

#endif
