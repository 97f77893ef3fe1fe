// lxstring implementation.
#include "lxstring.h"
