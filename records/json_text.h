// JSON text laid out for diffing: one object member per line, arrays of plain
// values on one line, arrays of objects or arrays one element per line.
#pragma once

#include <string>

#include "records/record_io.h"

std::string JsonText(const Json& value);
