// A section that reaches into the window instead of its context: the layer
// check refuses it.
#include "editor/frmfw_orvelka.h"
