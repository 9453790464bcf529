/* Stand-in for the resource compiler, built as a Windows program for the tests that run the
 * build batch under a real command interpreter. "brcc32 <name>.rc" reads the script, whose
 * statement line is "<resource name> RCDATA <file>", and writes <name>.res: a Win32 resource
 * file holding that file's bytes as one RCDATA resource of that name. It fails (exit code 1, a
 * message on the output) when the script or the data file is missing or malformed, or when the
 * environment variable KAV_STANDIN_FAIL names "brcc32". */
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static int fail(const char *what, const char *name) {
    printf("brcc32: error: %s %s\n", what, name);
    return 1;
}

static void put16(FILE *out, unsigned v) {
    fputc(v & 0xFF, out);
    fputc((v >> 8) & 0xFF, out);
}

static void put32(FILE *out, unsigned long v) {
    put16(out, v & 0xFFFF);
    put16(out, (v >> 16) & 0xFFFF);
}

/* The empty entry that opens every 32-bit resource file. */
static void put_null_entry(FILE *out) {
    static const unsigned char null_entry[32] = {0, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 0, 0xFF, 0xFF};
    fwrite(null_entry, 1, sizeof null_entry, out);
}

/* One resource entry: header with an ordinal type and a string name (upper case, as resource
 * compilers store names), then the data, both padded to four bytes. */
static void put_entry(FILE *out, unsigned type, const char *name, const char *data, size_t size) {
    size_t name_bytes = 2 * (strlen(name) + 1);
    size_t header = 8 + 4 + name_bytes;
    size_t pad = (4 - header % 4) % 4;
    header += pad + 16;
    put32(out, (unsigned long)size);
    put32(out, (unsigned long)header);
    put16(out, 0xFFFF);
    put16(out, type);
    for (const char *c = name; *c; ++c)
        put16(out, (unsigned)toupper((unsigned char)*c));
    put16(out, 0);
    for (size_t i = 0; i < pad; ++i)
        fputc(0, out);
    put32(out, 0);      /* data version */
    put16(out, 0x0030); /* memory flags: moveable, pure */
    put16(out, 0x0409); /* language */
    put32(out, 0);      /* version */
    put32(out, 0);      /* characteristics */
    fwrite(data, 1, size, out);
    for (size_t i = 0; i < (4 - size % 4) % 4; ++i)
        fputc(0, out);
}

int main(int argc, char **argv) {
    const char *request = getenv("KAV_STANDIN_FAIL");
    if (argc != 2)
        return fail("usage:", "brcc32 <script>.rc");
    const char *script = argv[1];
    size_t length = strlen(script);
    if (length <= 3 || _stricmp(script + length - 3, ".rc") != 0)
        return fail("not a resource script:", script);
    if (request && strcmp(request, "brcc32") == 0)
        return fail("failure requested for", script);

    FILE *rc = fopen(script, "rb");
    if (!rc)
        return fail("cannot open", script);
    char line[512], name[256] = "", kind[32] = "", file[256] = "";
    while (fgets(line, sizeof line, rc)) {
        if (line[0] == ';' || line[0] == '\r' || line[0] == '\n')
            continue;
        if (sscanf(line, "%255s %31s %255s", name, kind, file) != 3 || _stricmp(kind, "RCDATA") != 0) {
            fclose(rc);
            return fail("syntax error in", script);
        }
        break;
    }
    fclose(rc);
    if (!file[0])
        return fail("no resource in", script);

    FILE *in = fopen(file, "rb");
    if (!in)
        return fail("cannot open", file);
    static char data[1 << 20];
    size_t size = fread(data, 1, sizeof data, in);
    fclose(in);

    char output[300];
    snprintf(output, sizeof output, "%.*s.res", (int)(length - 3), script);
    FILE *out = fopen(output, "wb");
    if (!out)
        return fail("cannot create", output);
    put_null_entry(out);
    put_entry(out, 10, name, data, size);
    if (fclose(out) != 0)
        return fail("cannot write", output);
    printf("brcc32: %s -> %s\n", script, output);
    return 0;
}
