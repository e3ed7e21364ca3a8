// What ARRAY, EXPLODE, OFFSET, TRIM and FILLET share: object picks that
// carry the point they were made at, writing a changed curve back into its
// entity (keeping its handle and properties where the type stays), new
// entities made like an existing one, and a record of the steps a command
// made so that its own Undo option can take one back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "command_support.h"
#include "geom/curve.h"

namespace tarn::commands {

int arrayCommand();
int explodeCommand();
int offsetCommand();
int trimCommand();
int filletCommand();

inline bool cancelled(const Answer& a) { return a.status == RTCAN || a.status == RTERROR; }


// One answer at an object prompt: RTNORM with the object and the world
// point it was picked at, RTKWORD (`keyword` global), RTNONE (Enter) or
// RTCAN. A pick by entity name without a point, or by "#handle", has no
// point of its own (`hasPoint` false).
struct ObjectPick {
  int status = RTNONE;
  uint32_t id = db::kNoObject;
  Point3 world{};
  bool hasPoint = false;
  std::string keyword;
};

// Asks until the answer is a pick of a live entity, a keyword, Enter or a
// cancel. A point picks the nearest object within the pick box, found
// through the drawing's spatial index; a miss says so and asks again.
ObjectPick pickObject(const std::string& prompt, const char* keywords = nullptr);

// The curve of an entity, or null (with a message naming the object) when
// it has none or lies on a locked layer.
geom::CurvePtr editableCurve(uint32_t id, const char* verb);

// The steps of a command, for its Undo option: what each step changed
// (objects' tags and erased state before the step, objects it made).
class StepLog {
 public:
  // Around each step: `begin` before its first change, `end` after its last
  // (the entity index learns what the step changed).
  void begin();
  void end();
  // Call before changing an object in the current step.
  void noteChange(uint32_t id);
  void noteNew(uint32_t id);
  bool empty() const { return steps_.empty(); }
  // Takes the last step back (through the drawing, so U still restores all).
  bool undoLast();

 private:
  struct Saved {
    uint32_t id;
    db::TagList tags;
    bool erased;
  };
  struct Step {
    std::vector<Saved> saved;
    std::vector<uint32_t> made;
  };
  static std::vector<uint32_t> idsOf(const Step& s);
  std::vector<Step> steps_;
};

// A new entity of the curve, with the entity-wide properties (layer,
// colour, linetype ...) and extended data of `like`, in the same block.
uint32_t addCurveLike(uint32_t like, const geom::Curve& curve, StepLog* log = nullptr);

// Writes the curve into the entity: in place when the entity type stays
// (handle, properties and extended data kept), otherwise the entity is
// erased and a new one made like it. The id that now holds the curve.
uint32_t replaceCurve(uint32_t id, const geom::Curve& curve, StepLog* log = nullptr);

// Stores an entity's groups (`body` without handle and owner) in a block:
// a new handle, the owner given, appended to the block's list.
uint32_t storeEntity(std::string_view type, db::TagList body, uint64_t owner, uint32_t block, uint16_t flags);
// The handle of a block's BLOCK_RECORD, the owner of its entities.
uint64_t blockOwnerHandle(uint32_t block);


}  // namespace tarn::commands
