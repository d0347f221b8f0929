// Bulk reaching into the window: refused as well.
#include "editor/frmfw_orvelka.h"
