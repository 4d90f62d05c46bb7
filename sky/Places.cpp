#include "sky/Places.h"
