// What the layer walk scenarios share: a settings store of their own in a
// folder unique to the test, the layer table as the drawing writes it, the
// "LayWalk" values in the store, and dialog scripts.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "layer_fixture.h"

class LayerWalkTest : public LayerModuleTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The LAYER table section of the drawing written as DXF.
  std::string layerTableDxf();

  // Values of the "LayWalk" section, written and read straight in the store.
  void storeDword(const char* name, uint32_t value);
  void storeText(const char* name, const std::string& text);
  bool storedDword(const char* name, uint32_t* value);
  bool storedText(const char* name, std::string* text);

  // Makes a layer current (SETVAR CLAYER).
  void makeCurrent(const std::string& name);
  // How often `text` occurs in the transcript.
  size_t occurrences(const std::string& text) const;
  // Runs LAYWALK with dialog actions; then the session must be clean.
  void walk(const std::string& actions);

  std::string folder;
  std::optional<std::string> previousConfig;
};

// The closing actions that leave the layers as the walk set them: restore
// on exit switched off, the closing question answered OK.
inline constexpr const char* kCloseKeepingLayers = "click 2304\nclose\nok\n";
