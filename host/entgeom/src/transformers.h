// The transformers of texts, block references and hatches (files of their own).
#pragma once

#include "transform_context.h"

namespace tarn::entgeom {

EntStatus transformText(const TransformContext& c, TagEditor& e);
EntStatus transformMText(const TransformContext& c, TagEditor& e);
EntStatus transformInsert(const TransformContext& c, TagEditor& e);
EntStatus transformHatch(const TransformContext& c, TagEditor& e);

}  // namespace tarn::entgeom
