// State file section of the settings the CLI changes: port settings, boot
// images and the global settings of SystemConfig.
#pragma once

#include "sim/state.h"

struct cJSON;

namespace sim {

class StateNode;

/// Adds the CLI settings to a state tree that already holds the units and
/// interfaces arrays (their objects gain members) and a "system" object.
void cliStateToJson(cJSON* root, const SwitchState& st);
/// Reads them back; members absent from an older file keep their defaults.
void cliStateFromJson(const StateNode& root, SwitchState* st);

}  // namespace sim
