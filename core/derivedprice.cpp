#include "derivedprice.h"
