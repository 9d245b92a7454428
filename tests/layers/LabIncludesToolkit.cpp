// Must not compile: the laboratory library links Qt Core alone and sees no widget folder.
#include "toolkit/LabWindow.h"
