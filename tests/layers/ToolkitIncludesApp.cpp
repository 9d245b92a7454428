// Must not compile: the toolkit sees only its own folder and the widget-free laboratory, never
// the composition root above it.
#include "app/Laboratory.h"
