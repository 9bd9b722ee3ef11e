/*
 * velmora_plugin.h - the contract between Velmora and its plug-ins.
 *
 * This header is plain C so that both sides can be built by any compiler
 * and nothing of C++ (classes, exceptions, std types, Qt types) crosses the
 * library boundary. It is the only header a plug-in needs from Velmora.
 *
 * A plug-in is a shared library (".so") placed in the folder Plugin/ of the
 * program folder or in any folder below it. Velmora finds it at start-up,
 * loads it, calls Initialize once and RegisterProcs five times per procedure,
 * and adds one item per procedure to its "Simulace" menu. Choosing the item
 * calls the procedure's entry on the GUI thread; while it runs, the plug-in
 * may call back the host's entries GetText, SetText and RegisterCallBack.
 *
 * Text: every string that crosses the boundary is 8-bit text in the
 * Windows-1250 code page, one byte per character, never UTF-8.
 *
 * Ownership and lifetime
 *   - The registration record returned by Initialize and every string
 *     returned by RegisterProcs belong to the plug-in and must outlive the
 *     call that returned them (static storage). The host copies them right
 *     after the call returns and never writes or frees them.
 *   - A line list belongs to the side that created it. The other side only
 *     reads it (count, line) or copies it (append all) during the call that
 *     handed it over, and never keeps the pointer after that call.
 *   - The list returned by GetText is the live text of the host's active
 *     document. It stays valid until the procedure entry returns.
 *   - A pointer returned by line() stays valid until the next operation on
 *     the same list; copy the bytes if they are needed longer.
 *   - Libraries stay loaded until the program ends; no entry is called to
 *     unload them.
 *
 * Threads: every entry on both sides is called on the host's GUI thread only.
 */
#ifndef VELMORA_PLUGIN_H
#define VELMORA_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Marks an entry exported by a plug-in (or by the host executable). */
#if defined(_WIN32)
#define VELMORA_EXPORT __declspec(dllexport)
#else
#define VELMORA_EXPORT __attribute__((visibility("default")))
#endif

/* ---- Entry names ------------------------------------------------------- */

/* Exported by every plug-in. */
#define VELMORA_ENTRY_INITIALIZE "Initialize"
#define VELMORA_ENTRY_REGISTER_PROCS "RegisterProcs"
/* Known to the host as a setting only: the host never calls it. */
#define VELMORA_ENTRY_UNLOAD "Unload"

/* Exported by the host executable. */
#define VELMORA_ENTRY_GET_TEXT "GetText"
#define VELMORA_ENTRY_SET_TEXT "SetText"
#define VELMORA_ENTRY_REGISTER_CALLBACK "RegisterCallBack"

/* ---- Registration ------------------------------------------------------ */

/*
 * Returned by Initialize. procedureCount is the number of procedures the
 * plug-in offers (a plug-in reporting fewer than one gets no menu item).
 * resourceModule is the module the host loads the bitmaps named by
 * RegisterProcs kind 4 from: the plug-in's own module handle (on Linux a
 * dlopen() handle; the host also looks for the bitmap among the Qt resources
 * registered by the plug-in and beside the library file).
 */
typedef struct VelmoraRegistration {
    int32_t procedureCount;
    void *resourceModule;
} VelmoraRegistration;

/* What RegisterProcs(index, kind) returns for each kind. */
enum VelmoraProcKind {
    VELMORA_PROC_ENTRY = 0,   /* name of the procedure's exported entry */
    VELMORA_PROC_CAPTION = 1, /* caption of the menu item */
    VELMORA_PROC_HINT = 2,    /* hint of the menu item (status bar) */
    VELMORA_PROC_VERSION = 3, /* version text */
    VELMORA_PROC_BITMAP = 4   /* bitmap resource name; empty for none */
};

/*
 * Initialize(hostModule): called once, right after the library is loaded.
 * hostModule lets the plug-in look up the host's entries by name; on Linux it
 * is a dlopen() handle of the host executable, so
 *     (VelmoraGetTextFn)dlsym(hostModule, VELMORA_ENTRY_GET_TEXT)
 * finds GetText. Keep it for later calls.
 */
typedef VelmoraRegistration *(*VelmoraInitializeFn)(void *hostModule);

/*
 * RegisterProcs(index, kind): index 0 .. procedureCount - 1, kind 0 .. 4.
 * Called five times per procedure, kinds 0 to 4 in order, procedures in index
 * order. Returns a zero-terminated string or NULL; NULL counts as empty.
 */
typedef const char *(*VelmoraRegisterProcsFn)(int32_t index, int32_t kind);

/* A procedure entry, looked up under the name RegisterProcs gave as kind 0. */
typedef void (*VelmoraProcedureFn)(void);

/* ---- Line list --------------------------------------------------------- */

/*
 * An ordered list of 8-bit text lines (Windows-1250), counted from 0.
 * A line holds no line end. Lines may contain any byte, so line() reports
 * the length; the returned bytes are also followed by a zero byte.
 *
 * Each side builds its lists with its own operation table; the other side
 * only uses the operations through `ops`.
 */
typedef struct VelmoraLineList VelmoraLineList;

typedef struct VelmoraLineListOps {
    /* Number of lines. */
    int32_t (*count)(const VelmoraLineList *list);
    /* Line `index` (0 .. count - 1): its bytes and, when `length` is not
       NULL, their number. NULL for an index out of range. */
    const char *(*line)(const VelmoraLineList *list, int32_t index, int32_t *length);
    /* Removes every line. */
    void (*clear)(VelmoraLineList *list);
    /* Appends copies of all lines of `source`, in order. `source` may come
       from the other side: it is read only through its own ops. */
    void (*appendAll)(VelmoraLineList *list, const VelmoraLineList *source);
} VelmoraLineListOps;

struct VelmoraLineList {
    const VelmoraLineListOps *ops;
    void *owner; /* private to the side that created the list */
};

/* ---- Host entries ------------------------------------------------------ */

/*
 * GetText(): minimises the main window and returns the live line list of the
 * active document, owned by the host. Returns NULL when no document is open
 * (the host has then told the user and left its window as it was) or when a
 * line holds a character that Windows-1250 cannot store (the host names the
 * line to the user).
 */
typedef VelmoraLineList *(*VelmoraGetTextFn)(void);

/*
 * SetText(lines): replaces the active document's lines with copies of all
 * lines of `lines` (owned by the caller) as one undoable step, sets the
 * document's modified flag even when nothing changed, and maximises the main
 * window. Without an open document nothing is replaced; the window is
 * maximised all the same.
 */
typedef void (*VelmoraSetTextFn)(const VelmoraLineList *lines);

/* RegisterCallBack(): marks that a plug-in announced a callback. */
typedef void (*VelmoraRegisterCallBackFn)(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* VELMORA_PLUGIN_H */
