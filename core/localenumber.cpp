#include "localenumber.h"
