// CLI-text setters: each builds a small configuration script, writes it to
// its input file under OXEL_TMP_DIR, applies it with txtCfgApply and removes
// the input and the answer file whatever the result. Every value that goes
// into a script is checked to be exactly one CLI word of its kind first, so
// no argument can add a line or a word to the script (10003 otherwise).
#pragma once

#include <cstdint>

#include "platform/openclt/openclt.h"

struct cJSON;

/// Mode 1 (manual): address, mask and, unless empty or "0.0.0.0", the
/// default gateway, all dotted quads; any other mode: DHCP.
int managementPortIPv4ParametersSet(OpenClientHandle* client, uint32_t vlan, int mode, const char* address,
                                    const char* mask, const char* gateway);
/// Sets the speed of the ports of `ports` (a JSON array of port numbers on
/// unit 1): "<n> Full" / "<n> Half" become "<n> full-duplex" / "<n>
/// half-duplex", any text without either "auto".
int multipleIfSpeedSet(OpenClientHandle* client, const cJSON* ports, const char* speed);
/// Fan control mode 1 off, 2 quiet, 3 cool; another mode applies an empty script.
int fanControlModeSet(OpenClientHandle* client, int mode);
/// Makes a VLAN static when the switch reports it is not (openapiVlanIsStatic 0).
int vlanMakeStatic(OpenClientHandle* client, uint32_t vlan);
/// PTP end-to-end transparent clock of a port or LAG, mode 0 or 1; 10004 on
/// stacks and on the KX810 models.
int ptpTcIntfAdminModeSet(OpenClientHandle* client, uint32_t intIfNum, int mode);
/// Symmetric flow control of a physical port, mode 0 or 1.
int ifFlowControlSet(OpenClientHandle* client, uint32_t intIfNum, int mode);
/// PoE timer schedule of a port; the name is 1-31 letters, digits, '-', '_', '.'.
int poePortTimerScheduleNameSet(OpenClientHandle* client, uint32_t intIfNum, const char* name);
/// Automatic LAG creation: mode 1 on, any other off.
int lagAutoModeSet(OpenClientHandle* client, int mode);
/// AVB is not supported on these switches: removes its work files, answers 0.
int ifConfigAVBSet(OpenClientHandle* client);
