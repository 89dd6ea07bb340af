#include "core/to_string.h"

std::string toString(int value) { return std::to_string(value); }
