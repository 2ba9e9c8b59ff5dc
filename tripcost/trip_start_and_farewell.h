// tripcost's first and last screens: the yellow-on-brown start screen and the farewell in
// its three coloured bands.
#pragma once

void show_trip_start_screen();
void show_trip_farewell();
