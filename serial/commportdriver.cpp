#include "commportdriver.h"
