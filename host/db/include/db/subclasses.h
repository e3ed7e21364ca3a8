// The subclass structure of each object type in files of 2000 and later:
// which markers (group 100) an object has and which groups stand under each.
// Used to place groups of entity lists that come without markers.
#pragma once

#include <string_view>
#include <vector>

#include "db/tags.h"

namespace tarn::db {

struct SubclassSection {
  std::string_view marker;
  std::vector<int> codes;  // the groups that belong here (empty: any)
};

// The sections of an object of this type; `flags70` chooses among variants
// (polylines, vertices, dimensions). Entities start with "AcDbEntity".
std::vector<SubclassSection> subclassesOf(std::string_view type, int64_t flags70);

bool isEntityType(std::string_view type);

// Groups an entity of this type cannot be made without.
std::vector<int> requiredGroups(std::string_view type);

// Puts subclass markers into a list that has none, each group under its
// subclass; lists that have markers are left as they are.
void addSubclassMarkers(std::string_view type, TagList& body);

// Inserts one group at the end of the subclass it belongs to.
void insertGroup(std::string_view type, TagList& body, const Tag& group);

}  // namespace tarn::db
