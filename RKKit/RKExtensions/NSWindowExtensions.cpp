#include "RKKit/RKExtensions/NSWindowExtensions.h"

namespace WindowExtensions {

bool isTextured(const QWidget* /*window*/)
{
    return false;
}

} // namespace WindowExtensions
