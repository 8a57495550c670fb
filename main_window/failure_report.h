#pragma once

#include "failure.h"
#include "tornevo_identity.h"

#include <string_view>

namespace tornevo {

// What the failure box says: the program's title, the failure kind, then its likely cause.
inline constexpr std::string_view FailureTitle = TORNEVO_NAME;
std::string_view FailureKindText(FailureKind kind);
std::string_view LikelyCause(FailureKind kind);

} // namespace tornevo
