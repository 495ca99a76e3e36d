/* The PCRE2 peer of the regular-expression benchmark: a native program on libpcre2-16 that
   times the translated patterns, anchored, with the interpreter and with the JIT.
     pcre2peer <patterns file>
   Input lines: "case<TAB>name<TAB>pcre pattern" followed by "text<TAB>text" lines (UTF-8).
   Output lines: "name<TAB>interpreter ns per text<TAB>JIT ns per text<TAB>full matches"; a time
   is -1 when PCRE2 gave up on a text (its match limit). */
#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

static double now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

/* BMP-only UTF-8 decoding: the benchmark's texts stay in the BMP. */
static size_t utf16(const char *s, PCRE2_UCHAR *out) {
  size_t n = 0;
  const unsigned char *p = (const unsigned char *)s;
  while (*p) {
    unsigned c = *p++;
    if (c >= 0xE0) {
      c = ((c & 0x0F) << 12) | ((p[0] & 0x3F) << 6) | (p[1] & 0x3F);
      p += 2;
    } else if (c >= 0xC0) {
      c = ((c & 0x1F) << 6) | (p[0] & 0x3F);
      p += 1;
    }
    out[n++] = (PCRE2_UCHAR)c;
  }
  return n;
}

typedef struct {
  PCRE2_UCHAR *units;
  size_t length;
} text_t;

static double run(pcre2_code *code, pcre2_match_data *md, text_t *texts, int count, int jit,
                  int *finals) {
  int rounds = 0;
  double start = now(), elapsed;
  *finals = 0;
  do {
    for (int i = 0; i < count; ++i) {
      int rc = jit ? pcre2_jit_match(code, texts[i].units, texts[i].length, 0, 0, md, NULL)
                   : pcre2_match(code, texts[i].units, texts[i].length, 0, 0, md, NULL);
      if (rc == PCRE2_ERROR_MATCHLIMIT || rc == PCRE2_ERROR_DEPTHLIMIT ||
          rc == PCRE2_ERROR_HEAPLIMIT || rc == PCRE2_ERROR_JIT_STACKLIMIT)
        return -1;
      if (rounds == 0 && rc >= 0) ++*finals;
    }
    ++rounds;
    elapsed = now() - start;
  } while (elapsed < 0.2);
  return elapsed * 1e9 / ((double)rounds * count);
}

static void flush(const char *name, const char *pattern, text_t *texts, int count) {
  PCRE2_UCHAR *p = malloc((strlen(pattern) + 1) * sizeof(PCRE2_UCHAR));
  size_t plen = utf16(pattern, p);
  int err;
  PCRE2_SIZE off;
  pcre2_code *code = pcre2_compile(p, plen, PCRE2_DOTALL, &err, &off, NULL);
  if (!code) {
    fprintf(stderr, "pcre2peer: %s does not compile (%d at %zu)\n", name, err, off);
    exit(1);
  }
  pcre2_match_data *md = pcre2_match_data_create_from_pattern(code, NULL);
  int finals, jit_finals = 0;
  double interp = run(code, md, texts, count, 0, &finals);
  double jit = -1;
  if (pcre2_jit_compile(code, PCRE2_JIT_COMPLETE) == 0)
    jit = run(code, md, texts, count, 1, &jit_finals);
  printf("%s\t%.1f\t%.1f\t%d\n", name, interp, jit, finals);
  pcre2_match_data_free(md);
  pcre2_code_free(code);
  free(p);
}

int main(int argc, char **argv) {
  FILE *f = argc > 1 ? fopen(argv[1], "r") : NULL;
  if (!f) {
    fprintf(stderr, "usage: pcre2peer <patterns file>\n");
    return 2;
  }
  static char line[1 << 20];
  char name[256] = "", *pattern = NULL;
  text_t texts[64];
  int count = 0;
  while (fgets(line, sizeof line, f)) {
    line[strcspn(line, "\r\n")] = 0;
    if (!strncmp(line, "case\t", 5)) {
      if (pattern) flush(name, pattern, texts, count);
      for (int i = 0; i < count; ++i) free(texts[i].units);
      count = 0;
      char *tab = strchr(line + 5, '\t');
      *tab = 0;
      snprintf(name, sizeof name, "%s", line + 5);
      free(pattern);
      pattern = strdup(tab + 1);
    } else if (!strncmp(line, "text\t", 5) && count < 64) {
      texts[count].units = malloc((strlen(line) + 1) * sizeof(PCRE2_UCHAR));
      texts[count].length = utf16(line + 5, texts[count].units);
      ++count;
    }
  }
  if (pattern) flush(name, pattern, texts, count);
  return 0;
}
