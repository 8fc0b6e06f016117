// A feature that reaches into another feature's folder: the layer check
// refuses this tree.
#include "app/lockkeys/Watch.h"
