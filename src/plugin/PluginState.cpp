#include "plugin/PluginState.h"

namespace {
WorkstationGuard g_guard;  // zero at load: every limit and switch off
}

WorkstationGuard& Guard() { return g_guard; }
