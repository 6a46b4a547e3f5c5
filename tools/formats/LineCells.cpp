#include "LineCells.h"

std::string DirectionText(long direction) {
    if (direction == 0) return "debit";
    if (direction == 1) return "credit";
    return std::to_string(direction);
}
