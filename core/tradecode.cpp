#include "tradecode.h"
