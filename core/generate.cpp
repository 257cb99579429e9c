#include "generate.h"
