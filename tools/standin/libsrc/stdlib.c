/* Number helpers of the stand-in run-time library. */
int abs(int v) { return v < 0 ? -v : v; }

int atoi(const char* s) {
    int sign = 1, value = 0;
    while (*s == ' ' || (*s >= '\t' && *s <= '\r')) ++s;
    if (*s == '-' || *s == '+') sign = *s++ == '-' ? -1 : 1;
    while (*s >= '0' && *s <= '9') value = value * 10 + (*s++ - '0');
    return sign * value;
}
