#pragma once

// Volume levels and bar colours.
#include "indicators/Color.h"
#include "indicators/VolumeColorizer.h"
