#pragma once
// Path texts live in the base layer; this name stays for the files that still
// include it here.
#include "base/PathText.h"
