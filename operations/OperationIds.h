// Identities of running operations. There is no system thread id to reuse as a 32-bit value, so
// every worker and every same-connection retry draws one here.
#pragma once

#include <cstdint>

// A random id, never 0 and never handed out before in this process, so a late message about an
// ended operation can never reach a newer one.
std::uint32_t NewOperationId();
