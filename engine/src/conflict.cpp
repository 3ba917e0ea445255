#include "logweave/conflict.h"

namespace logweave {

std::string sideValue(ConflictSide side, std::string_view open, std::string_view added)
{
    switch (side) {
    case ConflictSide::Added:
        return std::string(added);
    case ConflictSide::Both:
        return std::string(open).append(" ").append(added);
    case ConflictSide::Open:
        break;
    }
    return std::string(open);
}

}  // namespace logweave
