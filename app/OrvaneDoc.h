#pragma once
// The document of the document/view pairing. The job lives in the application
// object, so the document holds, reads and writes nothing.
#include "framework/View.h"

class COrvaneDoc : public CDocument {};
