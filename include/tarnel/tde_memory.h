/** @file
 * Foundation memory: size-checked allocators, movable handles, raw-memory
 * helpers, and the fatal-failure policy.
 *
 * Foundation sizes are unsigned 32-bit and limited to #TDE_MAX_ALLOC bytes; a
 * larger request is a broken precondition and ends in TdeFail(). Bit 0 of a
 * flags word (#TDE_ALLOC_FATAL) makes exhaustion fatal (TdeFDSExit());
 * without it an allocator returns null and leaves any old block untouched.
 * Blocks of the foundation allocators are released with T_Free() or
 * TdeFree(). */
#ifndef TARNEL_TDE_MEMORY_H
#define TARNEL_TDE_MEMORY_H

#include <stddef.h>

#include <tarnel/cdecls.h>

/** @defgroup memory Memory, handles and failure
 * @ingroup foundation
 * Size-checked allocators, movable handles, raw-memory helpers and the
 * failure policy: a broken precondition calls TdeFail(), fatal exhaustion
 * TdeFDSExit(); each runs the client's handler once and then aborts.
 * @{ */

/** @def TDE_NORETURN
 * Marks a function that never returns (empty where the compiler lacks it). */
#if defined(__GNUC__) || defined(__clang__)
#define TDE_NORETURN __attribute__((__noreturn__))
#else
#define TDE_NORETURN
#endif

TARNEL_BEGIN_DECLS

/** Largest single request: 2^31 - 65537 bytes. */
#define TDE_MAX_ALLOC 0x7FFEFFFFu
/** Flags bit 0: running out of memory is fatal. */
#define TDE_ALLOC_FATAL 1
/** Stored by TdeFreeHandle() in the caller's variable so stale use faults. */
#define TDE_HANDLE_POISON 0xDEADDEADu

/** A client hook run before the process aborts. It may leave by exit() or
 * a non-local jump; if it returns, the process aborts. */
typedef void (*TdeHandlerT)(void);

/** The per-process settings record, created on first use by
 * TdeInstanceInit() and never freed. */
typedef struct TdeInstanceT {
    unsigned char strictEnforcement; /**< 1: a broken handle rule is fatal */
    TdeHandlerT assertHandler;       /**< run by TdeFail(); null until set */
    TdeHandlerT dsExitHandler;       /**< run by TdeFDSExit(); null until set */
} TdeInstanceT;

/** The settings record; null until TdeInstanceInit() (or a setter) runs. */
extern TdeInstanceT *TdeInstance;

/** A movable block with a lock count. Header and data are separate blocks;
 * create it with T_AllocHandle(), release it with T_FreeHandle(). */
typedef struct T_HandleT {
    unsigned int lockCount; /**< outstanding T_LockHandle() calls */
    unsigned int size;      /**< bytes in data */
    void *data;             /**< owned by the handle */
} T_HandleT;

/* ---- Failure policy ---------------------------------------------------- */

/** Creates #TdeInstance with strict enforcement on, unless it exists; fatal
 * when memory is out. The setters below call it themselves. */
void TdeInstanceInit(void);
/** Installs the handler that TdeFail() runs.
 * @param handler the new handler; null installs defaultHandler()
 * @return the previous handler, defaultHandler() if none was set */
TdeHandlerT T_SetAssert(TdeHandlerT handler);
/** Installs the handler that TdeFDSExit() runs.
 * @param handler the new handler; null removes it
 * @return the previous handler, null if none */
TdeHandlerT T_SetDSExit(TdeHandlerT handler);
/** Switches strict enforcement of the handle rules on or off.
 * @param flag non-zero: a broken rule is fatal; 0: it is tolerated
 * @return the flag's value before this call (0 or 1) */
unsigned char TdeSetStrictEnforcement(int flag);
/** Called when a handle rule is broken (a locked handle freed or resized).
 * @return 1 when strict enforcement is off; otherwise (and before any
 *         settings record exists) it calls TdeFail() and does not return */
int TdeEnforcement(void);
/** A broken precondition: runs the assert handler (unless it is
 * defaultHandler()), then aborts. */
TDE_NORETURN void TdeFail(void);
/** The default assert handler: aborts through T_Abort(). */
TDE_NORETURN void defaultHandler(void);
/** Aborts the process; the last step of every fatal path. */
TDE_NORETURN void T_Abort(void);
/** Fatal exhaustion: runs the DS-exit handler if one is set, then aborts. */
TDE_NORETURN void TdeFDSExit(void);

/* ---- Foundation allocators --------------------------------------------- */

/** An uninitialised block.
 * @param size bytes, at most #TDE_MAX_ALLOC (0 gives a valid block)
 * @param flags #TDE_ALLOC_FATAL or 0
 * @return the block (release with T_Free()), or null when memory is out */
void *T_Alloc(unsigned int size, int flags);
/** A zero-filled block; a count * size total above #TDE_MAX_ALLOC (or
 * beyond 32 bits) goes to TdeFail().
 * @param count number of elements
 * @param size bytes per element
 * @param flags #TDE_ALLOC_FATAL or 0
 * @return the block (release with T_Free()), or null when memory is out */
void *T_Calloc(unsigned int count, unsigned int size, int flags);
/** Resizes a block; a null ptr is T_Calloc(1, size, flags).
 * @param ptr the block, or null
 * @param size the new size in bytes
 * @param flags #TDE_ALLOC_FATAL or 0
 * @return the moved block, or null when memory is out (the old block then
 *         stays valid and unchanged) */
void *T_Realloc(void *ptr, unsigned int size, int flags);
/** Releases a foundation block.
 * @param ptr the block, or null
 * @return 0, or -1 for null */
int T_Free(void *ptr);
/** Releases the block a pointer variable holds and sets the variable to null.
 * @param pptr the address of a pointer variable (any object-pointer type)
 * @return 0, or -1 when pptr or the variable already holds null */
int TdeFree(void *pptr);

/* ---- Handles (a null handle goes to TdeFail) --------------------------- */

/** A new handle of size zero-filled bytes, unlocked.
 * @param size bytes of data, at most #TDE_MAX_ALLOC
 * @param flags #TDE_ALLOC_FATAL or 0
 * @return the handle (release with T_FreeHandle()), or null when memory is out */
T_HandleT *T_AllocHandle(unsigned int size, int flags);
/** Releases a handle and its data; a locked handle breaks a rule
 * (TdeEnforcement()).
 * @param h the handle
 * @return 0 */
int T_FreeHandle(T_HandleT *h);
/** Frees *ph as T_FreeHandle() and stores #TDE_HANDLE_POISON in it.
 * @param ph the address of a handle variable; null goes to TdeFail()
 * @return 0 */
int TdeFreeHandle(T_HandleT **ph);
/** Raises the lock count.
 * @param h the handle
 * @return the data pointer, fixed until the matching T_UnlockHandle() */
void *T_LockHandle(T_HandleT *h);
/** Lowers the lock count unless it is 0.
 * @param h the handle
 * @return the new lock count */
unsigned int T_UnlockHandle(T_HandleT *h);
/** Resizes the data; a locked handle breaks a rule (TdeEnforcement()).
 * Bytes added are not cleared.
 * @param h the handle
 * @param size the new size in bytes
 * @param flags #TDE_ALLOC_FATAL or 0
 * @return h, or null on failure (the handle is then unchanged) */
T_HandleT *T_ReallocHandle(T_HandleT *h, unsigned int size, int flags);
/** @param h the handle
 * @return the size of its data in bytes */
unsigned int T_GetHandleSize(T_HandleT *h);
/** Compares two handles' data.
 * @param a,b the handles
 * @return 1 when sizes and bytes are equal, else 0 */
int T_HandleEqual(T_HandleT *a, T_HandleT *b);
/** The same as T_HandleEqual().
 * @param a,b the handles
 * @return 1 when sizes and bytes are equal, else 0 */
int T_HandlesAreEqual(T_HandleT *a, T_HandleT *b);
/** Copies min(from->size, to->size) bytes; sizes do not change.
 * @param from,to the source and target handles
 * @return 0 */
int T_DuplicateHandle(T_HandleT *from, T_HandleT *to);
/** Zeroes a handle's data.
 * @param h the handle
 * @return 0 */
int T_ClearHandle(T_HandleT *h);
/** Lowers *count by one unless it is 0.
 * @param count the counter
 * @return the new value */
unsigned int TdeHandleCountDec(unsigned int *count);

/* ---- Raw memory -------------------------------------------------------- */

/** Compares n bytes; a null pointer stands for n zero bytes.
 * @param a,b the blocks
 * @param n the byte count; 0 is always equal
 * @return 1 when equal, else 0 */
int T_PtrEqual(const void *a, const void *b, unsigned int n);
/** Copies n bytes, source first; the blocks may overlap.
 * @param src,dst the source and target blocks
 * @param n the byte count
 * @return 0, or -1 if either pointer is null */
int T_CopyPtr(const void *src, void *dst, unsigned int n);
/** The same as T_CopyPtr().
 * @param src,dst the source and target blocks
 * @param n the byte count
 * @return 0, or -1 if either pointer is null */
int T_CopyBytes(const void *src, void *dst, unsigned int n);
/** A T_Alloc(size, flags) copy of size bytes of src.
 * @param src the bytes to copy
 * @param size the byte count
 * @param flags #TDE_ALLOC_FATAL or 0
 * @return the copy (release with T_Free()); null for null src or when
 *         memory is out */
void *T_DuplicatePtr(const void *src, unsigned int size, int flags);
/** Zeroes n bytes.
 * @param p the block
 * @param n the byte count
 * @return 0, or -1 for null */
int T_ClearPtr(void *p, unsigned int n);

/** @} */

TARNEL_END_DECLS

#endif
