#include "components/VxDropBase.h"

#include "components/VxDropConst.h"

EVxDropException::EVxDropException(std::int32_t ACode) : Exception(VxDropMessage(ACode)), Code(ACode)
{}
