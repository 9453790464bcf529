/* Stand-in for the string-resource compiler, built as a Windows program for the tests that run
 * the build batch under a real command interpreter. "srmc -32 Kavr_<C>.STR" reads the STR file
 * and writes KAVR_<C>.SRM beside it: "SRM1", then the STR bytes. It fails (exit code 1, a message
 * on the output) when the input is missing or the environment variable KAV_STANDIN_FAIL names
 * "srmc", as the real compiler fails on a faulty file. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int fail(const char *what, const char *name) {
    printf("srmc: error: %s %s\n", what, name);
    return 1;
}

int main(int argc, char **argv) {
    const char *request = getenv("KAV_STANDIN_FAIL");
    if (argc != 3 || strcmp(argv[1], "-32") != 0)
        return fail("usage:", "srmc -32 Kavr_<code>.STR");
    const char *input = argv[2];
    size_t length = strlen(input);
    if (length <= 9 || _strnicmp(input, "Kavr_", 5) != 0 || _stricmp(input + length - 4, ".STR") != 0)
        return fail("not a language file name:", input);
    if (request && strcmp(request, "srmc") == 0)
        return fail("failure requested for", input);

    FILE *in = fopen(input, "rb");
    if (!in)
        return fail("cannot open", input);
    char output[300];
    snprintf(output, sizeof output, "KAVR_%.*s.SRM", (int)(length - 9), input + 5);
    FILE *out = fopen(output, "wb");
    if (!out) {
        fclose(in);
        return fail("cannot create", output);
    }
    fputs("SRM1", out);
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, in)) > 0)
        fwrite(buffer, 1, n, out);
    fclose(in);
    if (fclose(out) != 0)
        return fail("cannot write", output);
    printf("srmc: %s -> %s\n", input, output);
    return 0;
}
