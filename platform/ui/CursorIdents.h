// The names cursor properties are streamed by ("crHandPoint").
#pragma once

#include "platform/classes/IdentMap.h"

TIdentMap CursorIdents();
