/* A generator library for the tests: three lines, the second with a Windows-1250 byte. */
#include <string.h>

static int shown = 0;

void Showtorvel(void) { shown = 1; }

const char *GetText(void) {
    return shown ? "N10 G0 X0\r\n; ob\xe8" "as\r\nN30 M30\r\n" : "";
}
