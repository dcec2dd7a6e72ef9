// The codes a message text may hold, which the game replaces as it shows the
// message: "#P<n>." a symbol image, "#C<n>[_<width>][z][p]." a common
// variable's value, and the named texts "#TURN." to "#SKILL.". Each counts as
// one character of a message line.
#pragma once

#include <cstddef>
#include <string_view>

// Length in bytes of the code that starts at text[pos]; 0 when none does.
std::size_t MessageCodeLength(std::string_view text, std::size_t pos);
