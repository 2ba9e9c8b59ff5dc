#include "trip_cost_screen.h"

// The questions and results come with the line editor; until then Enter shows nothing.
void trip_cost_screen() {}
