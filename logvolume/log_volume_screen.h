// The calculation screen of logvolume: the log sheet, two questions and the volume.
#pragma once

void log_volume_screen();
