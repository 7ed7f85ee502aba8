#pragma once

// Everything of the engine's base layer in one include.
#include "CCAffineTransform.h"
#include "CCArray.h"
#include "CCAutoreleasePool.h"
#include "CCDictionary.h"
#include "CCGeometry.h"
#include "CCNumbers.h"
#include "CCObject.h"
#include "CCPlistParser.h"
#include "CCPointExtension.h"
#include "CCSet.h"
#include "CCString.h"
#include "CCZone.h"
#include "ZipUtils.h"
#include "base64.h"
#include "ccMacros.h"
#include "ccTypes.h"
