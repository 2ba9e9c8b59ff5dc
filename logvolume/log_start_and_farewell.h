// logvolume's first and last screens: the title and hint in red, and the farewell in cyan.
#pragma once

void show_log_start_screen();
void show_log_farewell();
