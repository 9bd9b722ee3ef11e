/* The entries of the external "Torvel 50" generator library (dll/torvel.so in the program folder).
 *
 *   void Showtorvel(void);
 *       Shows the generator's own window and returns when the user has finished.
 *   const char *GetText(void);
 *       The generated program: Windows-1250 text, lines ended by CR LF or LF,
 *       NUL-terminated. The text belongs to the library and stays valid until
 *       the next call of either entry; the host copies it at once.
 *
 * Both entries use the C calling convention and take no arguments.
 */
#ifndef VELMORA_TORVEL_API_H
#define VELMORA_TORVEL_API_H

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*TorvelShowFn)(void);
typedef const char *(*TorvelGetTextFn)(void);

#ifdef __cplusplus
}
#endif

#endif
