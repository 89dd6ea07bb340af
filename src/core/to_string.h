#ifndef SWARM_TO_STRING_H
#define SWARM_TO_STRING_H

#include <string>

// Decimal text of a signed integer: "0", "42", "-12".
std::string toString(int value);

#endif
