// The calculation screen of tripcost: asks for the trip and prints what it leaves.
#pragma once

void trip_cost_screen();
