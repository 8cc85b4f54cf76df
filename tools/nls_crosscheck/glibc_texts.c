/* Prints, for one glibc locale, the texts the locale formats are compared
 * with: numbers through printf("%'.2f"), money through strfmon("%n") and
 * the month and weekday names through strftime.  One record a line:
 *   kind <TAB> argument <TAB> text (UTF-8)
 * where the argument of a number is the value times 10000.
 * Used by tools/gen_glibc_crosscheck.sh; not part of the library. */
#define _GNU_SOURCE
#include <locale.h>
#include <math.h>
#include <monetary.h>
#include <stdio.h>
#include <string.h>
#include <time.h>

static const double kValues[] = {0.0,       1.5,         -1.5,  1234.5,
                                 -1234.5,   1234567.891, -0.25, 999.999,
                                 1000000.0, -98765.4321};

int main(int argc, char **argv) {
  if (argc < 2 || setlocale(LC_ALL, argv[1]) == NULL) {
    fprintf(stderr, "locale %s not available\n", argc > 1 ? argv[1] : "?");
    return 1;
  }
  char buf[256];
  for (size_t i = 0; i < sizeof kValues / sizeof kValues[0]; ++i) {
    snprintf(buf, sizeof buf, "%'.2f", kValues[i]);
    printf("num\t%lld\t%s\n", llround(kValues[i] * 10000), buf);
    if (strfmon(buf, sizeof buf, "%n", kValues[i]) >= 0)
      printf("mny\t%lld\t%s\n", llround(kValues[i] * 10000), buf);
  }
  struct tm t;
  memset(&t, 0, sizeof t);
  t.tm_year = 124;
  for (int m = 0; m < 12; ++m) {
    t.tm_mon = m;
    strftime(buf, sizeof buf, "%B", &t);
    printf("month\t%d\t%s\n", m + 1, buf);
    strftime(buf, sizeof buf, "%b", &t);
    printf("mon\t%d\t%s\n", m + 1, buf);
  }
  for (int d = 0; d < 7; ++d) {
    t.tm_wday = d;
    strftime(buf, sizeof buf, "%A", &t);
    printf("weekday\t%d\t%s\n", d + 1, buf);
    strftime(buf, sizeof buf, "%a", &t);
    printf("wkd\t%d\t%s\n", d + 1, buf);
  }
  return 0;
}
