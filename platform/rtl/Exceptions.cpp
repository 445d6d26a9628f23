#include "Exceptions.h"
