#include "GdiObject.h"

GdiObject::~GdiObject() = default;
