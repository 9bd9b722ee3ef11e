/*
 * A small plug-in for the tests, written in plain C against the contract
 * header. Its shape comes from compile definitions:
 *   TP_LETTER      letter that names its entries ("A" gives ProcA0, ProcA1, ...)
 *   TP_PROCS       number of procedures Initialize reports
 *   TP_NO_INITIALIZE, TP_NO_REGISTER   leave out that entry
 *   TP_BAD_ENTRY   the last procedure names an entry the library lacks
 *   TP_FOREIGN_ENTRY  the last procedure names "getpid", found only in libc
 *   TP_NULL_RECORD Initialize returns no record
 * Every call is recorded in a log the tests read through TestLog.
 */
#include "plugin/velmora_plugin.h"

#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifndef TP_LETTER
#define TP_LETTER A
#endif
#define TP_STR(x) #x
#define TP_XSTR(x) TP_STR(x)
#define TP_PREFIX TP_XSTR(TP_LETTER)
#ifndef TP_PROCS
#define TP_PROCS 1
#endif

static char log_text[4096];
static void *host_module;
static int mode;

static void note(const char *text) {
    size_t used = strlen(log_text);
    if (used + strlen(text) + 2 < sizeof log_text) {
        strcat(log_text, text);
        strcat(log_text, ";");
    }
}

VELMORA_EXPORT const char *TestLog(void) { return log_text; }
VELMORA_EXPORT void TestSetMode(int m) { mode = m; }

/* ---- this side's line list ------------------------------------------- */

typedef struct {
    char **lines;
    int32_t *lengths;
    int32_t count;
} Lines;

static int32_t lines_count(const VelmoraLineList *list) { return ((const Lines *)list->owner)->count; }

static const char *lines_line(const VelmoraLineList *list, int32_t index, int32_t *length) {
    const Lines *l = (const Lines *)list->owner;
    if (index < 0 || index >= l->count)
        return NULL;
    if (length)
        *length = l->lengths[index];
    return l->lines[index];
}

static void lines_clear(VelmoraLineList *list) {
    Lines *l = (Lines *)list->owner;
    for (int32_t i = 0; i < l->count; ++i)
        free(l->lines[i]);
    free(l->lines);
    free(l->lengths);
    l->lines = NULL;
    l->lengths = NULL;
    l->count = 0;
}

static void lines_push(Lines *l, const char *bytes, int32_t length) {
    l->lines = realloc(l->lines, sizeof(char *) * (size_t)(l->count + 1));
    l->lengths = realloc(l->lengths, sizeof(int32_t) * (size_t)(l->count + 1));
    l->lines[l->count] = malloc((size_t)length + 1);
    memcpy(l->lines[l->count], bytes, (size_t)length);
    l->lines[l->count][length] = 0;
    l->lengths[l->count] = length;
    ++l->count;
}

static void lines_append_all(VelmoraLineList *list, const VelmoraLineList *source) {
    int32_t n = source->ops->count(source);
    for (int32_t i = 0; i < n; ++i) {
        int32_t length = 0;
        const char *bytes = source->ops->line(source, i, &length);
        lines_push((Lines *)list->owner, bytes ? bytes : "", bytes ? length : 0);
    }
}

static const VelmoraLineListOps lines_ops = {lines_count, lines_line, lines_clear, lines_append_all};

/* ---- procedures -------------------------------------------------------- */

/* What a procedure does with the host's text, chosen by TestSetMode:
   0 copy the text, append a line "; upraveno \x9e" (ž) and hand it back,
   1 hand back an empty list, 2 hand back the text unchanged,
   3 fetch the text and stop (as a failing procedure would),
   4 announce a callback only. */
static void run(const char *name) {
    note(name);
    if (mode == 4) {
        VelmoraRegisterCallBackFn announce = (VelmoraRegisterCallBackFn)dlsym(host_module, VELMORA_ENTRY_REGISTER_CALLBACK);
        if (announce)
            announce();
        return;
    }
    VelmoraGetTextFn get_text = (VelmoraGetTextFn)dlsym(host_module, VELMORA_ENTRY_GET_TEXT);
    VelmoraSetTextFn set_text = (VelmoraSetTextFn)dlsym(host_module, VELMORA_ENTRY_SET_TEXT);
    if (!get_text || !set_text) {
        note("no host entries");
        return;
    }
    VelmoraLineList *host_lines = get_text();
    if (!host_lines) {
        note("no text");
        return;
    }
    Lines own = {NULL, NULL, 0};
    VelmoraLineList list = {&lines_ops, &own};
    list.ops->appendAll(&list, host_lines);
    char seen[32];
    snprintf(seen, sizeof seen, "got %d", (int)own.count);
    note(seen);
    if (mode == 3) {
        list.ops->clear(&list);
        return;
    }
    if (mode == 1)
        list.ops->clear(&list);
    if (mode == 0)
        lines_push(&own, "; upraveno \x9e", 12);
    set_text(&list);
    list.ops->clear(&list);
}

#define TP_CAT3(a, b, c) a##b##c
#define TP_XCAT3(a, b, c) TP_CAT3(a, b, c)
#define DEFINE_PROC(i) \
    VELMORA_EXPORT void TP_XCAT3(Proc, TP_LETTER, i)(void) { run("Proc" TP_PREFIX #i); }

#if TP_PROCS > 0
DEFINE_PROC(0)
#endif
#if TP_PROCS > 1
DEFINE_PROC(1)
#endif
#if TP_PROCS > 2
DEFINE_PROC(2)
#endif

/* ---- registration ------------------------------------------------------ */

static VelmoraRegistration record;
static char texts[8][5][64];

#ifndef TP_NO_INITIALIZE
VELMORA_EXPORT VelmoraRegistration *Initialize(void *hostModule) {
    host_module = hostModule;
    note("I");
    record.procedureCount = TP_PROCS;
    record.resourceModule = NULL;
#ifdef TP_NULL_RECORD
    return NULL;
#else
    return &record;
#endif
}
#endif

#ifndef TP_NO_REGISTER
VELMORA_EXPORT const char *RegisterProcs(int32_t index, int32_t kind) {
    char call[32];
    snprintf(call, sizeof call, "R%d,%d", (int)index, (int)kind);
    note(call);
    if (index < 0 || index >= 8 || kind < 0 || kind > 4)
        return NULL;
    char *text = texts[index][kind];
    switch (kind) {
    case VELMORA_PROC_ENTRY:
#if defined(TP_BAD_ENTRY)
        if (index == TP_PROCS - 1)
            return "Missing";
#elif defined(TP_FOREIGN_ENTRY)
        if (index == TP_PROCS - 1)
            return "getpid";
#endif
        snprintf(text, 64, "Proc%s%d", TP_PREFIX, (int)index);
        return text;
    case VELMORA_PROC_CAPTION:
        /* Windows-1250: "Kružnice" with z-caron 0x9E */
        snprintf(text, 64, "Kru\x9enice %s%d", TP_PREFIX, (int)index);
        return text;
    case VELMORA_PROC_HINT:
        if (index == 1)
            return NULL; /* no hint: counts as empty */
        snprintf(text, 64, "Hint %s%d", TP_PREFIX, (int)index);
        return text;
    case VELMORA_PROC_VERSION:
        snprintf(text, 64, "Version 1.%d", (int)index);
        return text;
    default:
        return "";
    }
}
#endif
