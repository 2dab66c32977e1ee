#pragma once
// Absolute paths live in the base layer; this name stays for the files that
// still include it here.
#include "base/AbsolutePath.h"
