#include "Classes.h"
#include "Streams.h"
