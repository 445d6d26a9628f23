#pragma once
// The common controls, as one include.
#include "vcl/DateTimePicker.h"
#include "vcl/ProgressBar.h"
#include "vcl/TrackBar.h"
