/* Floating-point helpers of the stand-in run-time library. */
double fabs(double v) { return v < 0 ? -v : v; }
double fmin(double a, double b) { return a < b ? a : b; }
double fmax(double a, double b) { return a > b ? a : b; }
