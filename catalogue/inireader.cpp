#include "inireader.h"
