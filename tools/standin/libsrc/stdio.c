/* Character output of the stand-in run-time library. A board supplies
 * __putchar_hook; without one the characters go nowhere. */
__attribute__((weak)) void __putchar_hook(int c) { (void)c; }

int putchar(int c) {
    __putchar_hook(c);
    return c;
}

int puts(const char* s) {
    while (*s) putchar(*s++);
    putchar('\n');
    return 0;
}
