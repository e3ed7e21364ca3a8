// Turning a layer off, making a layer current, and the layer a pick inside
// block references stands for (LAYOFF's nesting modes, with the "block|"
// prefix of layers that belong to an external reference).
#include "state_layer_ops.h"

#include <cctype>

#include <tarnsdk/tcdbapi.h>
#include <tarnsdk/tcedapi.h>
#include <tarnsdk/tcutapi.h>

#include "frame/command_environment.h"
#include "frame/resbuf_fields.h"
#include "layer_names.h"

namespace tarn::layer {
namespace {

using frame::LoadResString;

constexpr uint32_t kYesNoKeywords = 2209;
constexpr uint32_t kCurrentOffPrompt = 2260;
constexpr uint32_t kTurnedOff = 2261;
constexpr int kArbitraryInput = 128;
constexpr int kExternalReference = 4;  // group 70 of a block
constexpr size_t kAnswerCapacity = 256;

// Asks whether the current layer goes off: RTNORM yes, RTERROR no, RTCAN.
int ConfirmCurrentOff(const std::string& name) {
    const std::string keywords = LoadResString(kYesNoKeywords);
    const std::string prompt = FormatText(LoadResString(kCurrentOffPrompt), {name});
    tcedInitGet(kArbitraryInput, keywords.c_str());
    char answer[kAnswerCapacity] = {};
    const int status = tcedGetKword(prompt.c_str(), answer, sizeof answer);
    if (status == RTCAN) return RTCAN;
    if (status == RTNONE) return RTNORM;
    if (status != RTNORM || (answer[0] != 'y' && answer[0] != 'Y')) return RTERROR;
    return RTNORM;
}

// The block a reference inserts, as the BLOCK table knows it.
struct BlockOfReference {
    std::string name;
    bool found = false;
    bool external = false;
};

BlockOfReference ReferencedBlock(const tc_name reference) {
    BlockOfReference block;
    char name[kLayerNameCapacity * 2] = {};
    if (frame::EntityText(reference, 2, name, sizeof name) != RTNORM || !name[0]) return block;
    block.name = name;
    if (struct resbuf* record = tcdbTblSearch("BLOCK", name, 0)) {
        int32_t flags = 0;
        frame::ChainInteger(record, 70, &flags);
        block.found = true;
        block.external = (flags & kExternalReference) != 0;
        tcutRelRb(record);
    }
    return block;
}

// The layer of an object inside an external reference, named as the
// drawing names it: "block|layer" (layer "0" and prefixed names as they are).
std::string WithReferencePrefix(const std::string& layer, const BlockOfReference& block) {
    if (!block.external || layer == "0" || layer.find('|') != std::string::npos) return layer;
    return block.name + "|" + layer;
}

const struct resbuf* Outermost(const struct resbuf* containers) {
    const struct resbuf* last = containers;
    while (last && last->rbnext) last = last->rbnext;
    return last;
}

std::optional<std::string> EntityModeLayer(const std::string& own, const struct resbuf* containers) {
    if (!containers || own == "0") return own;
    return WithReferencePrefix(own, ReferencedBlock(Outermost(containers)->resval.rlname));
}

std::optional<std::string> BlockModeLayer(const std::string& own, const struct resbuf* containers) {
    if (!containers) return own;
    const BlockOfReference block = ReferencedBlock(containers->resval.rlname);
    if (!block.found || !block.external) return EntityLayer(containers->resval.rlname);
    return WithReferencePrefix(own, block);
}

}  // namespace

int TurnLayerOff(const std::string& name) {
    const std::optional<std::string> current = CurrentLayerName();
    const bool isCurrent = current && SameLayerName(*current, name);
    int status = RTNORM;
    if (isCurrent) {
        status = ConfirmCurrentOff(name);
        if (status != RTNORM) return status;
        status = RunLayerCommand({"_OFF", LayerArgument(name), "_Y"});
    } else {
        status = RunLayerCommand({"_OFF", LayerArgument(name)});
    }
    if (status == RTNORM) PrintText(FormatText(LoadResString(kTurnedOff), {name}));
    return status;
}

void MakeLayerCurrent(const std::string& name) {
    SetShortVariable("CMDECHO", 0);
    const std::string argument = LayerArgument(name);
    if (RunLayerCommand({"_T", argument, "_M", argument, "_S", argument}) == RTNORM) {
        struct resbuf value {};
        value.restype = RTSTR;
        value.resval.rstring = const_cast<char*>(name.c_str());
        tcedSetVar("CLAYER", &value);
    }
    tcedCommand(RTSTR, "_.SETVAR", RTSTR, "clayer", RTSTR, name.c_str(), RTNONE);
    SetShortVariable("CMDECHO", 1);
}

std::optional<std::string> LayerForPick(NestingMode mode, const tc_name picked, const struct resbuf* containers) {
    if (containers && containers->restype != RTENAME) containers = nullptr;
    const std::optional<std::string> own = EntityLayer(picked);
    switch (mode) {
        case NestingMode::Entity: return own ? EntityModeLayer(*own, containers) : std::nullopt;
        case NestingMode::Block: return own ? BlockModeLayer(*own, containers) : std::nullopt;
        case NestingMode::None: return containers ? EntityLayer(Outermost(containers)->resval.rlname) : own;
    }
    return own;
}

}  // namespace tarn::layer
