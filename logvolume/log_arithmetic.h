// The log's volume as a cylinder, in single precision with 64-bit-significand steps.
#pragma once

struct LogMeasures {
  float length = 0;    // metres
  float diameter = 0;  // centimetres as typed; the radius in metres after log_volume
};

// r = diameter / 2 / 100 stored as a single, then r * r * length * 3.14 stored as a
// single; the radius is written back into `diameter`.
float log_volume(LogMeasures& measures);
