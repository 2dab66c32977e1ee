// The one application object of Orvane.exe.
#include "app/OrvaneApp.h"

COrvaneApp theApp;
