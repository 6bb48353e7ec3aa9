#include "RKKit/RKTableString.h"

RKTableString::RKTableString(const QString& string, const RKTextAttributes& attributes)
    : m_string(string)
    , m_attributes(&attributes)
{
}
