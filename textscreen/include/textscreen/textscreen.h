// textscreen: text screens for small interactive programs.
//
// The programs call these operations on their one thread. Until a graphics screen mode is
// set they act on the console the program was started from; afterwards on the graphics
// window. Rows and columns are 1-based; 0 keeps a coordinate; a negative colour keeps that
// colour. Operations that can fail return an error number and store it as the last error:
// 0 success, 1 illegal argument or call, 4 no room for the typed line.
#pragma once

#include "textscreen/keyboard.h"
#include "textscreen/line_input.h"
#include "textscreen/printing.h"
#include "textscreen/program.h"
#include "textscreen/screen.h"
#include "textscreen/screen_mode.h"
