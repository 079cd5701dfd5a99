// The name of the shared block, and of the local socket named after it, through which a later start reaches the
// running Stampkeep.
#pragma once

constexpr const char* kHandOffBlockName = "Orvane Stampkeep{570CA000-0B2F-4C3C-98D7-C0EFF1CFEFF4}";
